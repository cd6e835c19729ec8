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
