#include "eventrecorder.h"

#include <QRegularExpression>
#include <QTime>

#include <cmath>
#include <limits>
#include <optional>

#include "clock.h"
#include "database.h"
#include "datamodule.h"
#include "documentcore.h"
#include "messages.h"
#include "runstate.h"
#include "weighttelegram.h"

namespace zv::journal {

using zv::store::DbError;
using zv::store::Dataset;
using zv::store::TBVDMod1;

// ---------------------------------------------------------------- helpers

int GetMode(bool empty, bool retry)
{
    if (retry)
        return empty ? ModeRetryEmpty : ModeRetryLoaded;
    return empty ? ModeEmpty : ModeLoaded;
}

int eventTypeOfMode(int mode)
{
    switch (mode) {
    case ModeEmpty: return 127;
    case ModeRetryLoaded: return 132;
    case ModeRetryEmpty: return 141;
    default: return 126;
    }
}

int counterpartMode(int mode)
{
    switch (mode) {
    case ModeLoaded: return ModeEmpty;
    case ModeEmpty: return ModeLoaded;
    case ModeRetryLoaded: return ModeRetryEmpty;
    default: return ModeRetryLoaded;
    }
}

bool parseWeightText(const QString &text, double *value)
{
    static const QRegularExpression plain(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const QString t = text.trimmed();
    if (!plain.match(t).hasMatch())
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

QString netWeightText(double net)
{
    if (net == 0)
        return QStringLiteral("0"); // no "-0"
    QString s = QString::number(net, 'g', 15);
    if (s.contains(QLatin1Char('e'))) {
        // Shortest plain form of numbers that 'g' would write with an exponent.
        s = QString::number(net, 'f', 15);
        if (s.contains(QLatin1Char('.'))) {
            while (s.endsWith(QLatin1Char('0')))
                s.chop(1);
            if (s.endsWith(QLatin1Char('.')))
                s.chop(1);
        }
    }
    return s;
}

QString timeText(int seconds)
{
    const bool negative = seconds < 0;
    int s = std::abs(seconds);
    const QString text = QStringLiteral("%1:%2:%3")
                             .arg(s / 3600, 2, 10, QLatin1Char('0'))
                             .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
                             .arg(s % 60, 2, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + text : text;
}

int secondsOfTimeText(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2}):(\\d{2})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return -1;
    const int h = m.captured(1).toInt(), mi = m.captured(2).toInt(), s = m.captured(3).toInt();
    if (h > 23 || mi > 59 || s > 59)
        return -1;
    return h * 3600 + mi * 60 + s;
}

QString NetWeightInfo::labelText() const
{
    const QString label = QStringLiteral("Вес груза  ");
    return vehicleFound ? label + QStringLiteral("ТС № ") + stateNumber : label;
}

QString NetWeightInfo::netBoxText() const { return vehicleFound ? netText : QString(); }

QString NetWeightInfo::cargoBoxText() const
{
    return vehicleFound ? QLatin1Char('(') + cargoName + QLatin1Char(')') : QString();
}

RecorderUi::~RecorderUi() = default;

bool RecorderUi::askIntervalExceeded(const QString &text)
{
    return zv::Messages::question(text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void RecorderUi::tareIntervalDefaulted(int) {}

// ---------------------------------------------------------------- the recorder

namespace {

const QString PrefixInsert = QStringLiteral("Ошибка при работе с процедурой InsEvenJrn (добавить запись в журнал):");
const QString PrefixEmptyWeight = QStringLiteral("Ошибка при работе с процедурой TrWEm:");
const QString PrefixLink = QStringLiteral("Ошибка при работе с процедурой BVSPLinkW:");
const QString PrefixNetto = QStringLiteral("Ошибка при работе с процедурой BVSPWNetto:");

struct Candidate {
    int id = 0;
    int timeSeconds = -1;
    QString wcargo;
    int cargoId = 0;
};

bool blank(const QString &s) { return s.trimmed().isEmpty(); }

// An error that no step guards: the general error display shows its text.
void showGeneralError(const QString &message) { zv::Messages::error(message); }

class Recording {
public:
    Recording(TBVDMod1 &dm, RecorderUi &ui, const WeighingInput &in, RecordResult &r)
        : dm(dm), ui(ui), in(in), r(r)
    {
    }

    void run(int intervalMinutes, const QDateTime &now);

private:
    int findVehicle(const QString &stateNumber);
    QList<Candidate> findOpen(int transpId, int mode);
    bool WriteRecordJrn();
    bool WriteEmptyWeight(int mode, int transpId);
    void WriteLinkJrn(int recordId, int mark); // throws DbError
    void WriteWNettoJrn(int recordId, const QString &net); // throws DbError
    void reopenMarkedRecord();
    std::optional<QString> vehicleEmptyWeight(int transpId);
    QString cargoName(int cargoId);
    void showNet(int transpId, const QString &cargo, const QString &net);
    bool storePair(int loadedId, int emptyId, const QString &net, bool withDocument);
    bool beginTransaction();
    void rollbackTransaction();
    static void cancelPending(Dataset &t);
    bool writeNewEvent(int supersedeId, bool reopenMarked);
    void createDocumentFor(int recordId);
    std::optional<double> netOf(const QString &loadedText, const std::optional<QString> &emptyText);

    TBVDMod1 &dm;
    RecorderUi &ui;
    const WeighingInput &in;
    RecordResult &r;
    QDate today;
    QDate eventDate;
    QString timeEven;
    int t0 = 0;
};

// The vehicle of the weighing: the one the page chose when its number is
// the number typed, otherwise the first vehicle with that number; 0 when the
// number names none. Storing and pairing both use this one vehicle, so two
// vehicles sharing a number cannot split a pair. The table component finds
// the row by an indexed statement instead of walking the vehicle list.
int Recording::findVehicle(const QString &stateNumber)
{
    Dataset &t = dm.BVTTransport;
    TBVDMod1::OpenIfClosed(t);
    if (stateNumber.isEmpty())
        return 0;
    if (in.CurrTranspID != 0 && t.locate(QStringLiteral("ID_TRANSP"), in.CurrTranspID)
        && t.fieldByName(QStringLiteral("STATENUMB")).asString() == stateNumber)
        return in.CurrTranspID;
    if (!t.locate(QStringLiteral("STATENUMB"), stateNumber, zv::store::LocateMode::Exact))
        return 0;
    return t.fieldByName(QStringLiteral("ID_TRANSP")).asInt();
}

QList<Candidate> Recording::findOpen(int transpId, int mode)
{
    Dataset &q = dm.BVQFindPair;
    q.close();
    q.setParam(QStringLiteral("IN_DATE_BEG"), today.addDays(-zv::settings().NumberDayView));
    q.setParam(QStringLiteral("IN_DATE_END"), today);
    q.setParam(QStringLiteral("IN_ID_TRANSP"), transpId);
    q.setParam(QStringLiteral("IN_MODE"), mode);
    q.open();
    QList<Candidate> list;
    for (q.first(); !q.eof(); q.next()) {
        Candidate c;
        c.id = q.fieldByName(QStringLiteral("ID_RECORD")).asInt();
        c.timeSeconds = secondsOfTimeText(q.fieldByName(QStringLiteral("TIME_EVEN")).asString());
        c.wcargo = q.fieldByName(QStringLiteral("WCARGO")).asString();
        c.cargoId = q.fieldByName(QStringLiteral("ID_CARGO")).asInt();
        list.append(c);
    }
    q.close();
    return list;
}

bool Recording::WriteRecordJrn()
{
    Dataset &t = dm.BVTEvenJrn;
    try {
        TBVDMod1::OpenIfClosed(t);
        const int id = dm.AllocateID(QStringLiteral("EVENJRN"), QStringLiteral("ID_RECORD"));
        t.append();
        t.fieldByName(QStringLiteral("ID_RECORD")).setInteger(id);
        t.fieldByName(QStringLiteral("DATE_EVEN")).setDate(eventDate);
        t.fieldByName(QStringLiteral("TIME_EVEN")).setString(timeEven);
        t.fieldByName(QStringLiteral("ID_TRANSP")).setInteger(r.transpId);
        t.fieldByName(QStringLiteral("ID_DRIVER")).setInteger(in.CurrDriverID);
        t.fieldByName(QStringLiteral("ID_OPERAT")).setInteger(zv::run().CurrUserID);
        t.fieldByName(QStringLiteral("ID_CARGO")).setInteger(isEmptyKind(r.mode) ? 0 : in.CurrCargoID);
        t.fieldByName(QStringLiteral("ID_CARGOTY")).setInteger(blank(in.cargoType) ? NoCargoTypeID : in.CurrCargoTypeID);
        t.fieldByName(QStringLiteral("COMMENT")).setString(in.comment);
        t.fieldByName(QStringLiteral("ID_EVENTYP")).setInteger(eventTypeOfMode(r.mode));
        t.fieldByName(QStringLiteral("RESFIELD_2")).setInteger(0);
        t.fieldByName(QStringLiteral("MODE_EN_DP")).setInteger(r.mode);
        t.fieldByName(QStringLiteral("WCARGO"))
            .setString(zv::scale::ConvWeightStr(zv::settings().DecimalPoint, in.WeightTotal));
        t.fieldByName(QStringLiteral("AT_OP_AUTO")).setInteger(0);
        t.fieldByName(QStringLiteral("PROPCARGO")).setString(in.cargoProperties);
        t.post();
        r.recordId = id;
        return true;
    } catch (const DbError &e) {
        cancelPending(t);
        zv::Messages::error(PrefixInsert + e.message());
        return false;
    }
}

bool Recording::WriteEmptyWeight(int mode, int transpId)
{
    try {
        Dataset &t = dm.BVTTransport;
        TBVDMod1::OpenIfClosed(t);
        if (isEmptyKind(mode) && t.locate(QStringLiteral("ID_TRANSP"), transpId)) {
            t.edit();
            t.fieldByName(QStringLiteral("W_EMPTYCAR"))
                .setString(zv::scale::ConvWeightStr(zv::settings().DecimalPoint, in.WeightTotal));
            t.fieldByName(QStringLiteral("W_EMPTY_TR")).setString(QStringLiteral("0"));
            t.post();
        }
        // The vehicle list carries the new value.
        dm.BVQTransport.close();
        dm.BVQTransport.open();
        return true;
    } catch (const DbError &e) {
        zv::Messages::error(PrefixEmptyWeight + e.message());
        return false;
    }
}

void Recording::WriteLinkJrn(int recordId, int mark)
{
    Dataset &t = dm.BVTEvenJrn;
    TBVDMod1::OpenIfClosed(t);
    if (!t.locate(QStringLiteral("ID_RECORD"), recordId))
        return;
    t.edit();
    t.fieldByName(QStringLiteral("RESFIELD_2")).setInteger(mark);
    t.post();
}

void Recording::WriteWNettoJrn(int recordId, const QString &net)
{
    Dataset &t = dm.BVTEvenJrn;
    TBVDMod1::OpenIfClosed(t);
    if (!t.locate(t.firstColumnName(), recordId))
        return;
    t.edit();
    t.fieldByName(QStringLiteral("RESFIELD_1")).setString(net);
    t.post();
}

// An event withdrawn for re-weighing becomes open again when its re-weighing
// found no counterpart. An event of a completed pair is never reopened, and
// the mark is used once: afterwards the same event may be withdrawn again
// (superseded) without this step undoing it.
void Recording::reopenMarkedRecord()
{
    if (in.MarkedRecordID == 0)
        return;
    try {
        Dataset &t = dm.BVTEvenJrn;
        TBVDMod1::OpenIfClosed(t);
        if (t.locate(QStringLiteral("ID_RECORD"), in.MarkedRecordID)
            && t.fieldByName(QStringLiteral("RESFIELD_2")).asInt() == -1) {
            WriteLinkJrn(in.MarkedRecordID, 0);
            r.MarkedRecordID = 0;
        }
    } catch (const DbError &e) {
        zv::Messages::error(PrefixLink + e.message());
    }
}

std::optional<QString> Recording::vehicleEmptyWeight(int transpId)
{
    Dataset &t = dm.BVTTransport;
    TBVDMod1::OpenIfClosed(t);
    if (!t.locate(QStringLiteral("ID_TRANSP"), transpId))
        return std::nullopt;
    return t.fieldByName(QStringLiteral("W_EMPTYCAR")).asString();
}

QString Recording::cargoName(int cargoId)
{
    try {
        Dataset &t = dm.BVTCargo;
        TBVDMod1::OpenIfClosed(t);
        if (cargoId != 0 && t.locate(QStringLiteral("ID_CARGO"), cargoId))
            return t.fieldByName(QStringLiteral("NAMECARGO")).asString();
    } catch (const DbError &e) {
        showGeneralError(e.message());
    }
    return QString();
}

void Recording::showNet(int transpId, const QString &cargo, const QString &net)
{
    NetWeightInfo info;
    info.transpId = transpId;
    info.cargoName = cargo;
    info.netText = net;
    try {
        Dataset &t = dm.BVTTransport;
        TBVDMod1::OpenIfClosed(t);
        if (transpId != 0 && t.locate(QStringLiteral("ID_TRANSP"), transpId)) {
            info.vehicleFound = true;
            info.stateNumber = t.fieldByName(QStringLiteral("STATENUMB")).asString();
        }
    } catch (const DbError &e) {
        showGeneralError(e.message());
    }
    ui.showNetWeight(info);
}

// Net weight of the pair, or nothing (with a message) when one of the two
// weight texts is not a number: the pair is then left open.
std::optional<double> Recording::netOf(const QString &loadedText, const std::optional<QString> &emptyText)
{
    double loaded = 0, empty = 0;
    if (!parseWeightText(loadedText, &loaded)) {
        zv::Messages::warning(QStringLiteral("Вес груза не вычислен: вес ТС с грузом \"%1\" не является числом. "
                                             "Взвешивание записано в журнал без пары.")
                                  .arg(loadedText));
        return std::nullopt;
    }
    if (!emptyText || !parseWeightText(*emptyText, &empty)) {
        zv::Messages::warning(QStringLiteral("Вес груза не вычислен: вес пустого ТС \"%1\" не является числом. "
                                             "Взвешивание записано в журнал без пары.")
                                  .arg(emptyText.value_or(QString())));
        return std::nullopt;
    }
    return loaded - empty;
}

// The net weight on the loaded event and the marks of both events, all or
// nothing: a failure part-way leaves both events open as they were. The
// document of the loaded event is made in the same commit when asked; its
// own failure is reported and does not undo the pair.
bool Recording::storePair(int loadedId, int emptyId, const QString &net, bool withDocument)
{
    QString prefix = PrefixNetto;
    const bool inTx = beginTransaction();
    try {
        WriteWNettoJrn(loadedId, net);
        prefix = PrefixLink;
        WriteLinkJrn(loadedId, 1);
        WriteLinkJrn(emptyId, 1);
        if (withDocument)
            createDocumentFor(loadedId);
        prefix = PrefixNetto;
        if (inTx)
            zv::store::Database::commit();
        return true;
    } catch (const DbError &e) {
        cancelPending(dm.BVTEvenJrn);
        if (inTx)
            rollbackTransaction();
        r.documentId = 0;
        zv::Messages::error(prefix + e.message());
        return false;
    }
}

bool Recording::beginTransaction()
{
    try {
        zv::store::Database::beginTransaction();
        return true;
    } catch (const DbError &) {
        return false; // the steps then commit one by one
    }
}

void Recording::rollbackTransaction()
{
    try {
        zv::store::Database::rollback();
        for (Dataset *t : {&dm.BVTEvenJrn, &dm.BVTTransport, &dm.BVTDocument})
            if (t->active())
                t->refresh();
    } catch (const DbError &) {
    }
}

void Recording::cancelPending(Dataset &t)
{
    if (t.state() == Dataset::State::Insert || t.state() == Dataset::State::Edit) {
        try {
            t.cancel();
        } catch (const DbError &) {
        }
    }
}

void Recording::createDocumentFor(int recordId)
{
    try {
        Dataset &t = dm.BVTEvenJrn;
        TBVDMod1::OpenIfClosed(t);
        if (!t.locate(QStringLiteral("ID_RECORD"), recordId))
            return;
        const int documentId = t.fieldByName(QStringLiteral("ID_DOCUMEN")).asInt();
        const QDate date = t.fieldByName(QStringLiteral("DATE_EVEN")).asDate();
        const QString time = t.fieldByName(QStringLiteral("TIME_EVEN")).asString();
        r.documentId = zv::documents::CreateDocument(dm, documentId, date, time);
    } catch (const DbError &e) {
        showGeneralError(e.message());
    }
}

// The new event together with the steps that belong to it before any
// window is shown: the superseding of an earlier empty weighing, the
// reopening of the event chosen for re-weighing and the vehicle's empty
// weight. One commit: an event that cannot be written withdraws nothing.
bool Recording::writeNewEvent(int supersedeId, bool reopenMarked)
{
    const bool inTx = beginTransaction();
    if (supersedeId != 0) {
        try {
            WriteLinkJrn(supersedeId, -1);
        } catch (const DbError &e) {
            cancelPending(dm.BVTEvenJrn);
            zv::Messages::error(PrefixLink + e.message());
        }
    }
    if (!WriteRecordJrn()) {
        if (inTx)
            rollbackTransaction();
        return false;
    }
    if (reopenMarked)
        reopenMarkedRecord();
    if (isEmptyKind(r.mode))
        WriteEmptyWeight(r.mode, r.transpId);
    if (inTx) {
        try {
            zv::store::Database::commit();
        } catch (const DbError &e) {
            rollbackTransaction();
            zv::Messages::error(PrefixInsert + e.message());
            r.recordId = 0;
            r.MarkedRecordID = in.MarkedRecordID;
            return false;
        }
    }
    return true;
}

void Recording::run(int intervalMinutes, const QDateTime &now)
{
    today = now.date();
    eventDate = in.shiftDate.isValid() ? in.shiftDate : today;
    t0 = now.time().msecsSinceStartOfDay() / 1000;
    timeEven = timeText(t0);
    const int intervalSeconds = intervalMinutes * 60;

    // The search window is the current date.
    zv::settings().NumberDayView = 0;

    int supersedeId = 0;
    QList<Candidate> candidates;
    try {
        // A state number that names no vehicle is recorded without a vehicle
        // and never paired: such weighings have no empty weight to subtract.
        r.transpId = findVehicle(in.stateNumber);
        if (r.transpId != 0) {
            if (r.mode == ModeEmpty) {
                const QList<Candidate> earlier = findOpen(r.transpId, ModeEmpty);
                if (earlier.size() == 1)
                    supersedeId = earlier.first().id;
            }
            candidates = findOpen(r.transpId, counterpartMode(r.mode));
        }
    } catch (const DbError &e) {
        showGeneralError(e.message());
        r.outcome = RecordResult::Outcome::WriteFailed;
        return;
    }

    if (candidates.isEmpty()) {
        if (!writeNewEvent(supersedeId, true)) {
            r.outcome = RecordResult::Outcome::WriteFailed;
            return;
        }
        r.outcome = RecordResult::Outcome::Recorded;
        r.clearCargo = true;
        return;
    }

    // The counterpart nearest in time; of equal differences the first in the
    // journal's order.
    const Candidate *chosen = &candidates.first();
    int bestDiff = std::numeric_limits<int>::max();
    for (const Candidate &c : candidates) {
        const int d = c.timeSeconds < 0 ? std::numeric_limits<int>::max() - 1 : t0 - c.timeSeconds;
        if (d < bestDiff) {
            bestDiff = d;
            chosen = &c;
        }
    }
    const Candidate counterpart = *chosen;

    if (!isEmptyKind(r.mode)) {
        // The empty weighing must be recent enough, or the operator agrees.
        const int diff = counterpart.timeSeconds < 0 ? 0 : t0 - counterpart.timeSeconds;
        if (diff > intervalSeconds) {
            const QString text = EventRecorder::intervalQuestion(intervalMinutes, diff, candidates.size() > 1);
            if (!ui.askIntervalExceeded(text)) {
                r.outcome = RecordResult::Outcome::Declined;
                return;
            }
        }
    }
    r.counterpartId = counterpart.id;
    if (!writeNewEvent(supersedeId, false)) {
        r.outcome = RecordResult::Outcome::WriteFailed;
        return;
    }
    r.outcome = RecordResult::Outcome::Recorded;
    if (!isEmptyKind(r.mode))
        r.MarkedRecordID = r.recordId;

    std::optional<QString> emptyText;
    try {
        emptyText = vehicleEmptyWeight(r.transpId);
    } catch (const DbError &e) {
        showGeneralError(e.message());
        return;
    }
    const QString loadedText = isEmptyKind(r.mode)
                                   ? counterpart.wcargo
                                   : zv::scale::ConvWeightStr(zv::settings().DecimalPoint, in.WeightTotal);
    const auto net = netOf(loadedText, emptyText);
    if (!net) {
        r.netNotComputable = true;
        return;
    }
    r.netText = netWeightText(*net);

    if (isEmptyKind(r.mode)) {
        showNet(r.transpId, cargoName(counterpart.cargoId), r.netText);
        r.paired = storePair(counterpart.id, r.recordId, r.netText, true);
        // The document of the loaded event is made even when the pair could
        // not be stored; the operator may fill it in by hand.
        if (!r.paired)
            createDocumentFor(counterpart.id);
    } else {
        showNet(r.transpId, cargoName(in.CurrCargoID), r.netText);
        r.paired = storePair(r.recordId, counterpart.id, r.netText, true);
    }
}

} // namespace

EventRecorder::EventRecorder(TBVDMod1 &dm, RecorderUi &ui) : m_dm(dm), m_ui(ui) {}

CheckResult EventRecorder::CheckData(const WeighingInput &in)
{
    CheckResult res;
    auto fail = [&res](CheckField field, const QString &text) {
        zv::Messages::information(text);
        if (res.ok)
            res.focus = field;
        res.ok = false;
    };
    if (!in.empty && blank(in.cargo))
        fail(CheckField::Cargo, QStringLiteral("Не выбрано значение для поля \"Наименование груза\""));
    if (blank(in.stateNumber))
        fail(CheckField::StateNumber, QStringLiteral("Не выбрано значение для поля \"Гос. номер ТС\""));
    if (in.rfidUsed && blank(in.rfid))
        fail(CheckField::Rfid, QStringLiteral("Поле \"RFID\" должно быть заполнено"));
    if (blank(in.driver))
        fail(CheckField::Driver, QStringLiteral("Не выбрано значение для поля \"Водитель\""));
    if (!res.ok)
        zv::Messages::information(QStringLiteral("Введите данные и нажмите кнопку \"Повторить запись в БД\""));
    return res;
}

int EventRecorder::settleTareInterval()
{
    auto &s = zv::settings();
    if (s.IntervalActualTare == 0) {
        zv::Messages::information(QStringLiteral("Не задан интервал актуальности тары, он будет установлен равный 60"));
        s.IntervalActualTare = 60;
        m_ui.tareIntervalDefaulted(60);
    }
    return s.IntervalActualTare;
}

QString EventRecorder::intervalQuestion(int intervalMinutes, int differenceSeconds, bool severalCandidates)
{
    const QString middle = severalCandidates
                               ? QStringLiteral(" мин.) между взвешиванием пустого ТС и груженного (он соотавляет ")
                               : QStringLiteral(" мин) между взвешиванием пустого ТС и груженного (он соотавляет ");
    return QStringLiteral("Превышен временной интервал (установлен - ") + QString::number(intervalMinutes) + middle
        + timeText(differenceSeconds) + QStringLiteral(") , будем записывать вес ?");
}

RecordResult EventRecorder::InsertRecordEven(const WeighingInput &in)
{
    RecordResult r;
    r.MarkedRecordID = in.MarkedRecordID;
    r.mode = GetMode(in.empty, in.retry);

    const CheckResult check = CheckData(in);
    if (!check.ok) {
        r.outcome = RecordResult::Outcome::CheckFailed;
        r.focus = check.focus;
        r.saveButtonCaption = CaptionRetryRecording;
        return r;
    }

    bool keepMeasurement = false;
    if (!std::isfinite(in.WeightTotal)) {
        // A total without a value would be stored as an empty weight.
        zv::Messages::warning(QStringLiteral("Нет значения измеренного веса ТС, взвешивание не записано"));
        r.outcome = RecordResult::Outcome::WriteFailed;
    } else {
        const QDateTime now = zv::Clock::now();
        const int interval = settleTareInterval();
        Recording(m_dm, m_ui, in, r).run(interval, now);
        // The store refused the new event: the measurement stays, and the
        // button offers to write it again once the store works.
        keepMeasurement = r.outcome == RecordResult::Outcome::WriteFailed;
    }

    // Finishing: the measurement button and the two grids of the page.
    if (keepMeasurement) {
        r.saveButtonCaption = CaptionRetryRecording;
        r.hideAxleWindow = false;
    } else {
        r.saveButtonCaption = in.staticMode ? CaptionRecordMeasurement : CaptionStartMeasurement;
        r.hideAxleWindow = in.staticMode;
    }
    try {
        // A document made just now has re-read the list already.
        if (r.documentId == 0 || !m_dm.BVQDoc.active()) {
            m_dm.BVQDoc.close();
            m_dm.BVQDoc.open();
        }
        m_dm.BVQDoc.last();
        m_dm.BVQWrEvJrn.close();
        m_dm.BVQWrEvJrn.setParam(QStringLiteral("IN_DATE"), zv::Clock::today());
        m_dm.BVQWrEvJrn.open();
        m_dm.BVQWrEvJrn.last();
    } catch (const DbError &e) {
        showGeneralError(e.message());
    }
    return r;
}

} // namespace zv::journal
