// Import of an installation's dBase tables, with fixtures written here.
#include "storefixture.h"

#include "dbfimport.h"
#include "dbfwriter.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImage>

using namespace zv::store;

namespace {

// A dBase field for a catalogue column.
DbfSpec specFor(const ColumnDef &c)
{
    switch (c.type) {
    case FieldType::Integer:
        return {c.name, 'N', 10, 0};
    case FieldType::Float:
        return {c.name, 'N', 12, 3};
    case FieldType::Date:
        return {c.name, 'D', 8};
    case FieldType::Time:
        return {c.name, 'C', 8};
    case FieldType::Blob:
        return {c.name, 'B', 10};
    default:
        return {c.name, 'C', std::max(c.size, 1)};
    }
}

QByteArray bitmap()
{
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(Qt::green);
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "BMP");
    return bytes;
}

const QByteArray &picture()
{
    static const QByteArray p = bitmap();
    return p;
}

// Writes the 27 tables of an installation into dir. Most are empty; a few
// carry rows in the different formats and code pages the importer meets.
void writeInstallation(const QString &dir)
{
    QDir().mkpath(dir);
    for (const TableDef &t : catalogue()) {
        if (t.name == QLatin1String("EVENJRN")) {
            // dBase IV with memo, upper-case file name, a picture and a memo text.
            DbfWriter w(0x8B, 0xC9, 1251);
            for (const ColumnDef &c : t.columns) {
                if (c.name == QLatin1String("COMMENT"))
                    w.addField(c.name, 'M', 10);
                else if (c.name == QLatin1String("ID_DOCUMEN"))
                    w.addField(c.name, 'N', 10);
                else {
                    const DbfSpec s = specFor(c);
                    w.addField(s.name, s.type, s.length, s.decimals);
                }
            }
            w.addField(QStringLiteral("EXTRA"), 'C', 5); // not in the catalogue: ignored
            const auto row = [&](int id, QDate date, const char *time, const char *weight, const QVariant &comment,
                                 const QVariant &pic, int doc, bool deleted = false) {
                QList<QVariant> v;
                for (const ColumnDef &c : t.columns) {
                    const QString n = c.name;
                    if (n == QLatin1String("ID_RECORD")) v << id;
                    else if (n == QLatin1String("DATE_EVEN")) v << date;
                    else if (n == QLatin1String("TIME_EVEN")) v << QString::fromLatin1(time);
                    else if (n == QLatin1String("WCARGO")) v << QString::fromLatin1(weight);
                    else if (n == QLatin1String("COMMENT")) v << comment;
                    else if (n == QLatin1String("PICTURECAR")) v << pic;
                    else if (n == QLatin1String("ID_DOCUMEN")) v << doc;
                    else if (n == QLatin1String("MODE_EN_DP")) v << 0;
                    else if (n == QLatin1String("ID_TRANSP")) v << 1;
                    else if (n == QLatin1String("ID_DRIVER")) v << 1;
                    else if (n == QLatin1String("RESFIELD_2")) v << 0;
                    else v << QVariant();
                }
                v << QStringLiteral("x");
                w.addRecord(v, deleted);
            };
            row(1, QDate(2009, 12, 31), "9:05:00", "12500.5", QStringLiteral("Перевес на второй оси"), picture(), 1);
            row(2, QDate(2010, 1, 1), "23:59:59", "0", QVariant(), QVariant(), 2, true);
            row(3, QDate(2010, 1, 2), "07:00:00", "8000", QStringLiteral("ёлка"), QVariant(), 3);
            w.write(dir + QStringLiteral("/EVENJRN.DBF"));
        } else if (t.name == QLatin1String("DRIVER")) {
            // DOS code page, lower-case field names.
            DbfWriter w(0x03, 0x65, 866);
            for (const ColumnDef &c : t.columns) {
                const DbfSpec s = specFor(c);
                w.addField(s.name.toLower(), s.type, s.length, s.decimals);
            }
            w.addRecord({1, QStringLiteral("Иванов"), QStringLiteral("Пётр"), QStringLiteral("Ильич")});
            w.addRecord({2, QStringLiteral("Ахмедов"), QStringLiteral("Рустам"), QVariant()});
            w.write(dir + QStringLiteral("/Driver.dbf"));
        } else if (t.name == QLatin1String("DOCUMENT")) {
            // Level 7: auto-increment, binary double and timestamp fields.
            DbfWriter w(0x04, 0x00, 1251);
            for (const ColumnDef &c : t.columns) {
                if (c.name == QLatin1String("ID_DOCUMEN"))
                    w.addField(c.name, '+', 4);
                else if (c.name == QLatin1String("PRICE"))
                    w.addField(c.name, 'O', 8);
                else if (c.name == QLatin1String("DATE_DOC"))
                    w.addField(c.name, '@', 8);
                else if (c.name == QLatin1String("KOLVO"))
                    w.addField(c.name, 'I', 4);
                else {
                    const DbfSpec s = specFor(c);
                    w.addField(s.name, s.type, s.length, s.decimals);
                }
            }
            QList<QVariant> v;
            for (const ColumnDef &c : t.columns) {
                const QString n = c.name;
                if (n == QLatin1String("ID_DOCUMEN")) v << 3;
                else if (n == QLatin1String("PRICE")) v << -1234.25;
                else if (n == QLatin1String("DATE_DOC")) v << QDate(2010, 1, 2);
                else if (n == QLatin1String("KOLVO")) v << 40;
                else if (n == QLatin1String("NAME_PRODU")) v << QStringLiteral("Щебень");
                else if (n == QLatin1String("TIME_DOC")) v << QStringLiteral("7:00:00");
                else v << QVariant();
            }
            w.addRecord(v);
            w.write(dir + QStringLiteral("/Document.dbf"));
        } else if (t.name == QLatin1String("CARGO")) {
            // A name wider than the catalogue's width keeps its full length.
            DbfWriter w(0x03, 0xC9, 1251);
            w.addField(QStringLiteral("ID_CARGO"), 'N', 10);
            w.addField(QStringLiteral("NAMECARGO"), 'C', 254);
            w.addField(QStringLiteral("CODCARGO"), 'C', 30);
            w.addRecord({7, QString(200, QChar(u'Щ')), QStringLiteral("00-07")});
            w.write(dir + QStringLiteral("/cargo.DBF"));
        } else if (t.name == QLatin1String("MODEL")) {
            // The generic ANSI driver of a Russian installation.
            DbfWriter w(0x03, 0x57, 1251);
            for (const ColumnDef &c : t.columns) {
                const DbfSpec s = specFor(c);
                w.addField(s.name, s.type, s.length, s.decimals);
            }
            w.addRecord({1, QStringLiteral("КАМАЗ"), 10300.5, QVariant()});
            w.write(dir + QStringLiteral("/Model.dbf"));
        } else {
            DbfWriter w(0x03, 0xC9, 1251);
            for (const ColumnDef &c : t.columns) {
                const DbfSpec s = specFor(c);
                w.addField(s.name, s.type, s.length, s.decimals);
            }
            w.write(dir + QLatin1Char('/') + t.fileStem + QStringLiteral(".dbf"));
        }
    }
}

