#include "dataset.h"

#include "catalogue.h"
#include "database.h"

#include <QBuffer>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QTime>

#include <sqlite3.h>

#include <cmath>
#include <map>

namespace zv::store {

namespace {

constexpr int PageSize = 64;
// Rows read when a query opens: a day's journal whole, a wide result of the
// whole journal only its first screens.
constexpr int QueryPrefetch = 1024;
constexpr int QueryPrefetchValues = 40000;

QString engineText(const QSqlError &e)
{
    const QString db = e.databaseText().trimmed();
    if (!db.isEmpty())
        return db;
    const QString t = e.text().trimmed();
    return t.isEmpty() ? QStringLiteral("Unknown database error") : t;
}

[[noreturn]] void fail(const QSqlQuery &q)
{
    throw DbError(engineText(q.lastError()));
}

QString isoDate(const QDate &d)
{
    return d.toString(Qt::ISODate);
}

// Dates are read in the two forms the program meets: as stored and as typed.
QDate parseDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QDate d = QDate::fromString(t.left(10), Qt::ISODate);
    if (d.isValid())
        return d;
    static const QRegularExpression dotted(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    const auto m = dotted.match(t);
    if (m.hasMatch())
        return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    return {};
}

// "9:05:00" → "09:05:00" so that times sort as text.
QString normaliseTime(const QString &text)
{
    const QString t = text.trimmed();
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
    const auto m = re.match(t);
    if (!m.hasMatch())
        return t;
    const auto two = [](const QString &s) { return s.rightJustified(2, QLatin1Char('0')); };
    return two(m.captured(1)) + QLatin1Char(':') + two(m.captured(2)) + QLatin1Char(':')
        + two(m.captured(3).isEmpty() ? QStringLiteral("0") : m.captured(3));
}

bool parseDouble(const QString &text, double &out)
{
    bool ok = false;
    out = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

bool parseInteger(const QString &text, qint64 &out)
{
    bool ok = false;
    out = text.trimmed().toLongLong(&ok);
    return ok;
}

void parseDeclType(const QString &declType, Dataset::Column &col)
{
    const QString t = declType.trimmed().toUpper();
    static const QRegularExpression sizeRe(QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
    const auto m = sizeRe.match(t);
    const int size = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int decimals = m.hasMatch() && !m.captured(2).isEmpty() ? m.captured(2).toInt() : 0;
    col.size = 0;
    col.decimals = 0;
    if (t.isEmpty())
        col.type = FieldType::Unknown;
    else if (t == QLatin1String("INTEGER") || t == QLatin1String("INT") || t.startsWith(QLatin1String("SMALLINT")))
        col.type = FieldType::Integer;
    else if (t.startsWith(QLatin1String("NUMERIC")) || t.startsWith(QLatin1String("DECIMAL"))
             || t.startsWith(QLatin1String("REAL")) || t.startsWith(QLatin1String("DOUBLE"))
             || t.startsWith(QLatin1String("FLOAT"))) {
        col.type = FieldType::Float;
        col.size = size;
        col.decimals = decimals;
    } else if (t == QLatin1String("DATE"))
        col.type = FieldType::Date;
    else if (t.startsWith(QLatin1String("TIMETEXT")))
        col.type = FieldType::Time;
    else if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT"))) {
        col.type = FieldType::Text;
        col.size = size;
    } else if (t.startsWith(QLatin1String("BLOB")))
        col.type = FieldType::Blob;
    else
        col.type = FieldType::Unknown;
}

sqlite3_stmt *statementOf(const QSqlQuery &q)
{
    if (!q.result())
        return nullptr;
    const QVariant h = q.result()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt *const *>(h.constData());
}

// Converts a value to what the column stores: integers as qint64, numbers
// as double, dates as yyyy-MM-dd, texts cut to the width.
QVariant toStored(const Dataset::Column &col, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return col.type == FieldType::Text || col.type == FieldType::Time ? QVariant(QString()) : QVariant();
    switch (col.type) {
    case FieldType::Integer: {
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            qint64 n = 0;
            if (!parseInteger(s, n))
                throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
            return n;
        }
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
            return qint64(std::llround(v.toDouble()));
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        if (!ok)
            throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return n;
    }
    case FieldType::Float: {
        double d = 0;
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            if (!parseDouble(s, d))
                throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
        } else {
            bool ok = false;
            d = v.toDouble(&ok);
            if (!ok)
                throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
        }
        if (col.decimals > 0) {
            const double f = std::pow(10.0, col.decimals);
            d = std::round(d * f) / f;
        }
        return d;
    }
    case FieldType::Date: {
        QDate d;
        if (v.typeId() == QMetaType::QDate)
            d = v.toDate();
        else if (v.typeId() == QMetaType::QDateTime)
            d = v.toDateTime().date();
        else {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return {};
            d = parseDate(s);
            if (!d.isValid())
                throw ConvertError(QStringLiteral("'%1' is not a valid date").arg(s));
        }
        return d.isValid() ? QVariant(isoDate(d)) : QVariant();
    }
    case FieldType::Time: {
        if (v.typeId() == QMetaType::QTime)
            return v.toTime().toString(QStringLiteral("hh:mm:ss"));
        QString s = normaliseTime(v.toString());
        if (col.size > 0 && s.size() > col.size)
            s.truncate(col.size);
        return s;
    }
    case FieldType::Text: {
        QString s = v.typeId() == QMetaType::QDate ? v.toDate().toString(QStringLiteral("dd.MM.yyyy")) : v.toString();
        if (col.size > 0 && s.size() > col.size)
            s.truncate(col.size);
        return s;
    }
    case FieldType::Blob:
        return v.toByteArray();
    case FieldType::Unknown:
        return v;
    }
    return v;
}

struct Param {
    QString name; // upper case
    ParamType type = ParamType::Text;
    QVariant value; // null: NULL
};

QVariant paramValue(const Param &p, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (p.type) {
    case ParamType::Integer: {
        if (v.typeId() == QMetaType::QString) {
            qint64 n = 0;
            if (!parseInteger(v.toString(), n))
                throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
            return n;
        }
        return v.toLongLong();
    }
    case ParamType::Float: {
        if (v.typeId() == QMetaType::QString) {
            double d = 0;
            if (!parseDouble(v.toString(), d))
                throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
            return d;
        }
        return v.toDouble();
    }
    case ParamType::Date: {
        QDate d;
        if (v.typeId() == QMetaType::QDate)
            d = v.toDate();
        else if (v.typeId() == QMetaType::QDateTime)
            d = v.toDateTime().date();
        else {
            d = parseDate(v.toString());
            if (!d.isValid() && !v.toString().trimmed().isEmpty())
                throw ConvertError(QStringLiteral("'%1' is not a valid date").arg(v.toString()));
        }
        return d.isValid() ? QVariant(isoDate(d)) : QVariant();
    }
    case ParamType::Text:
        return v.toString();
    }
    return v;
}

ParamType typeOfValue(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return ParamType::Date;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return ParamType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return ParamType::Float;
    default:
        return ParamType::Text;
    }
}

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QString quoteIdent(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

} // namespace

