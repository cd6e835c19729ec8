// The link on a real pseudo-terminal: the test writes telegrams into the
// master side as the indicator would, the link reads the slave like a port.
#include "waitfor.h"
#include "indicatorlink.h"
#include "pseudoterminal.h"
#include "simulator.h"
#include "weighttelegram.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <thread>

#include <asm/termbits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/ioctl.h>

using namespace zv::scale;

namespace {

const QString kNoSuchPort = QStringLiteral("Попытка открыть несуществующий COM-порт");
const QString kPortBusy = QStringLiteral("Порт занят другой программой");
const QString kPortOpen = QStringLiteral("Нельзя менять свойство, пока порт открыт");

using zvtest::waitFor;

zv::PortValues portOn(const QString &path)
{
    zv::PortValues p;
    p.port = path;
    p.baudRateIndex = 17; // 921600
    return p;
}

class LinkOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(pty.open(&error)) << error.toStdString();
    }

    // Everything the link delivered since `spy` started, in order.
    static QByteArray received(const QSignalSpy &spy)
    {
        QByteArray all;
        for (const auto &args : spy)
            all += args.at(0).toByteArray();
        return all;
    }

    // Sends one telegram and waits until the link has delivered it.
    QByteArray sendAndReceive(IndicatorLink &link, const QByteArray &telegram)
    {
        QSignalSpy spy(&link, &IndicatorLink::blockReceived);
        EXPECT_EQ(pty.write(telegram), LineWrite::Written);
        EXPECT_TRUE(waitFor([&] { return received(spy).size() >= telegram.size(); }))
            << "nothing arrived for " << telegram.toStdString();
        return received(spy);
    }

    PseudoTerminal pty;
};

struct FormCase {
    const char *name;
    TelegramForm form;
    double kg;
    const char *shown;
};

void PrintTo(const FormCase &c, std::ostream *os) { *os << c.name; }

TelegramForm makeForm(bool decimal, bool lineEnd, bool decorated)
{
    TelegramForm f;
    f.decimal = decimal;
    f.lineEnd = lineEnd;
    f.decorated = decorated;
    return f;
}

const FormCase kForms[] = {
    {"whole", makeForm(false, true, false), 12340, "0012340"},
    {"whole_no_line_end", makeForm(false, false, false), 7310, "0007310"},
    {"decimal", makeForm(true, true, false), 12340, "12.34"},
    {"decorated", makeForm(false, true, true), 12340, "0012340"},
    {"decorated_decimal", makeForm(true, false, true), 5020, "5.02"},
};

class LinkForms : public LinkOnPty, public ::testing::WithParamInterface<FormCase> {};

TEST_P(LinkForms, DeliversTheIndicatorsTelegrams)
{
    const FormCase &c = GetParam();
    IndicatorLink link;
    QString error;
    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    EXPECT_TRUE(link.isOpen());

    for (int i = 0; i < 3; ++i) {
        const QByteArray telegram = makeTelegram(c.kg + i * 10, true, c.form);
        const QByteArray block = sendAndReceive(link, telegram);
        EXPECT_EQ(block, telegram);
    }
    const QByteArray block = sendAndReceive(link, makeTelegram(c.kg, true, c.form));
    EXPECT_EQ(extractWeight(block, c.form.decimal), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Forms, LinkForms, ::testing::ValuesIn(kForms),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LinkOnPty, WhatWaitedBeforeOpeningIsNotDelivered)
{
    ASSERT_EQ(pty.write("9999999\r\n9999999\r\n"), LineWrite::Written);
    IndicatorLink link;
    QString error;
    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    const QByteArray block = sendAndReceive(link, "0012340\r\n");
    EXPECT_EQ(block, QByteArray("0012340\r\n"));
}

TEST_F(LinkOnPty, MissingDeviceIsReportedAndNothingOpens)
{
    for (const QString &name : {QStringLiteral("/dev/pts/999999"), QStringLiteral("ttyZV404"),
                                QStringLiteral("COM1"), QStringLiteral("  ")}) {
        IndicatorLink link;
        QString error;
        EXPECT_FALSE(link.open(portOn(name), &error)) << name.toStdString();
        EXPECT_EQ(error, kNoSuchPort) << name.toStdString();
        EXPECT_FALSE(link.isOpen());
    }
}

TEST_F(LinkOnPty, SomethingThatIsNoSerialPortIsNamedAsSuch)
{
    QTemporaryFile plainFile;
    ASSERT_TRUE(plainFile.open());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString &name : {QStringLiteral("/dev/null"), plainFile.fileName(), dir.path()}) {
        IndicatorLink link;
        QString error;
        EXPECT_FALSE(link.open(portOn(name), &error)) << name.toStdString();
        EXPECT_EQ(error, QStringLiteral("Устройство %1 не является COM-портом").arg(name));
        EXPECT_FALSE(link.isOpen());
    }
}

