#pragma once
// The weighing page "Взвешивание": the operator's workplace during a shift.
// The controls keep their design names as objectNames and as the names of the
// public members below, so the main window, the link and the tests reach them
// the same way.
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QToolButton;

namespace zv {
class RadioGroup;
}

class TWeighingPage : public QWidget {
    Q_OBJECT
public:
    explicit TWeighingPage(QWidget *parent = nullptr);

    // Start-up state of the page (preparation of the main window).
    void prepareAtStartup();
    // Preparation when the page is opened by the action "Взвешивание".
    void prepare();

    // --- top panel: kind of weighing, date, operator, weight, measurement
    QGroupBox *GrBoxKind = nullptr; // "Вид взвешивания"
    QCheckBox *ChBEmpty = nullptr;
    QCheckBox *ChBRetry = nullptr;
    QLabel *ImLoad = nullptr;
    QLabel *ImEmpty = nullptr;
    QDateEdit *DateEditEv = nullptr;
    QLineEdit *EditOper = nullptr;
    QLineEdit *EditWeight = nullptr;
    QCheckBox *ChBOnInd = nullptr;
    QCheckBox *ChBOffInd = nullptr;
    QCheckBox *ChBKeyB = nullptr;
    QPushButton *BtSaveW = nullptr;
    zv::RadioGroup *RGAxis = nullptr;
    QLabel *LbAx1 = nullptr;
    QLineEdit *EditWg = nullptr;
    QLabel *LbAx2 = nullptr;
    QLineEdit *EditOst = nullptr;
    QCheckBox *ChBRFID1 = nullptr;

    // --- journal of the day
    QWidget *DBNav = nullptr;
    QTableView *DBGrid1 = nullptr;

    // --- identification and cargo
    QComboBox *CBStateNum = nullptr;
    QToolButton *BtFindStNum = nullptr;
    QToolButton *BtTS = nullptr;
    QLabel *lbRFID = nullptr;
    QComboBox *CBRFID = nullptr;
    QToolButton *BtFindRFID = nullptr;
    QLabel *LbRFIDdef = nullptr;
    QLabel *LbTr = nullptr;
    QLineEdit *EditStNumTr = nullptr;
    QLineEdit *EditComment = nullptr;
    QComboBox *CBCargo = nullptr;
    QToolButton *BtFindCargo = nullptr;
    QToolButton *BtRefCargo = nullptr;
    QComboBox *CBCargoTypes = nullptr;
    QToolButton *BtFindCargoTypes = nullptr;
    QToolButton *BtCargoTp = nullptr;
    QComboBox *CBDriver = nullptr;
    QToolButton *cxButton13 = nullptr;
    QToolButton *BtDriver = nullptr;
    QLineEdit *EditCargoProp = nullptr;
    QComboBox *CBEven = nullptr;

    // --- vehicle and documents
    QTableView *DBGrid2 = nullptr;
    QPushButton *BtAddTs = nullptr;
    QTableView *DBGrid3 = nullptr;
    QPushButton *BtWriteDoc = nullptr;
    QPushButton *BtUpDoc = nullptr;

    // --- bottom row
    QPushButton *BtDel = nullptr;
    QPushButton *BtKadr = nullptr;
    QPushButton *BtChangeOper = nullptr;
    QPushButton *BtExp1C = nullptr;
    QPushButton *cxButton6 = nullptr; // "Выход"

    // Shows or hides the RFID field, its label and its search button.
    void showRfidControls(bool on);

    // The yellow tint of required fields.
    static void markRequired(QWidget *field, bool required);

signals:
    // "Выход" of the page was pressed; the main window leaves the page area
    // with no active page and closes the indicator port.
    void exitRequested();

public slots:
    void ChBRFID1Click();

private:
    QStandardItemModel *m_journalModel = nullptr;
    QStandardItemModel *m_vehicleModel = nullptr;
    QStandardItemModel *m_documentModel = nullptr;
};
