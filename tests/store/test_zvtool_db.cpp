// The `zvtool db` commands as an installer runs them.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int code;
    QString out;
    QString err;
};

ToolRun zvtool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(ZVTOOL_PATH), QStringList{QStringLiteral("db")} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(ZvtoolDb, InitDemoAndRefusals)
{
    QTemporaryDir tmp;
    const QString dir = tmp.path() + QStringLiteral("/db");
    ToolRun r = zvtool({QStringLiteral("init"), dir});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("\"admin\""))) << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(dir + QStringLiteral("/zv.db")));

    r = zvtool({QStringLiteral("init"), dir});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("уже существует"))) << r.err.toStdString();

    r = zvtool({QStringLiteral("demo"), dir});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("CreaterReport")));

    r = zvtool({QStringLiteral("import"), tmp.path() + QStringLiteral("/nothing"), tmp.path() + QStringLiteral("/db2")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("nothing")));
    EXPECT_FALSE(QFile::exists(tmp.path() + QStringLiteral("/db2/zv.db")));

    EXPECT_EQ(zvtool({QStringLiteral("frobnicate")}).code, 2);
    EXPECT_EQ(zvtool({QStringLiteral("init")}).code, 2);
}
