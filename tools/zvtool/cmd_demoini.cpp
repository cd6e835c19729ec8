// zvtool demo-ini INI_PATH PORT: the settings file of the demo setup. The
// indicator port is PORT (the simulator's pseudo-terminal), the weighing
// mode static without automatic start, the weights whole numbers. Other settings already in the
// file stay, and so do its foreign lines.
#include "commands.h"

#include <QTextStream>

#include "inifile.h"
#include "runstate.h"
#include "settingsfile.h"

int zvtool::runDemoIni(const QStringList &args)
{
    QTextStream err(stderr);
    if (args.size() != 2 || args[0].startsWith(QLatin1Char('-'))) {
        err << "usage: zvtool demo-ini INI_PATH PORT\n"
               "  writes the settings file INI_PATH for the demo: indicator on PORT,\n"
               "  static weighing, whole-number weights\n";
        return 2;
    }
    zv::IniFile ini(args[0]);
    QString error;
    if (!ini.load(&error)) {
        err << "zvtool demo-ini: " << args[0] << ": " << error << "\n";
        return 1;
    }
    zv::SettingsValues applied = zv::defaultSettings();
    zv::SettingsPageState page;
    try {
        zv::readSettings(ini, applied, page);
    } catch (const zv::SettingsError &e) {
        // A broken value is replaced by the defaults; the foreign lines stay.
        err << "zvtool demo-ini: " << e.message() << "; the defaults are written instead\n";
        applied = zv::defaultSettings();
        page = zv::SettingsPageState{};
    }
    page.indicator.port = args[1];
    applied.indicatorPort.port = args[1];
    applied.indicatorPort.comPortIndex = 0;
    page.mode = QStringLiteral("Статический режим");
    page.modeItem = 0;
    applied.modeIndex = 0;
    applied.DecimalPoint = 0;
    // Static weighing is driven by the operator's button, not by the
    // automatic start.
    page.checkAutomatic = false;
    applied.AutoMode = false;
    zv::writeSettings(ini, applied, page);
    if (!ini.save(&error)) {
        err << "zvtool demo-ini: " << args[0] << ": " << error << "\n";
        return 1;
    }
    return 0;
}
