#pragma once
// Writes small dBase tables (III, IV, level 7) with their .dbt memo files,
// the way an installation's tables look, for the import tests. Texts are
// encoded here independently of the importer's own tables.
#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>

#include <cstring>

struct DbfSpec {
    QString name;
    char type;
    int length;
    int decimals = 0;
};

inline QByteArray encodeCyrillic(const QString &s, int codePage)
{
    QByteArray out;
    for (QChar c : s) {
        const ushort u = c.unicode();
        if (u < 0x80)
            out += char(u);
        else if (codePage == 1251 && u >= 0x0410 && u <= 0x044F)
            out += char(0xC0 + (u - 0x0410));
        else if (codePage == 1251 && u == 0x0401)
            out += char(0xA8);
        else if (codePage == 1251 && u == 0x0451)
            out += char(0xB8);
        else if (codePage == 866 && u >= 0x0410 && u <= 0x043F)
            out += char(0x80 + (u - 0x0410));
        else if (codePage == 866 && u >= 0x0440 && u <= 0x044F)
            out += char(0xE0 + (u - 0x0440));
        else if (codePage == 866 && u == 0x0401)
            out += char(0xF0);
        else if (codePage == 866 && u == 0x0451)
            out += char(0xF1);
        else
            out += '?';
    }
    return out;
}

class DbfWriter {
public:
    // version: 0x03 dBase III, 0x83 dBase III with memo, 0x8B dBase IV with
    // memo, 0x04 / 0x8C level 7. driver: language-driver byte.
    DbfWriter(unsigned char version, unsigned char driver, int codePage)
        : m_version(version), m_driver(driver), m_codePage(codePage)
    {
        m_memo = QByteArray(512, '\0');
        putLe16(m_memo, 20, 512);
    }

    void addField(const QString &name, char type, int length, int decimals = 0)
    {
        m_fields.append({name, type, length, decimals});
    }
    const QList<DbfSpec> &fields() const { return m_fields; }

    // One value per field: QString for C, numbers for N/F/I/+/O, QDate for
    // D/@, bool for L, QString or QByteArray for M/B. An invalid QVariant
    // leaves the field blank.
    void addRecord(const QList<QVariant> &values, bool deleted = false)
    {
        QByteArray rec(1, deleted ? '*' : ' ');
        for (int i = 0; i < m_fields.size(); ++i)
            rec += encodeField(m_fields[i], i < values.size() ? values[i] : QVariant());
        m_records.append(rec);
    }
    // A record given byte by byte (for broken values).
    void addRawRecord(const QByteArray &rec) { m_records.append(rec); }

    bool level7() const { return (m_version & 0x07) == 4; }

    QByteArray dbf() const
    {
        const int descSize = level7() ? 48 : 32;
        const int start = level7() ? 68 : 32;
        const int headerLength = start + descSize * int(m_fields.size()) + 1;
        int recordLength = 1;
        for (const DbfSpec &f : m_fields)
            recordLength += f.length;
        QByteArray h(start, '\0');
        h[0] = char(m_version);
        h[1] = char(124);
        h[2] = 5;
        h[3] = 6;
        putLe32(h, 4, quint32(m_records.size()));
        putLe16(h, 8, quint16(headerLength));
        putLe16(h, 10, quint16(recordLength));
        h[29] = char(m_driver);
        for (const DbfSpec &f : m_fields) {
            QByteArray d(descSize, '\0');
            const QByteArray n = f.name.toLatin1();
            std::memcpy(d.data(), n.constData(), size_t(std::min<qsizetype>(n.size(), level7() ? 31 : 10)));
            d[level7() ? 32 : 11] = f.type;
            d[level7() ? 33 : 16] = char(f.length);
            d[level7() ? 34 : 17] = char(f.decimals);
            h += d;
        }
        h += char(0x0D);
        QByteArray out = h;
        for (const QByteArray &r : m_records)
            out += r;
        out += char(0x1A);
        return out;
    }
    QByteArray dbt() const { return m_memo; }
    bool hasMemo() const
    {
        for (const DbfSpec &f : m_fields)
            if (f.type == 'M' || f.type == 'B' || f.type == 'G')
                return true;
        return false;
    }

