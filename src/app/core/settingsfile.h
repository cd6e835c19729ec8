#pragma once
// The settings file belvor.ini: reading at start-up into the applied values
// and the texts the settings page shows, writing at close from both.
#include <QString>
#include <optional>
#include <stdexcept>

#include "runstate.h"

namespace zv {

class IniFile;

inline const QString SettingsFileName = QStringLiteral("belvor.ini");

// Texts of the six lists of one port on the settings page.
struct PortTexts {
    QString port;
    QString baudRate = QStringLiteral("19200");
    QString dataBit = QStringLiteral("8");
    QString parity = QStringLiteral("Нет");
    QString stopBit = QStringLiteral("1");
    QString controlStream = QStringLiteral("Нет");
};

// What the settings page shows of the file (its lists' and boxes' texts and
// its switches); at close these are written beside the applied values.
struct SettingsPageState {
    PortTexts indicator;
    PortTexts rfid = {QString(), QStringLiteral("9600")};
    QString mode = QStringLiteral("Статический режим"); // text of CBMode
    int modeItem = 0;                                     // selected item of CBMode
    QString limitWeight = QStringLiteral("100");          // EditLimit
    QString limitLoad = QStringLiteral("10000");          // EditLimitLoad
    QString platformWidth = QStringLiteral("600");        // EditPlatformWidth
    bool checkIntegral = false;
    int pointIntegralItem = -1; // RGPointIntegral: 0, 1, 2 for 5, 7, 9 points; -1 none
    bool checkAutomatic = true;
    bool checkCoefficient = false;
    int trackbarPosition = 2;
    bool checkRfid = false;
};

// A value of the file that must be an integer and is not.
class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Values of a first start without belvor.ini (and of keys missing from it).
SettingsValues defaultSettings();

// Reads the file in the order the page is prepared. A missing key takes its
// default. A value that must be an integer and is not throws SettingsError;
// what was read before it stays in `applied` and `page`.
void readSettings(const IniFile &ini, SettingsValues &applied, SettingsPageState &page);

// Writes every key, in the order of the file's table. RFID port keys only
// when RFID is switched on (otherwise their old lines stay).
void writeSettings(IniFile &ini, const SettingsValues &applied, const SettingsPageState &page);

// Coefficient of the trackbar position 0..10 (0.95 .. 1.05) and its text.
double koffFactorFor(int position);
QString koffText(int position);

// Integer value of a text as the settings page converts it: optional blanks
// around an optional sign and decimal digits.
std::optional<int> toInteger(const QString &text);

// The threshold text check: the message for the operator, or nullopt when
// the text passes.
std::optional<QString> limitTextProblem(const QString &text);
// Shows the problem of limitTextProblem (if any); true when the text passes.
bool ControlLim(const QString &text);

} // namespace zv
