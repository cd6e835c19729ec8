// Table and query components over real SQLite files.
#include "storefixture.h"

#include <QFile>
#include <QImage>

using namespace zv::store;

namespace {

Dataset driverTable()
{
    return Dataset(Dataset::Kind::Table, QStringLiteral("t"), QStringLiteral("driver"));
}

void addDriver(Dataset &t, int id, const QString &last, const QString &first = QString(),
               const QString &patr = QString())
{
    t.append();
    t.fieldByName(QStringLiteral("ID_DRIVER")).setInteger(id);
    t.fieldByName(QStringLiteral("LastN_Driv")).setString(last);
    t.fieldByName(QStringLiteral("FIRSN_DRIV")).setString(first);
    t.fieldByName(QStringLiteral("patr_driv")).setString(patr);
    t.post();
}

QList<qint64> idsInOrder(Dataset &t)
{
    QList<qint64> ids;
    for (t.first(); !t.eof(); t.next())
        ids << t.field(0).asInteger();
    return ids;
}

} // namespace

class DatasetTest : public StoreTest {};

TEST_F(DatasetTest, EmptyTableIsEmptyAtBothEnds)
{
    Dataset t(Dataset::Kind::Table, QStringLiteral("t"), QStringLiteral("DRIVER"));
    t.open();
    EXPECT_TRUE(t.active());
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_TRUE(t.field(1).asString().isEmpty());
    EXPECT_EQ(t.firstColumnName(), QStringLiteral("ID_DRIVER"));
    t.next();
    EXPECT_TRUE(t.eof());
}

// Rows come back in the order of arrival, across the pages the component
// reads, and a row deleted ahead of the cursor by another statement is not
// visited.
TEST_F(DatasetTest, WalksRowsAcrossPagesAndSeesChangesAhead)
{
    Dataset t = driverTable();
    t.open();
    for (int i = 1; i <= 150; ++i)
        addDriver(t, i, QStringLiteral("Фамилия%1").arg(i));
    EXPECT_EQ(t.recordCount(), 150);

    t.first();
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.field(0).asInteger(), 1);
    t.next();
    sql(QStringLiteral("DELETE FROM DRIVER WHERE ID_DRIVER = 3"));
    QList<qint64> seen{1, 2};
    for (t.next(); !t.eof(); t.next())
        seen << t.field(0).asInteger();
    QList<qint64> expected;
    for (int i = 1; i <= 150; ++i)
        if (i != 3)
            expected << i;
    EXPECT_EQ(seen, expected);
    // The cursor stays on the last row once eof is reached.
    EXPECT_EQ(t.field(0).asInteger(), 150);

    t.last();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.field(0).asInteger(), 150);
    t.prior();
    EXPECT_EQ(t.field(0).asInteger(), 149);
    t.first();
    t.prior();
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.field(0).asInteger(), 1);
}

TEST_F(DatasetTest, LocateExactAndCaseInsensitivePrefix)
{
    Dataset t = driverTable();
    t.open();
    addDriver(t, 1, QStringLiteral("Петров"), QStringLiteral("Пётр"));
    addDriver(t, 2, QStringLiteral("Иванов"), QStringLiteral("Иван"));
    addDriver(t, 7, QStringLiteral("иванова"), QStringLiteral("Мария"));

    struct Case {
        const char *field;
        QVariant value;
        LocateMode mode;
        int expectId; // 0: not found, cursor stays
    };
    const Case cases[] = {
        {"ID_DRIVER", 7, LocateMode::Exact, 7},
        {"id_driver", QStringLiteral("2"), LocateMode::Exact, 2},
        {"ID_DRIVER", 5, LocateMode::Exact, 0},
        {"ID_DRIVER", QStringLiteral("abc"), LocateMode::Exact, 0},
        {"LASTN_DRIV", QStringLiteral("Иванов"), LocateMode::Exact, 2},
        {"LASTN_DRIV", QStringLiteral("иванов"), LocateMode::Exact, 0},
        {"LASTN_DRIV", QStringLiteral("ИВАН"), LocateMode::CaseInsensitivePrefix, 2},
        {"LastN_Driv", QStringLiteral("иванова"), LocateMode::CaseInsensitivePrefix, 7},
        {"LASTN_DRIV", QStringLiteral("Сидор"), LocateMode::CaseInsensitivePrefix, 0},
    };
    for (const Case &c : cases) {
        t.first(); // on row 1
        const bool found = t.locate(QString::fromLatin1(c.field), c.value, c.mode);
        EXPECT_EQ(found, c.expectId != 0) << c.field << " " << c.value.toString().toStdString();
        EXPECT_EQ(t.field(0).asInteger(), c.expectId ? c.expectId : 1) << c.field;
    }
    EXPECT_THROW(t.locate(QStringLiteral("NO_SUCH"), 1), DbError);

    // After a locate the walk goes on from the row found.
    ASSERT_TRUE(t.locate(QStringLiteral("ID_DRIVER"), 2));
    t.next();
    EXPECT_EQ(t.field(0).asInteger(), 7);
}

