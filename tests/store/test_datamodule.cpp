// The data module's shared queries, identifiers and error boxes on a
// database made by the catalogue (with the demo reference data).
#include "storefixture.h"

#include "dberrorbox.h"
#include "paths.h"

#include <QFile>
#include <QSettings>

using namespace zv::store;

namespace {

struct Event {
    int id;
    QDate date;
    QString time;
    int mode;
    int transp;
    int driver;
    int oper;
    int cargo;
    int cargoType;
    QString weight;
    QString comment;
    int paired = 0;
};

// Appends an event the way the recording does, returning its document number.
qint64 addEvent(TBVDMod1 &dm, const Event &e)
{
    Dataset &t = dm.BVTEvenJrn;
    TBVDMod1::OpenIfClosed(t);
    t.append();
    t.fieldByName(QStringLiteral("ID_RECORD")).setInteger(e.id);
    t.fieldByName(QStringLiteral("DATE_EVEN")).setDate(e.date);
    t.fieldByName(QStringLiteral("TIME_EVEN")).setString(e.time);
    t.fieldByName(QStringLiteral("ID_EVENTYP")).setInteger(e.mode == 0 ? 126 : 127);
    t.fieldByName(QStringLiteral("MODE_EN_DP")).setInteger(e.mode);
    t.fieldByName(QStringLiteral("ID_TRANSP")).setInteger(e.transp);
    t.fieldByName(QStringLiteral("ID_DRIVER")).setInteger(e.driver);
    t.fieldByName(QStringLiteral("ID_OPERAT")).setInteger(e.oper);
    t.fieldByName(QStringLiteral("ID_CARGO")).setInteger(e.cargo);
    t.fieldByName(QStringLiteral("ID_CARGOTY")).setInteger(e.cargoType);
    t.fieldByName(QStringLiteral("WCARGO")).setString(e.weight);
    t.fieldByName(QStringLiteral("COMMENT")).setString(e.comment);
    t.fieldByName(QStringLiteral("RESFIELD_2")).setInteger(e.paired);
    t.fieldByName(QStringLiteral("AT_OP_AUTO")).setInteger(0);
    t.post();
    return t.fieldByName(QStringLiteral("ID_DOCUMEN")).asInteger();
}

QStringList column(Dataset &q, const QString &name)
{
    QStringList values;
    for (q.first(); !q.eof(); q.next())
        values << q.fieldByName(name).asString();
    return values;
}

} // namespace

class DataModuleTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        addDemoData(dir);
    }
};

// Every shared query runs unchanged, on an empty journal and on a filled one.
TEST_F(DataModuleTest, EverySharedQueryRunsAsWritten)
{
    struct Q {
        Dataset *ds;
        const char *name;
    };
    auto &m = dm();
    const Q queries[] = {
        {&m.BVQWrEvJrn, "BVQWrEvJrn"}, {&m.BVQFindPair, "BVQFindPair"}, {&m.BVQSelEven, "BVQSelEven"},
        {&m.BVQEvenJrn, "BVQEvenJrn"}, {&m.BVQRepEJ, "BVQRepEJ"}, {&m.BVQImpJrn, "BVQImpJrn"},
        {&m.BVQDoc, "BVQDoc"}, {&m.BVQDocEv, "BVQDocEv"}, {&m.BVQTransport, "BVQTransport"},
        {&m.BVQTsEv, "BVQTsEv"}, {&m.BVQTsTypes, "BVQTsTypes"}, {&m.BVQModel, "BVQModel"},
        {&m.BVQOwner, "BVQOwner"}, {&m.BVQTrailer, "BVQTrailer"}, {&m.BVQDriver, "BVQDriver"},
        {&m.BVQRefCargo, "BVQRefCargo"}, {&m.BVQCargoTypes, "BVQCargoTypes"}, {&m.BVQEven, "BVQEven"},
        {&m.BVQDocTypes, "BVQDocTypes"}, {&m.BVQGrOtpr, "BVQGrOtpr"}, {&m.BVQGrPol, "BVQGrPol"},
        {&m.BVQPokup, "BVQPokup"}, {&m.BVQPost, "BVQPost"}, {&m.BVQEdIzm, "BVQEdIzm"},
        {&m.BVQUpakov, "BVQUpakov"}, {&m.BVQUser, "BVQUser"}, {&m.BVQOperUs, "BVQOperUs"},
        {&m.BVQPassJrn, "BVQPassJrn"},
    };
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            const QDate day(2024, 5, 6);
            addEvent(m, {1, day, QStringLiteral("08:00:00"), 1, 1, 1, 2, 0, 105, QStringLiteral("10300"), {}});
            addEvent(m, {2, day, QStringLiteral("09:00:00"), 0, 1, 1, 2, 1, 1, QStringLiteral("25300"), {}});
        }
        for (const Q &q : queries) {
            EXPECT_EQ(q.ds->sql().lines(), TBVDMod1::sharedQueryText(QString::fromLatin1(q.name))) << q.name;
            EXPECT_FALSE(q.ds->sql().isEmpty()) << q.name;
            q.ds->close();
            q.ds->setParam(QStringLiteral("IN_DATE"), QDate(2024, 5, 6));
            try {
                q.ds->open();
            } catch (const DbError &e) {
                ADD_FAILURE() << q.name << ": " << e.what();
            }
            EXPECT_GT(q.ds->fieldCount(), 1) << q.name;
            q.ds->close();
        }
        sql(QStringLiteral("INSERT INTO MEMD (F1) VALUES ('1')"));
        EXPECT_EQ(m.BVQClearMemD.execSql(), 1);
    }
}