// Not in the group allowed to use serial ports: say so, not "busy".
TEST_F(LinkOnPty, PortWithoutAccessRightsIsToldApart)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may open any device";
    ASSERT_EQ(::chmod(QFile::encodeName(pty.slavePath()).constData(), 0), 0);
    IndicatorLink link;
    QString error;
    EXPECT_FALSE(link.open(portOn(pty.slavePath()), &error));
    EXPECT_EQ(error, QStringLiteral("Нет прав на доступ к COM-порту %1").arg(pty.slavePath()));
    EXPECT_FALSE(link.isOpen());
}

TEST_F(LinkOnPty, PortHeldByAnotherLinkIsBusyAndTheHolderGoesOn)
{
    IndicatorLink holder;
    QString error;
    ASSERT_TRUE(holder.open(portOn(pty.slavePath()), &error)) << error.toStdString();

    IndicatorLink other;
    EXPECT_FALSE(other.open(portOn(pty.slavePath()), &error));
    EXPECT_EQ(error, kPortBusy);
    EXPECT_FALSE(other.isOpen());

    EXPECT_EQ(sendAndReceive(holder, "0005020\r\n"), QByteArray("0005020\r\n"));
}

TEST_F(LinkOnPty, OpeningAgainWhileOpenFailsAndKeepsDelivering)
{
    IndicatorLink link;
    QString error;
    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();

    error.clear();
    EXPECT_FALSE(link.open(portOn(pty.slavePath()), &error));
    EXPECT_EQ(error, kPortOpen);
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(sendAndReceive(link, "0007310\r\n"), QByteArray("0007310\r\n"));
}

