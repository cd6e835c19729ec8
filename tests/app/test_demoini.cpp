// zvtool demo-ini: the demo's settings file on the simulator's port.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "cp1251.h"
#include "inifile.h"

namespace {
int runDemoIni(const QStringList &args, QByteArray *err = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(ZVTOOL_PATH), QStringList{QStringLiteral("demo-ini")} + args);
    if (!p.waitForFinished(30000))
        return -1;
    if (err)
        *err = p.readAllStandardError();
    return p.exitCode();
}
} // namespace

TEST(DemoIni, PointsTheIndicatorAtThePortAndKeepsOtherLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("belvor.ini"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(zv::toCp1251(QStringLiteral("; участок 3\r\n[Set Mode]\r\nMode=Динамический режим\r\nModeIndex=1\r\n"
                                            "[Set Interval Actual]\r\nIntervalActualTare=120\r\n")));
    }
    ASSERT_EQ(runDemoIni({path, QStringLiteral("/dev/pts/42")}), 0);
    zv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_TRUE(ini.text().startsWith(QStringLiteral("; участок 3\r\n")));
    EXPECT_EQ(ini.readString(QStringLiteral("Set ComPort W"), QStringLiteral("Port")), QStringLiteral("/dev/pts/42"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set Mode"), QStringLiteral("ModeIndex")), QStringLiteral("0"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set Mode"), QStringLiteral("Mode")), QStringLiteral("Статический режим"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set DecimalPoint"), QStringLiteral("DecimalPoint")), QStringLiteral("0"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set Automatic"), QStringLiteral("CheckAutomatic")), QStringLiteral("0"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set Interval Actual"), QStringLiteral("IntervalActualTare")),
              QStringLiteral("120"));
}

TEST(DemoIni, BrokenValueIsReplacedAndReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("belvor.ini"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Set Limit]\r\nLimitWeight=abc\r\n");
    }
    QByteArray err;
    ASSERT_EQ(runDemoIni({path, QStringLiteral("/dev/pts/1")}, &err), 0);
    EXPECT_TRUE(err.contains("abc")) << err.constData();
    zv::IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString(QStringLiteral("Set Limit"), QStringLiteral("LimitWeight")), QStringLiteral("100"));
}

TEST(DemoIni, WrongArgumentsGiveUsage)
{
    QByteArray err;
    EXPECT_EQ(runDemoIni({QStringLiteral("only-one")}, &err), 2);
    EXPECT_TRUE(err.contains("usage")) << err.constData();
}
