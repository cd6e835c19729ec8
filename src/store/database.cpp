#include "database.h"

#include "dataset.h"
#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace zv::store {

namespace {

const char *const MainConnection = "zv";

QString &directoryOverride()
{
    static QString dir;
    return dir;
}

// Never destroyed: datasets of the data module unregister themselves during
// the program's final clean-up, in no particular order.
QSet<Dataset *> &openDatasets()
{
    static auto *set = new QSet<Dataset *>;
    return *set;
}

void closeAtExit()
{
    Database::close();
}

// --- the dialect's collations and functions ---------------------------------

// A date written as yyyy-mm-dd (optionally followed by a time) or as
// d.m.yyyy, the way dates are typed into filter conditions; key yyyymmdd.
bool dateKey(const unsigned char *s, int n, long &key)
{
    int i = 0;
    while (i < n && s[i] == ' ')
        ++i;
    auto digits = [&](int &pos, int minCount, int maxCount, long &value) {
        int count = 0;
        value = 0;
        while (pos < n && count < maxCount && s[pos] >= '0' && s[pos] <= '9') {
            value = value * 10 + (s[pos] - '0');
            ++pos;
            ++count;
        }
        return count >= minCount;
    };
    int p = i;
    long a = 0, b = 0, c = 0;
    if (!digits(p, 1, 4, a))
        return false;
    const int firstLen = p - i;
    if (firstLen == 4 && p < n && s[p] == '-') {
        ++p;
        if (!digits(p, 1, 2, b) || p >= n || s[p] != '-')
            return false;
        ++p;
        if (!digits(p, 1, 2, c))
            return false;
        if (p < n && s[p] != ' ' && s[p] != 'T')
            return false;
        key = a * 10000 + b * 100 + c;
        return true;
    }
    if (firstLen <= 2 && p < n && s[p] == '.') {
        ++p;
        if (!digits(p, 1, 2, b) || p >= n || s[p] != '.')
            return false;
        ++p;
        const int yearStart = p;
        if (!digits(p, 4, 4, c) || p - yearStart != 4)
            return false;
        while (p < n && s[p] == ' ')
            ++p;
        if (p != n)
            return false;
        key = c * 10000 + b * 100 + a;
        return true;
    }
    return false;
}

int compareBytes(int n1, const void *p1, int n2, const void *p2)
{
    const int r = std::memcmp(p1, p2, size_t(std::min(n1, n2)));
    if (r != 0)
        return r;
    return n1 < n2 ? -1 : (n1 > n2 ? 1 : 0);
}

int dateCollation(void *, int n1, const void *p1, int n2, const void *p2)
{
    long k1 = 0, k2 = 0;
    const bool d1 = dateKey(static_cast<const unsigned char *>(p1), n1, k1);
    const bool d2 = dateKey(static_cast<const unsigned char *>(p2), n2, k2);
    if (d1 && d2)
        return k1 < k2 ? -1 : (k1 > k2 ? 1 : 0);
    if (d1 != d2)
        return d1 ? -1 : 1; // dates before anything else
    return compareBytes(n1, p1, n2, p2);
}

// A weight text: optional blanks and sign, digits with at most one point.
bool weightNumber(const char *s, int n, double &value)
{
    char buf[64];
    int b = 0;
    int i = 0;
    while (i < n && s[i] == ' ')
        ++i;
    int end = n;
    while (end > i && s[end - 1] == ' ')
        --end;
    if (end - i <= 0 || end - i >= int(sizeof buf))
        return false;
    bool digit = false, point = false;
    for (int k = i; k < end; ++k) {
        const char c = s[k];
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else if ((c == '-' || c == '+') && k == i)
            ;
        else
            return false;
        buf[b++] = c;
    }
    buf[b] = 0;
    if (!digit)
        return false;
    value = std::strtod(buf, nullptr);
    return true;
}

int weightCollation(void *, int n1, const void *p1, int n2, const void *p2)
{
    double v1 = 0, v2 = 0;
    const bool w1 = weightNumber(static_cast<const char *>(p1), n1, v1);
    const bool w2 = weightNumber(static_cast<const char *>(p2), n2, v2);
    if (w1 && w2)
        return v1 < v2 ? -1 : (v1 > v2 ? 1 : 0);
    if (w1 != w2)
        return w1 ? -1 : 1;
    return compareBytes(n1, p1, n2, p2);
}

QString argText(sqlite3_value *v)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return t ? QString::fromUtf8(t, sqlite3_value_bytes(v)) : QString();
}

// zv_ciprefix(text, prefix): the text begins with prefix, letter case ignored
// (Cyrillic included, which the engine's own LIKE does not fold).
void ciPrefixFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    sqlite3_result_int(ctx, argText(argv[0]).startsWith(argText(argv[1]), Qt::CaseInsensitive) ? 1 : 0);
}

void caseFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool upper = sqlite3_user_data(ctx) != nullptr;
    const QByteArray r = (upper ? argText(argv[0]).toUpper() : argText(argv[0]).toLower()).toUtf8();
    sqlite3_result_text(ctx, r.constData(), int(r.size()), SQLITE_TRANSIENT);
}

void registerDialect(QSqlDatabase &db)
{
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("The database driver is not SQLite"));
    sqlite3 *h = *static_cast<sqlite3 *const *>(v.data());
    if (!h)
        throw DbError(QStringLiteral("The database is not open"));
    static int upperTag = 1;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_collation(h, "ZVDATE", SQLITE_UTF8, nullptr, dateCollation) != SQLITE_OK
        || sqlite3_create_collation(h, "ZVNUM", SQLITE_UTF8, nullptr, weightCollation) != SQLITE_OK
        || sqlite3_create_function(h, "zv_ciprefix", 2, flags, nullptr, ciPrefixFunction, nullptr, nullptr)
               != SQLITE_OK
        || sqlite3_create_function(h, "upper", 1, flags, &upperTag, caseFunction, nullptr, nullptr) != SQLITE_OK
        || sqlite3_create_function(h, "lower", 1, flags, nullptr, caseFunction, nullptr, nullptr) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(h)));
}

void execOn(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw DbError(q.lastError().databaseText().isEmpty() ? q.lastError().text() : q.lastError().databaseText());
}

} // namespace

QString Database::directory()
{
    if (!directoryOverride().isEmpty())
        return directoryOverride();
    const QString ini = Paths::inProgramDir(QStringLiteral("aliases.ini"));
    if (QFileInfo::exists(ini)) {
        QSettings s(ini, QSettings::IniFormat);
        const QString path = s.value(QStringLiteral("zv/PATH")).toString().trimmed();
        if (!path.isEmpty())
            return QDir::isRelativePath(path) ? QDir(Paths::programDir()).absoluteFilePath(path) : path;
    }
    return Paths::inProgramDir(QStringLiteral("db"));
}

QString Database::filePath()
{
    return QDir(directory()).absoluteFilePath(QString::fromLatin1(FileName));
}

void Database::setDirectory(const QString &dir)
{
    close();
    directoryOverride() = dir;
}

QSqlDatabase Database::openFile(const QString &path, const QString &connectionName, bool mayCreate)
{
    if (!mayCreate && !QFileInfo::exists(path))
        throw DbError(QStringLiteral("Файл базы данных \"%1\" не найден").arg(QDir::toNativeSeparators(path)));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QString msg = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw DbError(msg);
    }
    try {
        registerDialect(db);
        // The write-ahead journal with a full sync on every commit: a
        // committed weighing survives a killed process or a power cut.
        execOn(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        execOn(db, QStringLiteral("PRAGMA synchronous=FULL"));
        // Room for the journal's indexes and recent days in memory (20 MB).
        execOn(db, QStringLiteral("PRAGMA cache_size=-20000"));
        // A file that is not a database fails here, not at the first table.
        execOn(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw;
    }
    return db;
}

QSqlDatabase Database::connection()
{
    const QString name = QString::fromLatin1(MainConnection);
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            return db;
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    static bool cleanupInstalled = false;
    if (!cleanupInstalled && QCoreApplication::instance()) {
        // Statements and the connection go before Qt's own clean-up.
        qAddPostRoutine(closeAtExit);
        cleanupInstalled = true;
    }
    return openFile(filePath(), name, false);
}

bool Database::isOpen()
{
    const QString name = QString::fromLatin1(MainConnection);
    return QSqlDatabase::contains(name) && QSqlDatabase::database(name, false).isOpen();
}

void Database::close()
{
    const auto open = openDatasets().values();
    for (Dataset *ds : open)
        ds->forceClose();
    openDatasets().clear();
    const QString name = QString::fromLatin1(MainConnection);
    if (QSqlDatabase::contains(name)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

void Database::exec(const QString &sql)
{
    QSqlDatabase db = connection();
    execOn(db, sql);
}

void Database::beginTransaction()
{
    QSqlDatabase db = connection();
    if (!db.transaction())
        throw DbError(db.lastError().text());
}

void Database::commit()
{
    QSqlDatabase db = connection();
    if (!db.commit())
        throw DbError(db.lastError().text());
}

void Database::rollback()
{
    QSqlDatabase db = connection();
    db.rollback();
}

void Database::registerOpen(Dataset *ds)
{
    openDatasets().insert(ds);
}

void Database::unregisterOpen(Dataset *ds)
{
    openDatasets().remove(ds);
}

} // namespace zv::store
