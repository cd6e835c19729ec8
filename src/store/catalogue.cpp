#include "catalogue.h"

#include "database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

namespace zv::store {

namespace {

ColumnDef I(const char *name) { return {QString::fromLatin1(name), FieldType::Integer}; }
ColumnDef T(const char *name, int size) { return {QString::fromLatin1(name), FieldType::Text, size}; }
ColumnDef W(const char *name) { return {QString::fromLatin1(name), FieldType::Text, 20, 0, true}; }
ColumnDef N(const char *name, int size, int decimals) { return {QString::fromLatin1(name), FieldType::Float, size, decimals}; }
ColumnDef D(const char *name) { return {QString::fromLatin1(name), FieldType::Date}; }
ColumnDef Tm(const char *name) { return {QString::fromLatin1(name), FieldType::Time, 8}; }
ColumnDef B(const char *name) { return {QString::fromLatin1(name), FieldType::Blob}; }

TableDef organisation(const char *table, const char *stem, const char *id, const char *name, const char *addr,
                      const char *comment)
{
    return {QString::fromLatin1(table),
            QString::fromLatin1(stem),
            {I(id), T(name, 150), T(addr, 200), T(comment, 200), T("ADDRES_UR", 200), T("BANK", 150), T("K_S", 20),
             T("R_S", 20), T("BIK", 9), T("OKPO", 8), T("KPP", 9), T("INN", 12)},
            {QString::fromLatin1(id)}};
}

TableDef oneName(const char *table, const char *stem, const char *id, const char *name, int width)
{
    return {QString::fromLatin1(table), QString::fromLatin1(stem), {I(id), T(name, width)}, {QString::fromLatin1(id)}};
}

QVector<TableDef> buildCatalogue()
{
    QVector<TableDef> c;
    c.append({QStringLiteral("EVENJRN"),
              QStringLiteral("EvenJrn"),
              {I("ID_RECORD"), D("DATE_EVEN"), Tm("TIME_EVEN"), I("ID_EVENTYP"), I("MODE_EN_DP"), I("ID_TRANSP"),
               I("ID_DRIVER"), I("ID_OPERAT"), I("ID_CARGO"), I("ID_CARGOTY"), T("PROPCARGO", 200),
               T("COMMENT", 250), W("WCARGO"), W("RESFIELD_1"), I("RESFIELD_2"), I("AT_OP_AUTO"), I("ID_DOCUMEN"),
               B("PICTURECAR")},
              {QStringLiteral("ID_RECORD"), QStringLiteral("DATE_EVEN"), QStringLiteral("ID_DOCUMEN")}});
    c.append({QStringLiteral("TRANSPORT"),
              QStringLiteral("Transport"),
              {I("ID_TRANSP"), T("NAMETRANSP", 100), T("STATENUMB", 15), T("COD_REGION", 10), T("STATENUM_T", 15),
               W("W_EMPTYCAR"), W("W_EMPTY_TR"), I("ID_MODEL"), I("ID_OWNER"), T("IDRF", 40), I("ID_TRAILER"),
               T("ATT_DRIVER", 3)},
              {QStringLiteral("ID_TRANSP"), QStringLiteral("STATENUMB"), QStringLiteral("IDRF")}});
    c.append({QStringLiteral("MODEL"),
              QStringLiteral("Model"),
              {I("ID_MODEL"), T("NAMEMODEL", 100), N("W_EMPTYMOD", 12, 3), N("MAXW_MODEL", 12, 3)},
              {QStringLiteral("ID_MODEL")}});
    c.append({QStringLiteral("TRAILER"),
              QStringLiteral("Trailer"),
              {I("ID_TRAILER"), T("NAMETR", 100), N("W_EMPTYTR", 12, 3), N("MAXW_TR", 12, 3)},
              {QStringLiteral("ID_TRAILER")}});
    c.append(oneName("TSTYPES", "TsTypes", "ID_TSTYPES", "TSTYPES", 100));
    c.append(organisation("OWNER", "Owner", "ID_OWNER", "NAME_OWNER", "ADDR_OWNER", "OWNER_F1"));
    c.append({QStringLiteral("DRIVER"),
              QStringLiteral("Driver"),
              {I("ID_DRIVER"), T("LASTN_DRIV", 50), T("FIRSN_DRIV", 50), T("PATR_DRIV", 50)},
              {QStringLiteral("ID_DRIVER")}});
    c.append({QStringLiteral("CARGO"),
              QStringLiteral("Cargo"),
              {I("ID_CARGO"), T("NAMECARGO", 150), T("CODCARGO", 30)},
              {QStringLiteral("ID_CARGO"), QStringLiteral("CODCARGO")}});
    c.append(oneName("CARGOTYPES", "CargoTypes", "ID_CARGOTY", "NAMECARGOT", 100));
    c.append(oneName("EVENTYPES", "EvenTypes", "ID_EVEN", "NAMEEVEN", 100));
    c.append({QStringLiteral("DOCUMENT"),
              QStringLiteral("Document"),
              {I("ID_DOCUMEN"), D("DATE_DOC"), Tm("TIME_DOC"), I("ID_DOCTYPE"), T("NUMBER_DOC", 30),
               T("NUMBER_NAK", 30), T("NUMBER_DOV", 30), I("ID_GR_OTPR"), I("ID_GR_POL"), I("ID_POKUP"),
               I("ID_POST"), T("NAME_PRODU", 150), T("COD_PRODUC", 30), T("EDIZM", 30), T("UPAKOV", 50),
               I("KOLVO"), I("KOLVO_MEST"), W("WCARGO"), W("DOC_FIELD1"), N("PRICE", 15, 2), N("SUMMA", 15, 2),
               I("NUM_SKLAD"), T("COMMENT", 250)},
              {QStringLiteral("ID_DOCUMEN"), QStringLiteral("DATE_DOC")}});
    c.append(oneName("DOCTYPES", "DocTypes", "ID_DOCTYPE", "NAMEDOC", 100));
    c.append(organisation("GR_OTPR", "Gr_Otpr", "ID_GR_OTPR", "NAME_GR_OT", "ADDR_GR_OT", "GR_OT_F1"));
    c.append(organisation("GR_POL", "Gr_Pol", "ID_GR_POL", "NAME_GR_PL", "ADDR_GR_PL", "GR_PL_F1"));
    c.append(organisation("POKUP", "Pokup", "ID_POKUP", "NAME_POKUP", "ADDR_POKUP", "POKUP_F1"));
    c.append(organisation("POST", "Post", "ID_POST", "NAME_POST", "ADDR_POST", "POST_F1"));
    c.append(oneName("EDIZM", "EdIzm", "ID_EDIZM", "EDIZM", 30));
    c.append(oneName("UPAKOV", "Upakov", "ID_UPAKOV", "UPAKOV", 50));
    c.append({QStringLiteral("USERS"),
              QStringLiteral("Users"),
              {I("ID_USER"), T("LONGN_USER", 100), T("SHORTN_US", 50), T("NAME_USER", 30), T("PASSW_USER", 30),
               T("LEVEL_USER", 20), I("CHANGE_P")},
              {QStringLiteral("ID_USER")}});
    c.append({QStringLiteral("OPERATOR"),
              QStringLiteral("Operator"),
              {I("ID_OPERAT"), T("LASTN_OPER", 50), T("FIRSN_OPER", 50), T("PATR_OPER", 50)},
              {QStringLiteral("ID_OPERAT")}});
    c.append({QStringLiteral("PASSJRN"), QStringLiteral("PassJrn"), {T("PASSUSR", 30), T("PASSADM", 30)}, {}});
    c.append({QStringLiteral("FIELD"),
              QStringLiteral("Field"),
              {I("ID_FIELD"), T("NAMEFIELD", 10), T("NFIELD", 40), T("TYPEFIELD", 1), I("LENFIELD"),
               T("NAMETABLE", 10)},
              {}});
    c.append({QStringLiteral("OPERATION"),
              QStringLiteral("Operation"),
              {T("OPER", 10), I("ID_OPER"), T("DESCRIPT", 40)},
              {}});
    c.append({QStringLiteral("BOOL"), QStringLiteral("Bool"), {T("FBOOL", 5), T("DESCRIPT", 20)}, {}});
    c.append({QStringLiteral("MEMD"),
              QStringLiteral("MemD"),
              {T("F1", 40), T("F2", 40), T("F3", 150), T("F4", 150), T("F5", 5)},
              {}});
    c.append({QStringLiteral("MEMCARGO"), QStringLiteral("MemCargo"), {T("F1", 30), T("F2", 150)}, {}});
    c.append({QStringLiteral("NUMBERW"), QStringLiteral("NumberW"), {D("DATE_W"), I("NUMBER_W")},
              {QStringLiteral("DATE_W")}});
    return c;
}

QString columnSql(const ColumnDef &c, int width)
{
    const QString name = c.name;
    switch (c.type) {
    case FieldType::Integer:
        return name + QStringLiteral(" INTEGER");
    case FieldType::Float:
        return name + QStringLiteral(" NUMERIC(%1,%2)").arg(c.size).arg(c.decimals);
    case FieldType::Date:
        // Stored as yyyy-mm-dd, so dates compare and sort as text.
        return name + QStringLiteral(" DATE");
    case FieldType::Time:
        return name + QStringLiteral(" TIMETEXT(%1) NOT NULL ON CONFLICT REPLACE DEFAULT ''").arg(width);
    case FieldType::Text:
        // Texts are never NULL: name concatenations of a row with an empty
        // part still give a name. Weights kept as text compare as numbers
        // (no index uses that rule, so other tools can still write them).
        return name + QStringLiteral(" VARCHAR(%1) NOT NULL ON CONFLICT REPLACE DEFAULT ''").arg(width)
            + (c.weightText ? QStringLiteral(" COLLATE ZVNUM") : QString());
    case FieldType::Blob:
        return name + QStringLiteral(" BLOB");
    case FieldType::Unknown:
        break;
    }
    return name;
}

void run(QSqlQuery &q, const QString &sql)
{
    if (!q.exec(sql))
        throw DbError(q.lastError().databaseText().isEmpty() ? q.lastError().text() : q.lastError().databaseText());
}

void insertRow(const QString &connection, const QString &table, const QStringList &columns, const QVariantList &values)
{
    QSqlQuery q(QSqlDatabase::database(connection, false));
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    if (!q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))))
        throw DbError(q.lastError().databaseText());
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        throw DbError(q.lastError().databaseText());
}

