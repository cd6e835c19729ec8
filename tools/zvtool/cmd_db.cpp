#include "commands.h"

#include <QTextStream>

int zvtool::runDb(const QStringList &)
{
    QTextStream(stderr) << "not built yet\n";
    return 2;
}