TEST_F(DatasetTest, FieldsByNameAndPositionWithConversions)
{
    Dataset ev(Dataset::Kind::Table, QStringLiteral("ev"), QStringLiteral("EvenJrn"));
    ev.open();
    ev.append();
    ev.fieldByName(QStringLiteral("id_record")).setInteger(1);
    ev.fieldByName(QStringLiteral("DATE_EVEN")).setDate(QDate(2024, 3, 9));
    ev.fieldByName(QStringLiteral("TIME_EVEN")).setString(QStringLiteral("9:05:07"));
    ev.fieldByName(QStringLiteral("WCARGO")).setString(QStringLiteral("12345.50"));
    ev.fieldByName(QStringLiteral("COMMENT")).setString(QString(300, QChar(u'Ж')));
    ev.post();

    EXPECT_EQ(ev.field(0).name(), QStringLiteral("ID_RECORD"));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("Date_Even")).asDate(), QDate(2024, 3, 9));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("DATE_EVEN")).asString(), QStringLiteral("09.03.2024"));
    EXPECT_EQ(ev.fieldByName(QStringLiteral("TIME_EVEN")).asString(), QStringLiteral("09:05:07"));
    EXPECT_DOUBLE_EQ(ev.fieldByName(QStringLiteral("WCARGO")).asFloat(), 12345.5);
    EXPECT_EQ(ev.fieldByName(QStringLiteral("WCARGO")).asString(), QStringLiteral("12345.50"));
    const Field comment = ev.fieldByName(QStringLiteral("COMMENT"));
    EXPECT_EQ(comment.asString(), QString(comment.size(), QChar(u'Ж')));
    EXPECT_GT(comment.size(), 0);
    // Unwritten fields: texts empty (not NULL in the table), numbers without a value.
    EXPECT_EQ(ev.fieldByName(QStringLiteral("PROPCARGO")).asString(), QString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM EVENJRN WHERE PROPCARGO IS NULL")).toInt(), 0);
    EXPECT_TRUE(ev.fieldByName(QStringLiteral("ID_CARGO")).isNull());
    EXPECT_EQ(ev.fieldByName(QStringLiteral("ID_CARGO")).asInteger(), 0);
    EXPECT_THROW(ev.fieldByName(QStringLiteral("NO_FIELD")), DbError);
    EXPECT_THROW(ev.field(99), DbError);

    // A weight text with a comma is not a number; a letter is not an integer.
    ev.edit();
    ev.fieldByName(QStringLiteral("WCARGO")).setString(QStringLiteral("12,5"));
    EXPECT_THROW(ev.fieldByName(QStringLiteral("WCARGO")).asFloat(), ConvertError);
    EXPECT_THROW(ev.fieldByName(QStringLiteral("ID_CARGO")).setString(QStringLiteral("x1")), ConvertError);
    EXPECT_THROW(ev.fieldByName(QStringLiteral("DATE_EVEN")).setString(QStringLiteral("31.02.2024")), ConvertError);
    ev.cancel();
    EXPECT_EQ(ev.fieldByName(QStringLiteral("WCARGO")).asString(), QStringLiteral("12345.50"));
    // Writing outside edit or insert is refused.
    EXPECT_THROW(ev.fieldByName(QStringLiteral("WCARGO")).setString(QStringLiteral("1")), DbError);
}