// The day's journal: names through the joins, empty names for dangling or
// zero links, the driver's name without patronymic, and the journal's own
// values under the names it shares with the document.
TEST_F(DataModuleTest, DayJournalNamesAndSharedColumnNames)
{
    auto &m = dm();
    const QDate day(2024, 5, 6);
    const qint64 doc = addEvent(m, {1, day, QStringLiteral("10:15:00"), 0, 1, 4, 2, 1, 1, QStringLiteral("25000"),
                                    QStringLiteral("журнал")});
    addEvent(m, {2, day, QStringLiteral("09:05:00"), 1, 99, 0, 55, 0, 777, QStringLiteral("7000"), {}});
    sql(QStringLiteral("UPDATE EVENJRN SET ID_EVENTYP = 0 WHERE ID_RECORD = 2"));
    addEvent(m, {3, day.addDays(1), QStringLiteral("08:00:00"), 0, 1, 1, 2, 1, 1, QStringLiteral("1"), {}});
    sql(QStringLiteral("INSERT INTO DOCUMENT (ID_DOCUMEN, DATE_DOC, TIME_DOC, WCARGO, COMMENT) "
                       "VALUES (%1, '2024-05-06', '10:15:00', '15000', 'документ')")
            .arg(doc));

    Dataset &q = m.BVQWrEvJrn;
    q.close();
    q.setParam(QStringLiteral("IN_DATE"), day);
    q.open();
    EXPECT_EQ(q.recordCount(), 2);
    EXPECT_EQ(column(q, QStringLiteral("ID_RECORD")), (QStringList{QStringLiteral("2"), QStringLiteral("1")}));

    ASSERT_TRUE(q.locate(QStringLiteral("ID_RECORD"), 1));
    EXPECT_EQ(q.fieldByName(QStringLiteral("NameEven")).asString(), QStringLiteral("ВЗВЕШИВАНИЕ ТС С ГРУЗОМ"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("NAMECARGO")).asString(), QStringLiteral("Щебень гранитный фр. 5-20"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("CodCargo")).asString(), QStringLiteral("00-00000101"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("FIO_D")).asString(), QStringLiteral("Ахмедов Рустам "));
    EXPECT_EQ(q.fieldByName(QStringLiteral("ShortN_Us")).asString(), QStringLiteral("Сидорова А. В."));
    EXPECT_EQ(q.fieldByName(QStringLiteral("StateNumb")).asString(), QStringLiteral("А123ВС71"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("COMMENT")).asString(), QStringLiteral("журнал"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("WCARGO")).asString(), QStringLiteral("25000"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("ID_DOCUMEN")).asInteger(), doc);
    EXPECT_EQ(q.fieldByName(QStringLiteral("COMMENT_1")).asString(), QStringLiteral("документ"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("WCARGO_1")).asString(), QStringLiteral("15000"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("DATE_DOC")).asDate(), day);

    ASSERT_TRUE(q.locate(QStringLiteral("ID_RECORD"), 2));
    for (const char *name : {"NameEven", "NameCargo", "NameCargoT", "FIO_D", "ShortN_Us", "LongN_User", "StateNumb",
                             "IDRF", "COMMENT_1"}) {
        EXPECT_EQ(q.fieldByName(QString::fromLatin1(name)).asString(), QString()) << name;
    }
    EXPECT_EQ(q.fieldByName(QStringLiteral("ID_TRANSP")).asInteger(), 99);
}

