#include "dbfimport.h"

#include "catalogue.h"
#include "cp1251.h"
#include "database.h"
#include "dberror.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

#include <cmath>
#include <cstring>
#include <optional>

namespace zv::store {

namespace {

// Upper half of the DOS code page of older Russian installations
// (Windows-1251 comes from the shared codec).
const char16_t Cp866High[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C,
    0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429,
    0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436,
    0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407,
    0x0457, 0x040E, 0x045E, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

// Text decoding of one table, chosen by its language-driver byte.
class TextCodec {
public:
    explicit TextCodec(unsigned char driver)
    {
        switch (driver) {
        case 0x26:
        case 0x65:
            m_table = Cp866High;
            m_name = QStringLiteral("cp866");
            break;
        case 0x00:
        case 0x03: // "Windows ANSI": the installation's own ANSI code page
        case 0x57:
        case 0xC9:
            m_cp1251 = true;
            m_name = QStringLiteral("windows-1251");
            break;
        default: {
            static const QHash<int, const char *> others = {
                {0x01, "IBM437"}, {0x02, "IBM850"}, {0x58, "windows-1252"}, {0x59, "windows-1252"}, {0x64, "IBM852"}, {0xC8, "windows-1250"},
                {0xCA, "windows-1254"}, {0xCB, "windows-1253"},
            };
            const char *name = others.value(driver, nullptr);
            if (name) {
                m_decoder = QStringDecoder(name);
                m_name = QString::fromLatin1(name);
            }
            if (!name || !m_decoder.isValid()) {
                // An unknown driver: the installation's own code page.
                m_cp1251 = true;
                m_name = QStringLiteral("windows-1251");
            }
        }
        }
    }

    QString decode(const char *data, qsizetype n)
    {
        if (m_cp1251)
            return zv::fromCp1251(QByteArray::fromRawData(data, n));
        if (!m_table)
            return m_decoder.decode(QByteArrayView(data, n));
        QString s;
        s.resize(n);
        for (qsizetype i = 0; i < n; ++i) {
            const auto b = static_cast<unsigned char>(data[i]);
            s[i] = b < 0x80 ? QChar(b) : QChar(m_table[b - 0x80]);
        }
        return s;
    }
    QString name() const { return m_name; }

private:
    bool m_cp1251 = false;
    const char16_t *m_table = nullptr; // a DOS code page
    QStringDecoder m_decoder;
    QString m_name;
};

struct DbfField {
    QString name;
    char type = 'C';
    int length = 0;
    int decimals = 0;
    int offset = 0; // within the record, after the deletion flag
};

quint16 le16(const uchar *p) { return quint16(p[0] | (p[1] << 8)); }
quint32 le32(const uchar *p) { return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24); }
quint32 be32(const uchar *p) { return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]); }