TEST_F(DatasetTest, EditPostChangesOnlyThatRowAndCancelKeepsIt)
{
    Dataset t = driverTable();
    t.open();
    addDriver(t, 1, QStringLiteral("Один"));
    addDriver(t, 2, QStringLiteral("Два"));
    ASSERT_TRUE(t.locate(QStringLiteral("ID_DRIVER"), 1));
    t.edit();
    t.fieldByName(QStringLiteral("LASTN_DRIV")).setString(QStringLiteral("Первый"));
    t.post();
    t.edit();
    t.fieldByName(QStringLiteral("LASTN_DRIV")).setString(QStringLiteral("Отменённый"));
    t.cancel();
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(LASTN_DRIV, ',') FROM DRIVER")).toString(),
              QStringLiteral("Первый,Два"));
    // A pending change is stored by moving on, as the grids expect.
    t.edit();
    t.fieldByName(QStringLiteral("LASTN_DRIV")).setString(QStringLiteral("Перв"));
    t.next();
    EXPECT_EQ(scalar(QStringLiteral("SELECT LASTN_DRIV FROM DRIVER WHERE ID_DRIVER=1")).toString(),
              QStringLiteral("Перв"));
    // Closing drops it.
    t.edit();
    t.fieldByName(QStringLiteral("LASTN_DRIV")).setString(QStringLiteral("Никогда"));
    t.close();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM DRIVER WHERE LASTN_DRIV='Никогда'")).toInt(), 0);
}

// An insert or change that the engine refuses leaves nothing behind, and a
// later operation on the same component does not store it either.
TEST_F(DatasetTest, RefusedStoreLeavesNoHalfRow)
{
    sql(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON DRIVER WHEN NEW.LASTN_DRIV = 'BAD' "
                       "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    sql(QStringLiteral("CREATE TRIGGER refuse_upd BEFORE UPDATE ON DRIVER WHEN NEW.LASTN_DRIV = 'BAD' "
                       "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    Dataset t = driverTable();
    t.open();
    addDriver(t, 1, QStringLiteral("Хороший"));

    t.append();
    t.fieldByName(QStringLiteral("ID_DRIVER")).setInteger(2);
    t.fieldByName(QStringLiteral("LASTN_DRIV")).setString(QStringLiteral("BAD"));
    try {
        t.post();
        FAIL() << "post must fail";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("refused by the test")));
    }
    EXPECT_EQ(t.state(), Dataset::State::Browse);
    t.first();
    t.next();
    t.close();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM DRIVER")).toInt(), 1);

    t.open();
    t.edit();
    t.fieldByName(QStringLiteral("LASTN_DRIV")).setString(QStringLiteral("BAD"));
    EXPECT_THROW(t.post(), DbError);
    t.next();
    EXPECT_EQ(scalar(QStringLiteral("SELECT LASTN_DRIV FROM DRIVER")).toString(), QStringLiteral("Хороший"));
}

TEST_F(DatasetTest, RemoveMovesToNextThenPriorRow)
{
    Dataset t = driverTable();
    t.open();
    for (int i = 1; i <= 3; ++i)
        addDriver(t, i, QStringLiteral("N%1").arg(i));
    ASSERT_TRUE(t.locate(QStringLiteral("ID_DRIVER"), 2));
    t.remove();
    EXPECT_EQ(t.field(0).asInteger(), 3);
    t.remove();
    EXPECT_EQ(t.field(0).asInteger(), 1);
    t.remove();
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.eof());
    EXPECT_THROW(t.remove(), DbError);
    EXPECT_EQ(idsInOrder(t), QList<qint64>());
}

