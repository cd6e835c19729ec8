#include "commands.h"

#include <QTextStream>

int zvtool::runDemoIni(const QStringList &)
{
    QTextStream(stderr) << "not built yet\n";
    return 2;
}