// ---------------------------------------------------------------------------

struct Dataset::Impl {
    QVector<Param> params;
    QHash<QString, int> nameIndex; // upper-case name → column

    // query
    QSqlQuery *q = nullptr; // the running result, one of the statements below
    bool exhausted = true;
    QVector<QVector<QVariant>> rows;
    int cur = -1;
    int countCache = -1;

    // table
    struct Row {
        qint64 rowid = 0;
        QVector<QVariant> values;
    };
    QVector<Row> page;
    int pageIdx = -1;
    int pageGeneration = -1;
    QString quotedTable;
    // Prepared statements of the cursor, by their text.
    std::map<QString, std::unique_ptr<QSqlQuery>> statements;
    QVector<Row> snapshot;
    int snapshotGeneration = -1;

    // edit / insert buffer
    QVector<QVariant> buffer;
    QVector<bool> modified;

    Param *findParam(const QString &name)
    {
        const QString n = name.startsWith(QLatin1Char(':')) ? name.mid(1).toUpper() : name.toUpper();
        for (Param &p : params)
            if (p.name == n)
                return &p;
        return nullptr;
    }

    bool hasRow() const { return pageIdx >= 0 && pageIdx < page.size(); }
    const Row &row() const { return page[pageIdx]; }

    void releaseQuery()
    {
        if (q)
            q->finish();
        q = nullptr;
    }
    void clearStatements()
    {
        q = nullptr;
        statements.clear();
    }
    // A prepared statement for the text, kept for the next use of the same
    // text (re-running a query, the cursor's own statements).
    QSqlQuery *statement(const QString &sql)
    {
        auto &slot = statements[sql];
        if (!slot) {
            if (statements.size() > 48) {
                // Free queries take many texts: start afresh now and then.
                std::erase_if(statements, [this, &sql](const auto &e) { return e.first != sql && e.second.get() != q; });
            }
            auto st = std::make_unique<QSqlQuery>(Database::connection());
            st->setForwardOnly(true);
            if (!st->prepare(sql)) {
                const QSqlError e = st->lastError();
                statements.erase(sql);
                throw DbError(engineText(e));
            }
            slot = std::move(st);
        }
        return slot.get();
    }
};

namespace {

int changeGeneration()
{
    if (!Database::isOpen())
        return 0;
    const QVariant h = Database::connection().driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return 0;
    return sqlite3_total_changes(*static_cast<sqlite3 *const *>(h.constData()));
}

// Replaces the :NAME markers (outside literals and quoted names) with '?'
// and collects their values in order; a marker without a value binds NULL.
QString bindMarkers(const QString &sql, QVector<Param> &params, QVector<QVariant> &values)
{
    QString out;
    out.reserve(sql.size());
    const int n = int(sql.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            int j = i;
            while (j < n && sql[j] != QLatin1Char('\n'))
                ++j;
            out += sql.mid(i, j - i);
            i = j - 1;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_'))
            && (i == 0 || !isIdentChar(sql[i - 1]))) {
            int j = i + 1;
            while (j < n && isIdentChar(sql[j]))
                ++j;
            const QString name = sql.mid(i + 1, j - i - 1).toUpper();
            QVariant v;
            for (const Param &p : params)
                if (p.name == name) {
                    v = p.value;
                    break;
                }
            values.append(v);
            out += QLatin1Char('?');
            i = j - 1;
            continue;
        }
        out += c;
    }
    return out;
}

// Splits a text into the parts outside quotes (even indexes) and the quoted
// literals and names (odd indexes), so rewriting never touches a literal.
QStringList splitQuoted(const QString &sql)
{
    QStringList parts;
    QString cur;
    const int n = int(sql.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            parts << cur;
            cur.clear();
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            parts << sql.mid(i, j - i + 1);
            i = j;
            continue;
        }
        cur += c;
    }
    parts << cur;
    return parts;
}

