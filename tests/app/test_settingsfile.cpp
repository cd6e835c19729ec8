// Reading and writing belvor.ini through the applied values and the page texts.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "inifile.h"
#include "messages.h"
#include "settingsfile.h"

using namespace zv;

namespace {

struct Read {
    SettingsValues applied = defaultSettings();
    SettingsPageState page;
};

Read readText(const QString &text)
{
    IniFile ini;
    ini.setText(text);
    Read r;
    readSettings(ini, r.applied, r.page);
    return r;
}

QStringList keysInOrder(const QString &text)
{
    QStringList keys;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        keys << (line.startsWith(QLatin1Char('[')) ? line : line.section(QLatin1Char('='), 0, 0));
    return keys;
}

} // namespace

TEST(SettingsFile, FirstStartWithoutFileUsesDefaults)
{
    const Read r = readText(QString());
    EXPECT_EQ(r.applied.modeIndex, 0);
    EXPECT_EQ(r.applied.LimitWeight, 100);
    EXPECT_EQ(r.applied.IntervalActualTare, 60);
    EXPECT_EQ(r.applied.PlatformScalesWidth, 600);
    EXPECT_EQ(r.applied.DecimalPoint, 0);
    EXPECT_EQ(r.applied.NumberPointIntegral, -1);
    EXPECT_TRUE(r.applied.AutoMode);
    EXPECT_EQ(r.applied.indicatorPort.baudRateIndex, 8);
    EXPECT_EQ(r.page.indicator.baudRate, QStringLiteral("19200"));
    EXPECT_EQ(r.page.trackbarPosition, 5); // coefficient off
    EXPECT_DOUBLE_EQ(r.applied.KoffFactor, 1.0);
    EXPECT_FALSE(r.page.checkRfid);
}

TEST(SettingsFile, FreshFileHasEveryKeyInTheTablesOrder)
{
    IniFile ini;
    SettingsPageState page;
    page.checkRfid = true;
    writeSettings(ini, defaultSettings(), page);
    const QStringList port = {QStringLiteral("Port"),          QStringLiteral("ComPortIndex"),
                              QStringLiteral("BaudRate"),      QStringLiteral("BaudRateIndex"),
                              QStringLiteral("DataBit"),       QStringLiteral("DataBitIndex"),
                              QStringLiteral("Parity"),        QStringLiteral("ParityIndex"),
                              QStringLiteral("StopBit"),       QStringLiteral("StopBitIndex"),
                              QStringLiteral("ControlStream"), QStringLiteral("ControlStreamIndex")};
    QStringList expected;
    expected << QStringLiteral("[Set ComPort W]") << port << QStringLiteral("[Set Mode]") << QStringLiteral("Mode")
             << QStringLiteral("ModeIndex") << QStringLiteral("[Set Limit]") << QStringLiteral("Limit")
             << QStringLiteral("LimitWeight") << QStringLiteral("[Set LimitLoad]") << QStringLiteral("LimitLoad")
             << QStringLiteral("[Set DecimalPoint]") << QStringLiteral("DecimalPoint") << QStringLiteral("[Set 1C]")
             << QStringLiteral("Path1C") << QStringLiteral("[Set Interval Actual]")
             << QStringLiteral("IntervalActualTare") << QStringLiteral("[Set DayView]")
             << QStringLiteral("NumberDayView") << QStringLiteral("[Set PlatformScalesWidth]")
             << QStringLiteral("PlatformScalesWidth") << QStringLiteral("[Set Integral]")
             << QStringLiteral("CheckIntegral") << QStringLiteral("NumberPointIntegral")
             << QStringLiteral("[Set Automatic]") << QStringLiteral("CheckAutomatic")
             << QStringLiteral("[Set Coefficient]") << QStringLiteral("CheckCoefficient")
             << QStringLiteral("Coefficient") << QStringLiteral("[Set ComPort RFID]") << QStringLiteral("CheckRFID")
             << port;
    EXPECT_EQ(keysInOrder(ini.text()), expected);
    EXPECT_TRUE(ini.text().contains(QStringLiteral("Limit=Пороговый вес\r\n")));
}

