// A process killed in the middle of its work loses nothing it committed and
// leaves no part of what it had not.
#include "storefixture.h"

#include <QProcess>

using namespace zv::store;

class DurabilityTest : public StoreTest {};

TEST_F(DurabilityTest, KilledWriterKeepsCommittedRowsOnly)
{
    Database::close(); // the helper is the only writer
    QProcess p;
    p.start(QStringLiteral(STORE_CRASH_HELPER), {dir, QStringLiteral("20")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::CrashExit);
    EXPECT_TRUE(p.readAllStandardOutput().contains("committed 20"));

    EXPECT_EQ(scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM EVENJRN")).toInt(), 20);
    EXPECT_EQ(scalar(QStringLiteral("SELECT MAX(ID_RECORD) FROM EVENJRN")).toInt(), 20);
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2); // FULL
    EXPECT_EQ(scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    // The journal goes on from there.
    EXPECT_EQ(GetMaxID(QStringLiteral("EVENJRN"), QStringLiteral("ID_RECORD")) + 1, 21);
}

// A query left half read (a long list the user has not scrolled through)
// must not hold back the commit of a recorded weighing; the list reads on
// afterwards without losing or repeating rows.
TEST_F(DurabilityTest, HalfReadQueryDoesNotHoldBackCommits)
{
    sql(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                       "INSERT INTO CARGO (ID_CARGO, NAMECARGO) SELECT i, 'Груз ' || i FROM n"));
    auto &m = dm();
    m.BVQRefCargo.open();
    for (int i = 0; i < 1500; ++i)
        m.BVQRefCargo.next();
    EXPECT_EQ(m.BVQRefCargo.fieldByName(QStringLiteral("ID_CARGO")).asInteger(), 1501);

    m.BVTEvenJrn.open();
    m.BVTEvenJrn.append();
    m.BVTEvenJrn.fieldByName(QStringLiteral("ID_RECORD")).setInteger(1);
    m.BVTEvenJrn.post();

    // Another connection (another process after a power cut) sees the row.
    {
        QSqlDatabase other = Database::openFile(dir + QStringLiteral("/zv.db"), QStringLiteral("other"), false);
        QSqlQuery q(other);
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM EVENJRN")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));

    QList<qint64> ids;
    for (m.BVQRefCargo.first(); !m.BVQRefCargo.eof(); m.BVQRefCargo.next())
        ids << m.BVQRefCargo.fieldByName(QStringLiteral("ID_CARGO")).asInteger();
    ASSERT_EQ(ids.size(), 3000);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(ids[i], i + 1);
}
