#pragma once
// The settings page "Настройка комплекса": seven tabs down the left side.
// Its "Применить" buttons change the applied values (zv::settings()) only;
// the file is written by the main window at close.
#include <QWidget>

#include "settingsfile.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class TWeighingPage;

namespace zv {
class RadioGroup;
}

class TSettingsPage : public QWidget {
    Q_OBJECT
public:
    // `weighing` and `lbAuto` are the controls outside the page that the
    // settings switch (measurement button, axle counters, RFID field, the
    // automatic-mode label of the top strip).
    TSettingsPage(TWeighingPage *weighing, QLabel *lbAuto, QWidget *parent = nullptr);

    // Preparation step 7: the machine's serial ports replace both port lists.
    void setPortNames(const QStringList &ports);
    // Preparation step 8: reads belvor.ini into the applied values and the
    // page. Throws zv::SettingsError (after showing what was read so far) on
    // a value that is not an integer.
    void readSettingsFile();
    // Shows a state read from the file (reading steps 2 to 14).
    void showState(const zv::SettingsPageState &state);
    // Preparation step 13: the page's fields from the applied values.
    void fillAfterLogin();
    // The page as it stands, for writing at close.
    zv::SettingsPageState state() const;
    // Measurement button caption and axle counters for a weighing mode
    // (0 static, 1 dynamic).
    void showModeOnWeighingPage(int modeItem);
    // Writes belvor.ini from the page and the applied values; false (with
    // the reason) when the file could not be written.
    bool writeSettingsFile(QString *error) const;

    // --- controls, named as in the design
    QTabWidget *cxPageControl1 = nullptr;
    // Com - порт
    QComboBox *CBComPort = nullptr, *CBBaudRate = nullptr, *CBDataBit = nullptr, *CBParity = nullptr,
              *CBStopBit = nullptr, *CBControlStream = nullptr;
    QPushButton *BtSetDefault = nullptr, *BtApply = nullptr, *cxButton2 = nullptr;
    // IDRF
    QCheckBox *ChBRFID = nullptr;
    QGroupBox *GrBRFID = nullptr;
    QComboBox *CBRFComPort = nullptr, *CBRFBaudRate = nullptr, *CBRFDataBit = nullptr, *CBRFParity = nullptr,
              *CBRFStopBit = nullptr, *CBRFControlStream = nullptr;
    QPushButton *BtRFSetDefault = nullptr, *cxButton1 = nullptr, *cxButton5 = nullptr;
    // Режим взвешивания
    QComboBox *CBMode = nullptr;
    QCheckBox *ChBAutomatic = nullptr;
    QLabel *lbLimit = nullptr, *LbDim = nullptr, *LbPlatformWidth = nullptr;
    QLineEdit *EditLimit = nullptr, *EditPlatformWidth = nullptr;
    QCheckBox *ChBKoff = nullptr;
    QGroupBox *GrBoxKoff = nullptr;
    QSlider *TrBarKoff = nullptr;
    QLineEdit *EditKoff = nullptr, *Edit095 = nullptr, *Edit100 = nullptr, *Edit105 = nullptr;
    QGroupBox *GrBoxMax = nullptr;
    QCheckBox *ChBIntegral = nullptr;
    zv::RadioGroup *RGPointIntegral = nullptr;
    QPushButton *cxButton7 = nullptr, *cxButton8 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    // Весовой индикатор
    zv::RadioGroup *RGDecimalPoint = nullptr;
    QPushButton *cxButton16 = nullptr, *cxButton3 = nullptr;
    // Связь с 1С
    QPushButton *cxButton15 = nullptr, *BtBrowse = nullptr, *cxButton11 = nullptr;
    QLineEdit *EditDev = nullptr, *EditPath1C = nullptr;
    // Актуальность тары
    QLineEdit *EditActualTare = nullptr, *EditDayView = nullptr;
    QGroupBox *GrBoxDayView = nullptr;
    QPushButton *BtSetDefaultInterval = nullptr, *BtApplayInerval = nullptr, *cxButton10 = nullptr,
                *cxButton9 = nullptr, *cxButton12 = nullptr, *cxButton14 = nullptr;
    // Нагрузка на ось
    QLineEdit *EditLimitLoad = nullptr;
    QPushButton *cxButton17 = nullptr, *BtExit = nullptr;

signals:
    // A "Выход" button: the page area is left with no active page.
    void exitRequested();
    // Automatic weighing was armed (start-up with the switch on).
    void automaticStartArmed();
    // The operator switched automatic weighing with ChBAutomatic.
    void automaticSwitched(bool on);
    // "Применить" of the mode tab with automatic weighing on: the next
    // reading above the threshold may start a measurement again.
    void automaticApplied();

public slots:
    void BtSetDefaultClick();
    void BtApplyClick();
    void BtRFSetDefaultClick();
    void cxButton1Click();
    void ChBRFIDClick();
    void CBModeClick(int item);
    void ChBAutomaticClick();
    void ChBKoffClick();
    void TrBarKoffChange(int position);
    void ChBIntegralClick();
    void RGPointIntegralClick(int item);
    void cxButton7Click();
    void RGDecimalPointClick(int item);
    void cxButton16Click();
    void cxButton15Click();
    void BtBrowseClick();
    void BtSetDefaultIntervalClick();
    void BtApplayInervalClick();
    void cxButton9Click();
    void cxButton12Click();
    void cxButton17Click();

private:
    void applyModeTab();
    void setRfidOnWeighingPage(bool on);
    void buildPortTab(QWidget *tab);
    void buildRfidTab(QWidget *tab);
    void buildModeTab(QWidget *tab);
    void buildIndicatorTab(QWidget *tab);
    void build1CTab(QWidget *tab);
    void buildTareTab(QWidget *tab);
    void buildLoadTab(QWidget *tab);

    TWeighingPage *m_weighing;
    QLabel *m_lbAuto;
};
