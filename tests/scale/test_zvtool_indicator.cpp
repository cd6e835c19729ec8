// zvtool indicator as the demo runs it: a separate process behind a
// pseudo-terminal, read by the link.
#include "waitfor.h"
#include "indicatorlink.h"
#include "pseudoterminal.h"
#include "weighttelegram.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>

using namespace zv::scale;

namespace {

using zvtest::waitFor;

QByteArray received(const QSignalSpy &spy)
{
    QByteArray all;
    for (const auto &args : spy)
        all += args.at(0).toByteArray();
    return all;
}

// A running simulator; killed when the test ends.
class Simulator {
public:
    explicit Simulator(const QStringList &args)
    {
        m_process.setProgram(QStringLiteral(ZVTOOL_PATH));
        m_process.setArguments(QStringList {QStringLiteral("indicator"), QStringLiteral("--pty")} + args);
        m_process.start();
    }
    ~Simulator()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // The first line the simulator prints: its pseudo-terminal.
    QString portPath()
    {
        if (!waitFor([&] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; }))
            return QString();
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};

zv::PortValues portOn(const QString &path)
{
    zv::PortValues p;
    p.port = path;
    p.baudRateIndex = 17;
    return p;
}

TEST(ZvtoolIndicator, PtyPathOnTheFirstLineDeliversTheWeight)
{
    Simulator sim({QStringLiteral("--mode"), QStringLiteral("constant"), QStringLiteral("--weight"),
                   QStringLiteral("7310"), QStringLiteral("--interval"), QStringLiteral("20")});
    const QString path = sim.portPath();
    ASSERT_TRUE(path.startsWith(QLatin1String("/dev/"))) << path.toStdString();

    IndicatorLink link;
    QSignalSpy spy(&link, &IndicatorLink::blockReceived);
    QString error;
    ASSERT_TRUE(link.open(portOn(path), &error)) << error.toStdString();
    ASSERT_TRUE(waitFor([&] { return received(spy).count("\r\n") >= 3; }));
    for (const QByteArray &line : received(spy).split('\n')) {
        if (line.isEmpty())
            continue;
        EXPECT_EQ(extractWeight(line, false), QStringLiteral("0007310")) << line.toStdString();
    }
}

// Nobody opens the port for a while, so the line fills up and the simulator
// keeps going; what the link shows afterwards is current, not the backlog.
TEST(ZvtoolIndicator, KeepsSendingWhileNobodyListensAndAfterAReaderLeft)
{
    // 1000 kg for the first 1.5 s, then 2000 kg for 4.5 s; ten bytes a millisecond.
    Simulator sim({QStringLiteral("--mode"), QStringLiteral("steps"), QStringLiteral("--weights"),
                   QStringLiteral("1000,2000,2000,2000"), QStringLiteral("--hold"), QStringLiteral("1.5"),
                   QStringLiteral("--interval"), QStringLiteral("1"), QStringLiteral("--loop")});
    const QString path = sim.portPath();
    ASSERT_FALSE(path.isEmpty());
    // About 25 kB written unheard: more than the terminal holds.
    QTest::qWait(2500);
    ASSERT_EQ(sim.process().state(), QProcess::Running) << sim.process().readAllStandardError().toStdString();

    for (int round = 0; round < 2; ++round) {
        IndicatorLink link;
        QSignalSpy spy(&link, &IndicatorLink::blockReceived);
        QString error;
        ASSERT_TRUE(link.open(portOn(path), &error)) << error.toStdString();
        ASSERT_TRUE(waitFor([&] { return spy.count() >= 5; })) << "round " << round;
        // The 1000 kg readings wait in the backlog only.
        EXPECT_FALSE(received(spy).contains("0001000")) << "round " << round;
        EXPECT_TRUE(received(spy).contains("0002000")) << "round " << round;
        link.close();
        QTest::qWait(200);
        EXPECT_EQ(sim.process().state(), QProcess::Running) << "round " << round;
    }
}

TEST(ZvtoolIndicator, AFiniteScenarioPlaysInOrderAndEnds)
{
    Simulator sim({QStringLiteral("--mode"), QStringLiteral("steps"), QStringLiteral("--weights"),
                   QStringLiteral("5020,7310,7290"), QStringLiteral("--hold"), QStringLiteral("0.5"),
                   QStringLiteral("--decimal")});
    const QString path = sim.portPath();
    IndicatorLink link;
    QSignalSpy spy(&link, &IndicatorLink::blockReceived);
    QString error;
    ASSERT_TRUE(link.open(portOn(path), &error)) << error.toStdString();
    // The link reads in the event loop while the scenario plays.
    ASSERT_TRUE(waitFor([&] { return sim.process().state() == QProcess::NotRunning; }));
    EXPECT_EQ(sim.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.process().exitCode(), 0);

    QStringList shown;
    for (const QByteArray &line : received(spy).split('\n')) {
        const QString w = extractWeight(line, true);
        if (!w.isEmpty() && (shown.isEmpty() || shown.back() != w))
            shown << w;
    }
    // The first readings may have gone before the link opened.
    ASSERT_FALSE(shown.isEmpty());
    const QStringList all {QStringLiteral("5.02"), QStringLiteral("7.31"), QStringLiteral("7.29")};
    EXPECT_EQ(shown, all.mid(all.size() - shown.size()));
    EXPECT_EQ(shown.back(), QStringLiteral("7.29"));
}

// Readings of a received stream, one per line (the dynamic mode's capture).
std::vector<int> readingsOf(const QByteArray &stream)
{
    std::vector<int> values;
    for (const QByteArray &line : stream.split('\n')) {
        const QString w = extractWeight(line, false);
        if (!w.isEmpty())
            values.push_back(w.toInt());
    }
    return values;
}

// Runs of equal consecutive values of at least `minLength`, zero runs left out.
std::vector<int> plateaus(const std::vector<int> &values, int minLength)
{
    std::vector<int> out;
    for (size_t i = 0; i < values.size();) {
        size_t j = i;
        while (j < values.size() && values[j] == values[i])
            ++j;
        if (values[i] != 0 && int(j - i) >= minLength)
            out.push_back(values[i]);
        i = j;
    }
    return out;
}

TEST(ZvtoolIndicator, VehicleCrossingComesAsOneReadingPerLine)
{
    Simulator sim({QStringLiteral("--mode"), QStringLiteral("vehicle"), QStringLiteral("--axles"),
                   QStringLiteral("6000,8000,8000"), QStringLiteral("--spacing"), QStringLiteral("3200,1300"),
                   QStringLiteral("--speed"), QStringLiteral("20"), QStringLiteral("--noise"), QStringLiteral("0"),
                   QStringLiteral("--lead"), QStringLiteral("0.3"), QStringLiteral("--tail"), QStringLiteral("0.2")});
    IndicatorLink link;
    QSignalSpy spy(&link, &IndicatorLink::blockReceived);
    QString error;
    ASSERT_TRUE(link.open(portOn(sim.portPath()), &error)) << error.toStdString();
    ASSERT_TRUE(waitFor([&] { return sim.process().state() == QProcess::NotRunning; }));
    EXPECT_EQ(sim.process().exitCode(), 0);

    // Without noise each axle stands wholly on the platform for a few readings.
    const std::vector<int> values = readingsOf(received(spy));
    EXPECT_EQ(plateaus(values, 2), (std::vector<int> {6000, 8000, 8000}));
    for (int v : values) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 8000);
    }
}