TEST_F(LinkOnPty, ClosedLinkIsSilentAndThePortCanBeOpenedAgain)
{
    IndicatorLink link;
    QString error;
    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    EXPECT_EQ(sendAndReceive(link, "0001000\r\n"), QByteArray("0001000\r\n"));

    link.close();
    EXPECT_FALSE(link.isOpen());
    QSignalSpy spy(&link, &IndicatorLink::blockReceived);
    pty.write("0002000\r\n");
    QTest::qWait(200); // nothing may come; there is no event to wait for
    EXPECT_EQ(spy.count(), 0);

    // The port was released: another link (another program) can take it.
    IndicatorLink next;
    ASSERT_TRUE(next.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    EXPECT_EQ(sendAndReceive(next, "0003000\r\n"), QByteArray("0003000\r\n"));
    next.close();

    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    EXPECT_EQ(sendAndReceive(link, "0004000\r\n"), QByteArray("0004000\r\n"));
}

// The simulator ends: its pseudo-terminal hangs up. The link lets the port go
// rather than keep polling a dead line; the silence watch does the rest.
TEST_F(LinkOnPty, LineThatHangsUpIsClosed)
{
    IndicatorLink link;
    QString error;
    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    EXPECT_EQ(sendAndReceive(link, "0012340\r\n"), QByteArray("0012340\r\n"));
    pty.close();
    EXPECT_TRUE(waitFor([&] { return !link.isOpen(); }, 3000));
}

// Several telegrams waiting at one receive event come as one block; nothing is lost or doubled.
TEST_F(LinkOnPty, EverythingWaitingIsReadAtOnce)
{
    IndicatorLink link;
    QString error;
    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    QSignalSpy spy(&link, &IndicatorLink::blockReceived);
    const QByteArray three = "0001000\r\n0002000\r\n0003000\r\n";
    ASSERT_EQ(pty.write(three), LineWrite::Written);
    ASSERT_TRUE(waitFor([&] { return received(spy).size() >= three.size(); }));
    EXPECT_EQ(received(spy), three);
}

// A slow line hands the bytes of a telegram over one by one, and receive
// events fall in the middle of telegrams: every byte must still arrive, in
// order, so that the capture of a dynamic weighing holds the true readings.
TEST_F(LinkOnPty, BytesTricklingInAreAllDelivered)
{
    IndicatorLink link;
    QString error;
    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    QSignalSpy spy(&link, &IndicatorLink::blockReceived);

    QByteArray stream;
    for (int i = 0; i < 35; ++i)
        stream += makeTelegram(12340 + 10 * i, false, TelegramForm {});
    std::thread writer([&] {
        for (char c : stream) {
            pty.write(QByteArray(1, c));
            std::this_thread::sleep_for(std::chrono::microseconds(1000)); // about 9600 baud
        }
    });
    const bool complete = waitFor([&] { return received(spy).size() >= stream.size(); }, 10000);
    writer.join();
    EXPECT_TRUE(complete);
    EXPECT_EQ(received(spy), stream);
    EXPECT_GT(spy.count(), 1);
}

// The silence watch on a live line that delivers one character per receive
// event: a nine-character telegram between two ticks is a stream.
TEST_F(LinkOnPty, ByteWiseStreamIsNoSilence)
{
    IndicatorLink link;
    SilenceWatch watch;
    watch.portOpening();
    QString error;
    ASSERT_TRUE(link.open(portOn(pty.slavePath()), &error)) << error.toStdString();
    watch.portOpened();
    QObject::connect(&link, &IndicatorLink::blockReceived, [&] { watch.blockReceived(); });

    const QByteArray telegram = makeTelegram(12340, true, TelegramForm {});
    ASSERT_EQ(telegram.size(), 9);
    for (int tick = 1; tick <= 20; ++tick) {
        for (char c : telegram) {
            QSignalSpy spy(&link, &IndicatorLink::blockReceived);
            pty.write(QByteArray(1, c));
            ASSERT_TRUE(waitFor([&] { return spy.count() == 1; }));
        }
        EXPECT_FALSE(watch.tick()) << "tick " << tick;
    }
    // The line falls silent: the eighth quiet tick finds it.
    for (int tick = 1; tick <= 7; ++tick)
        EXPECT_FALSE(watch.tick()) << "quiet tick " << tick;
    EXPECT_TRUE(watch.tick());
}

// The line's settings as the slave's terminal shows them through the master.
termios2 lineSettings(const PseudoTerminal &pty)
{
    termios2 t {};
    EXPECT_EQ(::ioctl(pty.masterFd(), TCGETS2, &t), 0);
    return t;
}

TEST_F(LinkOnPty, EveryItemOfTheBaudRateListRunsTheLineAtItsRate)
{
    const qint32 listed[] = {110,   300,   600,    1200,   2400,   4800,   9600,   14400,  19200,
                             38400, 56000, 57600, 115200, 128000, 230400, 256000, 460800, 921600};
    for (int index = 0; index < 18; ++index) {
        EXPECT_EQ(baudRateForIndex(index), listed[index]);
        IndicatorLink link;
        zv::PortValues p = portOn(pty.slavePath());
        p.baudRateIndex = index;
        QString error;
        ASSERT_TRUE(link.open(p, &error)) << index << ": " << error.toStdString();
        const termios2 t = lineSettings(pty);
        EXPECT_EQ(t.c_ispeed, speed_t(listed[index])) << "index " << index;
        EXPECT_EQ(t.c_ospeed, speed_t(listed[index])) << "index " << index;
    }
    EXPECT_EQ(baudRateForIndex(-1), 0);
    EXPECT_EQ(baudRateForIndex(18), 0);
}

struct FrameCase {
    int parityIndex;
    int stopBitIndex;
    bool parodd, cmspar, cstopb;
};

// A pseudo-terminal always reports 8 data bits and no parity enable, so the
// frame checks here are the parity kind and the stop bits. 1.5 stop bits do
// not exist in termios; a receiver only checks the first stop bit, so such a
// line is read with one.
const FrameCase kFrames[] = {
    {0, 0, false, false, false}, {1, 0, true, false, false}, {2, 2, false, false, true},
    {3, 1, true, true, false},   {4, 2, false, true, true},
};

TEST_F(LinkOnPty, ParityAndStopBitsFromTheirIndexesWithoutFlowControl)
{
    for (const FrameCase &c : kFrames) {
        SCOPED_TRACE("parity " + std::to_string(c.parityIndex) + " stop " + std::to_string(c.stopBitIndex));
        IndicatorLink link;
        zv::PortValues p = portOn(pty.slavePath());
        p.parityIndex = c.parityIndex;
        p.stopBitIndex = c.stopBitIndex;
        p.controlStreamIndex = 0; // a handshake in the settings file is never applied
        QString error;
        ASSERT_TRUE(link.open(p, &error)) << error.toStdString();
        const termios2 t = lineSettings(pty);
        EXPECT_EQ(bool(t.c_cflag & PARODD), c.parodd);
        EXPECT_EQ(bool(t.c_cflag & CMSPAR), c.cmspar);
        EXPECT_EQ(bool(t.c_cflag & CSTOPB), c.cstopb);
        EXPECT_FALSE(t.c_cflag & CRTSCTS);
        EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | IXANY));
        // Raw: no line editing, no echo, no translation of line ends.
        EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
        EXPECT_FALSE(t.c_iflag & (ICRNL | INLCR | IGNCR));
    }
}