    void write(const QString &dbfPath) const
    {
        QFile f(dbfPath);
        f.open(QIODevice::WriteOnly);
        f.write(dbf());
        if (hasMemo()) {
            QString memoPath = dbfPath;
            memoPath.chop(4);
            QFile m(memoPath + (dbfPath.endsWith(QLatin1String(".DBF")) ? QStringLiteral(".DBT") : QStringLiteral(".dbt")));
            m.open(QIODevice::WriteOnly);
            m.write(dbt());
        }
    }

private:
    static void putLe16(QByteArray &b, int at, quint16 v)
    {
        b[at] = char(v & 0xFF);
        b[at + 1] = char(v >> 8);
    }
    static void putLe32(QByteArray &b, int at, quint32 v)
    {
        for (int i = 0; i < 4; ++i)
            b[at + i] = char((v >> (8 * i)) & 0xFF);
    }

    QByteArray pad(QByteArray b, int n, bool right) const
    {
        if (b.size() > n)
            b.truncate(n);
        const QByteArray fill(n - b.size(), ' ');
        return right ? fill + b : b + fill;
    }

    int storeMemo(const QByteArray &data)
    {
        const int block = int(m_memo.size() / 512);
        QByteArray chunk;
        if ((m_version & 0x07) == 3 && m_version != 0x8B) {
            chunk = data + "\x1A\x1A";
        } else {
            chunk = QByteArray("\xFF\xFF\x08\x00", 4);
            QByteArray len(4, '\0');
            putLe32(len, 0, quint32(data.size() + 8));
            chunk += len + data;
        }
        chunk += QByteArray((512 - chunk.size() % 512) % 512, '\0');
        m_memo += chunk;
        putLe32(m_memo, 0, quint32(m_memo.size() / 512));
        return block;
    }

    static QByteArray sortable(quint64 bits, bool negative)
    {
        bits = negative ? ~bits : (bits | 0x8000000000000000ull);
        QByteArray out(8, '\0');
        for (int i = 7; i >= 0; --i) {
            out[i] = char(bits & 0xFF);
            bits >>= 8;
        }
        return out;
    }

    QByteArray encodeField(const DbfSpec &f, const QVariant &v)
    {
        const bool blank = !v.isValid() || v.isNull();
        switch (f.type) {
        case 'C':
            return pad(blank ? QByteArray() : encodeCyrillic(v.toString(), m_codePage), f.length, false);
        case 'N':
        case 'F':
            if (blank)
                return QByteArray(f.length, ' ');
            if (v.typeId() == QMetaType::QString)
                return pad(v.toString().toLatin1(), f.length, true);
            return pad(QByteArray::number(v.toDouble(), 'f', f.decimals), f.length, true);
        case 'D':
            return blank ? QByteArray(8, ' ') : v.toDate().toString(QStringLiteral("yyyyMMdd")).toLatin1();
        case 'L':
            return QByteArray(1, blank ? '?' : (v.toBool() ? 'T' : 'F'));
        case 'I':
        case '+': {
            QByteArray out(4, '\0');
            const quint32 raw = quint32(qint32(v.toInt()));
            const quint32 enc = level7() ? (raw ^ 0x80000000u) : raw;
            for (int i = 0; i < 4; ++i)
                out[level7() ? 3 - i : i] = char((enc >> (8 * i)) & 0xFF);
            return out;
        }
        case 'O': {
            const double d = v.toDouble();
            quint64 bits;
            std::memcpy(&bits, &d, sizeof bits);
            return blank ? QByteArray(8, '\0') : sortable(bits, d < 0);
        }
        case '@': {
            if (blank)
                return QByteArray(8, '\0');
            const double ms = double(v.toDate().toJulianDay()) * 86400000.0;
            quint64 bits;
            std::memcpy(&bits, &ms, sizeof bits);
            return sortable(bits, false);
        }
        case 'M':
        case 'B':
        case 'G': {
            if (blank)
                return QByteArray(f.length, ' ');
            const QByteArray data = v.typeId() == QMetaType::QByteArray ? v.toByteArray()
                                                                         : encodeCyrillic(v.toString(), m_codePage);
            const int block = storeMemo(data);
            if (f.length == 4) {
                QByteArray out(4, '\0');
                putLe32(out, 0, quint32(block));
                return out;
            }
            return pad(QByteArray::number(block), f.length, true);
        }
        }
        return QByteArray(f.length, ' ');
    }

    unsigned char m_version;
    unsigned char m_driver;
    int m_codePage;
    QList<DbfSpec> m_fields;
    QList<QByteArray> m_records;
    QByteArray m_memo;
};