// The demo's scenario: a lorry weighed axle by axle, loaded, then empty, again and again.
TEST(ZvtoolIndicator, StaticLoopAlternatesTheLoadedAndTheEmptyVehicle)
{
    Simulator sim({QStringLiteral("--mode"), QStringLiteral("static"), QStringLiteral("--loop"),
                   QStringLiteral("--lead"), QStringLiteral("0.2"), QStringLiteral("--ramp"), QStringLiteral("0.1"),
                   QStringLiteral("--hold"), QStringLiteral("0.3"), QStringLiteral("--gap"), QStringLiteral("0.1"),
                   QStringLiteral("--tail"), QStringLiteral("0.2"), QStringLiteral("--interval"),
                   QStringLiteral("20")});
    IndicatorLink link;
    QSignalSpy spy(&link, &IndicatorLink::blockReceived);
    QString error;
    ASSERT_TRUE(link.open(portOn(sim.portPath()), &error)) << error.toStdString();
    const std::vector<int> cycle {5020, 7310, 7290, 3020, 2150, 2130};
    // The link may have come in late for the first stand-still: start at the first loaded front axle.
    auto fromFirstFront = [&] {
        std::vector<int> seen = plateaus(readingsOf(received(spy)), 10);
        const auto first = std::find(seen.begin(), seen.end(), 5020);
        return std::vector<int>(first, seen.end());
    };
    ASSERT_TRUE(waitFor([&] { return fromFirstFront().size() >= 7; }, 20000));
    const std::vector<int> seen = fromFirstFront();
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(seen[i], cycle[i % cycle.size()]) << "stand-still " << i;
}