struct BadParam {
    const char *name;
    void (*spoil)(zv::PortValues &);
};

void PrintTo(const BadParam &c, std::ostream *os) { *os << c.name; }

const BadParam kBadParams[] = {
    {"baud_index_18", [](zv::PortValues &p) { p.baudRateIndex = 18; }},
    {"baud_index_negative", [](zv::PortValues &p) { p.baudRateIndex = -1; }},
    {"data_bit_index_4", [](zv::PortValues &p) { p.dataBitIndex = 4; }},
    {"parity_index_5", [](zv::PortValues &p) { p.parityIndex = 5; }},
    {"stop_bit_index_3", [](zv::PortValues &p) { p.stopBitIndex = 3; }},
};

class LinkBadParams : public LinkOnPty, public ::testing::WithParamInterface<BadParam> {};

TEST_P(LinkBadParams, IndexOutsideItsListIsRefusedWithAMessage)
{
    IndicatorLink link;
    zv::PortValues p = portOn(pty.slavePath());
    GetParam().spoil(p);
    QString error;
    EXPECT_FALSE(link.open(p, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Недопустимый параметр COM-порта"))) << error.toStdString();
    EXPECT_FALSE(link.isOpen());
    // Nothing was claimed: a link with sound values opens the same port.
    IndicatorLink good;
    EXPECT_TRUE(good.open(portOn(pty.slavePath()), &error)) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Values, LinkBadParams, ::testing::ValuesIn(kBadParams),
                         [](const auto &info) { return std::string(info.param.name); });

struct SortCase {
    QStringList given;
    QStringList sorted;
};

const SortCase kSorts[] = {
    {{"ttyS10", "ttyS2", "ttyUSB0", "ttyACM1", "ttyS1", "ttyS0"},
     {"ttyACM1", "ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB0"}},
    {{"COM10", "COM2", "com3", "COM1"}, {"COM1", "COM2", "com3", "COM10"}},
    {{"ttyUSB1", "ttyUSB1", "ttyUSB0"}, {"ttyUSB0", "ttyUSB1"}},
    {{}, {}},
};

TEST(IndicatorLinkPorts, NamesAreSortedWithNumbersByValue)
{
    for (const SortCase &c : kSorts)
        EXPECT_EQ(sortPortNames(c.given), c.sorted) << c.given.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(IndicatorLink::availablePorts(), sortPortNames(IndicatorLink::availablePorts()));
}

} // namespace