// A condition may name a column by its table's name even where the text
// gives that table an alias ("EVENJRN.DATE_EVEN" in a query over
// "EVENJRN EJ"), as the journal filter writes its conditions. The engine
// accepts only the alias there, so such references are turned into the
// alias. A table used both with and without an alias is left alone.
QString resolveTableNamesUncached(const QString &sql);

QString resolveTableNames(const QString &sql)
{
    static QHash<QString, QString> cache;
    const auto it = cache.constFind(sql);
    if (it != cache.constEnd())
        return it.value();
    if (cache.size() > 256)
        cache.clear();
    const QString resolved = resolveTableNamesUncached(sql);
    cache.insert(sql, resolved);
    return resolved;
}

// A date typed into a condition as dd.mm.yyyy, compared with a date column
// ("EVENJRN.DATE_EVEN BETWEEN  '01.02.2008'  AND  '29.02.2008'", as the
// journal filter writes it), is turned into the stored form yyyy-mm-dd.
QString typedDatesToStored(const QString &sql)
{
    static const QRegularExpression re = [] {
        QStringList dateColumns;
        for (const TableDef &t : catalogue())
            for (const ColumnDef &c : t.columns)
                if (c.type == FieldType::Date && !dateColumns.contains(c.name))
                    dateColumns << c.name;
        const QString lit = QStringLiteral("'\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})\\s*'");
        return QRegularExpression(QStringLiteral("(\\b(?:%1)\\s*(?:=|<>|!=|<=|>=|<|>|\\bBETWEEN\\b)\\s*)%2"
                                                 "(\\s+AND\\s+%2)?")
                                      .arg(dateColumns.join(QLatin1Char('|')), lit),
                                  QRegularExpression::CaseInsensitiveOption);
    }();
    if (!sql.contains(QLatin1Char('.')) || !sql.contains(QLatin1Char('\'')))
        return sql;
    QString out;
    qsizetype last = 0;
    for (auto it = re.globalMatch(sql); it.hasNext();) {
        const auto m = it.next();
        const auto iso = [&](int d, int mo, int y) {
            const QDate date(m.captured(y).toInt(), m.captured(mo).toInt(), m.captured(d).toInt());
            return date.isValid() ? QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\'')
                                  : QStringLiteral("'%1.%2.%3'").arg(m.captured(d), m.captured(mo), m.captured(y));
        };
        out += sql.mid(last, m.capturedStart() - last);
        out += m.captured(1) + iso(2, 3, 4);
        if (m.capturedLength(5) > 0) {
            const QString between = m.captured(5);
            out += between.left(between.indexOf(QLatin1Char('\''))) + iso(6, 7, 8);
        }
        last = m.capturedEnd();
    }
    if (last == 0)
        return sql;
    out += sql.mid(last);
    return out;
}

QString resolveTableNamesUncached(const QString &input)
{
    const QString sql = typedDatesToStored(input);
    QStringList parts = splitQuoted(sql);
    QString plain;
    for (int i = 0; i < parts.size(); i += 2)
        plain += parts[i] + QLatin1Char(' ');
    static const QRegularExpression fromRe(
        QStringLiteral("\\b(?:FROM|JOIN)\\s*\\(*\\s*([A-Za-z_]\\w*)(?:\\s+(?:AS\\s+)?([A-Za-z_]\\w*))?"),
        QRegularExpression::CaseInsensitiveOption);
    static const QStringList keywords{
        QStringLiteral("ON"), QStringLiteral("LEFT"), QStringLiteral("RIGHT"), QStringLiteral("INNER"),
        QStringLiteral("OUTER"), QStringLiteral("CROSS"), QStringLiteral("NATURAL"), QStringLiteral("JOIN"),
        QStringLiteral("WHERE"), QStringLiteral("ORDER"), QStringLiteral("GROUP"), QStringLiteral("HAVING"),
        QStringLiteral("LIMIT"), QStringLiteral("UNION"), QStringLiteral("USING"), QStringLiteral("FULL")};
    QHash<QString, QString> alias; // upper table → alias
    QSet<QString> unaliased;
    for (auto it = fromRe.globalMatch(plain); it.hasNext();) {
        const auto m = it.next();
        const QString table = m.captured(1).toUpper();
        const QString a = m.captured(2);
        if (a.isEmpty() || keywords.contains(a.toUpper()))
            unaliased.insert(table);
        else if (a.toUpper() != table)
            alias.insert(table, a);
    }
    bool changed = false;
    for (auto it = alias.cbegin(); it != alias.cend(); ++it) {
        if (unaliased.contains(it.key()))
            continue;
        const QRegularExpression ref(QStringLiteral("(?<![\\w.])%1\\s*\\.").arg(it.key()),
                                     QRegularExpression::CaseInsensitiveOption);
        for (int i = 0; i < parts.size(); i += 2) {
            if (parts[i].contains(ref)) {
                parts[i].replace(ref, it.value() + QLatin1Char('.'));
                changed = true;
            }
        }
    }
    return changed ? parts.join(QString()) : sql;
}

QVector<QVariant> readRow(const QSqlQuery &q, int from, int count)
{
    QVector<QVariant> v;
    v.reserve(count);
    for (int i = 0; i < count; ++i)
        v.append(q.value(from + i));
    return v;
}

} // namespace

// --- Field -------------------------------------------------------------------

QString Field::name() const
{
    return isValid() ? m_ds->m_columns[m_index].name : QString();
}