void removeDatabaseFiles(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::remove(path + QStringLiteral("-journal"));
}

QString randomPassword()
{
    static const char alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    QString s;
    for (int i = 0; i < 10; ++i)
        s += QLatin1Char(alphabet[QRandomGenerator::system()->bounded(int(sizeof alphabet - 1))]);
    return s;
}

} // namespace

const QVector<TableDef> &catalogue()
{
    static const QVector<TableDef> c = buildCatalogue();
    return c;
}

const TableDef *findTable(const QString &name)
{
    for (const TableDef &t : catalogue())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

void createSchema(const QString &connectionName, const QHash<QString, int> &widths)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    for (const TableDef &t : catalogue()) {
        QStringList cols;
        for (const ColumnDef &c : t.columns)
            cols << columnSql(c, std::max(c.size, widths.value(t.name + QLatin1Char('.') + c.name, 0)));
        run(q, QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, cols.join(QStringLiteral(", "))));
        for (const QString &ix : t.indexed)
            run(q, QStringLiteral("CREATE INDEX %1_%2 ON %1 (%2)").arg(t.name, ix));
    }
    // The pair search: one vehicle's events of a day.
    run(q, QStringLiteral("CREATE INDEX EVENJRN_TRANSP_DATE ON EVENJRN (ID_TRANSP, DATE_EVEN)"));
    // The document number of a new journal row: greater than every number a
    // journal row or a document holds, so no two events and no existing
    // document ever share it.
    run(q, QStringLiteral(
               "CREATE TRIGGER EVENJRN_ID_DOCUMEN AFTER INSERT ON EVENJRN "
               "WHEN NEW.ID_DOCUMEN IS NULL OR NEW.ID_DOCUMEN = 0 "
               "BEGIN "
               "UPDATE EVENJRN SET ID_DOCUMEN = 1 + MAX(COALESCE((SELECT MAX(ID_DOCUMEN) FROM EVENJRN), 0), "
               "COALESCE((SELECT MAX(ID_DOCUMEN) FROM DOCUMENT), 0)) WHERE _rowid_ = NEW._rowid_; "
               "END"));
}

