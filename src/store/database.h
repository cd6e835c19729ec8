#pragma once
// The connection to the database behind the alias `zv`: the file zv.db in the
// directory that aliases.ini (beside the program, section [zv], key PATH)
// names, or the directory "db" beside the program when the file or the key is
// missing. The program never creates the database: when zv.db is missing,
// every open fails with a DbError naming the file.
#include <QSqlDatabase>
#include <QString>

namespace zv::store {

class Dataset;

class Database {
public:
    static constexpr const char *FileName = "zv.db";

    // Directory behind the alias, resolved now (override, aliases.ini, default).
    static QString directory();
    static QString filePath(); // directory() + "/zv.db"

    // Tests and tools point the alias at another directory; empty clears the
    // override. Closes every open dataset and the connection first.
    static void setDirectory(const QString &dir);

    // The open connection of this run; opens it on first use. Throws DbError
    // when the file is missing or the engine refuses it.
    static QSqlDatabase connection();
    static bool isOpen();
    // Closes every open dataset and the connection (the next use reopens).
    static void close();

    // Runs one statement without result outside any dataset (tools, tests).
    static void exec(const QString &sql);

    // Transactions of the tools (import). Nested calls are not supported.
    static void beginTransaction();
    static void commit();
    static void rollback();

    // Opens (and if needed creates) a stand-alone connection to the file at
    // path with the store's settings: durable journal, the date, weight and
    // case-folding functions of the dialect. Used by the tools that build a
    // database; the caller removes it with QSqlDatabase::removeDatabase.
    static QSqlDatabase openFile(const QString &path, const QString &connectionName, bool mayCreate);

    // --- bookkeeping of the datasets (called by Dataset) ---
    static void registerOpen(Dataset *ds);
    static void unregisterOpen(Dataset *ds);
};

} // namespace zv::store