TEST_F(DataModuleTest, PairSearchFindsOpenEventsOfOneVehicleAndMode)
{
    auto &m = dm();
    const QDate day(2024, 5, 6);
    addEvent(m, {1, day, QStringLiteral("11:00:00"), 1, 1, 1, 2, 0, 105, QStringLiteral("10300"), {}});
    addEvent(m, {2, day, QStringLiteral("09:00:00"), 1, 1, 1, 2, 0, 105, QStringLiteral("10200"), {}});
    addEvent(m, {3, day, QStringLiteral("10:00:00"), 1, 1, 1, 2, 0, 105, QStringLiteral("10100"), {}, 1});
    addEvent(m, {4, day, QStringLiteral("10:30:00"), 0, 1, 1, 2, 1, 1, QStringLiteral("25000"), {}});
    addEvent(m, {5, day, QStringLiteral("10:40:00"), 1, 2, 1, 2, 0, 105, QStringLiteral("7900"), {}});
    addEvent(m, {6, day.addDays(-1), QStringLiteral("23:00:00"), 1, 1, 1, 2, 0, 105, QStringLiteral("1"), {}});

    struct Case {
        QDate from, to;
        QVariant transp;
        int mode;
        QStringList ids;
    };
    const Case cases[] = {
        {day, day, 1, 1, {QStringLiteral("2"), QStringLiteral("1")}},
        {day, day, 1, 0, {QStringLiteral("4")}},
        {day.addDays(-1), day, 1, 1, {QStringLiteral("6"), QStringLiteral("2"), QStringLiteral("1")}},
        {day, day, 2, 1, {QStringLiteral("5")}},
        {day, day, 3, 1, {}},
        {day, day, QVariant(), 1, {}},
    };
    Dataset &q = m.BVQFindPair;
    for (const Case &c : cases) {
        q.close();
        q.setParam(QStringLiteral("IN_DATE_BEG"), c.from);
        q.setParam(QStringLiteral("IN_DATE_END"), c.to);
        q.setParam(QStringLiteral("IN_ID_TRANSP"), c.transp);
        q.setParam(QStringLiteral("IN_MODE"), c.mode);
        q.open();
        EXPECT_EQ(column(q, QStringLiteral("ID_RECORD")), c.ids) << c.transp.toString().toStdString() << c.mode;
    }
    // The vehicle row comes along.
    q.close();
    q.setParam(QStringLiteral("IN_ID_TRANSP"), 2);
    q.setParam(QStringLiteral("IN_DATE_BEG"), day);
    q.setParam(QStringLiteral("IN_DATE_END"), day);
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("STATENUMB")).asString(), QStringLiteral("М456ОР71"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("ID_TRANSP_1")).asInteger(), 2);
}

