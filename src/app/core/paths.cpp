#include "paths.h"

#include <QCoreApplication>
#include <QDir>

namespace zv {
namespace {
QString g_dir;
}

QString Paths::programDir()
{
    if (!g_dir.isEmpty())
        return g_dir;
    return QCoreApplication::applicationDirPath();
}

QString Paths::inProgramDir(const QString &fileName) { return QDir(programDir()).filePath(fileName); }
void Paths::setProgramDir(const QString &dir) { g_dir = dir; }

} // namespace zv