QString addBuiltInRows(const QString &connectionName)
{
    const auto row = [&](const char *table, const QStringList &cols, const QVariantList &vals) {
        insertRow(connectionName, QString::fromLatin1(table), cols, vals);
    };
    const QStringList even{QStringLiteral("ID_EVEN"), QStringLiteral("NAMEEVEN")};
    row("EVENTYPES", even, {126, QStringLiteral("ВЗВЕШИВАНИЕ ТС С ГРУЗОМ")});
    row("EVENTYPES", even, {127, QStringLiteral("ВЗВЕШИВАНИЕ ТС ПУСТОГО")});
    row("EVENTYPES", even, {129, QStringLiteral("КОНТРОЛЬНОЕ ВЗВЕШИВАНИЕ ТС")});
    row("EVENTYPES", even, {130, QStringLiteral("ВЗВЕШИВАНИЕ ТС БЕЗ ИДЕНТИФИКАЦИИ")});
    row("EVENTYPES", even, {132, QStringLiteral("ПОВТОРНОЕ ВЗВЕШИВАНИЕ ТС С ГРУЗОМ")});
    row("EVENTYPES", even, {141, QStringLiteral("ПОВТОРНОЕ ВЗВЕШИВАНИЕ ТС ПУСТОГО")});
    row("EVENTYPES", even, {142, QStringLiteral("ПОВТОРНОЕ КОНТРОЛЬНОЕ ВЗВЕШИВАНИЕ ТС")});
    row("EVENTYPES", even, {143, QStringLiteral("ВЗВЕШИВАНИЕ ТС С ПЕРЕГРУЗОМ")});

    row("CARGOTYPES", {QStringLiteral("ID_CARGOTY"), QStringLiteral("NAMECARGOT")},
        {105, QStringLiteral("НЕ УКАЗАН")});

    const QString service = randomPassword();
    row("PASSJRN", {QStringLiteral("PASSUSR"), QStringLiteral("PASSADM")}, {InitialJournalPassword, service});

    row("USERS",
        {QStringLiteral("ID_USER"), QStringLiteral("LONGN_USER"), QStringLiteral("SHORTN_US"),
         QStringLiteral("NAME_USER"), QStringLiteral("PASSW_USER"), QStringLiteral("LEVEL_USER"),
         QStringLiteral("CHANGE_P")},
        {1, QStringLiteral("Администратор"), QStringLiteral("Администратор"), InitialAdminLogin,
         InitialAdminPassword, QStringLiteral("Administrator"), 1});

    // Filter vocabulary: column name, shown name, type, width, table.
    struct F {
        const char *column;
        const char *shown;
        const char *type;
        int width;
        const char *table;
    };
    const F fields[] = {
        {"DATE_EVEN", "Дата события", "D", 8, "EVENJRN"},
        {"WCARGO", "Вес (брутто)", "C", 20, "EVENJRN"},
        {"RESFIELD_1", "Вес нетто", "C", 20, "EVENJRN"},
        {"MODE_EN_DP", "Режим взвешивания", "N", 1, "EVENJRN"},
        {"NAMEEVEN", "Вид события", "C", 100, "EVENTYPES"},
        {"NAMECARGO", "Наименование груза", "C", 150, "CARGO"},
        {"CODCARGO", "Код груза", "C", 30, "CARGO"},
        {"NAMECARGOT", "Тип груза", "C", 100, "CARGOTYPES"},
        {"FIO_D", "Водитель", "C", 152, "DRIVER"},
        {"STATENUMB", "Гос. номер ТС", "C", 15, "TRANSPORT"},
        {"IDRF", "RFID метка ТС", "C", 40, "TRANSPORT"},
        {"LONGN_USER", "Оператор", "C", 100, "USERS"},
        {"NAME_GR_OT", "Грузоотправитель", "C", 150, "GR_OTPR"},
        {"NAME_GR_PL", "Грузополучатель", "C", 150, "GR_POL"},
        {"NAME_POKUP", "Покупатель", "C", 150, "POKUP"},
        {"NAME_POST", "Поставщик", "C", 150, "POST"},
        {"NUMBER_NAK", "Номер накладной", "C", 30, "DOCUMENT"},
    };
    int id = 1;
    for (const F &f : fields)
        row("FIELD",
            {QStringLiteral("ID_FIELD"), QStringLiteral("NAMEFIELD"), QStringLiteral("NFIELD"),
             QStringLiteral("TYPEFIELD"), QStringLiteral("LENFIELD"), QStringLiteral("NAMETABLE")},
            {id++, QString::fromLatin1(f.column), QString::fromUtf8(f.shown), QString::fromLatin1(f.type), f.width,
             QString::fromLatin1(f.table)});

    struct O {
        const char *op;
        const char *descript;
    };
    const O ops[] = {
        {"=", "равно"},
        {"<>", "не равно"},
        {">", "больше"},
        {">=", "больше или равно"},
        {"<", "меньше"},
        {"<=", "меньше или равно"},
        {"BETWEEN", "значение в интевале (от и до)"},
        {"LIKE", "похоже на (шаблон с % и _)"},
    };
    id = 1;
    for (const O &o : ops)
        row("OPERATION", {QStringLiteral("OPER"), QStringLiteral("ID_OPER"), QStringLiteral("DESCRIPT")},
            {QString::fromLatin1(o.op), id++, QString::fromUtf8(o.descript)});

    row("BOOL", {QStringLiteral("FBOOL"), QStringLiteral("DESCRIPT")}, {QStringLiteral("AND"), QStringLiteral("и")});
    row("BOOL", {QStringLiteral("FBOOL"), QStringLiteral("DESCRIPT")}, {QStringLiteral("OR"), QStringLiteral("или")});
    return service;
}