TEST_F(DataModuleTest, EventByIdWithOperatorNameAndWholeJournal)
{
    auto &m = dm();
    addEvent(m, {7, QDate(2024, 5, 6), QStringLiteral("08:00:00"), 0, 2, 2, 2, 3, 1, QStringLiteral("30000"), {}});
    addEvent(m, {8, QDate(2024, 5, 7), QStringLiteral("08:00:00"), 0, 3, 3, 3, 3, 1, QStringLiteral("9000"), {}});
    Dataset &sel = m.BVQSelEven;
    sel.close();
    sel.setParam(QStringLiteral("IN_ID_RECORD"), 7);
    sel.open();
    EXPECT_EQ(sel.recordCount(), 1);
    EXPECT_EQ(sel.fieldByName(QStringLiteral("FIO_O")).asString(), QStringLiteral("Сидорова Анна Викторовна"));
    EXPECT_EQ(sel.fieldByName(QStringLiteral("FIO_D")).asString(), QStringLiteral("Смирнов Алексей Петрович"));
    // A user without an OPERATOR row has no operator name.
    sel.close();
    sel.setParam(QStringLiteral("IN_ID_RECORD"), 8);
    sel.open();
    EXPECT_EQ(sel.fieldByName(QStringLiteral("FIO_O")).asString(), QString());

    Dataset &all = m.BVQEvenJrn;
    TBVDMod1::OpenIfClosed(all);
    EXPECT_EQ(all.recordCount(), 2);
    ASSERT_TRUE(all.locate(QStringLiteral("ID_RECORD"), 7));
    EXPECT_EQ(all.fieldByName(QStringLiteral("NameModel")).asString(), QStringLiteral("МАЗ-5440"));
    EXPECT_EQ(all.fieldByName(QStringLiteral("NameTr")).asString(), QStringLiteral("НЕФАЗ-8560"));
    EXPECT_EQ(all.fieldByName(QStringLiteral("Name_Owner")).asString(), QStringLiteral("ООО \"АвтоТрансСервис\""));
}

