#pragma once
// The weighing page "Взвешивание": the operator's workplace during a shift.
// The controls keep their design names as objectNames and as the names of the
// public members below, so the main window, the link and the tests reach them
// the same way.
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QModelIndex;
class QPainter;
class QStyleOptionViewItem;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;
class TBVViewWTelForm;

namespace zv {
class RadioGroup;
}
namespace zv::store {
class Dataset;
class DatasetModel;
class TBVDMod1;
} // namespace zv::store
namespace zv::journal {
class EventRecorder;
class StaticWeighing;
struct RecordResult;
struct WeighingInput;
class WeighingPageUi;
} // namespace zv::journal

class TWeighingPage : public QWidget {
    Q_OBJECT
public:
    explicit TWeighingPage(QWidget *parent = nullptr);
    ~TWeighingPage() override;

    // Start-up state of the page (preparation of the main window).
    void prepareAtStartup();
    // The journal of the day, on its last row, and the documents of the day
    // (start-up). False when the query could not be opened (box shown).
    bool openDayJournal();
    bool openDayDocuments();
    // Preparation when the page is opened by the action "Взвешивание"
    // (the page's share of WeighterExecute): check boxes of the link, page
    // values, RFID field, journal and the lists of the selection fields.
    // Returns false when a query could not be opened (its box was shown).
    bool prepare();

    // Whether RFID identification is switched on in the settings ("ChBRFID");
    // once told, prepare() shows the RFID field and checks "ChBRFID1" exactly
    // when it is on.
    void setRfidEnabledInSettings(bool on);

    // --- page values (0 = none)
    int CurrTranspID = 0;
    int CurrDriverID = 0;
    int CurrCargoID = 0;
    int CurrCargoTypeID = 0;
    int CurrDocumentID = 0;
    int MarkedRecordID = 0;

    // --- measurement values
    QString LastWeightText; // EditWeight at the last press of the measurement button
    double WeightTotal = 0; // the measured total of the weighing in progress

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

    // --- windows and actions of other subsystems, plugged in by the main
    // window. A button whose action is not plugged in does nothing.
    std::function<void()> RefTsExecute;          // vehicles reference
    std::function<void()> RefCargoExecute;       // cargo reference
    std::function<void()> RefCargoTypesExecute;  // cargo types reference
    std::function<void()> RefDriverExecute;      // drivers reference
    std::function<void()> findVehicle;           // TBVFindTsForm, FindTsMode "MAIN"
    std::function<void()> findCargo;            // cargo search, FindMode "JRN"
    std::function<void()> findCargoType;        // cargo type search, FindMode "JRN"
    std::function<void()> findDriver;           // driver search, FindMode "JRN"
    std::function<void()> snapshotWindow;       // TBVPictureTsForm for the current journal row
    // The measurement button in the dynamic mode (start / end of the capture).
    std::function<void()> dynamicMeasurementButton;

    // What the search dialogs put back into the page.
    void setChosenVehicle(const QString &stateNumb, const QString &idrf, int transpId);
    void setChosenCargo(const QString &name, int cargoId);
    void setChosenCargoType(const QString &name, int cargoTypeId);
    void setChosenDriver(const QString &fio, int driverId);

    // The axle weights window; the page creates one when none was given.
    void setAxleWindow(TBVViewWTelForm *window);
    TBVViewWTelForm *axleWindow();

    // Records the measurement now in WeightTotal (the last axle of a static
    // weighing, or the end of a dynamic measurement) and applies the result
    // to the page. The selection fields are not cleared here; the caller does
    // that as its measurement requires.
    zv::journal::RecordResult recordWeighing();

    // The page's fields as the recording reads them.
    zv::journal::WeighingInput weighingInput() const;

    // Text the journal rows are compared with for the red marking.
    QString highlightText() const;
    // Whether a row of the journal grid is drawn red.
    bool journalRowMarked(int row) const;

    // Moves the journal grid (and BVQWrEvJrn) to a row.
    void setJournalRow(int row);

    // Draws one cell of the journal grid: a marked row is filled pure red
    // with its text in white. False when the cell is drawn the normal way.
    bool DBGrid1DrawColumnCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

    // Caption of the measurement button and the axle counters for the
    // weighing mode of the settings (0 static, 1 dynamic).
    void applyWeighingMode(int modeIndex);

signals:
    // "Выход" of the page was pressed; the main window leaves the page area
    // with no active page and closes the indicator port.
    void exitRequested();
    // The recording set the tare actuality interval to its default; the
    // settings page shows the new value.
    void tareIntervalDefaulted(int minutes);

public slots:
    void ChBRFID1Click();

    // Selection fields (run on every change of their text, typed or set by
    // the program; a lookup's own write into the other identification field
    // does not start that field's lookup).
    void CBStateNumPropertiesChange();
    void CBRFIDPropertiesChange();
    void CBCargoPropertiesChange();
    void CBCargoTypesPropertiesChange();
    void CBDriverPropertiesChange();
    void ChBEmptyPropertiesChange();

    // Buttons.
    void BtFindStNumClick();
    void BtTSClick();
    void BtAddTsClick();
    void BtFindCargoClick();
    void BtRefCargoClick();
    void BtFindCargoTypesClick();
    void BtCargoTpClick();
    void cxButton13Click();
    void BtDriverClick();
    void cxButton6Click();
    void DBGrid1EditButtonClick();

    // Static weighing.
    void RGAxis1Click(int itemIndex);
    void BtSaveWClick();

private:
    friend class zv::journal::WeighingPageUi;

    void connectHandlers();
    bool fillTransportLists(bool withRfid);
    bool fillList(QComboBox *box, zv::store::Dataset &ds, const QString &field);
    void vehicleLookup(bool byNumber);
    // The row whose name equals the text, letter case ignored: *id its
    // identifier, -1 for none. False after an engine error (box shown).
    bool nameLookup(zv::store::Dataset &ds, const QString &nameField, const QString &idField, const QString &text,
                    const QString &displayName, int *id);
    void afterStaticRecording(bool uncheckEmpty);
    void applyRecordResult(const zv::journal::RecordResult &r);
    void axleWindowClosedByOperator();
    void showAxleRows();
    void syncCountersFromCore();
    void journalCursorMoved(int recNo);
    void journalGridRowChanged(int row);

    zv::store::TBVDMod1 &m_dm;
    std::unique_ptr<zv::journal::StaticWeighing> m_static;
    std::unique_ptr<zv::journal::WeighingPageUi> m_recorderUi;
    std::unique_ptr<zv::journal::EventRecorder> m_recorder;
    QPointer<TBVViewWTelForm> m_axleWindow;
    bool m_axleWindowPlaced = false; // the axle window got its first place

    zv::store::DatasetModel *m_journalModel = nullptr;
    zv::store::DatasetModel *m_vehicleModel = nullptr;
    zv::store::DatasetModel *m_documentModel = nullptr;

    std::optional<bool> m_rfidInSettings;
    // Set while a lookup writes the other identification field, or a list is
    // refilled: those writes start no lookup of their own.
    int m_quietFields = 0;
    bool m_syncingJournal = false;
    // Total text of the last completed static measurement (red journal rows).
    QString m_lastMeasuredText;
};
