#pragma once
#include <QString>

namespace zv {

// Directory of the program: belvor.ini, aliases.ini, AdminTool and the
// pictures live there. Tests point it at a temporary directory.
class Paths {
public:
    static QString programDir();
    static QString inProgramDir(const QString &fileName);
    static void setProgramDir(const QString &dir); // empty: the executable's own directory
};

} // namespace zv