FieldType Field::type() const
{
    return isValid() ? m_ds->m_columns[m_index].type : FieldType::Unknown;
}

int Field::size() const
{
    return isValid() ? m_ds->m_columns[m_index].size : 0;
}

QVariant Field::value() const
{
    return isValid() ? m_ds->rawValue(m_index) : QVariant();
}

bool Field::isNull() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return true;
    if (v.typeId() == QMetaType::QString)
        return v.toString().isEmpty();
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray().isEmpty();
    return false;
}

QString Field::asString() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return {};
    if (type() == FieldType::Date) {
        const QDate d = parseDate(v.toString());
        return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : v.toString();
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::ULongLong
        || v.typeId() == QMetaType::UInt)
        return v.toLongLong();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return qint64(std::llround(v.toDouble()));
    const QString s = v.toString().trimmed();
    if (s.isEmpty())
        return 0;
    qint64 n = 0;
    if (!parseInteger(s, n))
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return n;
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() != QMetaType::QString)
        return v.toDouble();
    const QString s = v.toString().trimmed();
    if (s.isEmpty())
        return 0;
    double d = 0;
    if (!parseDouble(s, d))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    return d;
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    const QString s = v.toString().trimmed();
    if (s.isEmpty())
        return {};
    const QDate d = parseDate(s);
    if (!d.isValid())
        throw ConvertError(QStringLiteral("'%1' is not a valid date").arg(s));
    return d;
}

QByteArray Field::asBytes() const
{
    const QVariant v = value();
    if (!v.isValid() || v.isNull())
        return {};
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
}

void Field::setValue(const QVariant &v)
{
    if (!isValid())
        throw DbError(QStringLiteral("Field is not valid"));
    m_ds->setRawValue(m_index, v);
}

void Field::setString(const QString &s) { setValue(QVariant(s)); }
void Field::setInteger(qint64 v) { setValue(QVariant(v)); }
void Field::setFloat(double v) { setValue(QVariant(v)); }
void Field::setDate(const QDate &d) { setValue(d.isValid() ? QVariant(d) : QVariant()); }
void Field::setBytes(const QByteArray &b) { setValue(QVariant(b)); }
void Field::setNull() { setValue(QVariant()); }

// --- Dataset -----------------------------------------------------------------

Dataset::Dataset(Kind kind, const QString &objectName, const QString &tableName, const QString &displayName)
    : m_kind(kind), m_tableName(tableName.toUpper()), m_displayName(displayName), d(std::make_unique<Impl>())
{
    setObjectName(objectName);
}

Dataset::~Dataset()
{
    Database::unregisterOpen(this);
}

void Dataset::declareParam(const QString &name, ParamType type)
{
    if (Param *p = d->findParam(name)) {
        p->type = type;
        return;
    }
    Param p;
    p.name = name.startsWith(QLatin1Char(':')) ? name.mid(1).toUpper() : name.toUpper();
    p.type = type;
    d->params.append(p);
}

void Dataset::setParam(const QString &name, const QVariant &value)
{
    Param *p = d->findParam(name);
    if (!p) {
        declareParam(name, typeOfValue(value));
        p = d->findParam(name);
    }
    p->value = paramValue(*p, value);
}

QVariant Dataset::param(const QString &name) const
{
    if (Param *p = d->findParam(name))
        return p->value;
    return {};
}

void Dataset::clearParamValues()
{
    for (Param &p : d->params)
        p.value = QVariant();
}

void Dataset::checkActive() const
{
    if (m_state == State::Inactive)
        throw DbError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void Dataset::checkEditing() const
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw DbError(QStringLiteral("Dataset not in edit or insert mode"));
}

void Dataset::checkTable(const char *op) const
{
    if (m_kind != Kind::Table)
        throw DbError(QStringLiteral("Cannot %1 a read-only query result").arg(QLatin1String(op)));
}

void Dataset::open()
{
    if (active())
        return;
    QSqlDatabase db = Database::connection();
    Database::registerOpen(this);
    d->releaseQuery();
    d->rows.clear();
    d->page.clear();
    d->pageIdx = -1;
    d->cur = -1;
    d->countCache = -1;
    d->snapshot.clear();
    d->snapshotGeneration = -1;
    m_columns.clear();
    d->nameIndex.clear();

    QStringList names;
    if (m_kind == Kind::Table) {
        d->quotedTable = quoteIdent(m_tableName);
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(d->quotedTable)))
            fail(probe);
        probe.finish();
        QSqlQuery info(db);
        if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(d->quotedTable)))
            fail(info);
        while (info.next()) {
            Column c;
            c.name = info.value(1).toString();
            parseDeclType(info.value(2).toString(), c);
            m_columns.append(c);
        }
        if (m_columns.isEmpty())
            throw DbError(QStringLiteral("no such table: %1").arg(m_tableName));
    } else {
        const QString text = m_sql.text();
        if (text.trimmed().isEmpty())
            throw DbError(QStringLiteral("No SQL statement available"));
        QVector<QVariant> values;
        const QString sql = bindMarkers(resolveTableNames(text), d->params, values);
        QSqlQuery *q = d->statement(sql);
        sqlite3_stmt *stmt = statementOf(*q);
        if (stmt && sqlite3_column_count(stmt) == 0)
            throw DbError(QStringLiteral("The statement returns no result set; run it with execSql"));
        for (int i = 0; i < values.size(); ++i)
            q->bindValue(i, values[i]);
        if (!q->exec()) {
            const QSqlError e = q->lastError();
            q->finish();
            throw DbError(engineText(e));
        }
        const QSqlRecord rec = q->record();
        stmt = statementOf(*q);
        for (int i = 0; i < rec.count(); ++i) {
            Column c;
            c.name = rec.fieldName(i);
            const char *decl = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
            parseDeclType(decl ? QString::fromUtf8(decl) : QString(), c);
            m_columns.append(c);
        }
        d->q = q;
        d->exhausted = false;
    }
    // A name that occurs twice keeps its plain form only the first time; the
    // later ones are numbered _1, _2 ... in order of appearance.
    QHash<QString, int> seen;
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString upper = m_columns[i].name.toUpper();
        const int n = seen.value(upper, 0);
        seen[upper] = n + 1;
        if (n > 0)
            m_columns[i].name = m_columns[i].name + QLatin1Char('_') + QString::number(n);
        d->nameIndex.insert(m_columns[i].name.toUpper(), i);
    }
    m_state = State::Browse;
    try {
        if (m_kind == Kind::Query) {
            // Small results are read at once so that the engine's statement is
            // released; large ones are read as the cursor advances.
            const qsizetype width = std::max<qsizetype>(1, m_columns.size());
            while (d->rows.size() < QueryPrefetch && d->rows.size() * width < QueryPrefetchValues && fetchRow()) {
            }
            d->cur = d->rows.isEmpty() ? -1 : 0;
            m_bof = true;
            m_eof = d->rows.isEmpty();
        } else {
            first();
        }
    } catch (...) {
        forceClose();
        throw;
    }
    emit opened();
}

