#pragma once
// Recording of a weighing into the event journal: the required-field check,
// the new EVENJRN row, the search for the open counterpart weighing of the
// same vehicle on the same day, the net weight of the pair, the links, the
// vehicle's empty weight and the empty cargo document of the pair.
//
// The recorder knows nothing of widgets. The weighing page hands it the
// values of its fields (WeighingInput), shows the check messages' focus and
// the captions it returns (RecordResult), and answers its two interactive
// steps through RecorderUi; tests answer them with scripted values.
#include <QDate>
#include <QString>

namespace zv::store {
class TBVDMod1;
}

namespace zv::journal {

// Weighing modes, stored in EVENJRN.MODE_EN_DP.
enum WeighingMode : int {
    ModeLoaded = 0,      // 126 "ВЗВЕШИВАНИЕ ТС С ГРУЗОМ"
    ModeEmpty = 1,       // 127 "ВЗВЕШИВАНИЕ ТС ПУСТОГО"
    ModeRetryLoaded = 2, // 132 "ПОВТОРНОЕ ВЗВЕШИВАНИЕ ТС С ГРУЗОМ"
    ModeRetryEmpty = 3,  // 141 "ПОВТОРНОЕ ВЗВЕШИВАНИЕ ТС ПУСТОГО"
};

int GetMode(bool empty, bool retry);
int eventTypeOfMode(int mode);        // 126, 127, 132, 141
int counterpartMode(int mode);        // 0<->1, 2<->3
inline bool isEmptyKind(int mode) { return mode == ModeEmpty || mode == ModeRetryEmpty; }

// Cargo type written when the operator chose none.
inline constexpr int NoCargoTypeID = 105;

// Captions of the measurement button BtSaveW.
inline const QString CaptionRecordMeasurement = QStringLiteral("Записать измерение");
inline const QString CaptionStartMeasurement = QStringLiteral("Начать измерение");
inline const QString CaptionRetryRecording = QStringLiteral("Повторить запись в БД");

// What the weighing page holds when a measurement is complete.
struct WeighingInput {
    // Page values (identifiers chosen on the page, 0 = none).
    int CurrTranspID = 0;
    int CurrDriverID = 0;
    int CurrCargoID = 0;
    int CurrCargoTypeID = 0;
    int MarkedRecordID = 0;

    // Texts of the page's fields, as they stand.
    QString stateNumber;     // CBStateNum
    QString rfid;            // CBRFID
    bool rfidUsed = false;   // ChBRFID1 checked: the tag is required
    QString driver;          // CBDriver
    QString cargo;           // CBCargo
    QString cargoType;       // CBCargoTypes
    QString comment;         // EditComment
    QString cargoProperties; // EditCargoProp

    bool empty = false;      // ChBEmpty "Пустой"
    bool retry = false;      // ChBRetry "Перевзвешивание"

    QDate shiftDate;         // DateEditEv; an invalid date means today
    bool staticMode = true;  // CBMode item 0; decides the caption after recording

    double WeightTotal = 0;  // the measured total
};

// The field a failed required-field check names; the page focuses it.
enum class CheckField { None, Cargo, StateNumber, Rfid, Driver };

struct CheckResult {
    bool ok = true;
    CheckField focus = CheckField::None; // the first failing field
};

struct RecordResult {
    enum class Outcome {
        CheckFailed, // required fields missing: nothing written, caption "Повторить запись в БД"
        Declined,    // the operator answered No to the interval question: nothing written
        WriteFailed, // the new event could not be written (error box shown): nothing written;
                     // after an engine error the caption is "Повторить запись в БД" and the
                     // same measurement can be recorded again
        Recorded,    // the new event is in the journal (see the fields below for the pair)
    };
    Outcome outcome = Outcome::CheckFailed;
    CheckField focus = CheckField::None; // for CheckFailed

    int mode = 0;
    int recordId = 0;      // ID_RECORD of the new event, 0 when none was written
    int transpId = 0;      // ID_TRANSP written (0 when the state number names no vehicle)
    int counterpartId = 0; // ID_RECORD of the counterpart chosen, 0 when none
    bool paired = false;   // the net weight and both links are stored
    QString netText;       // the net weight computed (also when storing it failed), empty when none
    // A weight text of the pair was not a number (message shown): the new
    // event is stored and stays open, so does the counterpart; no net weight,
    // no links, no document. An empty weighing has stored the vehicle's empty weight.
    bool netNotComputable = false;
    int documentId = 0;    // ID_DOCUMEN of the cargo document created, 0 when none

    int MarkedRecordID = 0;  // the page value after the recording; the page stores it back
    bool clearCargo = false; // no counterpart: the page clears CBCargo

    // Finishing step, set whenever the recording got past the required-field check.
    QString saveButtonCaption; // new caption of BtSaveW
    bool hideAxleWindow = false; // static mode: hide the axle weights window
};

// What the information window "Информация" (TBVWNettoForm) shows.
struct NetWeightInfo {
    int transpId = 0;
    bool vehicleFound = false;
    QString stateNumber; // STATENUMB of the vehicle when found
    QString cargoName;
    QString netText;

    // Texts of the window's controls: LbNetto, EditNetto, EditCargo. When the
    // vehicle is not found only the label's own text is shown and the boxes
    // stay empty.
    QString labelText() const;
    QString netBoxText() const;
    QString cargoBoxText() const;
};

// The interactive steps of the recording.
class RecorderUi {
public:
    virtual ~RecorderUi();
    // Warning with Yes and No; true on Yes. The default asks through zv::Messages.
    virtual bool askIntervalExceeded(const QString &text);
    // The modal window "Информация"; the recording waits until it is closed.
    virtual void showNetWeight(const NetWeightInfo &info) = 0;
    // The tare actuality interval was not set and is now 60: the settings
    // page's box EditActualTare shows the new value.
    virtual void tareIntervalDefaulted(int minutes);
};

class EventRecorder {
public:
    EventRecorder(zv::store::TBVDMod1 &dm, RecorderUi &ui);

    // Required fields; each failing check shows its message through
    // zv::Messages, then the retry hint follows. Only texts are checked.
    static CheckResult CheckData(const WeighingInput &in);

    // Records the weighing; see RecordResult. Never throws: engine errors are
    // shown with their fixed prefixes and the recording goes on or stops as
    // the step requires.
    RecordResult InsertRecordEven(const WeighingInput &in);

    // The tare actuality interval in minutes; 0 in the settings is reported
    // once and replaced by 60.
    int settleTareInterval();

    // Text of the interval question (one candidate or several).
    static QString intervalQuestion(int intervalMinutes, int differenceSeconds, bool severalCandidates);

private:
    zv::store::TBVDMod1 &m_dm;
    RecorderUi &m_ui;
};

// Helpers shared with the axle weighing and the tests.

// A weight text as a number: a plain decimal with "." (optional sign);
// false for anything else (empty, blanks inside, exponents, two points).
bool parseWeightText(const QString &text, double *value);
// The net weight text: shortest plain decimal, up to 15 significant digits.
QString netWeightText(double net);
// "hh:mm:ss" of a time of day in seconds (negative spans get a "-").
QString timeText(int seconds);
// Seconds since midnight of a TIME_EVEN text ("h:mm:ss" or "hh:mm:ss"); -1 when not a time.
int secondsOfTimeText(const QString &text);

} // namespace zv::journal