QStringList filesIn(const QString &dir)
{
    QStringList names;
    for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        names << it.next();
    return names;
}

QString fileIn(const QString &dir, const QString &name)
{
    for (const QString &e : QDir(dir).entryList(QDir::Files))
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return dir + QLatin1Char('/') + e;
    return {};
}

} // namespace

class ImportTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        TBVDMod1::instance().closeAll();
        Database::setDirectory(QString());
    }
    QTemporaryDir tmp;
};

TEST_F(ImportTest, RoundTripKeepsValuesAndCountsRows)
{
    const QString src = tmp.path() + QStringLiteral("/dbf");
    const QString target = tmp.path() + QStringLiteral("/db");
    writeInstallation(src);
    const ImportResult r = importDbfDirectory(src, target);

    ASSERT_EQ(r.counts.size(), catalogue().size());
    QHash<QString, int> counts;
    for (const auto &c : r.counts)
        counts.insert(c.first, c.second);
    EXPECT_EQ(counts.value(QStringLiteral("EVENJRN")), 2); // the deleted record is skipped
    EXPECT_EQ(counts.value(QStringLiteral("DRIVER")), 2);
    EXPECT_EQ(counts.value(QStringLiteral("DOCUMENT")), 1);
    EXPECT_EQ(counts.value(QStringLiteral("USERS")), 0);

    Database::setDirectory(target);
    auto &m = TBVDMod1::instance();
    Dataset &ev = m.BVTEvenJrn;
    ev.open();
    ASSERT_TRUE(ev.locate(QStringLiteral("ID_RECORD"), 1));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("DATE_EVEN")).asDate(), QDate(2009, 12, 31));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("TIME_EVEN")).asString(), QStringLiteral("09:05:00"));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("WCARGO")).asString(), QStringLiteral("12500.5"));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("COMMENT")).asString(), QStringLiteral("Перевес на второй оси"));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("PICTURECAR")).asBytes(), picture());
    EXPECT_EQ(ev.fieldByName(QStringLiteral("ID_DOCUMEN")).asInteger(), 1);
    EXPECT_EQ(ev.fieldByName(QStringLiteral("ID_CARGO")).asInteger(), 0);
    EXPECT_FALSE(ev.locate(QStringLiteral("ID_RECORD"), 2));
    ASSERT_TRUE(ev.locate(QStringLiteral("ID_RECORD"), 3));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("COMMENT")).asString(), QStringLiteral("ёлка"));
    EXPECT_TRUE(ev.fieldByName(QStringLiteral("PICTURECAR")).isNull());

    // New journal rows get document numbers above the imported ones.
    ev.append();
    ev.fieldByName(QStringLiteral("ID_RECORD")).setInteger(4);
    ev.post();
    EXPECT_EQ(ev.fieldByName(QStringLiteral("ID_DOCUMEN")).asInteger(), 4);

    m.BVQDriver.open();
    QStringList names;
    for (; !m.BVQDriver.eof(); m.BVQDriver.next())
        names << m.BVQDriver.fieldByName(QStringLiteral("FIO_D")).asString();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Ахмедов Рустам "), QStringLiteral("Иванов Пётр Ильич")}));

    m.BVQDocEv.setParam(QStringLiteral("IN_ID_DOCUMENT"), 3);
    m.BVQDocEv.open();
    EXPECT_EQ(m.BVQDocEv.fieldByName(QStringLiteral("NAME_PRODU")).asString(), QStringLiteral("Щебень"));
    EXPECT_DOUBLE_EQ(m.BVQDocEv.fieldByName(QStringLiteral("PRICE")).asFloat(), -1234.25);
    EXPECT_EQ(m.BVQDocEv.fieldByName(QStringLiteral("DATE_DOC")).asDate(), QDate(2010, 1, 2));
    EXPECT_EQ(m.BVQDocEv.fieldByName(QStringLiteral("TIME_DOC")).asString(), QStringLiteral("07:00:00"));
    EXPECT_EQ(m.BVQDocEv.fieldByName(QStringLiteral("KOLVO")).asInteger(), 40);

    m.BVTCargo.open();
    EXPECT_EQ(m.BVTCargo.fieldByName(QStringLiteral("NAMECARGO")).asString(), QString(200, QChar(u'Щ')));
    m.BVTModel.open();
    EXPECT_EQ(m.BVTModel.fieldByName(QStringLiteral("NAMEMODEL")).asString(), QStringLiteral("КАМАЗ"));
    EXPECT_DOUBLE_EQ(m.BVTModel.fieldByName(QStringLiteral("W_EMPTYMOD")).asFloat(), 10300.5);
    EXPECT_TRUE(m.BVTModel.fieldByName(QStringLiteral("MAXW_MODEL")).isNull());
}