void Dataset::forceClose()
{
    closeKeepingStatements();
    d->clearStatements();
    Database::unregisterOpen(this);
}

void Dataset::closeKeepingStatements()
{
    d->releaseQuery();
    d->rows.clear();
    d->page.clear();
    d->pageIdx = -1;
    d->cur = -1;
    d->snapshot.clear();
    d->buffer.clear();
    d->modified.clear();
    const bool wasActive = m_state != State::Inactive;
    m_state = State::Inactive;
    m_eof = m_bof = true;
    if (wasActive)
        emit closed();
}

void Dataset::close()
{
    closeKeepingStatements();
}

int Dataset::execSql()
{
    const QString text = m_sql.text();
    if (text.trimmed().isEmpty())
        throw DbError(QStringLiteral("No SQL statement available"));
    if (active())
        close();
    QSqlDatabase db = Database::connection();
    QVector<QVariant> values;
    const QString sql = bindMarkers(resolveTableNames(text), d->params, values);
    QSqlQuery q(db);
    if (!q.prepare(sql))
        fail(q);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        fail(q);
    const int n = q.numRowsAffected();
    q.finish();
    return n;
}

// --- table cursor helpers ------------------------------------------------------

namespace {

QVector<Dataset::Impl::Row> runPage(QSqlQuery &q, int columnCount)
{
    QVector<Dataset::Impl::Row> rows;
    while (q.next()) {
        Dataset::Impl::Row r;
        r.rowid = q.value(0).toLongLong();
        r.values = readRow(q, 1, columnCount);
        rows.append(std::move(r));
    }
    const bool failed = q.lastError().isValid();
    if (failed)
        fail(q);
    q.finish();
    return rows;
}

} // namespace

// Rows of a table component in the order of arrival, read by one prepared
// statement (kept for the next call with the same condition).
static QVector<Dataset::Impl::Row> fetchTable(Dataset::Impl &d, int columnCount, const QString &where,
                                              const QVariantList &binds, bool descending, int limit)
{
    const QString sql = QStringLiteral("SELECT _rowid_, * FROM %1%2 ORDER BY _rowid_%3 LIMIT %4")
                            .arg(d.quotedTable, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where,
                                 descending ? QStringLiteral(" DESC") : QString(), QString::number(limit));
    QSqlQuery *q = d.statement(sql);
    for (int i = 0; i < binds.size(); ++i)
        q->bindValue(i, binds[i]);
    if (!q->exec())
        fail(*q);
    return runPage(*q, columnCount);
}

