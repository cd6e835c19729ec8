#include "commands.h"

#include <QTextStream>

int zvtool::runIndicator(const QStringList &)
{
    QTextStream(stderr) << "not built yet\n";
    return 2;
}
