// zvtool: command-line companion of the workstation.
//   zvtool indicator ...   indicator simulator
//   zvtool db ...          database preparation and import
//   zvtool demo-ini ...    settings file of the demo setup
#include <QCoreApplication>
#include <QTextStream>

#include "commands.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString cmd = args.isEmpty() ? QString() : args.takeFirst();
    if (cmd == QLatin1String("indicator"))
        return zvtool::runIndicator(args);
    if (cmd == QLatin1String("db"))
        return zvtool::runDb(args);
    if (cmd == QLatin1String("demo-ini"))
        return zvtool::runDemoIni(args);
    QTextStream(stderr) << "usage: zvtool indicator|db|demo-ini ...\n";
    return 2;
}