void Dataset::autoPost()
{
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Dataset::first()
{
    checkActive();
    autoPost();
    if (m_kind == Kind::Query) {
        d->cur = d->rows.isEmpty() ? -1 : 0;
        m_bof = true;
        m_eof = d->rows.isEmpty();
    } else {
        d->page = fetchTable(*d, int(m_columns.size()), QString(), {}, false, PageSize);
        d->pageGeneration = changeGeneration();
        d->pageIdx = d->page.isEmpty() ? -1 : 0;
        m_bof = true;
        m_eof = d->page.isEmpty();
    }
    emit cursorMoved();
}

void Dataset::next()
{
    checkActive();
    autoPost();
    if (m_kind == Kind::Query) {
        if (d->cur + 1 < d->rows.size()) {
            ++d->cur;
            m_bof = false;
        } else if (fetchRow()) {
            ++d->cur;
            m_bof = false;
        } else {
            m_eof = true;
            return;
        }
        m_eof = false;
        emit cursorMoved();
        return;
    }
    if (!d->hasRow()) {
        m_eof = true;
        return;
    }
    const bool stale = d->pageGeneration != changeGeneration();
    if (!stale && d->pageIdx + 1 < d->page.size()) {
        ++d->pageIdx;
    } else {
        const qint64 from = d->row().rowid;
        auto rows = fetchTable(*d, int(m_columns.size()), QStringLiteral("_rowid_ > ?"), {from}, false, PageSize);
        d->pageGeneration = changeGeneration();
        if (rows.isEmpty()) {
            m_eof = true;
            return;
        }
        d->page = std::move(rows);
        d->pageIdx = 0;
    }
    m_bof = false;
    m_eof = false;
    emit cursorMoved();
}

void Dataset::prior()
{
    checkActive();
    autoPost();
    if (m_kind == Kind::Query) {
        if (d->cur > 0) {
            --d->cur;
            m_eof = false;
            m_bof = false;
            emit cursorMoved();
        } else {
            m_bof = true;
        }
        return;
    }
    if (!d->hasRow()) {
        m_bof = true;
        return;
    }
    const bool stale = d->pageGeneration != changeGeneration();
    if (!stale && d->pageIdx > 0) {
        --d->pageIdx;
    } else {
        const qint64 from = d->row().rowid;
        auto rows = fetchTable(*d, int(m_columns.size()), QStringLiteral("_rowid_ < ?"), {from}, true, 1);
        if (rows.isEmpty()) {
            m_bof = true;
            return;
        }
        d->page = std::move(rows);
        d->pageIdx = 0;
        d->pageGeneration = changeGeneration();
    }
    m_bof = false;
    m_eof = false;
    emit cursorMoved();
}

void Dataset::last()
{
    checkActive();
    autoPost();
    if (m_kind == Kind::Query) {
        fetchAllRows();
        d->cur = int(d->rows.size()) - 1;
        m_eof = true;
        m_bof = d->rows.isEmpty();
    } else {
        auto rows = fetchTable(*d, int(m_columns.size()), QString(), {}, true, 1);
        d->page = std::move(rows);
        d->pageIdx = d->page.isEmpty() ? -1 : 0;
        d->pageGeneration = changeGeneration();
        m_eof = true;
        m_bof = d->page.isEmpty();
    }
    emit cursorMoved();
}

bool Dataset::isEmpty() const
{
    if (!active())
        return true;
    if (m_kind == Kind::Query)
        return d->rows.isEmpty();
    if (d->hasRow())
        return false;
    QSqlQuery q(Database::connection());
    if (!q.exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(d->quotedTable)))
        fail(q);
    return !q.next();
}

int Dataset::recordCount()
{
    checkActive();
    if (m_kind == Kind::Query && d->exhausted)
        return int(d->rows.size());
    if (m_kind == Kind::Query && d->countCache >= 0)
        return d->countCache;
    QSqlQuery q(Database::connection());
    q.setForwardOnly(true);
    if (m_kind == Kind::Table) {
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(d->quotedTable)))
            fail(q);
    } else {
        QVector<QVariant> values;
        const QString sql = bindMarkers(resolveTableNames(m_sql.text()), d->params, values);
        if (!q.prepare(QStringLiteral("SELECT COUNT(*) FROM (%1\n)").arg(sql)))
            fail(q);
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values[i]);
        if (!q.exec())
            fail(q);
    }
    const int n = q.next() ? q.value(0).toInt() : 0;
    if (m_kind == Kind::Query)
        d->countCache = n;
    return n;
}

int Dataset::recNo() const
{
    if (!active())
        return -1;
    if (m_kind == Kind::Query)
        return d->cur;
    if (!d->hasRow())
        return -1;
    QSqlQuery q(Database::connection());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE _rowid_ < ?").arg(d->quotedTable));
    q.bindValue(0, d->row().rowid);
    if (!q.exec())
        fail(q);
    return q.next() ? q.value(0).toInt() : -1;
}

void Dataset::setRecNo(int row)
{
    checkActive();
    autoPost();
    if (row < 0)
        return;
    if (m_kind == Kind::Query) {
        while (row >= d->rows.size() && fetchRow()) {
        }
        if (row >= d->rows.size())
            return;
        d->cur = row;
        m_bof = row == 0;
        m_eof = false;
        emit cursorMoved();
        return;
    }
    QSqlQuery q(Database::connection());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT _rowid_, * FROM %1 ORDER BY _rowid_ LIMIT 1 OFFSET %2")
                    .arg(d->quotedTable)
                    .arg(row)))
        fail(q);
    auto rows = runPage(q, int(m_columns.size()));
    if (rows.isEmpty())
        return;
    d->page = std::move(rows);
    d->pageIdx = 0;
    d->pageGeneration = changeGeneration();
    m_bof = row == 0;
    m_eof = false;
    emit cursorMoved();
}

