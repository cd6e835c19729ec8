#pragma once
// Datasets: the table components (record-by-record access to one table) and
// the query components (an SQL text with typed named parameters) of the data
// module. They behave like the data-aware components the windows were
// written against: open/close, a cursor with first/next/last/prior and
// eof/bof, locate, insert/append/edit/post/cancel/remove, fields by name (any
// letter case) or by position.
//
// Every engine failure throws DbError with the engine's message; a value that
// cannot be converted throws ConvertError.
//
// A table component never reads a whole table to find one row: it keeps the
// current row and a small page of the rows after it, and locate, edit, post
// and remove run indexed statements on the row. A query reads its result
// lazily as the cursor advances.
#include <QDate>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>

#include "dberror.h"

namespace zv::store {

class Dataset;

// Kind of a column as the store sees it.
enum class FieldType {
    Integer,  // whole number
    Float,    // number with decimals
    Text,     // text of at most size() characters (0 = unlimited)
    Date,     // date, stored as yyyy-MM-dd, shown as dd.MM.yyyy
    Time,     // time of day as text "hh:mm:ss" (a one-digit hour is written with two)
    Blob,     // picture or other bytes
    Unknown,  // computed column of a query: whatever the engine returned
};

// One column of the current row. A light handle: copy it freely, it reads
// and writes through its dataset. Reading a field of a closed or empty
// dataset gives an empty value.
class Field {
public:
    Field() = default;
    Field(Dataset *ds, int index) : m_ds(ds), m_index(index) {}

    bool isValid() const { return m_ds && m_index >= 0; }
    QString name() const;
    FieldType type() const;
    int size() const; // width of a text field, 0 when not limited
    int index() const { return m_index; }

    bool isNull() const; // true when the field holds no value (empty text counts as a value only when not empty)
    QVariant value() const;
    QString asString() const;      // dates as dd.MM.yyyy, numbers with a point
    qint64 asInteger() const;      // NULL → 0; ConvertError for a text that is not a whole number
    int asInt() const { return int(asInteger()); }
    double asFloat() const;        // NULL → 0; point as the decimal separator
    QDate asDate() const;          // NULL → invalid date
    QByteArray asBytes() const;

    // Setters need the dataset in Edit or Insert state (DbError otherwise).
    void setValue(const QVariant &v);
    void setString(const QString &s); // cut to the field's width
    void setInteger(qint64 v);
    void setFloat(double v);
    void setDate(const QDate &d);     // invalid date → NULL
    void setBytes(const QByteArray &b);
    void setNull();

private:
    Dataset *m_ds = nullptr;
    int m_index = -1;
};

// Text of a query as a list of lines, joined with line breaks when issued.
class SqlLines {
public:
    void clear() { m_lines.clear(); }
    void add(const QString &line) { m_lines.append(line); }
    void setText(const QString &text) { m_lines = text.split(QLatin1Char('\n')); }
    const QStringList &lines() const { return m_lines; }
    QString text() const { return m_lines.join(QLatin1Char('\n')); }
    int count() const { return int(m_lines.size()); }
    bool isEmpty() const { return m_lines.isEmpty(); }

private:
    QStringList m_lines;
};

enum class ParamType { Integer, Float, Text, Date };

enum class LocateMode {
    Exact,                // equal value (texts compared as stored)
    CaseInsensitivePrefix // the field's text begins with the value, letter case ignored
};

class Dataset : public QObject {
    Q_OBJECT
public:
    enum class Kind { Table, Query };
    enum class State { Inactive, Browse, Edit, Insert };

    // Table component: Dataset(Kind::Table, "BVTEvenJrn", "EVENJRN", "Журнал событий").
    // Query component: Dataset(Kind::Query, "BVQRef"); text and parameters follow.
    Dataset(Kind kind, const QString &objectName, const QString &tableName = QString(),
            const QString &displayName = QString());
    ~Dataset() override;

    Kind kind() const { return m_kind; }
    QString tableName() const { return m_tableName; }
    // Name used by the error boxes ("Журнал событий" ...); may be empty.
    QString displayName() const { return m_displayName; }
    void setDisplayName(const QString &name) { m_displayName = name; }