TEST_F(DatasetTest, PictureRoundTripAsBitmap)
{
    QImage img(16, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    img.setPixel(3, 4, qRgb(0, 0, 255));
    Dataset ev(Dataset::Kind::Table, QStringLiteral("ev"), QStringLiteral("EVENJRN"));
    ev.open();
    ev.append();
    ev.fieldByName(QStringLiteral("ID_RECORD")).setInteger(1);
    ev.setPicture(QStringLiteral("picturecar"), img);
    ev.post();
    ev.close();
    ev.open();
    const QByteArray bytes = ev.fieldByName(QStringLiteral("PICTURECAR")).asBytes();
    EXPECT_TRUE(bytes.startsWith("BM"));
    const QImage back = ev.picture(QStringLiteral("PICTURECAR"));
    ASSERT_EQ(back.size(), img.size());
    EXPECT_EQ(back.pixel(3, 4), img.pixel(3, 4));
    EXPECT_EQ(back.pixel(0, 0), img.pixel(0, 0));
}

// The engine numbers ID_DOCUMEN of every new journal row above every number
// held by a journal row or a document.
TEST_F(DatasetTest, DocumentNumberOfNewJournalRows)
{
    Dataset ev(Dataset::Kind::Table, QStringLiteral("ev"), QStringLiteral("EVENJRN"));
    ev.open();
    auto addEvent = [&](int id) {
        ev.append();
        ev.fieldByName(QStringLiteral("ID_RECORD")).setInteger(id);
        ev.post();
        return ev.fieldByName(QStringLiteral("ID_DOCUMEN")).asInteger();
    };
    EXPECT_EQ(addEvent(1), 1);
    EXPECT_EQ(addEvent(2), 2);
    sql(QStringLiteral("INSERT INTO DOCUMENT (ID_DOCUMEN) VALUES (10)"));
    EXPECT_EQ(addEvent(3), 11);
    // The row with the greatest number goes; its document stays and keeps its number.
    sql(QStringLiteral("INSERT INTO DOCUMENT (ID_DOCUMEN) VALUES (11)"));
    ASSERT_TRUE(ev.locate(QStringLiteral("ID_RECORD"), 3));
    ev.remove();
    EXPECT_EQ(addEvent(4), 12);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(DISTINCT ID_DOCUMEN) FROM EVENJRN")).toInt(),
              scalar(QStringLiteral("SELECT COUNT(*) FROM EVENJRN")).toInt());
}

TEST_F(DatasetTest, QueryParametersTypedNamedAndNull)
{
    sql(QStringLiteral("INSERT INTO EVENJRN (ID_RECORD, DATE_EVEN, TIME_EVEN, ID_TRANSP) VALUES "
                       "(1,'2024-01-31','10:00:00',5), (2,'2024-02-01','09:00:00',5), "
                       "(3,'2024-02-01','08:00:00',6), (4,'2023-12-31','23:00:00',5)"));
    Dataset q(Dataset::Kind::Query, QStringLiteral("q"));
    q.sql().add(QStringLiteral("select ID_RECORD from EVENJRN"));
    q.sql().add(QStringLiteral("where DATE_EVEN = :in_date and (ID_TRANSP = :IN_T or :IN_T is null)"));
    q.sql().add(QStringLiteral("order by DATE_EVEN, TIME_EVEN"));
    q.declareParam(QStringLiteral("IN_DATE"), ParamType::Date);
    q.declareParam(QStringLiteral("IN_T"), ParamType::Integer);

    struct Case {
        QVariant date;
        QVariant transp;
        QList<qint64> ids;
    };
    const Case cases[] = {
        {QDate(2024, 2, 1), QVariant(), {3, 2}},
        {QDate(2024, 2, 1), 5, {2}},
        {QStringLiteral("01.02.2024"), QStringLiteral("6"), {3}},
        {QVariant(), QVariant(), {}},        // no date: NULL matches nothing
        {QDate(), QVariant(), {}},           // invalid date is NULL too
        {QDate(2023, 12, 31), QVariant(), {4}},
    };
    for (const Case &c : cases) {
        q.close();
        q.clearParamValues();
        q.setParam(QStringLiteral("In_Date"), c.date);
        q.setParam(QStringLiteral("IN_T"), c.transp);
        q.open();
        QList<qint64> ids;
        for (; !q.eof(); q.next())
            ids << q.field(0).asInteger();
        EXPECT_EQ(ids, c.ids) << c.date.toString().toStdString();
        EXPECT_EQ(q.recordCount(), c.ids.size());
    }
    EXPECT_THROW(q.setParam(QStringLiteral("IN_T"), QStringLiteral("x")), ConvertError);
}