// Level 7 keeps doubles (numbers and timestamps) big-endian with the sign bit
// flipped, so that their bytes sort as the values do. All zero bytes: no value.
std::optional<double> sortableDouble(const char *p)
{
    quint64 bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = (bits << 8) | uchar(p[i]);
    if (bits == 0)
        return std::nullopt;
    bits = (bits & 0x8000000000000000ull) ? (bits ^ 0x8000000000000000ull) : ~bits;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

class DbfFile {
public:
    DbfFile(const QString &path) : m_path(path) {}

    [[noreturn]] void refuse(const QString &fault) const
    {
        throw DbError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), fault));
    }

    void readHeader()
    {
        QFile f(m_path);
        if (!f.open(QIODevice::ReadOnly))
            refuse(QStringLiteral("файл не открывается (%1)").arg(f.errorString()));
        m_data = f.readAll();
        if (m_data.size() < 32)
            refuse(QStringLiteral("файл слишком короткий для заголовка dBase"));
        const auto *h = reinterpret_cast<const uchar *>(m_data.constData());
        m_version = h[0];
        const int level = m_version & 0x07;
        m_level7 = level == 4;
        if (level != 3 && level != 4 && level != 5)
            refuse(QStringLiteral("неизвестный формат таблицы (байт версии 0x%1)").arg(m_version, 2, 16, QLatin1Char('0')));
        m_hasMemo = (m_version & 0x80) != 0 || m_version == 0x8B || m_version == 0x8C;
        m_records = le32(h + 4);
        m_headerLength = le16(h + 8);
        m_recordLength = le16(h + 10);
        unsigned char driver = h[29];
        if (m_level7 && m_data.size() >= 64) {
            // Level 7 names its language driver as well ("DB866RU0", "ancyrr" ...).
            const QByteArray name = m_data.mid(32, 32).toLower();
            if (name.contains("866") || name.startsWith("cyrr"))
                driver = 0x65;
            else if (name.contains("ancyr") || name.contains("winru") || name.contains("1251"))
                driver = 0xC9;
        }
        m_codec = std::make_unique<TextCodec>(driver);

        const int descStart = m_level7 ? 68 : 32;
        const int descSize = m_level7 ? 48 : 32;
        if (m_headerLength < descStart + 1 || m_headerLength > m_data.size())
            refuse(QStringLiteral("неверная длина заголовка (%1)").arg(m_headerLength));
        int offset = 0;
        for (int pos = descStart; pos < m_headerLength; pos += descSize) {
            if (uchar(m_data[pos]) == 0x0D)
                break;
            if (pos + descSize > m_headerLength)
                refuse(QStringLiteral("описание полей не завершено"));
            const auto *d = reinterpret_cast<const uchar *>(m_data.constData() + pos);
            DbfField fld;
            const int nameLen = m_level7 ? 32 : 11;
            int n = 0;
            while (n < nameLen && d[n] != 0)
                ++n;
            fld.name = QString::fromLatin1(reinterpret_cast<const char *>(d), n).trimmed().toUpper();
            fld.type = char(d[m_level7 ? 32 : 11]);
            fld.length = d[m_level7 ? 33 : 16];
            fld.decimals = d[m_level7 ? 34 : 17];
            if (fld.type == 'C' && !m_level7)
                fld.length += fld.decimals * 256; // long character fields keep the high byte there
            fld.offset = offset;
            offset += fld.length;
            if (fld.name.isEmpty())
                refuse(QStringLiteral("поле без имени в заголовке"));
            if (QStringLiteral("CNFDLMBGI+O@").indexOf(QLatin1Char(fld.type)) < 0)
                refuse(QStringLiteral("поле %1 неизвестного типа '%2'").arg(fld.name, QString(QLatin1Char(fld.type))));
            m_fields.append(fld);
        }
        if (m_fields.isEmpty())
            refuse(QStringLiteral("в заголовке нет полей"));
        if (offset + 1 != m_recordLength)
            refuse(QStringLiteral("длина записи %1 не равна сумме длин полей %2").arg(m_recordLength).arg(offset + 1));
        const qint64 needed = qint64(m_headerLength) + qint64(m_records) * m_recordLength;
        if (needed > m_data.size())
            refuse(QStringLiteral("файл обрезан: заголовок обещает %1 записей, в файле их %2")
                       .arg(m_records)
                       .arg((m_data.size() - m_headerLength) / std::max(1, m_recordLength)));
        for (const DbfField &fld : m_fields)
            if (fld.type == 'M' || fld.type == 'B' || fld.type == 'G')
                m_needsMemo = true;
    }

    void openMemo()
    {
        if (!m_needsMemo)
            return;
        const QFileInfo fi(m_path);
        const QDir dir = fi.dir();
        QString memoName;
        for (const QString &e : dir.entryList(QDir::Files))
            if (e.compare(fi.completeBaseName() + QStringLiteral(".dbt"), Qt::CaseInsensitive) == 0)
                memoName = e;
        if (memoName.isEmpty())
            refuse(QStringLiteral("нет файла примечаний %1.dbt для полей примечаний").arg(fi.completeBaseName()));
        m_memoPath = dir.absoluteFilePath(memoName);
        QFile f(m_memoPath);
        if (!f.open(QIODevice::ReadOnly))
            refuse(QStringLiteral("файл примечаний не открывается (%1)").arg(f.errorString()));
        m_memo = f.readAll();
        if (m_memo.size() < 512)
            refuse(QStringLiteral("файл примечаний %1 слишком короткий").arg(memoName));
        const auto *h = reinterpret_cast<const uchar *>(m_memo.constData());
        m_blockSize = 512;
        // dBase IV and later keep the block size in the header.
        if (m_version != 0x83) {
            const int size = le16(h + 20);
            const quint32 alt = le32(h + 4);
            if (size >= 64 && size % 64 == 0)
                m_blockSize = size;
            else if (alt >= 64 && alt <= 65536 && alt % 64 == 0)
                m_blockSize = int(alt);
        }
    }

    QByteArray memoBlock(quint32 block, const DbfField &fld, int record) const
    {
        const qint64 start = qint64(block) * m_blockSize;
        if (block == 0 || start >= m_memo.size())
            refuse(QStringLiteral("запись %1, поле %2: ссылка на блок %3 вне файла примечаний")
                       .arg(record)
                       .arg(fld.name)
                       .arg(block));
        const auto *p = reinterpret_cast<const uchar *>(m_memo.constData() + start);
        const qint64 avail = m_memo.size() - start;
        if (avail >= 8 && p[0] == 0xFF && p[1] == 0xFF && p[2] == 0x08 && p[3] == 0x00) {
            const quint32 len = le32(p + 4);
            if (len < 8 || qint64(len) > avail)
                refuse(QStringLiteral("запись %1, поле %2: неверная длина примечания").arg(record).arg(fld.name));
            return m_memo.mid(start + 8, len - 8);
        }
        // dBase III: the text runs to the end-of-text marker.
        const int end = m_memo.indexOf('\x1A', start);
        return m_memo.mid(start, (end < 0 ? m_memo.size() : end) - start);
    }

    const QVector<DbfField> &fields() const { return m_fields; }
    quint32 recordCount() const { return m_records; }
    QString path() const { return m_path; }
    QString codecName() const { return m_codec->name(); }

    bool deleted(quint32 r) const { return m_data[m_headerLength + qint64(r) * m_recordLength] == '*'; }
    const char *raw(quint32 r, const DbfField &f) const
    {
        return m_data.constData() + m_headerLength + qint64(r) * m_recordLength + 1 + f.offset;
    }

    // The value of a field converted for a column of the given type.
    QVariant value(quint32 r, const DbfField &f, const ColumnDef &col) const
    {
        const char *p = raw(r, f);
        const int rec = int(r) + 1;
        auto bad = [&](const QString &what) -> QVariant {
            refuse(QStringLiteral("запись %1, поле %2: %3").arg(rec).arg(f.name, what));
        };
        switch (f.type) {
        case 'C': {
            QString s = m_codec->decode(p, f.length);
            while (!s.isEmpty() && (s.back() == QLatin1Char(' ') || s.back() == QChar(0)))
                s.chop(1);
            return fromText(s, col, bad);
        }
        case 'N':
        case 'F': {
            const QString s = QString::fromLatin1(p, f.length).trimmed();
            if (s.isEmpty() || s.startsWith(QLatin1Char('*')))
                return col.type == FieldType::Text ? QVariant(QString()) : QVariant();
            return fromText(s, col, bad);
        }
        case 'D': {
            const QString s = QString::fromLatin1(p, f.length).trimmed();
            if (s.isEmpty() || s == QLatin1String("00000000"))
                return {};
            const QDate d = QDate::fromString(s, QStringLiteral("yyyyMMdd"));
            if (!d.isValid())
                return bad(QStringLiteral("неверная дата \"%1\"").arg(s));
            return fromDate(d, col, bad);
        }
        case 'L': {
            const char c = p[0];
            QVariant v;
            if (c == 'T' || c == 't' || c == 'Y' || c == 'y')
                v = 1;
            else if (c == 'F' || c == 'f' || c == 'N' || c == 'n')
                v = 0;
            return v.isNull() ? QVariant() : fromInteger(v.toLongLong(), col, bad);
        }
        case 'I':
        case '+': {
            if (f.length != 4)
                return bad(QStringLiteral("длина целого поля %1").arg(f.length));
            const auto *u = reinterpret_cast<const uchar *>(p);
            qint64 v;
            if (m_level7)
                v = qint32(be32(u) ^ 0x80000000u);
            else
                v = qint32(le32(u));
            return fromInteger(v, col, bad);
        }
        case 'O': {
            if (f.length != 8)
                return bad(QStringLiteral("длина числового поля %1").arg(f.length));
            const auto d = sortableDouble(p);
            if (!d)
                return {};
            return fromDouble(*d, col, bad);
        }
        case '@': {
            if (f.length != 8)
                return bad(QStringLiteral("длина поля даты-времени %1").arg(f.length));
            const auto stamp = sortableDouble(p);
            if (!stamp)
                return {};
            const double ms = *stamp;
            // Milliseconds since 1 January 4713 BC (Julian day 0 at midnight).
            const QDate d = QDate::fromJulianDay(qint64(std::floor(ms / 86400000.0)));
            if (!d.isValid())
                return bad(QStringLiteral("неверная дата-время"));
            return fromDate(d, col, bad);
        }
        case 'M':
        case 'B':
        case 'G': {
            quint32 block = 0;
            if (f.length == 4) {
                block = le32(reinterpret_cast<const uchar *>(p));
            } else {
                const QString s = QString::fromLatin1(p, f.length).trimmed();
                if (s.isEmpty())
                    return col.type == FieldType::Blob ? QVariant() : QVariant(QString());
                bool ok = false;
                block = s.toUInt(&ok);
                if (!ok)
                    return bad(QStringLiteral("неверный номер блока примечания \"%1\"").arg(s));
            }
            if (block == 0)
                return col.type == FieldType::Blob ? QVariant() : QVariant(QString());
            const QByteArray bytes = memoBlock(block, f, rec);
            if (col.type == FieldType::Blob)
                return bytes;
            return fromText(m_codec->decode(bytes.constData(), bytes.size()), col, bad);
        }
        }
        return bad(QStringLiteral("неизвестный тип поля"));
    }