// The journal filter appends " where " and conditions written with table
// names; dates typed as dd.mm.yyyy.
TEST_F(DataModuleTest, FilteredJournalWithConditionsOnTableNames)
{
    auto &m = dm();
    addEvent(m, {1, QDate(2008, 2, 1), QStringLiteral("08:00:00"), 0, 1, 4, 2, 1, 1, QStringLiteral("25000"), {}});
    addEvent(m, {2, QDate(2008, 2, 2), QStringLiteral("08:00:00"), 0, 2, 1, 2, 2, 1, QStringLiteral("12000"), {}});
    addEvent(m, {3, QDate(2008, 3, 1), QStringLiteral("08:00:00"), 0, 2, 1, 3, 1, 1, QStringLiteral("9000"), {}});
    struct Case {
        QStringList condition;
        QList<qint64> ids;
        bool refused = false;
    };
    const Case cases[] = {
        {{QStringLiteral("EVENJRN.DATE_EVEN BETWEEN  '01.02.2008'  AND  '29.02.2008'")}, {1, 2}},
        {{QStringLiteral(" (DRIVER.LASTN_DRIV = 'Ахмедов') AND (DRIVER.FIRSN_DRIV = 'Рустам') AND "
                         "(DRIVER.PATR_DRIV = '')")},
         {1}},
        {{QStringLiteral("CARGO.NAMECARGO  'Щебень гранитный фр. 5-20'  OR"),
          QStringLiteral("USERS.LONGN_USER = 'Орлов Павел Николаевич'")},
         {},
         true}, // a condition without an operator is the engine's error
        {{QStringLiteral("CARGO.NAMECARGO = 'Щебень гранитный фр. 5-20'  AND"),
          QStringLiteral("USERS.LONGN_USER = 'Орлов Павел Николаевич'")},
         {3}},
        {{QStringLiteral("EVENJRN.WCARGO > 10000")}, {1, 2}},
        {{QStringLiteral("TRANSPORT.STATENUMB = 'М456ОР71'")}, {2, 3}},
    };
    const QStringList base = TBVDMod1::sharedQueryText(QStringLiteral("BVQRepEJ"));
    Dataset &q = m.BVQRepEJ;
    for (const Case &c : cases) {
        q.close();
        q.sql().clear();
        for (const QString &l : base)
            q.sql().add(l);
        q.sql().add(QStringLiteral(" where ") + c.condition.join(QLatin1Char('\n')));
        if (c.refused) {
            EXPECT_THROW(q.open(), DbError);
            continue;
        }
        q.open();
        QList<qint64> ids;
        for (; !q.eof(); q.next())
            ids << q.fieldByName(QStringLiteral("ID_RECORD")).asInteger();
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, c.ids) << c.condition.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(DataModuleTest, ReferenceListsOrderAndCargoKeepsTableOrder)
{
    auto &m = dm();
    sql(QStringLiteral("INSERT INTO CARGO (ID_CARGO, NAMECARGO, CODCARGO) VALUES (6, 'Асфальт', '00-1')"));
    TBVDMod1::OpenIfClosed(m.BVQRefCargo);
    const QStringList cargo = column(m.BVQRefCargo, QStringLiteral("NAMECARGO"));
    EXPECT_EQ(cargo.first(), QStringLiteral("Щебень гранитный фр. 5-20"));
    EXPECT_EQ(cargo.last(), QStringLiteral("Асфальт"));

    TBVDMod1::OpenIfClosed(m.BVQDriver);
    EXPECT_EQ(column(m.BVQDriver, QStringLiteral("FIO_D")),
              (QStringList{QStringLiteral("Ахмедов Рустам "), QStringLiteral("Иванов Иван Иванович"),
                           QStringLiteral("Кузнецов Дмитрий Сергеевич"), QStringLiteral("Смирнов Алексей Петрович")}));
    TBVDMod1::OpenIfClosed(m.BVQCargoTypes);
    const QStringList types = column(m.BVQCargoTypes, QStringLiteral("NAMECARGOT"));
    QStringList sorted = types;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(types, sorted);
    EXPECT_TRUE(types.contains(QStringLiteral("НЕ УКАЗАН")));
}

TEST_F(DataModuleTest, VehicleByTagOrNumber)
{
    auto &m = dm();
    struct Case {
        QVariant rfid, number;
        QStringList found;
    };
    const Case cases[] = {
        {QVariant(), QStringLiteral("К789ЕН50"), {QStringLiteral("К789ЕН50")}},
        {QStringLiteral("E2003412B802022"), QVariant(), {QStringLiteral("М456ОР71")}},
        {QVariant(), QVariant(), {}},
        {QStringLiteral("нет"), QStringLiteral("нет"), {}},
    };
    for (const Case &c : cases) {
        m.BVQTsEv.close();
        m.BVQTsEv.setParam(QStringLiteral("IN_RFID"), c.rfid);
        m.BVQTsEv.setParam(QStringLiteral("IN_STATENUMB"), c.number);
        m.BVQTsEv.open();
        EXPECT_EQ(column(m.BVQTsEv, QStringLiteral("STATENUMB")), c.found);
    }
    EXPECT_EQ(m.BVQTsEv.fieldByName(QStringLiteral("MaxW_Model")).type(), FieldType::Float);

    // A vehicle whose links name nothing is listed with empty names; a second
    // vehicle with the same number is allowed, lookups take the first.
    sql(QStringLiteral("INSERT INTO TRANSPORT (ID_TRANSP, NAMETRANSP, STATENUMB, ID_MODEL, ID_OWNER, ID_TRAILER) "
                       "VALUES (5, 'Ааа', 'А123ВС71', 99, 99, 99)"));
    m.BVQTransport.close();
    m.BVQTransport.open();
    EXPECT_EQ(m.BVQTransport.recordCount(), 5);
    ASSERT_TRUE(m.BVQTransport.locate(QStringLiteral("ID_TRANSP"), 5));
    EXPECT_EQ(m.BVQTransport.recNo(), 0); // ordered by NAMETRANSP
    for (const char *name : {"NameModel", "W_EmptyMod", "NAME_OWNER", "Addr_Owner", "NAMETR", "W_EMPTYTR"})
        EXPECT_TRUE(m.BVQTransport.fieldByName(QString::fromLatin1(name)).isNull()) << name;
    TBVDMod1::OpenIfClosed(m.BVTTransport);
    ASSERT_TRUE(m.BVTTransport.locate(QStringLiteral("STATENUMB"), QStringLiteral("А123ВС71")));
    EXPECT_EQ(m.BVTTransport.field(0).asInteger(), 1);
}

// New identifiers: greatest plus one, 0 for an empty table, names in any
// letter case; a freed greatest identifier is taken again.
TEST_F(DataModuleTest, GetMaxIdAndAllocation)
{
    auto &m = dm();
    EXPECT_EQ(m.GetMaxID(QStringLiteral("EVENJRN"), QStringLiteral("ID_RECORD")), 0);
    EXPECT_EQ(m.AllocateID(QStringLiteral("EvenJrn"), QStringLiteral("id_record")), 1);
    EXPECT_EQ(m.NewRecordID, 1);
    for (int id : {1, 2, 7})
        addEvent(m, {id, QDate(2024, 1, 1), QStringLiteral("08:00:00"), 0, 1, 1, 2, 1, 1, QStringLiteral("1"), {}});
    EXPECT_EQ(GetMaxID(QStringLiteral("evenjrn"), QStringLiteral("ID_RECORD")) + 1, 8);
    addEvent(m, {m.AllocateID(QStringLiteral("EVENJRN"), QStringLiteral("ID_RECORD")), QDate(2024, 1, 1),
                 QStringLiteral("08:00:00"), 0, 1, 1, 2, 1, 1, QStringLiteral("1"), {}});
    EXPECT_EQ(m.NewRecordID, 8);
    ASSERT_TRUE(m.BVTEvenJrn.locate(QStringLiteral("ID_RECORD"), 8));
    m.BVTEvenJrn.remove();
    EXPECT_EQ(m.AllocateID(QStringLiteral("EVENJRN"), QStringLiteral("ID_RECORD")), 8);
    EXPECT_FALSE(m.BVQRef1.active());
    EXPECT_TRUE(m.BVQRef1.sql().isEmpty());

    EXPECT_THROW(m.GetMaxID(QStringLiteral("NO_TABLE"), QStringLiteral("ID")), DbError);
    EXPECT_FALSE(m.BVQRef1.active());
    EXPECT_TRUE(m.BVQRef1.sql().isEmpty());
    EXPECT_EQ(m.GetMaxID(QStringLiteral("USERS"), QStringLiteral("ID_USER")), 3);
}

// Re-running a fixed query (close, parameters, open) shows a change and puts
// the cursor on the first row; OpenIfClosed leaves an open query as it is.
TEST_F(DataModuleTest, RerunRulesAndFreeQueryRetargeting)
{
    auto &m = dm();
    Dataset &q = m.BVQTsTypes;
    TBVDMod1::OpenIfClosed(q);
    q.last();
    const QString lastName = q.fieldByName(QStringLiteral("TSTYPES")).asString();
    TBVDMod1::OpenIfClosed(q);
    EXPECT_EQ(q.fieldByName(QStringLiteral("TSTYPES")).asString(), lastName);
    sql(QStringLiteral("INSERT INTO TSTYPES VALUES (9, 'Автобус')"));
    TBVDMod1::CloseIfOpen(q);
    TBVDMod1::CloseIfOpen(q);
    TBVDMod1::OpenIfClosed(q);
    EXPECT_TRUE(q.bof());
    EXPECT_EQ(q.fieldByName(QStringLiteral("TSTYPES")).asString(), QStringLiteral("Автобус"));

    Dataset &ref = m.BVQRef;
    ref.close();
    ref.sql().clear();
    ref.sql().add(QStringLiteral("SELECT * FROM DOCTYPES"));
    ref.sql().add(QStringLiteral(" ORDER BY NAMEDOC"));
    ref.open();
    EXPECT_EQ(ref.firstColumnName(), QStringLiteral("ID_DOCTYPE"));
    ref.close();
    ref.sql().clear();
    ref.sql().add(QStringLiteral("DELETE FROM MEMCARGO"));
    EXPECT_EQ(ref.execSql(), 0);
    ref.sql().clear();
    ref.sql().add(QStringLiteral("SELECT * FROM TRANSPORT"));
    ref.open();
    EXPECT_EQ(ref.fieldNames().at(2), QStringLiteral("STATENUMB"));
    EXPECT_EQ(ref.fieldNames().at(9), QStringLiteral("IDRF"));
}

TEST_F(DataModuleTest, ErrorBoxTexts)
{
    struct Case {
        DbErrorKind kind;
        QString name;
        QString text;
    };
    const QString msg = QStringLiteral("no such table: EVENJRN");
    const Case cases[] = {
        {DbErrorKind::Open, DisplayName::EvenJrn,
         QStringLiteral("Ошибка при открытии таблицы \"Журнал событий\" :no such table: EVENJRN")},
        {DbErrorKind::Work, QString(), QStringLiteral("Ошибка при работе с БД:no such table: EVENJRN")},
        {DbErrorKind::WorkReread, QString(), QStringLiteral("Ошибка при работе с БД :no such table: EVENJRN")},
        {DbErrorKind::Delete, DisplayName::Users,
         QStringLiteral("Ошибка при удалении из таб. \"Пользователи\":no such table: EVENJRN")},
        {DbErrorKind::Lookup, QString(), QStringLiteral("Ошибка: no such table: EVENJRN")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(dbErrorText(c.kind, c.name, msg), c.text);
}

// With the database missing, the preparation's opening of the day's
// documents and journal shows the open-error boxes and goes on.
TEST_F(DataModuleTest, MissingDatabaseShowsOpenErrorAndGoesOn)
{
    auto &m = dm();
    Database::setDirectory(tmp.path() + QStringLiteral("/missing"));
    zv::Messages::clear();
    const bool docs = guardDb(DbErrorKind::Open, DisplayName::Document, [&] {
        m.BVQDoc.close();
        m.BVQDoc.setParam(QStringLiteral("IN_DATE"), QDate(2024, 5, 6));
        m.BVQDoc.open();
    });
    const bool jrn = guardDb(DbErrorKind::Open, DisplayName::EvenJrn, [&] {
        m.BVQWrEvJrn.close();
        m.BVQWrEvJrn.setParam(QStringLiteral("IN_DATE"), QDate(2024, 5, 6));
        m.BVQWrEvJrn.open();
        m.BVQWrEvJrn.last();
    });
    EXPECT_FALSE(docs);
    EXPECT_FALSE(jrn);
    const auto shown = zv::Messages::shown();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].kind, zv::ShownMessage::Error);
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Ошибка при открытии таблицы \"Документы\" :")));
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("zv.db")));
    EXPECT_TRUE(shown[1].text.startsWith(QStringLiteral("Ошибка при открытии таблицы \"Журнал событий\" :")));
    // Not an engine error: passes to the general error display.
    EXPECT_THROW(guardDb(DbErrorKind::Work, QString(), [] { throw ConvertError(QStringLiteral("x")); }),
                 ConvertError);
}