// A missing or malformed file is refused with its name and the fault, and
// the target directory gets no database.
TEST_F(ImportTest, BrokenFilesAreRefusedAndLeaveTargetUntouched)
{
    struct Case {
        const char *name;
        const char *file; // file the message must name
        std::function<void(const QString &src)> breakIt;
        const char *fault; // part of the message
    };
    const auto patch = [](const QString &path, const std::function<void(QByteArray &)> &change) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray b = f.readAll();
        f.close();
        change(b);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(b);
    };
    const Case cases[] = {
        {"missing file", "Cargo.dbf", [](const QString &s) { QFile::remove(fileIn(s, QStringLiteral("cargo.dbf"))); },
         "не найден"},
        {"truncated records", "EVENJRN.DBF",
         [&](const QString &s) { patch(fileIn(s, QStringLiteral("evenjrn.dbf")), [](QByteArray &b) { b.chop(40); }); },
         "обрезан"},
        {"unknown version", "Model.dbf",
         [&](const QString &s) { patch(fileIn(s, QStringLiteral("model.dbf")), [](QByteArray &b) { b[0] = 0x02; }); },
         "0x02"},
        {"not a dBase file", "Users.dbf",
         [&](const QString &s) { patch(fileIn(s, QStringLiteral("users.dbf")), [](QByteArray &b) { b = "hello"; }); },
         "заголов"},
        {"missing memo file", "EVENJRN.DBF",
         [](const QString &s) { QFile::remove(fileIn(s, QStringLiteral("evenjrn.dbt"))); }, ".dbt"},
        {"memo block outside the memo file", "EVENJRN.DBF",
         [&](const QString &s) {
             patch(fileIn(s, QStringLiteral("evenjrn.dbt")), [](QByteArray &b) { b.truncate(512); });
         },
         "блок"},
        {"bad date", "Model.dbf",
         [&](const QString &s) {
             DbfWriter w(0x03, 0xC9, 1251);
             w.addField(QStringLiteral("ID_MODEL"), 'N', 10);
             w.addField(QStringLiteral("W_EMPTYMOD"), 'D', 8);
             w.addRawRecord(QByteArray(" ") + QByteArray("         1") + QByteArray("20241341"));
             w.write(fileIn(s, QStringLiteral("model.dbf")));
         },
         "20241341"},
        {"letters in a number", "Driver.dbf",
         [&](const QString &s) {
             DbfWriter w(0x03, 0xC9, 1251);
             w.addField(QStringLiteral("ID_DRIVER"), 'N', 10);
             w.addRecord({QStringLiteral("12a")});
             w.write(fileIn(s, QStringLiteral("driver.dbf")));
         },
         "12a"},
        {"record length disagrees with fields", "Post.dbf",
         [&](const QString &s) {
             patch(fileIn(s, QStringLiteral("post.dbf")), [](QByteArray &b) { b[10] = char(uchar(b[10]) + 1); });
         },
         "длина записи"},
    };
    for (const Case &c : cases) {
        QTemporaryDir run;
        const QString src = run.path() + QStringLiteral("/dbf");
        const QString target = run.path() + QStringLiteral("/db");
        writeInstallation(src);
        QDir().mkpath(target);
        QFile keep(target + QStringLiteral("/note.txt"));
        ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
        keep.write("kept");
        keep.close();
        c.breakIt(src);
        try {
            importDbfDirectory(src, target);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(c.file), Qt::CaseInsensitive))
                << c.name << ": " << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fault))) << c.name << ": " << e.what();
        }
        EXPECT_EQ(filesIn(target), QStringList{target + QStringLiteral("/note.txt")}) << c.name;
    }
}

TEST_F(ImportTest, ExistingDatabaseIsNotOverwritten)
{
    const QString src = tmp.path() + QStringLiteral("/dbf");
    const QString target = tmp.path() + QStringLiteral("/db");
    writeInstallation(src);
    createDatabase(target);
    QFile f(target + QStringLiteral("/zv.db"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    EXPECT_THROW(importDbfDirectory(src, target), DbError);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}
