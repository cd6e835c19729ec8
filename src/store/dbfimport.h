#pragma once
// Import of an installation's dBase tables (dBase III, IV and level 7 headers,
// .dbt memo and picture files) into a new database. All or nothing: any
// fault leaves the target untouched.
#include <QList>
#include <QPair>
#include <QString>

namespace zv::store {

struct ImportResult {
    QList<QPair<QString, int>> counts; // table name, rows imported, in catalogue order
};

// Reads the .dbf files of dbfDir (file names in any letter case) and writes
// targetDir/zv.db. Throws DbError with a message naming the file and the
// fault; the target then holds no new zv.db. Refuses when zv.db exists.
ImportResult importDbfDirectory(const QString &dbfDir, const QString &targetDir);

} // namespace zv::store
