#include "settingsfile.h"

#include <cmath>

#include "inifile.h"
#include "messages.h"

namespace zv {
namespace {

const QString SecPortW = QStringLiteral("Set ComPort W");
const QString SecMode = QStringLiteral("Set Mode");
const QString SecLimit = QStringLiteral("Set Limit");
const QString SecLimitLoad = QStringLiteral("Set LimitLoad");
const QString SecDecimal = QStringLiteral("Set DecimalPoint");
const QString Sec1C = QStringLiteral("Set 1C");
const QString SecInterval = QStringLiteral("Set Interval Actual");
const QString SecDayView = QStringLiteral("Set DayView");
const QString SecPlatform = QStringLiteral("Set PlatformScalesWidth");
const QString SecIntegral = QStringLiteral("Set Integral");
const QString SecAutomatic = QStringLiteral("Set Automatic");
const QString SecCoefficient = QStringLiteral("Set Coefficient");
const QString SecPortRfid = QStringLiteral("Set ComPort RFID");

int readInt(const IniFile &ini, const QString &section, const QString &key, int def)
{
    const auto text = ini.value(section, key);
    if (!text)
        return def;
    if (auto v = toInteger(*text))
        return *v;
    throw SettingsError(QStringLiteral("Значение \"%1\" ключа \"%2\" раздела [%3] файла %4 не является целым числом")
                            .arg(*text, key, section, SettingsFileName));
}

bool readBool(const IniFile &ini, const QString &section, const QString &key, bool def)
{
    return readInt(ini, section, key, def ? 1 : 0) != 0;
}

void readText(const IniFile &ini, const QString &section, const QString &key, QString &into)
{
    if (auto v = ini.value(section, key))
        into = *v;
}

void readPort(const IniFile &ini, const QString &section, PortTexts &texts, PortValues &values)
{
    readText(ini, section, QStringLiteral("Port"), texts.port);
    values.port = texts.port;
    values.comPortIndex = readInt(ini, section, QStringLiteral("ComPortIndex"), values.comPortIndex);
    readText(ini, section, QStringLiteral("BaudRate"), texts.baudRate);
    values.baudRateIndex = readInt(ini, section, QStringLiteral("BaudRateIndex"), values.baudRateIndex);
    readText(ini, section, QStringLiteral("DataBit"), texts.dataBit);
    values.dataBitIndex = readInt(ini, section, QStringLiteral("DataBitIndex"), values.dataBitIndex);
    readText(ini, section, QStringLiteral("Parity"), texts.parity);
    values.parityIndex = readInt(ini, section, QStringLiteral("ParityIndex"), values.parityIndex);
    readText(ini, section, QStringLiteral("StopBit"), texts.stopBit);
    values.stopBitIndex = readInt(ini, section, QStringLiteral("StopBitIndex"), values.stopBitIndex);
    readText(ini, section, QStringLiteral("ControlStream"), texts.controlStream);
    values.controlStreamIndex =
        readInt(ini, section, QStringLiteral("ControlStreamIndex"), values.controlStreamIndex);
}

void writePort(IniFile &ini, const QString &section, const PortTexts &texts, const PortValues &values)
{
    auto num = [](int v) { return QString::number(v); };
    ini.writeString(section, QStringLiteral("Port"), texts.port);
    ini.writeString(section, QStringLiteral("ComPortIndex"), num(values.comPortIndex));
    ini.writeString(section, QStringLiteral("BaudRate"), texts.baudRate);
    ini.writeString(section, QStringLiteral("BaudRateIndex"), num(values.baudRateIndex));
    ini.writeString(section, QStringLiteral("DataBit"), texts.dataBit);
    ini.writeString(section, QStringLiteral("DataBitIndex"), num(values.dataBitIndex));
    ini.writeString(section, QStringLiteral("Parity"), texts.parity);
    ini.writeString(section, QStringLiteral("ParityIndex"), num(values.parityIndex));
    ini.writeString(section, QStringLiteral("StopBit"), texts.stopBit);
    ini.writeString(section, QStringLiteral("StopBitIndex"), num(values.stopBitIndex));
    ini.writeString(section, QStringLiteral("ControlStream"), texts.controlStream);
    ini.writeString(section, QStringLiteral("ControlStreamIndex"), num(values.controlStreamIndex));
}

// A box's text is written as it stands; a text that is not a number would
// make the next start fail, so the applied value is written instead.
QString integerTextOr(const QString &text, int applied)
{
    return toInteger(text) ? text.trimmed() : QString::number(applied);
}

int pointItemFor(int points)
{
    switch (points) {
    case 5: return 0;
    case 7: return 1;
    case 9: return 2;
    default: return -1;
    }
}

} // namespace

SettingsValues defaultSettings()
{
    SettingsValues v;
    v.indicatorPort = PortValues{};
    v.rfidPort = PortValues{};
    v.rfidPort.comPortIndex = 1;
    v.rfidPort.baudRateIndex = 6; // 9600
    v.modeIndex = 0;
    v.modeText = QStringLiteral("Статический режим");
    v.LimitWeight = 100;
    v.LimitLoad = 10000;
    v.DecimalPoint = 0;
    v.Path1C.clear();
    v.IntervalActualTare = 60;
    v.NumberDayView = 0;
    v.PlatformScalesWidth = 600;
    v.NumberPointIntegral = -1;
    v.Coefficient = 5;
    v.KoffFactor = 1.0;
    v.AutoMode = true;
    return v;
}

double koffFactorFor(int position) { return (95 + position) / 100.0; }

QString koffText(int position) { return QString::number(koffFactorFor(position), 'f', 2); }

std::optional<int> toInteger(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<QString> limitTextProblem(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("Введите минимальный вес");
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QStringLiteral("Минимальный вес должен состоять только из цифр");
    return std::nullopt;
}

bool ControlLim(const QString &text)
{
    if (auto problem = limitTextProblem(text)) {
        Messages::warning(*problem);
        return false;
    }
    return true;
}

void readSettings(const IniFile &ini, SettingsValues &a, SettingsPageState &page)
{
    readPort(ini, SecPortW, page.indicator, a.indicatorPort);

    readText(ini, SecMode, QStringLiteral("Mode"), page.mode);
    a.modeIndex = readInt(ini, SecMode, QStringLiteral("ModeIndex"), a.modeIndex);
    a.modeText = page.mode;
    page.modeItem = a.modeIndex;

    a.LimitWeight = readInt(ini, SecLimit, QStringLiteral("LimitWeight"), a.LimitWeight);
    page.limitWeight = QString::number(a.LimitWeight);

    readText(ini, SecLimitLoad, QStringLiteral("LimitLoad"), page.limitLoad);
    a.LimitLoad = readInt(ini, SecLimitLoad, QStringLiteral("LimitLoad"), a.LimitLoad);
    if (!ini.hasKey(SecLimitLoad, QStringLiteral("LimitLoad")))
        page.limitLoad = QString::number(a.LimitLoad);

    a.DecimalPoint = readInt(ini, SecDecimal, QStringLiteral("DecimalPoint"), a.DecimalPoint);
    readText(ini, Sec1C, QStringLiteral("Path1C"), a.Path1C);
    a.IntervalActualTare = readInt(ini, SecInterval, QStringLiteral("IntervalActualTare"), a.IntervalActualTare);
    a.NumberDayView = readInt(ini, SecDayView, QStringLiteral("NumberDayView"), a.NumberDayView);

    const bool checkIntegral = readBool(ini, SecIntegral, QStringLiteral("CheckIntegral"), false);
    a.AutoMode = readBool(ini, SecAutomatic, QStringLiteral("CheckAutomatic"), true);
    page.checkAutomatic = a.AutoMode;
    a.NumberPointIntegral =
        readInt(ini, SecIntegral, QStringLiteral("NumberPointIntegral"), a.NumberPointIntegral);
    a.PlatformScalesWidth =
        readInt(ini, SecPlatform, QStringLiteral("PlatformScalesWidth"), a.PlatformScalesWidth);
    page.platformWidth = QString::number(a.PlatformScalesWidth);

    page.checkIntegral = checkIntegral;
    if (checkIntegral) {
        if (const int item = pointItemFor(a.NumberPointIntegral); item >= 0)
            page.pointIntegralItem = item;
    } else {
        page.pointIntegralItem = -1;
    }

    page.checkCoefficient = readBool(ini, SecCoefficient, QStringLiteral("CheckCoefficient"), false);
    const int coefficient = readInt(ini, SecCoefficient, QStringLiteral("Coefficient"), a.Coefficient);
    if (page.checkCoefficient) {
        if (coefficient >= 0 && coefficient <= 10) {
            page.trackbarPosition = coefficient;
            a.Coefficient = coefficient;
            a.KoffFactor = koffFactorFor(coefficient);
        }
    } else {
        page.trackbarPosition = 5;
        a.Coefficient = 5;
        a.KoffFactor = 1.0;
    }

    page.checkRfid = readBool(ini, SecPortRfid, QStringLiteral("CheckRFID"), false);
    if (page.checkRfid)
        readPort(ini, SecPortRfid, page.rfid, a.rfidPort);
}

void writeSettings(IniFile &ini, const SettingsValues &a, const SettingsPageState &page)
{
    auto num = [](int v) { return QString::number(v); };
    writePort(ini, SecPortW, page.indicator, a.indicatorPort);
    ini.writeString(SecMode, QStringLiteral("Mode"), page.mode);
    ini.writeString(SecMode, QStringLiteral("ModeIndex"), num(a.modeIndex));
    ini.writeString(SecLimit, QStringLiteral("Limit"), QStringLiteral("Пороговый вес"));
    ini.writeString(SecLimit, QStringLiteral("LimitWeight"), integerTextOr(page.limitWeight, a.LimitWeight));
    ini.writeString(SecLimitLoad, QStringLiteral("LimitLoad"), integerTextOr(page.limitLoad, a.LimitLoad));
    ini.writeString(SecDecimal, QStringLiteral("DecimalPoint"), num(a.DecimalPoint));
    ini.writeString(Sec1C, QStringLiteral("Path1C"), a.Path1C);
    ini.writeString(SecInterval, QStringLiteral("IntervalActualTare"), num(a.IntervalActualTare));
    ini.writeString(SecDayView, QStringLiteral("NumberDayView"), num(a.NumberDayView));
    ini.writeString(SecPlatform, QStringLiteral("PlatformScalesWidth"),
                    integerTextOr(page.platformWidth, a.PlatformScalesWidth));
    ini.writeString(SecIntegral, QStringLiteral("CheckIntegral"), num(page.checkIntegral));
    ini.writeString(SecIntegral, QStringLiteral("NumberPointIntegral"),
                    page.checkIntegral ? num(a.NumberPointIntegral) : QStringLiteral("-1"));
    ini.writeString(SecAutomatic, QStringLiteral("CheckAutomatic"), num(page.checkAutomatic));
    ini.writeString(SecCoefficient, QStringLiteral("CheckCoefficient"), num(page.checkCoefficient));
    ini.writeString(SecCoefficient, QStringLiteral("Coefficient"),
                    page.checkCoefficient ? num(a.Coefficient) : QStringLiteral("5"));
    ini.writeString(SecPortRfid, QStringLiteral("CheckRFID"), num(page.checkRfid));
    if (page.checkRfid)
        writePort(ini, SecPortRfid, page.rfid, a.rfidPort);
}

} // namespace zv