TEST_F(DatasetTest, StatementsAndRefusedTexts)
{
    sql(QStringLiteral("INSERT INTO MEMD (F1, F2) VALUES ('1', '100'), ('2', '200')"));
    Dataset q(Dataset::Kind::Query, QStringLiteral("q"));
    q.sql().add(QStringLiteral("DELETE FROM MemD"));
    EXPECT_THROW(q.open(), DbError); // a statement has no result to open
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM MEMD")).toInt(), 2);
    EXPECT_EQ(q.execSql(), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM MEMD")).toInt(), 0);

    q.sql().clear();
    q.sql().add(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));
    try {
        q.open();
        FAIL();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NO_SUCH_TABLE"), Qt::CaseInsensitive));
    }
    EXPECT_FALSE(q.active());
    Dataset t(Dataset::Kind::Table, QStringLiteral("t"), QStringLiteral("NO_SUCH_TABLE"));
    EXPECT_THROW(t.open(), DbError);
    EXPECT_FALSE(t.active());
}

// Result columns that share a name: the first keeps it, later ones get _1, _2 ...
TEST_F(DatasetTest, DuplicateColumnNamesNumbered)
{
    sql(QStringLiteral("INSERT INTO OWNER (ID_OWNER, BANK) VALUES (1, 'Банк1')"));
    sql(QStringLiteral("INSERT INTO POKUP (ID_POKUP, BANK) VALUES (1, 'Банк2')"));
    sql(QStringLiteral("INSERT INTO POST (ID_POST, BANK) VALUES (1, 'Банк3')"));
    Dataset q(Dataset::Kind::Query, QStringLiteral("q"));
    q.sql().add(QStringLiteral("select o.*, p.*, s.* from (OWNER o left join POKUP p on p.ID_POKUP = o.ID_OWNER)"));
    q.sql().add(QStringLiteral("left join POST s on s.ID_POST = o.ID_OWNER"));
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("BANK")).asString(), QStringLiteral("Банк1"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("bank_1")).asString(), QStringLiteral("Банк2"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("BANK_2")).asString(), QStringLiteral("Банк3"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("INN_2")).asString(), QString());
    EXPECT_EQ(q.fieldIndex(QStringLiteral("BANK_3")), -1);
}

// Dates compare and sort as dates, also against a dd.mm.yyyy literal typed
// into a condition; weight texts compare as numbers; names written with the
// table's name work where the text gives the table an alias.
TEST_F(DatasetTest, DialectDatesWeightsAndTableNames)
{
    sql(QStringLiteral("INSERT INTO EVENJRN (ID_RECORD, DATE_EVEN, TIME_EVEN, WCARGO) VALUES "
                       "(1,'2008-02-01','10:00:00','950'), (2,'2008-01-15','09:00:00','12000.5'), "
                       "(3,'2009-01-01','08:00:00','1000'), (4,'2007-12-31','23:59:59','99')"));
    sql(QStringLiteral("INSERT INTO EVENJRN (ID_RECORD, DATE_EVEN, TIME_EVEN, WCARGO, COMMENT) VALUES "
                       "(5,'2010-06-01','08:00:00','5','01.02.2008')"));
    struct Case {
        const char *where;
        QList<qint64> ids;
    };
    const Case cases[] = {
        {"EVENJRN.DATE_EVEN = '01.02.2008'", {1}},
        {"EVENJRN.DATE_EVEN BETWEEN '01.01.2008' AND '31.12.2008'", {2, 1}},
        {"EJ.DATE_EVEN > '2008-01-31'", {1, 3, 5}},
        {"EVENJRN.DATE_EVEN <> '1.2.2008'", {4, 2, 3, 5}},
        {"EVENJRN.COMMENT = '01.02.2008'", {5}}, // a text keeps its literal
        {"evenjrn.WCARGO > 999", {2, 3}},
        {"EVENJRN.WCARGO BETWEEN  100  AND  1000", {1, 3}},
        {"EVENJRN.WCARGO = '1000'", {3}},
        {"EVENJRN.COMMENT = 'EVENJRN.DATE_EVEN'", {}},
    };
    for (const Case &c : cases) {
        Dataset q(Dataset::Kind::Query, QStringLiteral("q"));
        q.sql().add(QStringLiteral("SELECT EJ.* FROM ((EVENJRN EJ"));
        q.sql().add(QStringLiteral("LEFT JOIN CARGO C ON C.ID_CARGO=EJ.ID_CARGO)"));
        q.sql().add(QStringLiteral("LEFT JOIN DRIVER D ON D.ID_DRIVER=EJ.ID_DRIVER)"));
        q.sql().add(QStringLiteral(" where ") + QString::fromLatin1(c.where));
        q.sql().add(QStringLiteral("ORDER BY DATE_EVEN, TIME_EVEN"));
        q.open();
        QList<qint64> ids;
        for (; !q.eof(); q.next())
            ids << q.field(0).asInteger();
        EXPECT_EQ(ids, c.ids) << c.where;
    }
    Dataset all(Dataset::Kind::Query, QStringLiteral("q"));
    all.sql().add(QStringLiteral("SELECT ID_RECORD FROM EVENJRN ORDER BY DATE_EVEN DESC"));
    all.open();
    QList<qint64> ids;
    for (; !all.eof(); all.next())
        ids << all.field(0).asInteger();
    EXPECT_EQ(ids, (QList<qint64>{5, 3, 1, 2, 4}));
}