TEST_F(DataModuleTest, AliasDirectoryFromAliasesIni)
{
    const QString prog = tmp.path() + QStringLiteral("/prog");
    QDir().mkpath(prog);
    zv::Paths::setProgramDir(prog);
    Database::setDirectory(QString());
    struct Case {
        QString iniText; // empty: no file
        QString expected;
    };
    const Case cases[] = {
        {QString(), prog + QStringLiteral("/db")},
        {QStringLiteral("[zv]\nPATH=") + dir + QStringLiteral("\n"), dir},
        {QStringLiteral("[zv]\nPATH=data/zv\n"), prog + QStringLiteral("/data/zv")},
        {QStringLiteral("[other]\nPATH=/x\n"), prog + QStringLiteral("/db")},
    };
    for (const Case &c : cases) {
        QFile::remove(prog + QStringLiteral("/aliases.ini"));
        if (!c.iniText.isEmpty()) {
            QFile f(prog + QStringLiteral("/aliases.ini"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.iniText.toUtf8());
        }
        EXPECT_EQ(QDir::cleanPath(Database::directory()), QDir::cleanPath(c.expected)) << c.iniText.toStdString();
    }
    // Through the alias the data module reaches the database.
    QFile::remove(prog + QStringLiteral("/aliases.ini"));
    QFile f(prog + QStringLiteral("/aliases.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write((QStringLiteral("[zv]\nPATH=") + dir + QStringLiteral("\n")).toUtf8());
    f.close();
    TBVDMod1::OpenIfClosed(dm().BVQUser);
    EXPECT_EQ(dm().BVQUser.fieldByName(QStringLiteral("NAME_USER")).asString(), QStringLiteral("admin"));
    dm().closeAll();
    zv::Paths::setProgramDir(QString());
}
