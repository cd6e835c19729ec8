#include "dbfimport.h"

#include "dberror.h"

namespace zv::store {

ImportResult importDbfDirectory(const QString &, const QString &)
{
    throw DbError(QStringLiteral("import: under construction"));
}

} // namespace zv::store