private:
    template <typename Bad>
    static QVariant fromText(const QString &s, const ColumnDef &col, Bad bad)
    {
        switch (col.type) {
        case FieldType::Integer: {
            if (s.trimmed().isEmpty())
                return {};
            bool ok = false;
            const double d = QLocale::c().toDouble(s.trimmed(), &ok);
            if (!ok || d != std::floor(d))
                return bad(QStringLiteral("\"%1\" не целое число").arg(s));
            return qint64(d);
        }
        case FieldType::Float: {
            if (s.trimmed().isEmpty())
                return {};
            bool ok = false;
            const double d = QLocale::c().toDouble(s.trimmed(), &ok);
            if (!ok)
                return bad(QStringLiteral("\"%1\" не число").arg(s));
            return d;
        }
        case FieldType::Date: {
            if (s.trimmed().isEmpty())
                return {};
            QDate d = QDate::fromString(s.trimmed(), QStringLiteral("dd.MM.yyyy"));
            if (!d.isValid())
                d = QDate::fromString(s.trimmed(), Qt::ISODate);
            if (!d.isValid())
                return bad(QStringLiteral("\"%1\" не дата").arg(s));
            return d.toString(Qt::ISODate);
        }
        case FieldType::Time: {
            static const QRegularExpression re(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?$"));
            const auto m = re.match(s.trimmed());
            if (!m.hasMatch())
                return s.trimmed();
            const auto two = [](const QString &x) { return x.rightJustified(2, QLatin1Char('0')); };
            return two(m.captured(1)) + QLatin1Char(':') + two(m.captured(2)) + QLatin1Char(':')
                + two(m.captured(3).isEmpty() ? QStringLiteral("0") : m.captured(3));
        }
        case FieldType::Blob:
            return s.toUtf8();
        default:
            return s;
        }
    }
    template <typename Bad>
    static QVariant fromInteger(qint64 v, const ColumnDef &col, Bad bad)
    {
        if (col.type == FieldType::Integer)
            return v;
        if (col.type == FieldType::Float)
            return double(v);
        if (col.type == FieldType::Text)
            return QString::number(v);
        return bad(QStringLiteral("целое значение для поля другого типа"));
    }
    template <typename Bad>
    static QVariant fromDouble(double v, const ColumnDef &col, Bad bad)
    {
        if (col.type == FieldType::Float)
            return v;
        if (col.type == FieldType::Integer) {
            if (v != std::floor(v))
                return bad(QStringLiteral("%1 не целое число").arg(v));
            return qint64(v);
        }
        if (col.type == FieldType::Text)
            return QString::number(v, 'g', 15);
        return bad(QStringLiteral("число для поля другого типа"));
    }
    template <typename Bad>
    static QVariant fromDate(const QDate &d, const ColumnDef &col, Bad bad)
    {
        if (col.type == FieldType::Date)
            return d.toString(Qt::ISODate);
        if (col.type == FieldType::Text)
            return d.toString(QStringLiteral("dd.MM.yyyy"));
        return bad(QStringLiteral("дата для поля другого типа"));
    }

    QString m_path;
    QByteArray m_data;
    QByteArray m_memo;
    QString m_memoPath;
    uchar m_version = 0;
    bool m_level7 = false;
    bool m_hasMemo = false;
    bool m_needsMemo = false;
    quint32 m_records = 0;
    int m_headerLength = 0;
    int m_recordLength = 0;
    int m_blockSize = 512;
    std::unique_ptr<TextCodec> m_codec;
    QVector<DbfField> m_fields;
};