// --device writes to a serial device: here the slave side of a pseudo-terminal
// whose master the test reads, as a null-modem cable would deliver it.
TEST(ZvtoolIndicator, DeviceReceivesTheTelegrams)
{
    PseudoTerminal line;
    QString error;
    ASSERT_TRUE(line.open(&error)) << error.toStdString();
    QProcess p;
    p.start(QStringLiteral(ZVTOOL_PATH),
            {QStringLiteral("indicator"), QStringLiteral("--device"), line.slavePath(), QStringLiteral("--baud"),
             QStringLiteral("19200"), QStringLiteral("--mode"), QStringLiteral("steps"), QStringLiteral("--weights"),
             QStringLiteral("5020,7310"), QStringLiteral("--hold"), QStringLiteral("0.3"), QStringLiteral("--decorate"),
             QStringLiteral("--interval"), QStringLiteral("20")});
    QByteArray got;
    ASSERT_TRUE(waitFor([&] {
        got += line.readAvailable();
        return p.state() == QProcess::NotRunning;
    }));
    got += line.readAvailable();
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(got.startsWith("ST,GS,+0005020kg\r\n")) << got.left(40).toStdString();
    EXPECT_TRUE(got.endsWith("ST,GS,+0007310kg\r\n")) << got.right(40).toStdString();
    EXPECT_EQ(got.count("ST,GS,+0005020kg\r\n") + got.count("ST,GS,+0007310kg\r\n"), 30);
}

struct BadArgs {
    const char *name;
    QStringList args;
    const char *mentions;
};

void PrintTo(const BadArgs &c, std::ostream *os) { *os << c.name; }

const BadArgs kBadArgs[] = {
    {"no_target", {"--mode", "constant"}, "--pty or --device"},
    {"both_targets", {"--pty", "--device", "/dev/null"}, "--pty or --device"},
    {"unknown_mode", {"--pty", "--mode", "bogus"}, "--mode"},
    {"bad_weight_list", {"--pty", "--mode", "steps", "--weights", "5020,x"}, "--weights"},
    {"spacing_mismatch", {"--pty", "--mode", "vehicle", "--axles", "6000,8000"}, "spacing"},
    {"zero_speed", {"--pty", "--mode", "vehicle", "--speed", "0"}, "--speed"},
    {"unknown_option", {"--pty", "--colour", "red"}, "colour"},
    {"missing_device", {"--device", "/nonexistent/ttyX"}, "cannot open"},
};

class ZvtoolIndicatorArgs : public ::testing::TestWithParam<BadArgs> {};

TEST_P(ZvtoolIndicatorArgs, BadArgumentsAreRefusedWithAReason)
{
    QProcess p;
    QStringList args {QStringLiteral("indicator")};
    args += GetParam().args;
    p.start(QStringLiteral(ZVTOOL_PATH), args);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QLatin1String(GetParam().mentions))) << err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, ZvtoolIndicatorArgs, ::testing::ValuesIn(kBadArgs),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
