// Recording a weighing into a journal of ten years (1 000 000 events, 500
// vehicles): the pair search, the new row, the links, the net weight, the
// document and the re-reading of the day's grids. The two modal waits (the
// interval question and the net weight window) answer at once.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "catalogue.h"
#include "clock.h"
#include "database.h"
#include "datamodule.h"
#include "eventrecorder.h"
#include "messages.h"
#include "runstate.h"

namespace {

constexpr int Vehicles = 500;
constexpr int Events = 1000000;
constexpr int Days = 3650;
const QDate LastDay(2026, 3, 2);

class NoWaitUi : public zv::journal::RecorderUi {
public:
    bool askIntervalExceeded(const QString &) override { return true; }
    void showNetWeight(const zv::journal::NetWeightInfo &) override {}
};

QString stateNumber(int v) { return QStringLiteral("А%1ВС").arg(v, 3, 10, QLatin1Char('0')); }

// Builds the journal once in one transaction: Events rows spread evenly over
// Days days, alternating empty and loaded weighings of the vehicles, all
// paired except the last day's.
void buildJournal(const QString &dir)
{
    zv::store::createDatabase(dir);
    zv::store::Database::setDirectory(dir);
    QSqlDatabase db = zv::store::Database::connection();
    zv::store::Database::beginTransaction();
    QSqlQuery q(db);
    q.prepare("INSERT INTO TRANSPORT (ID_TRANSP, STATENUMB, NAMETRANSP, W_EMPTYCAR, W_EMPTY_TR, IDRF) "
              "VALUES (?, ?, ?, '7000', '0', ?)");
    for (int v = 1; v <= Vehicles; ++v) {
        q.addBindValue(v);
        q.addBindValue(stateNumber(v));
        q.addBindValue(QStringLiteral("КАМАЗ %1").arg(v % 17));
        q.addBindValue(QStringLiteral("TAG%1").arg(v));
        q.exec();
    }
    q.exec("INSERT INTO CARGO (ID_CARGO, NAMECARGO, CODCARGO) VALUES (1, 'Щебень', '001')");
    q.exec("INSERT INTO DRIVER (ID_DRIVER, LASTN_DRIV, FIRSN_DRIV, PATR_DRIV) VALUES (1, 'Петров', 'Иван', 'Иванович')");

    q.prepare("INSERT INTO EVENJRN (ID_RECORD, DATE_EVEN, TIME_EVEN, ID_TRANSP, ID_DRIVER, ID_OPERAT, ID_CARGO, "
              "ID_CARGOTY, COMMENT, ID_EVENTYP, RESFIELD_2, RESFIELD_1, MODE_EN_DP, WCARGO, AT_OP_AUTO, PROPCARGO, "
              "ID_DOCUMEN) VALUES (?, ?, ?, ?, 1, 1, ?, 105, '', ?, ?, ?, ?, ?, 0, '', ?)");
    const QDate firstDay = LastDay.addDays(-(Days - 1));
    for (int i = 0; i < Events; ++i) {
        const int perDay = (Events + Days - 1) / Days; // even: a pair never spans two days
        const int day = i / perDay;
        const int inDay = i % perDay;
        const int pair = i / 2;
        const bool empty = (i % 2) == 0;
        const int secs = 6 * 3600 + (inDay * 50000 / perDay);
        q.addBindValue(i + 1);
        q.addBindValue(firstDay.addDays(day).toString(Qt::ISODate));
        q.addBindValue(QTime(0, 0).addSecs(secs).toString("hh:mm:ss"));
        q.addBindValue(pair % Vehicles + 1);
        q.addBindValue(empty ? 0 : 1);
        q.addBindValue(empty ? 127 : 126);
        q.addBindValue(day == Days - 1 ? 0 : 1);
        q.addBindValue(empty ? QString() : QStringLiteral("13000"));
        q.addBindValue(empty ? 1 : 0);
        q.addBindValue(empty ? QStringLiteral("7000") : QStringLiteral("20000"));
        q.addBindValue(i + 1);
        if (!q.exec())
            qFatal("%s", qPrintable(q.lastError().text()));
    }
    zv::store::Database::commit();
}

struct Journal {
    QTemporaryDir dir;
    Journal() { buildJournal(dir.path()); }
};

Journal &journal()
{
    static Journal j;
    return j;
}

// Each iteration records one weighing of the next vehicle; the empty and
// loaded weighings of a vehicle alternate, so every second recording
// completes a pair (net, links, document).
void BM_InsertRecordEven(benchmark::State &state)
{
    journal();
    zv::Messages::setScripted(true);
    zv::settings().IntervalActualTare = 60;
    zv::run().CurrUserID = 1;
    NoWaitUi ui;
    zv::journal::EventRecorder recorder(zv::store::TBVDMod1::instance(), ui);
    zv::store::TBVDMod1::instance().BVQDoc.setParam("IN_DATE", LastDay); // as the program's start sets it
    static int n = 0;
    for (auto _ : state) {
        const int v = (n / 2) % Vehicles + 1;
        const bool empty = (n % 2) == 0;
        // Twenty pairs a day, moving back one day after them, so the day's
        // journal keeps its usual size (~275 events) however long it runs.
        const QDate day = LastDay.addDays(-((n / 2 / 20) % 365));
        zv::Clock::setFixed(QDateTime(day, QTime(20, 0)).addSecs(n % 7000));
        zv::journal::WeighingInput in;
        in.stateNumber = stateNumber(v);
        in.CurrTranspID = v;
        in.driver = "Петров Иван Иванович";
        in.CurrDriverID = 1;
        in.empty = empty;
        if (!empty) {
            in.cargo = "Щебень";
            in.CurrCargoID = 1;
        }
        in.shiftDate = day;
        in.WeightTotal = empty ? 7000 : 20000;
        const auto r = recorder.InsertRecordEven(in);
        if (r.outcome != zv::journal::RecordResult::Outcome::Recorded)
            state.SkipWithError("not recorded");
        ++n;
        zv::Messages::clear();
    }
}
BENCHMARK(BM_InsertRecordEven)->Unit(benchmark::kMillisecond);

// The finishing step alone: the day's journal and documents re-read for the
// grids, and the vehicle list re-read after an empty weighing.
void BM_RereadDayJournal(benchmark::State &state)
{
    journal();
    auto &dm = zv::store::TBVDMod1::instance();
    for (auto _ : state) {
        dm.BVQWrEvJrn.close();
        dm.BVQWrEvJrn.setParam("IN_DATE", LastDay.addDays(-1));
        dm.BVQWrEvJrn.open();
        dm.BVQWrEvJrn.last();
    }
}
BENCHMARK(BM_RereadDayJournal)->Unit(benchmark::kMillisecond);

void BM_RereadDayDocuments(benchmark::State &state)
{
    journal();
    auto &dm = zv::store::TBVDMod1::instance();
    dm.BVQDoc.setParam("IN_DATE", LastDay);
    for (auto _ : state) {
        dm.BVQDoc.close();
        dm.BVQDoc.open();
        dm.BVQDoc.last();
    }
}
BENCHMARK(BM_RereadDayDocuments)->Unit(benchmark::kMillisecond);

void BM_RereadVehicleList(benchmark::State &state)
{
    journal();
    auto &dm = zv::store::TBVDMod1::instance();
    for (auto _ : state) {
        dm.BVQTransport.close();
        dm.BVQTransport.open();
    }
}
BENCHMARK(BM_RereadVehicleList)->Unit(benchmark::kMillisecond);

} // namespace