TEST(SettingsFile, WrittenFileReadsBackToTheSamePageState)
{
    SettingsValues a = defaultSettings();
    a.modeIndex = 1;
    a.NumberPointIntegral = 7;
    a.Coefficient = 8;
    a.DecimalPoint = 2;
    a.IntervalActualTare = 120;
    a.Path1C = QStringLiteral("C:\\Обмен\\1С");
    a.indicatorPort.comPortIndex = 3;
    a.indicatorPort.baudRateIndex = 17;
    a.rfidPort.parityIndex = 2;
    SettingsPageState page;
    page.indicator.port = QStringLiteral("/dev/ttyUSB0");
    page.indicator.baudRate = QStringLiteral("921600");
    page.rfid.port = QStringLiteral("/dev/ttyS1");
    page.rfid.parity = QStringLiteral("Чет");
    page.mode = QStringLiteral("Динамический режим");
    page.modeItem = 1;
    page.limitWeight = QStringLiteral("250");
    page.limitLoad = QStringLiteral("18000");
    page.platformWidth = QStringLiteral("750");
    page.checkIntegral = true;
    page.pointIntegralItem = 1;
    page.checkAutomatic = false;
    page.checkCoefficient = true;
    page.trackbarPosition = 8;
    page.checkRfid = true;

    IniFile ini;
    writeSettings(ini, a, page);
    const Read r = readText(ini.text());

    EXPECT_EQ(r.page.mode, page.mode);
    EXPECT_EQ(r.page.modeItem, 1);
    EXPECT_EQ(r.page.checkIntegral, true);
    EXPECT_EQ(r.page.pointIntegralItem, 1);
    EXPECT_EQ(r.page.checkAutomatic, false);
    EXPECT_EQ(r.page.checkCoefficient, true);
    EXPECT_EQ(r.page.trackbarPosition, 8);
    EXPECT_EQ(r.page.checkRfid, true);
    EXPECT_EQ(r.page.limitWeight, QStringLiteral("250"));
    EXPECT_EQ(r.page.limitLoad, QStringLiteral("18000"));
    EXPECT_EQ(r.page.platformWidth, QStringLiteral("750"));
    EXPECT_EQ(r.page.indicator.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(r.page.indicator.baudRate, QStringLiteral("921600"));
    EXPECT_EQ(r.page.rfid.port, QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(r.page.rfid.parity, QStringLiteral("Чет"));

    EXPECT_EQ(r.applied.modeIndex, 1);
    EXPECT_EQ(r.applied.NumberPointIntegral, 7);
    EXPECT_EQ(r.applied.Coefficient, 8);
    EXPECT_DOUBLE_EQ(r.applied.KoffFactor, 1.03);
    EXPECT_FALSE(r.applied.AutoMode);
    EXPECT_EQ(r.applied.DecimalPoint, 2);
    EXPECT_EQ(r.applied.IntervalActualTare, 120);
    EXPECT_EQ(r.applied.Path1C, a.Path1C);
    EXPECT_EQ(r.applied.LimitWeight, 250);
    EXPECT_EQ(r.applied.LimitLoad, 18000);
    EXPECT_EQ(r.applied.PlatformScalesWidth, 750);
    EXPECT_EQ(r.applied.indicatorPort.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(r.applied.indicatorPort.comPortIndex, 3);
    EXPECT_EQ(r.applied.indicatorPort.baudRateIndex, 17);
    EXPECT_EQ(r.applied.rfidPort.parityIndex, 2);
}

TEST(SettingsFile, SwitchedOffFeaturesWriteTheirNeutralValues)
{
    SettingsValues a = defaultSettings();
    a.NumberPointIntegral = 9; // applied earlier, integration now off
    a.Coefficient = 9;         // applied earlier, coefficient now off
    SettingsPageState page;
    page.checkIntegral = false;
    page.checkCoefficient = false;
    IniFile ini;
    writeSettings(ini, a, page);
    EXPECT_EQ(ini.readString(QStringLiteral("Set Integral"), QStringLiteral("NumberPointIntegral")),
              QStringLiteral("-1"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set Coefficient"), QStringLiteral("Coefficient")), QStringLiteral("5"));
}

TEST(SettingsFile, RfidPortKeysStayWhenRfidIsOff)
{
    IniFile ini;
    ini.setText(QStringLiteral("[Set ComPort RFID]\r\nCheckRFID=1\r\nPort=COM7\r\nBaudRateIndex=6\r\n"));
    SettingsPageState page;
    page.checkRfid = false;
    page.rfid.port = QStringLiteral("COM1");
    writeSettings(ini, defaultSettings(), page);
    EXPECT_EQ(ini.readString(QStringLiteral("Set ComPort RFID"), QStringLiteral("CheckRFID")), QStringLiteral("0"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set ComPort RFID"), QStringLiteral("Port")), QStringLiteral("COM7"));
    EXPECT_FALSE(ini.hasKey(QStringLiteral("Set ComPort RFID"), QStringLiteral("StopBit")));
}

TEST(SettingsFile, RfidPortKeysAreNotReadWhenRfidIsOff)
{
    const Read r = readText(QStringLiteral("[Set ComPort RFID]\r\nCheckRFID=0\r\nPort=COM7\r\nBaudRateIndex=x\r\n"));
    EXPECT_FALSE(r.page.checkRfid);
    EXPECT_NE(r.page.rfid.port, QStringLiteral("COM7"));
}

TEST(SettingsFile, SwitchesAndSpecialKeys)
{
    struct Case {
        const char *file;
        bool autoMode;
        int trackbar;
        double koff;
        int pointItem;
    } cases[] = {
        // CheckAutomatic missing: automatic weighing on.
        {"[Set Mode]\r\nModeIndex=1\r\n", true, 5, 1.0, -1},
        {"[Set Automatic]\r\nCheckAutomatic=0\r\n", false, 5, 1.0, -1},
        // Any value other than 0 is true.
        {"[Set Automatic]\r\nCheckAutomatic=7\r\n", true, 5, 1.0, -1},
        {"[Set Coefficient]\r\nCheckCoefficient=1\r\nCoefficient=6\r\n", true, 6, 1.01, -1},
        // Out-of-range coefficient moves nothing.
        {"[Set Coefficient]\r\nCheckCoefficient=1\r\nCoefficient=11\r\n", true, 2, 1.0, -1},
        {"[Set Coefficient]\r\nCheckCoefficient=0\r\nCoefficient=9\r\n", true, 5, 1.0, -1},
        {"[Set Integral]\r\nCheckIntegral=1\r\nNumberPointIntegral=9\r\n", true, 5, 1.0, 2},
        // -1 with integration on leaves the selection unchanged.
        {"[Set Integral]\r\nCheckIntegral=1\r\nNumberPointIntegral=-1\r\n", true, 5, 1.0, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const Read r = readText(QString::fromUtf8(c.file));
        EXPECT_EQ(r.applied.AutoMode, c.autoMode);
        EXPECT_EQ(r.page.checkAutomatic, c.autoMode);
        EXPECT_EQ(r.page.trackbarPosition, c.trackbar);
        EXPECT_DOUBLE_EQ(r.applied.KoffFactor, c.koff);
        EXPECT_EQ(r.page.pointIntegralItem, c.pointItem);
    }
}

TEST(SettingsFile, NonIntegerValueStopsReadingAtThatValue)
{
    IniFile ini;
    ini.setText(QStringLiteral("[Set Mode]\r\nModeIndex=1\r\n[Set Limit]\r\nLimitWeight=1O0\r\n"
                               "[Set DecimalPoint]\r\nDecimalPoint=2\r\n"));
    SettingsValues a = defaultSettings();
    SettingsPageState page;
    try {
        readSettings(ini, a, page);
        FAIL() << "no error";
    } catch (const SettingsError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("1O0"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("LimitWeight"))) << e.what();
    }
    EXPECT_EQ(a.modeIndex, 1);     // read before the bad value
    EXPECT_EQ(a.DecimalPoint, 0); // after it: not read
}

TEST(SettingsFile, TypedNonNumberIsNotWrittenOverTheAppliedValue)
{
    SettingsValues a = defaultSettings();
    a.LimitWeight = 300;
    SettingsPageState page;
    page.limitWeight = QStringLiteral("3OO");
    page.limitLoad = QStringLiteral("");
    IniFile ini;
    writeSettings(ini, a, page);
    EXPECT_EQ(ini.readString(QStringLiteral("Set Limit"), QStringLiteral("LimitWeight")), QStringLiteral("300"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set LimitLoad"), QStringLiteral("LimitLoad")),
              QString::number(a.LimitLoad));
}

TEST(SettingsFile, CoefficientTable)
{
    const char *texts[] = {"0.95", "0.96", "0.97", "0.98", "0.99", "1.00", "1.01", "1.02", "1.03", "1.04", "1.05"};
    for (int p = 0; p <= 10; ++p) {
        EXPECT_EQ(koffText(p), QLatin1String(texts[p])) << p;
        EXPECT_DOUBLE_EQ(koffFactorFor(p), QString::fromLatin1(texts[p]).toDouble()) << p;
    }
}

TEST(SettingsFile, ControlLimChecksTheThresholdText)
{
    struct Case {
        const char *text;
        const char *message; // nullptr: passes
    } cases[] = {
        {"100", nullptr},
        {"0", nullptr},
        {"", "Введите минимальный вес"},
        {" 100", "Минимальный вес должен состоять только из цифр"},
        {"-5", "Минимальный вес должен состоять только из цифр"},
        {"1.5", "Минимальный вес должен состоять только из цифр"},
    };
    for (const auto &c : cases) {
        Messages::clear();
        const bool ok = ControlLim(QString::fromUtf8(c.text));
        EXPECT_EQ(ok, c.message == nullptr) << c.text;
        if (c.message)
            EXPECT_EQ(Messages::shownTexts(), QStringList{QString::fromUtf8(c.message)}) << c.text;
        else
            EXPECT_TRUE(Messages::shownTexts().isEmpty()) << c.text;
    }
}