bool Dataset::locate(const QString &fieldName, const QVariant &value, LocateMode mode)
{
    checkActive();
    const int idx = fieldIndex(fieldName);
    if (idx < 0)
        throw DbError(QStringLiteral("Field '%1' not found").arg(fieldName));
    autoPost();
    const Column &col = m_columns[idx];
    if (m_kind == Kind::Query) {
        Field f(this, idx);
        const QString wanted = value.toString();
        const int saved = d->cur;
        for (int r = 0;; ++r) {
            if (r >= d->rows.size() && !fetchRow())
                break;
            d->cur = r;
            bool match = false;
            if (mode == LocateMode::CaseInsensitivePrefix) {
                match = f.asString().startsWith(wanted, Qt::CaseInsensitive);
            } else if (value.isNull()) {
                match = f.isNull();
            } else {
                const QVariant v = f.value();
                switch (col.type) {
                case FieldType::Integer: {
                    bool ok = false;
                    const qint64 want = value.typeId() == QMetaType::QString ? value.toString().trimmed().toLongLong(&ok)
                                                                            : value.toLongLong(&ok);
                    match = ok && !v.isNull() && v.toLongLong() == want;
                    break;
                }
                case FieldType::Float: {
                    bool ok = false;
                    const double want = value.typeId() == QMetaType::QString
                        ? QLocale::c().toDouble(value.toString().trimmed(), &ok)
                        : value.toDouble(&ok);
                    match = ok && !v.isNull() && v.toDouble() == want;
                    break;
                }
                case FieldType::Date: {
                    const QDate want = value.typeId() == QMetaType::QDate ? value.toDate() : parseDate(wanted);
                    match = want.isValid() && parseDate(v.toString()) == want;
                    break;
                }
                default:
                    match = !v.isNull() && v.toString() == wanted;
                }
            }
            if (match) {
                m_eof = false;
                m_bof = r == 0;
                emit cursorMoved();
                return true;
            }
        }
        d->cur = saved;
        return false;
    }
    QString where;
    QVariantList binds;
    const QString column = quoteIdent(col.name);
    if (mode == LocateMode::CaseInsensitivePrefix) {
        where = QStringLiteral("zv_ciprefix(%1, ?)").arg(column);
        binds << value.toString();
    } else if (!value.isValid() || value.isNull()) {
        where = QStringLiteral("%1 IS NULL").arg(column);
    } else {
        QVariant stored;
        try {
            stored = toStored(col, value);
        } catch (const ConvertError &) {
            return false; // a value the field cannot hold matches no row
        }
        if (stored.isNull())
            where = QStringLiteral("%1 IS NULL").arg(column);
        else {
            where = QStringLiteral("%1 = ?").arg(column);
            binds << stored;
        }
    }
    auto rows = fetchTable(*d, int(m_columns.size()), where, binds, false, 1);
    if (rows.isEmpty())
        return false;
    d->page = std::move(rows);
    d->pageIdx = 0;
    d->pageGeneration = changeGeneration();
    m_eof = false;
    m_bof = false;
    emit cursorMoved();
    return true;
}

// --- changes -------------------------------------------------------------------

void Dataset::insert()
{
    checkActive();
    checkTable("insert into");
    autoPost();
    d->buffer = QVector<QVariant>(m_columns.size());
    d->modified = QVector<bool>(m_columns.size(), false);
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].type == FieldType::Text || m_columns[i].type == FieldType::Time)
            d->buffer[i] = QString();
    m_state = State::Insert;
}

void Dataset::append()
{
    insert();
}

void Dataset::edit()
{
    checkActive();
    checkTable("modify");
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (!d->hasRow())
        throw DbError(QStringLiteral("Cannot modify an empty dataset"));
    d->buffer = d->row().values;
    d->modified = QVector<bool>(m_columns.size(), false);
    m_state = State::Edit;
}

void Dataset::post()
{
    checkActive();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    const bool inserting = m_state == State::Insert;
    const QVector<QVariant> buffer = d->buffer;
    const QVector<bool> modified = d->modified;
    // Whatever happens below, the pending change ends here: a row whose store
    // failed is dropped, never written half-filled by a later operation.
    d->buffer.clear();
    d->modified.clear();
    m_state = State::Browse;

    QStringList names, marks;
    QVariantList binds;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!modified[i])
            continue;
        names << quoteIdent(m_columns[i].name);
        binds << buffer[i];
    }
    if (!inserting && !d->hasRow())
        return;
    if (!inserting && names.isEmpty())
        return;
    QString sql;
    if (inserting) {
        for (int i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d->quotedTable)
                              : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(d->quotedTable, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    } else {
        QStringList sets;
        for (const QString &n : names)
            sets << n + QStringLiteral("=?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_=?").arg(d->quotedTable, sets.join(QLatin1Char(',')));
        binds << d->row().rowid;
    }
    QSqlQuery *q = d->statement(sql);
    for (int i = 0; i < binds.size(); ++i)
        q->bindValue(i, binds[i]);
    if (!q->exec()) {
        const QSqlError e = q->lastError();
        q->finish();
        throw DbError(engineText(e));
    }
    const qint64 rowid = inserting ? q->lastInsertId().toLongLong() : d->row().rowid;
    q->finish();
    if (inserting) {
        // Re-read the new row: the engine fills fields of its own (ID_DOCUMEN).
        auto rows = fetchTable(*d, int(m_columns.size()), QStringLiteral("_rowid_ = ?"), {rowid}, false, 1);
        if (!rows.isEmpty()) {
            d->page = std::move(rows);
            d->pageIdx = 0;
            m_eof = false;
            m_bof = false;
        }
    } else {
        // The row as stored: the buffer holds the values in their stored form.
        Impl::Row row{rowid, buffer};
        d->page = {row};
        d->pageIdx = 0;
    }
    d->pageGeneration = changeGeneration();
    emit rowsChanged();
    emit cursorMoved();
}

void Dataset::cancel()
{
    if (m_state == State::Edit || m_state == State::Insert) {
        d->buffer.clear();
        d->modified.clear();
        m_state = State::Browse;
    }
}

