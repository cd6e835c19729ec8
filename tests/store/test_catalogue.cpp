// The delivered database: tables, fixed column positions, the rows the
// program relies on, the demo data.
#include "storefixture.h"

#include <QFile>

using namespace zv::store;

namespace {

QStringList columnsOf(const QString &table)
{
    QSqlQuery q(Database::connection());
    q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    QStringList names;
    while (q.next())
        names << q.value(1).toString();
    return names;
}

QStringList strings(const QString &sqlText)
{
    QSqlQuery q(Database::connection());
    if (!q.exec(sqlText))
        ADD_FAILURE() << q.lastError().text().toStdString();
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace

class CatalogueTest : public StoreTest {};

TEST_F(CatalogueTest, TablesAndFixedColumnPositions)
{
    const QStringList tables = strings(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"));
    EXPECT_EQ(tables.size(), 27);
    struct Pos {
        const char *table;
        int pos; // 1-based
        const char *column;
    };
    const Pos positions[] = {
        {"EVENJRN", 1, "ID_RECORD"},   {"TRANSPORT", 1, "ID_TRANSP"},  {"TRANSPORT", 3, "STATENUMB"},
        {"TRANSPORT", 10, "IDRF"},     {"MODEL", 2, "NAMEMODEL"},      {"MODEL", 3, "W_EMPTYMOD"},
        {"MODEL", 4, "MAXW_MODEL"},    {"TRAILER", 3, "W_EMPTYTR"},    {"TRAILER", 4, "MAXW_TR"},
        {"OWNER", 2, "NAME_OWNER"},    {"GR_OTPR", 2, "NAME_GR_OT"},   {"GR_POL", 2, "NAME_GR_PL"},
        {"POKUP", 2, "NAME_POKUP"},    {"POST", 2, "NAME_POST"},       {"DRIVER", 2, "LASTN_DRIV"},
        {"DRIVER", 3, "FIRSN_DRIV"},   {"DRIVER", 4, "PATR_DRIV"},     {"CARGO", 2, "NAMECARGO"},
        {"CARGO", 3, "CODCARGO"},      {"CARGOTYPES", 2, "NAMECARGOT"}, {"EVENTYPES", 2, "NAMEEVEN"},
        {"DOCTYPES", 2, "NAMEDOC"},    {"EDIZM", 2, "EDIZM"},          {"UPAKOV", 2, "UPAKOV"},
        {"TSTYPES", 2, "TSTYPES"},     {"DOCUMENT", 1, "ID_DOCUMEN"},  {"USERS", 2, "LONGN_USER"},
        {"OPERATOR", 1, "ID_OPERAT"},  {"FIELD", 3, "NFIELD"},         {"OPERATION", 3, "DESCRIPT"},
        {"PASSJRN", 1, "PASSUSR"},     {"MEMD", 1, "F1"},              {"MEMD", 5, "F5"},
        {"MEMCARGO", 2, "F2"},         {"NUMBERW", 1, "DATE_W"},
    };
    for (const Pos &p : positions) {
        const QStringList cols = columnsOf(QString::fromLatin1(p.table));
        ASSERT_GE(cols.size(), p.pos) << p.table;
        EXPECT_EQ(cols.at(p.pos - 1), QString::fromLatin1(p.column)) << p.table;
    }
    // Every name of the catalogue fits a dBase field name.
    for (const TableDef &t : catalogue())
        for (const ColumnDef &c : t.columns)
            EXPECT_LE(c.name.size(), 10) << c.name.toStdString();
    // Entry-mask widths of the bank fields.
    Dataset owner(Dataset::Kind::Table, QStringLiteral("o"), QStringLiteral("OWNER"));
    owner.open();
    const QList<QPair<QString, int>> widths{{QStringLiteral("K_S"), 20}, {QStringLiteral("R_S"), 20},
                                            {QStringLiteral("BIK"), 9},  {QStringLiteral("OKPO"), 8},
                                            {QStringLiteral("KPP"), 9},  {QStringLiteral("INN"), 12}};
    for (const auto &w : widths)
        EXPECT_EQ(owner.fieldByName(w.first).size(), w.second) << w.first.toStdString();
}

TEST_F(CatalogueTest, BuiltInRows)
{
    const QStringList events = strings(QStringLiteral("SELECT ID_EVEN || '=' || NAMEEVEN FROM EVENTYPES ORDER BY ID_EVEN"));
    EXPECT_EQ(events.size(), 8);
    for (const char *e : {"126=ВЗВЕШИВАНИЕ ТС С ГРУЗОМ", "127=ВЗВЕШИВАНИЕ ТС ПУСТОГО",
                          "132=ПОВТОРНОЕ ВЗВЕШИВАНИЕ ТС С ГРУЗОМ", "141=ПОВТОРНОЕ ВЗВЕШИВАНИЕ ТС ПУСТОГО"})
        EXPECT_TRUE(events.contains(QString::fromUtf8(e))) << e;
    for (const char *id : {"129", "130", "142", "143"})
        EXPECT_FALSE(strings(QStringLiteral("SELECT NAMEEVEN FROM EVENTYPES WHERE ID_EVEN = %1").arg(QLatin1String(id)))
                         .value(0)
                         .isEmpty())
            << id;
    EXPECT_EQ(strings(QStringLiteral("SELECT COUNT(*) FROM CARGOTYPES WHERE ID_CARGOTY = 105")), QStringList{"1"});

    const QStringList pass = strings(QStringLiteral("SELECT PASSUSR || '|' || PASSADM FROM PASSJRN"));
    ASSERT_EQ(pass.size(), 1);
    const QStringList parts = pass.first().split(QLatin1Char('|'));
    EXPECT_EQ(parts[0], InitialJournalPassword);
    EXPECT_FALSE(parts[1].isEmpty()); // an empty second password would open the journal to anyone

    dm().BVQUser.open();
    ASSERT_EQ(dm().BVQUser.recordCount(), 1);
    EXPECT_EQ(dm().BVQUser.fieldByName(QStringLiteral("NAME_USER")).asString(), InitialAdminLogin);
    EXPECT_EQ(dm().BVQUser.fieldByName(QStringLiteral("PASSW_USER")).asString(), InitialAdminPassword);
    EXPECT_EQ(dm().BVQUser.fieldByName(QStringLiteral("LEVEL_USER")).asString(), QStringLiteral("Administrator"));
    EXPECT_EQ(dm().BVQUser.fieldByName(QStringLiteral("CHANGE_P")).asInteger(), 1);
}

// Each field offered by the filter exists in its table, and a condition on
// it runs on the filtered journal query as the filter writes it.
TEST_F(CatalogueTest, FilterVocabularyRunsOnTheJournalQuery)
{
    const QStringList ops = strings(QStringLiteral("SELECT DESCRIPT FROM OPERATION"));
    EXPECT_TRUE(ops.contains(QStringLiteral("равно")));
    EXPECT_TRUE(ops.contains(QStringLiteral("значение в интевале (от и до)")));
    EXPECT_EQ(strings(QStringLiteral("SELECT FBOOL FROM BOOL ORDER BY FBOOL")),
              (QStringList{QStringLiteral("AND"), QStringLiteral("OR")}));

    Dataset field(Dataset::Kind::Table, QStringLiteral("f"), QStringLiteral("FIELD"));
    field.open();
    ASSERT_FALSE(field.isEmpty());
    const QStringList base = TBVDMod1::sharedQueryText(QStringLiteral("BVQRepEJ"));
    for (; !field.eof(); field.next()) {
        const QString column = field.field(1).asString();
        const QString table = field.field(5).asString();
        QString condition;
        if (column == QLatin1String("FIO_D")) {
            EXPECT_EQ(table, QStringLiteral("DRIVER"));
            condition = QStringLiteral(" (%1.LASTN_DRIV = 'А') AND (%1.FIRSN_DRIV = 'Б') AND (%1.PATR_DRIV = 'В')")
                            .arg(table);
        } else {
            EXPECT_TRUE(columnsOf(table).contains(column)) << table.toStdString() << "." << column.toStdString();
            condition = table + QLatin1Char('.') + column + QStringLiteral(" =  '1'");
        }
        Dataset q(Dataset::Kind::Query, QStringLiteral("q"));
        for (const QString &l : base)
            q.sql().add(l);
        q.sql().add(QStringLiteral(" where ") + condition);
        try {
            q.open();
        } catch (const DbError &e) {
            ADD_FAILURE() << condition.toStdString() << ": " << e.what();
        }
    }
}

TEST_F(CatalogueTest, InitRefusesAnExistingDatabase)
{
    QFile f(dir + QStringLiteral("/zv.db"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    try {
        createDatabase(dir);
        FAIL();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("уже существует")));
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(CatalogueTest, DemoDataForARealisticRun)
{
    addDemoData(dir);
    EXPECT_GE(scalar(QStringLiteral("SELECT COUNT(*) FROM TRANSPORT WHERE STATENUM_T <> '' AND ID_TRAILER > 0")).toInt(), 1);
    EXPECT_GE(scalar(QStringLiteral("SELECT COUNT(*) FROM TRANSPORT WHERE STATENUM_T = ''")).toInt(), 1);
    EXPECT_GE(scalar(QStringLiteral("SELECT COUNT(*) FROM TRANSPORT WHERE IDRF <> ''")).toInt(), 1);
    EXPECT_GE(scalar(QStringLiteral("SELECT COUNT(*) FROM TRANSPORT WHERE IDRF = ''")).toInt(), 1);
    EXPECT_GE(scalar(QStringLiteral("SELECT COUNT(*) FROM DRIVER WHERE PATR_DRIV = ''")).toInt(), 1);
    EXPECT_GE(scalar(QStringLiteral("SELECT COUNT(*) FROM CARGO WHERE CODCARGO <> ''")).toInt(), 3);
    EXPECT_GE(scalar(QStringLiteral("SELECT COUNT(*) FROM GR_OTPR WHERE BIK <> '' AND INN <> ''")).toInt(), 1);
    for (const char *t : {"MODEL", "TRAILER", "OWNER", "CARGOTYPES", "EDIZM", "UPAKOV", "DOCTYPES", "TSTYPES",
                          "GR_POL", "POKUP", "POST"})
        EXPECT_GE(scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(t))).toInt(), 1) << t;
    // State numbers are stored without blanks and in upper case.
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM TRANSPORT WHERE STATENUMB <> upper(replace(STATENUMB, ' ', ''))"))
                  .toInt(),
              0);
    for (const DemoUser &u : demoUsers()) {
        EXPECT_EQ(strings(QStringLiteral("SELECT LEVEL_USER || '|' || PASSW_USER || '|' || CHANGE_P FROM USERS "
                                         "WHERE NAME_USER = '%1'")
                              .arg(u.login)),
                  QStringList{u.group + QLatin1Char('|') + u.password + QStringLiteral("|0")});
    }
    EXPECT_EQ(strings(QStringLiteral("SELECT group_concat(U.LEVEL_USER) FROM OPERATOR O JOIN USERS U ON U.ID_USER = O.ID_OPERAT")),
              QStringList{QStringLiteral("Operator")});
    EXPECT_THROW(addDemoData(dir), DbError);
    EXPECT_THROW(addDemoData(tmp.path() + QStringLiteral("/none")), DbError);
    EXPECT_FALSE(QFile::exists(tmp.path() + QStringLiteral("/none/zv.db")));
}

// The journal's lookups go through indexes, never through the whole table.
TEST_F(CatalogueTest, JournalLookupsUseIndexes)
{
    const char *statements[] = {
        "SELECT * FROM EVENJRN WHERE ID_RECORD = 5",
        "SELECT * FROM EVENJRN WHERE DATE_EVEN = '2024-01-01'",
        "SELECT * FROM EVENJRN EJ WHERE DATE_EVEN BETWEEN '2024-01-01' AND '2024-01-01' and EJ.ID_TRANSP = 3 "
        "and RESFIELD_2 = 0 and MODE_EN_DP = 1",
        "SELECT MAX(ID_RECORD) FROM EVENJRN",
        "SELECT * FROM DOCUMENT WHERE ID_DOCUMEN = 4",
    };
    for (const char *s : statements) {
        QSqlQuery q(Database::connection());
        q.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + QString::fromLatin1(s));
        QString details;
        while (q.next())
            details += q.value(3).toString() + QLatin1Char(' ');
        EXPECT_TRUE(details.contains(QStringLiteral("INDEX"))) << s << ": " << details.toStdString();
        EXPECT_FALSE(details.contains(QStringLiteral("SCAN EVENJRN"))) << s;
    }
}

// Another SQLite program (a database administration tool) can check the
// file and write every table, without the program's own comparison rules.
TEST_F(CatalogueTest, PlainSqliteToolsCanWriteTheFile)
{
    Database::close();
    {
        QSqlDatabase plain = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
        plain.setDatabaseName(dir + QStringLiteral("/zv.db"));
        ASSERT_TRUE(plain.open());
        QSqlQuery q(plain);
        const char *statements[] = {
            "INSERT INTO EVENJRN (ID_RECORD, DATE_EVEN, TIME_EVEN, WCARGO) VALUES (1, '2024-01-01', '08:00:00', '100')",
            "UPDATE EVENJRN SET DATE_EVEN = '2024-01-02', RESFIELD_2 = 1 WHERE ID_RECORD = 1",
            "INSERT INTO DOCUMENT (ID_DOCUMEN, DATE_DOC) VALUES (5, '2024-01-02')",
            "INSERT INTO NUMBERW (DATE_W, NUMBER_W) VALUES ('2024-01-02', 1)",
            "INSERT INTO TRANSPORT (ID_TRANSP, STATENUMB, IDRF) VALUES (1, 'А1', 'X')",
            "DELETE FROM EVENJRN WHERE ID_RECORD = 1",
        };
        for (const char *s : statements)
            EXPECT_TRUE(q.exec(QString::fromUtf8(s))) << s << ": " << q.lastError().text().toStdString();
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA integrity_check")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("ok"));
        plain.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM DOCUMENT")).toInt(), 1);
}