void buildDatabase(const QString &dir, const std::function<void(const QString &)> &fill)
{
    if (!QDir().mkpath(dir))
        throw DbError(QStringLiteral("Каталог \"%1\" не может быть создан").arg(QDir::toNativeSeparators(dir)));
    const QString path = QDir(dir).absoluteFilePath(QString::fromLatin1(Database::FileName));
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("База данных \"%1\" уже существует; она не перезаписывается")
                          .arg(QDir::toNativeSeparators(path)));
    const QString conn = QStringLiteral("zv-build");
    try {
        {
            QSqlDatabase db = Database::openFile(path, conn, true);
            if (!db.transaction())
                throw DbError(db.lastError().text());
            try {
                fill(conn);
                if (!db.commit())
                    throw DbError(db.lastError().text());
            } catch (...) {
                db.rollback();
                db.close();
                throw;
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(conn);
    } catch (...) {
        if (QSqlDatabase::contains(conn))
            QSqlDatabase::removeDatabase(conn);
        removeDatabaseFiles(path);
        throw;
    }
}

QString createDatabase(const QString &dir)
{
    QString service;
    buildDatabase(dir, [&](const QString &conn) {
        createSchema(conn);
        service = addBuiltInRows(conn);
    });
    return service;
}

QVector<DemoUser> demoUsers()
{
    return {{QStringLiteral("operator"), QStringLiteral("operator"), QStringLiteral("Operator")},
            {QStringLiteral("report"), QStringLiteral("report"), QStringLiteral("CreaterReport")}};
}

void addDemoData(const QString &dir)
{
    const QString path = QDir(dir).absoluteFilePath(QString::fromLatin1(Database::FileName));
    const QString conn = QStringLiteral("zv-demo");
    {
        QSqlDatabase db = Database::openFile(path, conn, false);
        try {
            QSqlQuery q(db);
            run(q, QStringLiteral("SELECT COUNT(*) FROM TRANSPORT"));
            if (q.next() && q.value(0).toInt() > 0)
                throw DbError(QStringLiteral("В базе данных \"%1\" уже есть транспортные средства; демонстрационные "
                                             "данные не добавлены")
                                  .arg(QDir::toNativeSeparators(path)));
            q.finish();
            if (!db.transaction())
                throw DbError(db.lastError().text());
            const auto row = [&](const char *table, const char *cols, const QVariantList &vals) {
                insertRow(conn, QString::fromLatin1(table), QString::fromLatin1(cols).split(QLatin1Char(',')), vals);
            };
            const auto S = [](const char *s) { return QVariant(QString::fromUtf8(s)); };
            try {
                row("TSTYPES", "ID_TSTYPES,TSTYPES", {1, S("Грузовой бортовой")});
                row("TSTYPES", "ID_TSTYPES,TSTYPES", {2, S("Самосвал")});
                row("TSTYPES", "ID_TSTYPES,TSTYPES", {3, S("Седельный тягач")});
                row("TSTYPES", "ID_TSTYPES,TSTYPES", {4, S("Фургон")});

                const char *model = "ID_MODEL,NAMEMODEL,W_EMPTYMOD,MAXW_MODEL";
                row("MODEL", model, {1, S("КАМАЗ-65115"), 10300.0, 25200.0});
                row("MODEL", model, {2, S("МАЗ-5440"), 7900.0, 18000.0});
                row("MODEL", model, {3, S("ГАЗ-3309"), 4050.0, 8180.0});
                row("MODEL", model, {4, S("ЗИЛ-130"), 4300.0, 10525.0});
                const char *trailer = "ID_TRAILER,NAMETR,W_EMPTYTR,MAXW_TR";
                row("TRAILER", trailer, {1, S("НЕФАЗ-8560"), 7000.0, 22000.0});
                row("TRAILER", trailer, {2, S("МАЗ-93866"), 6800.0, 38000.0});

                const char *org = "%1,%2,%3,%4,ADDRES_UR,BANK,K_S,R_S,BIK,OKPO,KPP,INN";
                const auto orgRow = [&](const char *table, const char *id, const char *name, const char *addr,
                                        const char *comment, const QVariantList &vals) {
                    const QByteArray cols = QString::fromLatin1(org)
                                                .arg(QLatin1String(id), QLatin1String(name), QLatin1String(addr),
                                                     QLatin1String(comment))
                                                .toLatin1();
                    row(table, cols.constData(), vals);
                };
                orgRow("OWNER", "ID_OWNER", "NAME_OWNER", "ADDR_OWNER", "OWNER_F1",
                       {1, S("ООО \"АвтоТрансСервис\""), S("г. Тула, ул. Заводская, 12"), S(""),
                        S("300026, г. Тула, ул. Заводская, 12"), S("ПАО Сбербанк"), S("30101810300000000608"),
                        S("40702810866000001234"), S("047003608"), S("12345678"), S("710501001"), S("7105012345")});
                orgRow("OWNER", "ID_OWNER", "NAME_OWNER", "ADDR_OWNER", "OWNER_F1",
                       {2, S("ИП Петров Сергей Иванович"), S("Тульская обл., п. Ленинский"), S("перевозчик"),
                        S("Тульская обл., п. Ленинский, ул. Мира, 3"), S("АО \"Тинькофф Банк\""),
                        S("30101810145250000974"), S("40802810400000123456"), S("044525974"), S("87654321"), S(""),
                        S("710300123456")});
                orgRow("GR_OTPR", "ID_GR_OTPR", "NAME_GR_OT", "ADDR_GR_OT", "GR_OT_F1",
                       {1, S("АО \"Тульский карьер\""), S("Тульская обл., с. Каменка"), S(""),
                        S("301100, Тульская обл., с. Каменка, 1"), S("ПАО Сбербанк"), S("30101810300000000608"),
                        S("40702810866000004321"), S("047003608"), S("23456789"), S("711801001"), S("7118004321")});
                orgRow("GR_OTPR", "ID_GR_OTPR", "NAME_GR_OT", "ADDR_GR_OT", "GR_OT_F1",
                       {2, S("ООО \"Агрохолдинг Заря\""), S("Тульская обл., д. Заря"), S(""), S(""), S(""), S(""),
                        S(""), S(""), S(""), S(""), S("")});
                orgRow("GR_POL", "ID_GR_POL", "NAME_GR_PL", "ADDR_GR_PL", "GR_PL_F1",
                       {1, S("ООО \"СтройБетон\""), S("г. Тула, Новомосковское ш., 5"), S(""),
                        S("300041, г. Тула, Новомосковское ш., 5"), S("Банк ВТБ (ПАО)"), S("30101810700000000187"),
                        S("40702810500000011111"), S("044525187"), S("34567890"), S("710401001"), S("7104011111")});
                orgRow("GR_POL", "ID_GR_POL", "NAME_GR_PL", "ADDR_GR_PL", "GR_PL_F1",
                       {2, S("Элеватор \"Тульский\""), S("г. Тула, ул. Элеваторная, 1"), S(""), S(""), S(""),
                        S(""), S(""), S(""), S(""), S(""), S("")});
                orgRow("POKUP", "ID_POKUP", "NAME_POKUP", "ADDR_POKUP", "POKUP_F1",
                       {1, S("ООО \"СтройБетон\""), S("г. Тула, Новомосковское ш., 5"), S(""), S(""),
                        S("Банк ВТБ (ПАО)"), S("30101810700000000187"), S("40702810500000011111"), S("044525187"),
                        S("34567890"), S("710401001"), S("7104011111")});
                orgRow("POST", "ID_POST", "NAME_POST", "ADDR_POST", "POST_F1",
                       {1, S("АО \"Тульский карьер\""), S("Тульская обл., с. Каменка"), S(""), S(""),
                        S("ПАО Сбербанк"), S("30101810300000000608"), S("40702810866000004321"), S("047003608"),
                        S("23456789"), S("711801001"), S("7118004321")});

                const char *driver = "ID_DRIVER,LASTN_DRIV,FIRSN_DRIV,PATR_DRIV";
                row("DRIVER", driver, {1, S("Иванов"), S("Иван"), S("Иванович")});
                row("DRIVER", driver, {2, S("Смирнов"), S("Алексей"), S("Петрович")});
                row("DRIVER", driver, {3, S("Кузнецов"), S("Дмитрий"), S("Сергеевич")});
                row("DRIVER", driver, {4, S("Ахмедов"), S("Рустам"), S("")}); // no patronymic

                const char *cargo = "ID_CARGO,NAMECARGO,CODCARGO";
                row("CARGO", cargo, {1, S("Щебень гранитный фр. 5-20"), S("00-00000101")});
                row("CARGO", cargo, {2, S("Песок строительный"), S("00-00000102")});
                row("CARGO", cargo, {3, S("Пшеница 3 класса"), S("00-00000201")});
                row("CARGO", cargo, {4, S("Бетон М300"), S("00-00000301")});
                row("CARGO", cargo, {5, S("Металлолом 3А"), S("00-00000401")});

                row("CARGOTYPES", "ID_CARGOTY,NAMECARGOT", {1, S("Сыпучий")});
                row("CARGOTYPES", "ID_CARGOTY,NAMECARGOT", {2, S("Наливной")});
                row("CARGOTYPES", "ID_CARGOTY,NAMECARGOT", {3, S("Штучный")});

                row("DOCTYPES", "ID_DOCTYPE,NAMEDOC", {1, S("Товарно-транспортная накладная")});
                row("DOCTYPES", "ID_DOCTYPE,NAMEDOC", {2, S("Товарная накладная")});
                row("EDIZM", "ID_EDIZM,EDIZM", {1, S("кг")});
                row("EDIZM", "ID_EDIZM,EDIZM", {2, S("т")});
                row("EDIZM", "ID_EDIZM,EDIZM", {3, S("м3")});
                row("UPAKOV", "ID_UPAKOV,UPAKOV", {1, S("Навалом")});
                row("UPAKOV", "ID_UPAKOV,UPAKOV", {2, S("Мешки")});
                row("UPAKOV", "ID_UPAKOV,UPAKOV", {3, S("Поддоны")});

                const char *ts = "ID_TRANSP,NAMETRANSP,STATENUMB,COD_REGION,STATENUM_T,W_EMPTYCAR,W_EMPTY_TR,"
                                 "ID_MODEL,ID_OWNER,IDRF,ID_TRAILER,ATT_DRIVER";
                row("TRANSPORT", ts,
                    {1, S("Самосвал"), S("А123ВС71"), S("71"), S(""), S("10300"), S("0"), 1, 1, S("E2003412B802011"),
                     0, S("НЕТ")});
                row("TRANSPORT", ts,
                    {2, S("Седельный тягач"), S("М456ОР71"), S("71"), S("АК123471"), S("7900"), S("7000"), 2, 1,
                     S("E2003412B802022"), 1, S("ДА")});
                row("TRANSPORT", ts,
                    {3, S("Грузовой бортовой"), S("К789ЕН50"), S("50"), S(""), S("4050"), S("0"), 3, 2, S(""), 0,
                     S("НЕТ")});
                row("TRANSPORT", ts,
                    {4, S("Грузовой бортовой"), S("Т321УХ71"), S("71"), S("АВ567871"), S("4300"), S("6800"), 4, 2,
                     S(""), 2, S("ДА")});

                const char *user = "ID_USER,LONGN_USER,SHORTN_US,NAME_USER,PASSW_USER,LEVEL_USER,CHANGE_P";
                const auto users = demoUsers();
                row("USERS", user,
                    {2, S("Сидорова Анна Викторовна"), S("Сидорова А. В."), users[0].login, users[0].password,
                     users[0].group, 0});
                row("USERS", user,
                    {3, S("Орлов Павел Николаевич"), S("Орлов П. Н."), users[1].login, users[1].password,
                     users[1].group, 0});
                row("OPERATOR", "ID_OPERAT,LASTN_OPER,FIRSN_OPER,PATR_OPER",
                    {2, S("Сидорова"), S("Анна"), S("Викторовна")});
                if (!db.commit())
                    throw DbError(db.lastError().text());
            } catch (...) {
                db.rollback();
                throw;
            }
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(conn);
            throw;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(conn);
}

} // namespace zv::store