TEST_F(DatasetTest, QueryCursorAndLocate)
{
    sql(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
                       "INSERT INTO CARGO (ID_CARGO, NAMECARGO, CODCARGO) SELECT i, 'Груз ' || i, 'К' || i FROM n"));
    sql(QStringLiteral("INSERT INTO CARGO (ID_CARGO, NAMECARGO) VALUES (0, 'нулевой')"));
    Dataset q(Dataset::Kind::Query, QStringLiteral("q"));
    q.sql().add(QStringLiteral("select * from cargo"));
    q.open();
    EXPECT_EQ(q.recordCount(), 1501); // counted by the engine: the result is still being read
    EXPECT_TRUE(q.locate(QStringLiteral("NAMECARGO"), QStringLiteral("груз 59"), LocateMode::CaseInsensitivePrefix));
    EXPECT_EQ(q.fieldByName(QStringLiteral("ID_CARGO")).asInteger(), 59);
    EXPECT_TRUE(q.locate(QStringLiteral("ID_CARGO"), 1255)); // beyond the rows read at open
    EXPECT_EQ(q.recNo(), 1254);
    EXPECT_FALSE(q.locate(QStringLiteral("CODCARGO"), QStringLiteral("К9999")));
    EXPECT_FALSE(q.locate(QStringLiteral("ID_CARGO"), QStringLiteral("abc"))); // not a number, not row 0
    EXPECT_FALSE(q.locate(QStringLiteral("ID_CARGO"), QVariant()));
    EXPECT_EQ(q.fieldByName(QStringLiteral("ID_CARGO")).asInteger(), 1255);
    q.last();
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.fieldByName(QStringLiteral("ID_CARGO")).asInteger(), 0);
    EXPECT_EQ(q.recNo(), 1500);
    q.prior();
    EXPECT_EQ(q.fieldByName(QStringLiteral("ID_CARGO")).asInteger(), 1500);
    EXPECT_THROW(q.edit(), DbError);
    EXPECT_THROW(q.append(), DbError);
}

TEST_F(DatasetTest, MissingDatabaseFileIsReportedAndNotCreated)
{
    const QString empty = tmp.path() + QStringLiteral("/nowhere");
    Database::setDirectory(empty);
    Dataset t(Dataset::Kind::Table, QStringLiteral("t"), QStringLiteral("EVENJRN"));
    try {
        t.open();
        FAIL();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("zv.db")));
    }
    EXPECT_FALSE(QFile::exists(empty + QStringLiteral("/zv.db")));
}

TEST_F(DatasetTest, FileThatIsNotADatabaseIsReported)
{
    const QString bad = tmp.path() + QStringLiteral("/bad");
    QDir().mkpath(bad);
    QFile f(bad + QStringLiteral("/zv.db"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    Database::setDirectory(bad);
    Dataset t(Dataset::Kind::Table, QStringLiteral("t"), QStringLiteral("EVENJRN"));
    EXPECT_THROW(t.open(), DbError);
    QFile check(bad + QStringLiteral("/zv.db"));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray(4096, 'x'));
}
