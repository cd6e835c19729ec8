#pragma once
// The catalogue of the delivered database: its tables, their columns and
// indexes, the rows the program relies on finding, and the demo reference
// data. Used by `zvtool db init|demo|import` and by the tests.
#include <QHash>
#include <QString>
#include <functional>
#include <QStringList>
#include <QVector>

#include "dataset.h"

namespace zv::store {

struct ColumnDef {
    QString name;
    FieldType type;
    int size = 0;      // text width in characters; for Float the total digits
    int decimals = 0;  // Float only
    bool weightText = false; // a weight kept as text: compared and sorted as a number
};

struct TableDef {
    QString name;      // EVENJRN
    QString fileStem;  // EvenJrn (file EvenJrn.dbf, component BVTEvenJrn)
    QVector<ColumnDef> columns;
    QStringList indexed; // columns with an index of their own
};

// The 27 tables in catalogue order.
const QVector<TableDef> &catalogue();
// The definition of one table (name in any letter case), nullptr when unknown.
const TableDef *findTable(const QString &name);

// The administrator written by createDatabase; must change the password at first login.
inline const QString InitialAdminLogin = QStringLiteral("admin");
inline const QString InitialAdminPassword = QStringLiteral("admin");

// Creates dir/zv.db with every table, index and the built-in rows. Refuses
// (DbError) when zv.db exists already. Creates dir when missing.
// Returns the service journal password (second column of PASSJRN).
QString createDatabase(const QString &dir);

// Creates the empty tables, indexes and the engine's rule for
// EVENJRN.ID_DOCUMEN on an open connection (no rows); the import fills them
// itself. widths may widen text columns ("TABLE.COLUMN" → characters) so
// that imported texts keep their full length.
void createSchema(const QString &connectionName, const QHash<QString, int> &widths = {});

// Makes dir/zv.db (refusing an existing one), runs fill(connectionName) in
// one transaction and commits. On any failure the new file is removed again
// and the error is passed on: the directory is left as it was.
void buildDatabase(const QString &dir, const std::function<void(const QString &connectionName)> &fill);
// Adds the rows the program relies on finding (built-in event types, cargo
// type 105, the filter vocabulary, the journal password row, the first
// administrator). Returns the service journal password written into the
// second column of PASSJRN.
QString addBuiltInRows(const QString &connectionName);

// Journal password written into PASSJRN.PASSUSR by createDatabase.
inline const QString InitialJournalPassword = QStringLiteral("zvjrn");

// Demo users added by addDemoData (login, password, group).
struct DemoUser {
    QString login, password, group;
};
QVector<DemoUser> demoUsers();

// Adds the demo reference data and the demo users to dir/zv.db (made by
// createDatabase). Refuses when the demo rows are there already.
void addDemoData(const QString &dir);

} // namespace zv::store