QString findFile(const QDir &dir, const QString &name)
{
    for (const QString &e : dir.entryList(QDir::Files))
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return dir.absoluteFilePath(e);
    return {};
}

} // namespace

ImportResult importDbfDirectory(const QString &dbfDir, const QString &targetDir)
{
    const QDir src(dbfDir);
    if (!src.exists())
        throw DbError(QStringLiteral("Каталог \"%1\" не найден").arg(QDir::toNativeSeparators(dbfDir)));
    if (QFileInfo::exists(QDir(targetDir).absoluteFilePath(QString::fromLatin1(Database::FileName))))
        throw DbError(QStringLiteral("База данных \"%1\" уже существует; она не перезаписывается")
                          .arg(QDir::toNativeSeparators(
                              QDir(targetDir).absoluteFilePath(QString::fromLatin1(Database::FileName)))));

    // Read and check every file before anything is written.
    std::vector<std::unique_ptr<DbfFile>> files;
    QHash<QString, int> widths;
    for (const TableDef &t : catalogue()) {
        const QString name = t.fileStem + QStringLiteral(".dbf");
        const QString path = findFile(src, name);
        if (path.isEmpty())
            throw DbError(QStringLiteral("%1: файл не найден").arg(QDir::toNativeSeparators(src.absoluteFilePath(name))));
        auto f = std::make_unique<DbfFile>(path);
        f->readHeader();
        f->openMemo();
        for (const DbfField &fld : f->fields())
            for (const ColumnDef &c : t.columns)
                if (c.name == fld.name && (c.type == FieldType::Text) && fld.length > c.size)
                    widths.insert(t.name + QLatin1Char('.') + c.name, fld.length);
        files.push_back(std::move(f));
    }

    ImportResult result;
    buildDatabase(targetDir, [&](const QString &conn) {
        createSchema(conn, widths);
        QSqlDatabase db = QSqlDatabase::database(conn, false);
        int ti = 0;
        for (const TableDef &t : catalogue()) {
            DbfFile &f = *files[ti++];
            // Columns of the table that the file has, by name in any letter case.
            QVector<QPair<int, const DbfField *>> mapping;
            for (int ci = 0; ci < t.columns.size(); ++ci)
                for (const DbfField &fld : f.fields())
                    if (fld.name.compare(t.columns[ci].name, Qt::CaseInsensitive) == 0)
                        mapping.append({ci, &fld});
            int count = 0;
            if (!mapping.isEmpty()) {
                QStringList names, marks;
                for (const auto &m : mapping) {
                    names << t.columns[m.first].name;
                    marks << QStringLiteral("?");
                }
                QSqlQuery q(db);
                if (!q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(t.name, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))))
                    throw DbError(q.lastError().databaseText());
                for (quint32 r = 0; r < f.recordCount(); ++r) {
                    if (f.deleted(r))
                        continue;
                    for (int i = 0; i < mapping.size(); ++i)
                        q.bindValue(i, f.value(r, *mapping[i].second, t.columns[mapping[i].first]));
                    if (!q.exec())
                        f.refuse(QStringLiteral("запись %1 не записана: %2").arg(r + 1).arg(q.lastError().databaseText()));
                    ++count;
                }
            }
            result.counts.append({t.name, count});
        }
    });
    return result;
}

} // namespace zv::store
