// Speed of the store on a journal of ten years: 1 000 000 events of about
// 500 vehicles, with a document for every loaded weighing.
//
// The database is built once into $ZV_BENCH_DIR (default ./zv-bench-db) and
// reused by later runs; delete the directory to build it again.
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "catalogue.h"
#include "database.h"
#include "datamodule.h"

using namespace zv::store;

namespace {

constexpr int Events = 1000000;
constexpr int Vehicles = 500;
constexpr int EventsPerDay = 274; // ten years
const QDate FirstDay(2015, 1, 1);

QString benchDir()
{
    const QByteArray env = qgetenv("ZV_BENCH_DIR");
    return QDir(env.isEmpty() ? QStringLiteral("zv-bench-db") : QString::fromLocal8Bit(env)).absolutePath();
}

void buildJournal(const QString &dir)
{
    std::fprintf(stderr, "building the benchmark journal in %s ...\n", qPrintable(dir));
    buildDatabase(dir, [](const QString &conn) {
        createSchema(conn);
        addBuiltInRows(conn);
        QSqlQuery q(QSqlDatabase::database(conn, false));
        const auto run = [&](const QString &sql) {
            if (!q.exec(sql))
                throw DbError(q.lastError().text());
        };
        run(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                           "INSERT INTO TRANSPORT (ID_TRANSP, NAMETRANSP, STATENUMB, W_EMPTYCAR, W_EMPTY_TR, ID_MODEL, "
                           "ID_OWNER, IDRF, ID_TRAILER) SELECT i, 'Самосвал', 'А' || printf('%03d', i) || 'ВС71', "
                           "'10300', '0', 1 + i % 4, 1 + i % 2, 'E200' || i, i % 3 FROM n")
                .arg(Vehicles));
        run(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                           "INSERT INTO DRIVER SELECT i, 'Фамилия' || i, 'Имя', CASE WHEN i % 5 = 0 THEN '' ELSE "
                           "'Отчество' END FROM n"));
        run(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                           "INSERT INTO CARGO SELECT i, 'Груз ' || i, '00-' || i FROM n"));
        run(QStringLiteral("INSERT INTO USERS (ID_USER, LONGN_USER, SHORTN_US, NAME_USER, PASSW_USER, LEVEL_USER, "
                           "CHANGE_P) VALUES (2, 'Сидорова Анна Викторовна', 'Сидорова А. В.', 'operator', 'operator', "
                           "'Operator', 0)"));
        // Weighings in pairs: an empty one (mode 1) and a loaded one (mode 0)
        // of the same vehicle; all but the last days are paired.
        const QString events = QString::number(Events), perDay = QString::number(EventsPerDay),
                      vehicles = QString::number(Vehicles);
        run(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ") + events
            + QStringLiteral(
                ") INSERT INTO EVENJRN (ID_RECORD, DATE_EVEN, TIME_EVEN, ID_EVENTYP, MODE_EN_DP, ID_TRANSP, ID_DRIVER, "
                "ID_OPERAT, ID_CARGO, ID_CARGOTY, PROPCARGO, COMMENT, WCARGO, RESFIELD_1, RESFIELD_2, AT_OP_AUTO, "
                "ID_DOCUMEN) SELECT i, date('2015-01-01', '+' || ((i - 1) / ")
            + perDay + QStringLiteral(") || ' days'), printf('%02d:%02d:%02d', 6 + ((i - 1) % ") + perDay
            + QStringLiteral(") * 14 / ") + perDay
            + QStringLiteral(", (i * 7) % 60, (i * 13) % 60), CASE i % 2 WHEN 1 THEN 127 ELSE 126 END, i % 2, "
                             "1 + ((i + 1) / 2 * 7919) % ")
            + vehicles
            + QStringLiteral(", 1 + i % 200, 2, CASE i % 2 WHEN 1 THEN 0 ELSE 1 + i % 100 END, "
                             "CASE i % 2 WHEN 1 THEN 105 ELSE 1 END, '', '', "
                             "CASE i % 2 WHEN 1 THEN '10300' ELSE '35300' END, "
                             "CASE i % 2 WHEN 1 THEN '' ELSE '25000' END, CASE WHEN i > ")
            + events + QStringLiteral(" - 2000 THEN 0 ELSE 1 END, 0, i FROM n"));
        run(QStringLiteral("INSERT INTO DOCUMENT (ID_DOCUMEN, DATE_DOC, TIME_DOC, ID_DOCTYPE, NUMBER_NAK, WCARGO) "
                           "SELECT ID_DOCUMEN, DATE_EVEN, TIME_EVEN, 1, ID_RECORD, RESFIELD_1 FROM EVENJRN "
                           "WHERE MODE_EN_DP = 0"));
    });
    std::fprintf(stderr, "done\n");
}