void Dataset::remove()
{
    checkActive();
    checkTable("delete from");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (!d->hasRow())
        throw DbError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    const qint64 rowid = d->row().rowid;
    QSqlQuery q(Database::connection());
    if (!q.prepare(QStringLiteral("DELETE FROM %1 WHERE _rowid_=?").arg(d->quotedTable)))
        fail(q);
    q.bindValue(0, rowid);
    if (!q.exec())
        fail(q);
    q.finish();
    auto rows = fetchTable(*d, int(m_columns.size()), QStringLiteral("_rowid_ > ?"), {rowid}, false, PageSize);
    if (rows.isEmpty()) {
        rows = fetchTable(*d, int(m_columns.size()), QStringLiteral("_rowid_ < ?"), {rowid}, true, 1);
        m_eof = true;
    } else {
        m_eof = false;
    }
    d->page = std::move(rows);
    d->pageIdx = d->page.isEmpty() ? -1 : 0;
    d->pageGeneration = changeGeneration();
    if (d->page.isEmpty())
        m_eof = m_bof = true;
    emit rowsChanged();
    emit cursorMoved();
}

void Dataset::refresh()
{
    checkActive();
    autoPost();
    if (m_kind == Kind::Query) {
        const int keep = d->cur;
        closeKeepingStatements();
        open();
        if (keep > 0)
            setRecNo(std::min(keep, std::max(0, recordCount() - 1)));
        emit rowsChanged();
        return;
    }
    if (!d->hasRow()) {
        first();
    } else {
        const qint64 rowid = d->row().rowid;
        auto rows = fetchTable(*d, int(m_columns.size()), QStringLiteral("_rowid_ >= ?"), {rowid}, false, PageSize);
        if (rows.isEmpty())
            last();
        else {
            d->page = std::move(rows);
            d->pageIdx = 0;
            d->pageGeneration = changeGeneration();
        }
    }
    emit rowsChanged();
}

// --- fields --------------------------------------------------------------------

int Dataset::fieldCount() const
{
    return int(m_columns.size());
}

QStringList Dataset::fieldNames() const
{
    QStringList names;
    for (const Column &c : m_columns)
        names << c.name;
    return names;
}

QString Dataset::firstColumnName() const
{
    return m_columns.isEmpty() ? QString() : m_columns.first().name;
}

int Dataset::fieldIndex(const QString &name) const
{
    return d->nameIndex.value(name.trimmed().toUpper(), -1);
}

Field Dataset::fieldByName(const QString &name)
{
    checkActive();
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
    return Field(this, i);
}

Field Dataset::field(int index)
{
    checkActive();
    if (index < 0 || index >= m_columns.size())
        throw DbError(QStringLiteral("%1: Field index out of range").arg(objectName()));
    return Field(this, index);
}

QVector<QVariant> Dataset::currentValues() const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return d->buffer;
    if (m_kind == Kind::Query)
        return d->cur >= 0 && d->cur < d->rows.size() ? d->rows[d->cur] : QVector<QVariant>();
    return d->hasRow() ? d->row().values : QVector<QVariant>();
}

QVariant Dataset::rawValue(int index) const
{
    if (index < 0 || index >= m_columns.size())
        return {};
    if (m_state == State::Edit || m_state == State::Insert)
        return d->buffer.value(index);
    if (m_kind == Kind::Query)
        return d->cur >= 0 && d->cur < d->rows.size() ? d->rows[d->cur].value(index) : QVariant();
    return d->hasRow() ? d->row().values.value(index) : QVariant();
}

void Dataset::setRawValue(int index, const QVariant &v)
{
    checkEditing();
    if (index < 0 || index >= m_columns.size())
        throw DbError(QStringLiteral("Field index out of range"));
    d->buffer[index] = toStored(m_columns[index], v);
    d->modified[index] = true;
}

QImage Dataset::picture(const QString &fieldName)
{
    const QByteArray bytes = fieldByName(fieldName).asBytes();
    if (bytes.isEmpty())
        return {};
    return QImage::fromData(bytes);
}

void Dataset::setPicture(const QString &fieldName, const QImage &image)
{
    Field f = fieldByName(fieldName);
    if (image.isNull()) {
        f.setNull();
        return;
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    if (!image.save(&buf, "BMP"))
        throw ConvertError(QStringLiteral("The picture cannot be stored as a bitmap"));
    f.setBytes(bytes);
}

bool Dataset::fetchRow()
{
    if (d->exhausted || !d->q)
        return false;
    if (d->q->next()) {
        d->rows.append(readRow(*d->q, 0, int(m_columns.size())));
        return true;
    }
    const QSqlError e = d->q->lastError();
    d->exhausted = true;
    d->releaseQuery();
    if (e.isValid())
        throw DbError(engineText(e));
    return false;
}

int Dataset::fetchAllRows()
{
    if (!active())
        return 0;
    if (m_kind == Kind::Query) {
        while (fetchRow()) {
        }
        return int(d->rows.size());
    }
    const int gen = changeGeneration();
    if (d->snapshotGeneration != gen) {
        QSqlQuery q(Database::connection());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT _rowid_, * FROM %1 ORDER BY _rowid_").arg(d->quotedTable)))
            fail(q);
        d->snapshot = runPage(q, int(m_columns.size()));
        d->snapshotGeneration = gen;
    }
    return int(d->snapshot.size());
}

QVariant Dataset::rowValue(int row, int column)
{
    if (!active() || row < 0 || column < 0)
        return {};
    if (m_kind == Kind::Query) {
        if (row >= d->rows.size())
            fetchAllRows();
        return row < d->rows.size() ? d->rows[row].value(column) : QVariant();
    }
    if (d->snapshotGeneration != changeGeneration())
        fetchAllRows();
    return row < d->snapshot.size() ? d->snapshot[row].values.value(column) : QVariant();
}

} // namespace zv::store