    // --- query text and parameters ---
    SqlLines &sql() { return m_sql; }
    const SqlLines &sql() const { return m_sql; }
    // Declares a parameter's type; a declared parameter without a value is NULL.
    void declareParam(const QString &name, ParamType type);
    // Gives a parameter its value (name without ':' in any letter case); the
    // value is converted to the declared type. A null QVariant or an invalid
    // date makes it NULL.
    void setParam(const QString &name, const QVariant &value);
    void setParam(const QString &name, const QDate &value) { setParam(name, QVariant(value)); }
    void setParam(const QString &name, int value) { setParam(name, QVariant(value)); }
    void setParam(const QString &name, qint64 value) { setParam(name, QVariant(value)); }
    void setParam(const QString &name, const QString &value) { setParam(name, QVariant(value)); }
    void setParam(const QString &name, const char *value) { setParam(name, QVariant(QString::fromUtf8(value))); }
    QVariant param(const QString &name) const;
    void clearParamValues(); // every parameter back to NULL, types kept

    // --- open / close ---
    void open();                 // DbError when the table or the text is refused; cursor on the first row
    void close();                // cancels a pending edit or insert
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    // Runs the query text as a statement without result (DELETE FROM ...).
    // Returns the number of rows changed.
    int execSql();

    // --- cursor ---
    void first();
    void next();   // at the last row: eof() becomes true, the cursor stays
    void prior();  // at the first row: bof() becomes true, the cursor stays
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const;
    int recordCount();
    // Position of the cursor, 0-based; for queries also settable (grids).
    int recNo() const;
    void setRecNo(int row);

    // Moves to the first row (in the dataset's order) whose field matches the
    // value; on failure returns false and the cursor stays.
    bool locate(const QString &fieldName, const QVariant &value, LocateMode mode = LocateMode::Exact);

    // --- changes (table components only) ---
    void insert();  // new empty row (texts empty, numbers NULL); post() stores it
    void append();  // same as insert(): rows are kept in the order of arrival
    void edit();
    void post();    // stores the row; on failure the change is dropped and DbError thrown
    void cancel();
    void remove();  // deletes the current row; the cursor goes to the next (or prior) row
    void refresh(); // re-reads the current row (or the result of a query)

    // --- fields ---
    int fieldCount() const;
    QStringList fieldNames() const;
    QString firstColumnName() const;
    int fieldIndex(const QString &name) const; // -1 when missing; any letter case
    Field fieldByName(const QString &name);    // DbError "Field 'X' not found" when missing
    Field field(int index);                    // 0-based position; DbError when out of range
    // Row of the current position as values (the grid model reads it).
    QVector<QVariant> currentValues() const;

    // Picture fields: a bitmap stored as BMP bytes.
    QImage picture(const QString &fieldName);
    void setPicture(const QString &fieldName, const QImage &image);

    // --- internal, used by Field and the grid model ---
    struct Column {
        QString name;
        FieldType type = FieldType::Unknown;
        int size = 0;
        int decimals = 0;
    };
    const QVector<Column> &columns() const { return m_columns; }
    QVariant rawValue(int index) const;
    void setRawValue(int index, const QVariant &v);
    // All rows of an open query (reads the rest of the result); for the grids.
    int fetchAllRows();
    QVariant rowValue(int row, int column);

signals:
    void opened();
    void closed();
    void rowsChanged();   // rows added, removed or changed
    void cursorMoved();

public:
    struct Impl; // state of the implementation

private:
    friend class Field;
    friend class Database;
    void checkActive() const;
    void checkEditing() const;
    void checkTable(const char *op) const;
    void autoPost();
    void forceClose();              // also drops the prepared statements (connection going away)
    void closeKeepingStatements();
    bool fetchRow(); // reads the next row of a query result; false at its end


    Kind m_kind;
    QString m_tableName;
    QString m_displayName;
    SqlLines m_sql;
    State m_state = State::Inactive;
    bool m_eof = true;
    bool m_bof = true;
    QVector<Column> m_columns;
    std::unique_ptr<Impl> d;
};

} // namespace zv::store