TBVDMod1 &module()
{
    static bool ready = false;
    if (!ready) {
        const QString dir = benchDir();
        if (!QFileInfo::exists(dir + QStringLiteral("/zv.db")))
            buildJournal(dir);
        Database::setDirectory(dir);
        ready = true;
    }
    return TBVDMod1::instance();
}

QDate randomDay()
{
    return FirstDay.addDays(QRandomGenerator::global()->bounded(Events / EventsPerDay));
}

// The day's journal as the weighing page shows it: re-run, read every row, last row.
void BM_DayJournal(benchmark::State &state)
{
    auto &m = module();
    int rows = 0;
    for (auto _ : state) {
        m.BVQWrEvJrn.close();
        m.BVQWrEvJrn.setParam(QStringLiteral("IN_DATE"), randomDay());
        m.BVQWrEvJrn.open();
        rows = m.BVQWrEvJrn.fetchAllRows();
        m.BVQWrEvJrn.last();
        benchmark::DoNotOptimize(m.BVQWrEvJrn.fieldByName(QStringLiteral("NameCargo")).asString());
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_DayJournal)->Unit(benchmark::kMillisecond);

// Opening the whole journal with every name (the recording opens it once
// when it is closed): the first rows are read, the rest as the cursor moves.
void BM_WholeJournalOpen(benchmark::State &state)
{
    auto &m = module();
    for (auto _ : state) {
        m.BVQEvenJrn.close();
        m.BVQEvenJrn.open();
        benchmark::DoNotOptimize(m.BVQEvenJrn.fieldByName(QStringLiteral("NameModel")).asString());
    }
}
BENCHMARK(BM_WholeJournalOpen)->Unit(benchmark::kMillisecond);

// The pair search of a recording: open events of one vehicle, one mode, one day.
void BM_FindPair(benchmark::State &state)
{
    auto &m = module();
    auto *rnd = QRandomGenerator::global();
    for (auto _ : state) {
        const QDate day = randomDay();
        m.BVQFindPair.close();
        m.BVQFindPair.setParam(QStringLiteral("IN_DATE_BEG"), day);
        m.BVQFindPair.setParam(QStringLiteral("IN_DATE_END"), day);
        m.BVQFindPair.setParam(QStringLiteral("IN_ID_TRANSP"), 1 + rnd->bounded(Vehicles));
        m.BVQFindPair.setParam(QStringLiteral("IN_MODE"), rnd->bounded(2));
        m.BVQFindPair.open();
        benchmark::DoNotOptimize(m.BVQFindPair.recordCount());
    }
}
BENCHMARK(BM_FindPair)->Unit(benchmark::kMicrosecond);

void BM_GetMaxID(benchmark::State &state)
{
    auto &m = module();
    for (auto _ : state)
        benchmark::DoNotOptimize(m.GetMaxID(QStringLiteral("EvenJrn"), QStringLiteral("ID_RECORD")));
}
BENCHMARK(BM_GetMaxID)->Unit(benchmark::kMicrosecond);

// The table component finds one journal row by its identifier.
void BM_LocateEvent(benchmark::State &state)
{
    auto &m = module();
    TBVDMod1::OpenIfClosed(m.BVTEvenJrn);
    auto *rnd = QRandomGenerator::global();
    for (auto _ : state) {
        if (!m.BVTEvenJrn.locate(QStringLiteral("ID_RECORD"), 1 + rnd->bounded(Events)))
            state.SkipWithError("row not found");
    }
}
BENCHMARK(BM_LocateEvent)->Unit(benchmark::kMicrosecond);

// Changing the pairing mark of one journal row: locate, edit, post (one
// durable commit each).
void BM_LocateEditPost(benchmark::State &state)
{
    auto &m = module();
    TBVDMod1::OpenIfClosed(m.BVTEvenJrn);
    auto *rnd = QRandomGenerator::global();
    for (auto _ : state) {
        m.BVTEvenJrn.locate(QStringLiteral("ID_RECORD"), 1 + rnd->bounded(Events));
        m.BVTEvenJrn.edit();
        m.BVTEvenJrn.fieldByName(QStringLiteral("RESFIELD_1")).setString(QString::number(rnd->bounded(40000)));
        m.BVTEvenJrn.post();
    }
}
BENCHMARK(BM_LocateEditPost)->Unit(benchmark::kMillisecond);

// Edit and post alone, on the row the cursor stands on.
void BM_EditPost(benchmark::State &state)
{
    auto &m = module();
    TBVDMod1::OpenIfClosed(m.BVTEvenJrn);
    auto *rnd = QRandomGenerator::global();
    m.BVTEvenJrn.locate(QStringLiteral("ID_RECORD"), 1 + rnd->bounded(Events));
    for (auto _ : state) {
        m.BVTEvenJrn.edit();
        m.BVTEvenJrn.fieldByName(QStringLiteral("RESFIELD_1")).setString(QString::number(rnd->bounded(40000)));
        m.BVTEvenJrn.post();
    }
}
BENCHMARK(BM_EditPost)->Unit(benchmark::kMillisecond);

// The engine alone: one UPDATE of one row by its identifier, committed with
// a full sync, as the reference for the edit and post above.
void BM_DurableCommit(benchmark::State &state)
{
    module();
    QSqlQuery q(Database::connection());
    q.prepare(QStringLiteral("UPDATE EVENJRN SET RESFIELD_1 = ? WHERE ID_RECORD = ?"));
    auto *rnd = QRandomGenerator::global();
    for (auto _ : state) {
        q.bindValue(0, QString::number(rnd->bounded(40000)));
        q.bindValue(1, 1 + rnd->bounded(Events));
        if (!q.exec())
            state.SkipWithError("update failed");
    }
}
BENCHMARK(BM_DurableCommit)->Unit(benchmark::kMillisecond);

// Recording a new event: allocate the identifier, append, post (the engine
// numbers the document); the row is removed again so the journal stays the same.
void BM_AppendEvent(benchmark::State &state)
{
    auto &m = module();
    TBVDMod1::OpenIfClosed(m.BVTEvenJrn);
    for (auto _ : state) {
        m.BVTEvenJrn.append();
        m.BVTEvenJrn.fieldByName(QStringLiteral("ID_RECORD")).setInteger(
            m.AllocateID(QStringLiteral("EVENJRN"), QStringLiteral("ID_RECORD")));
        m.BVTEvenJrn.fieldByName(QStringLiteral("DATE_EVEN")).setDate(QDate(2025, 1, 1));
        m.BVTEvenJrn.fieldByName(QStringLiteral("TIME_EVEN")).setString(QStringLiteral("12:00:00"));
        m.BVTEvenJrn.fieldByName(QStringLiteral("WCARGO")).setString(QStringLiteral("12000"));
        m.BVTEvenJrn.post();
        state.PauseTiming();
        m.BVTEvenJrn.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AppendEvent)->Unit(benchmark::kMillisecond);

} // namespace
