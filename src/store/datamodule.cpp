#include "datamodule.h"

#include "database.h"
#include "dberrorbox.h"

#include <QHash>

namespace zv::store {

namespace {

// The shared queries, line for line as the windows rely on them.
const QHash<QString, QStringList> &sharedTexts()
{
    static const QHash<QString, QStringList> texts = {
    {QStringLiteral("BVQWrEvJrn"),
     {QStringLiteral("SELECT EJ.*,  Et.NameEven, C.NameCargo, C.CodCargo, Ct.NameCargoT,"),
      QStringLiteral("               D.LastN_Driv || ' ' || D.FirsN_Driv || ' ' || D.Patr_Driv AS FIO_D,"),
      QStringLiteral("               U.ShortN_Us, U.LongN_User,  "),
      QStringLiteral("               T.StateNumb,T.IDRF, T.StateNum_T, T.W_EmptyCar,"),
      QStringLiteral("               T.W_Empty_Tr, Doc.*"),
      QStringLiteral("FROM ((((((EVENJRN EJ"),
      QStringLiteral("LEFT JOIN EVENTYPES Et ON Et.ID_EVEN=EJ.ID_EVENTYP)"),
      QStringLiteral("LEFT JOIN CARGO C ON C.ID_CARGO=EJ.ID_CARGO)"),
      QStringLiteral("LEFT JOIN CARGOTYPES Ct ON Ct.ID_CARGOTY=EJ.ID_CARGOTY)"),
      QStringLiteral("LEFT JOIN DRIVER D ON D.ID_DRIVER=EJ.ID_DRIVER)"),
      QStringLiteral("LEFT JOIN USERS U ON U.ID_USER=EJ.ID_OPERAT)"),
      QStringLiteral("LEFT JOIN TRANSPORT T ON T.ID_TRANSP=EJ.ID_TRANSP)"),
      QStringLiteral("LEFT JOIN DOCUMENT Doc ON Doc.ID_DOCUMEN=EJ.ID_DOCUMEN"),
      QStringLiteral("WHERE DATE_EVEN = :IN_DATE"),
      QStringLiteral("ORDER BY DATE_EVEN, TIME_EVEN")}},
    {QStringLiteral("BVQFindPair"),
     {QStringLiteral("SELECT EJ.*  , T.*"),
      QStringLiteral("FROM EVENJRN EJ"),
      QStringLiteral("LEFT JOIN TRANSPORT T ON T.ID_TRANSP=EJ.ID_TRANSP"),
      QStringLiteral("WHERE DATE_EVEN BETWEEN  :IN_DATE_BEG  AND :IN_DATE_END and EJ.ID_TRANSP = :IN_ID_TRANSP and RESFIELD_2 = 0 and MODE_EN_DP = :IN_MODE"),
      QStringLiteral("ORDER BY DATE_EVEN, TIME_EVEN")}},
    {QStringLiteral("BVQSelEven"),
     {QStringLiteral("SELECT EJ.*, Et.NameEven, C.NameCargo, Ct.NameCargoT,"),
      QStringLiteral("               D.LastN_Driv || ' ' || D.FirsN_Driv || ' ' || D.Patr_Driv AS FIO_D,"),
      QStringLiteral("               O.LastN_Oper || ' ' ||  O.FirsN_Oper || ' ' || O.Patr_Oper AS FIO_O,  "),
      QStringLiteral("               T.StateNumb,T.IDRF, T.W_EmptyCar, T.StateNum_T,"),
      QStringLiteral("              T.W_Empty_Tr"),
      QStringLiteral("FROM (((((EVENJRN EJ"),
      QStringLiteral("LEFT JOIN EVENTYPES Et ON Et.ID_EVEN=EJ.ID_EVENTYP)"),
      QStringLiteral("LEFT JOIN CARGO C ON C.ID_CARGO=EJ.ID_CARGO)"),
      QStringLiteral("LEFT JOIN CARGOTYPES Ct ON Ct.ID_CARGOTY=EJ.ID_CARGOTY)"),
      QStringLiteral("LEFT JOIN DRIVER D ON D.ID_DRIVER=EJ.ID_DRIVER)"),
      QStringLiteral("LEFT JOIN OPERATOR O ON O.ID_OPERAT=EJ.ID_OPERAT)"),
      QStringLiteral("LEFT JOIN TRANSPORT T ON T.ID_TRANSP=EJ.ID_TRANSP"),
      QStringLiteral("WHERE EJ.ID_RECORD = :IN_ID_RECORD")}},
    {QStringLiteral("BVQEvenJrn"),
     {QStringLiteral("SELECT EJ.*, Et.NameEven, C.NameCargo, Ct.NameCargoT,"),
      QStringLiteral("               D.LastN_Driv || ' ' || D.FirsN_Driv || ' ' || D.Patr_Driv AS FIO_D,"),
      QStringLiteral("               O.LastN_Oper || ' ' ||  O.FirsN_Oper || ' ' || O.Patr_Oper AS FIO_O,  "),
      QStringLiteral("               Doc.*,  GrOt.Name_Gr_Ot,GrOt. Addr_Gr_Ot, GrPl.Name_Gr_Pl,"),
      QStringLiteral("               GrPl.Addr_Gr_Pl, Pk.Name_Pokup, Pk.Addr_Pokup, Ps.Name_Post, Ps.Addr_Post,"),
      QStringLiteral("               T.*, M.NameModel, M.W_EmptyMod, Ow.Name_Owner, Ow.Addr_Owner,"),
      QStringLiteral("               Tr.NameTr"),
      QStringLiteral("FROM ((((((((((((((EVENJRN EJ"),
      QStringLiteral("LEFT JOIN EVENTYPES Et ON Et.ID_EVEN=EJ.ID_EVENTYP)"),
      QStringLiteral("LEFT JOIN CARGO C ON C.ID_CARGO=EJ.ID_CARGO)"),
      QStringLiteral("LEFT JOIN CARGOTYPES Ct ON Ct.ID_CARGOTY=EJ.ID_CARGOTY)"),
      QStringLiteral("LEFT JOIN DRIVER D ON D.ID_DRIVER=EJ.ID_DRIVER)"),
      QStringLiteral("LEFT JOIN OPERATOR O ON O.ID_OPERAT=EJ.ID_OPERAT)"),
      QStringLiteral("LEFT JOIN DOCUMENT Doc ON Doc.ID_DOCUMEN=EJ.ID_DOCUMEN)"),
      QStringLiteral("LEFT JOIN GR_OTPR GrOt ON GrOt.ID_GR_OTPR=Doc.ID_GR_OTPR)"),
      QStringLiteral("LEFT JOIN GR_POL GrPl ON GrPl.ID_GR_POL=Doc.ID_GR_POL)"),
      QStringLiteral("LEFT JOIN POKUP  Pk ON Pk.ID_POKUP=Doc.ID_POKUP)"),
      QStringLiteral("LEFT JOIN POST Ps ON Ps.ID_POST=Doc.ID_POST)"),
      QStringLiteral("LEFT JOIN TRANSPORT T ON T.ID_TRANSP=EJ.ID_TRANSP)"),
      QStringLiteral("LEFT JOIN Model M ON M.ID_MODEL=T.ID_MODEL)"),
      QStringLiteral("LEFT JOIN OWNER Ow ON Ow.ID_OWNER=T.ID_OWNER)"),
      QStringLiteral("LEFT JOIN TRAILER TR ON TR.ID_TRAILER=T.ID_TRAILER)")}},
    {QStringLiteral("BVQRepEJ"),
     {QStringLiteral("SELECT EJ.*,  Et.NameEven, C.NameCargo, C.CodCargo, Ct.NameCargoT,"),
      QStringLiteral("               D.LastN_Driv || ' ' || D.FirsN_Driv|| ' ' || D.Patr_Driv  AS FIO_D,"),
      QStringLiteral("               U.ShortN_Us, U.LongN_User,  "),
      QStringLiteral("               T.StateNumb,T.IDRF, T.StateNum_T, T.W_EmptyCar,"),
      QStringLiteral("               T.W_Empty_Tr, Doc.*,GrOt.Name_Gr_Ot,GrOt. Addr_Gr_Ot, GrPl.Name_Gr_Pl,"),
      QStringLiteral("               GrPl.Addr_Gr_Pl, Pk.Name_Pokup, Pk.Addr_Pokup, Ps.Name_Post, Ps.Addr_Post "),
      QStringLiteral("FROM ((((((((((EVENJRN EJ"),
      QStringLiteral("LEFT JOIN EVENTYPES Et ON Et.ID_EVEN=EJ.ID_EVENTYP)"),
      QStringLiteral("LEFT JOIN CARGO C ON C.ID_CARGO=EJ.ID_CARGO)"),
      QStringLiteral("LEFT JOIN CARGOTYPES Ct ON Ct.ID_CARGOTY=EJ.ID_CARGOTY)"),
      QStringLiteral("LEFT JOIN DRIVER D ON D.ID_DRIVER=EJ.ID_DRIVER)"),
      QStringLiteral("LEFT JOIN USERS U ON U.ID_USER=EJ.ID_OPERAT)"),
      QStringLiteral("LEFT JOIN TRANSPORT T ON T.ID_TRANSP=EJ.ID_TRANSP)"),
      QStringLiteral("LEFT JOIN DOCUMENT Doc ON Doc.ID_DOCUMEN=EJ.ID_DOCUMEN)"),
      QStringLiteral("LEFT JOIN GR_OTPR GrOt ON GrOt.ID_GR_OTPR=Doc.ID_GR_OTPR)"),
      QStringLiteral("LEFT JOIN GR_POL GrPl ON GrPl.ID_GR_POL=Doc.ID_GR_POL)"),
      QStringLiteral("LEFT JOIN POKUP  Pk ON Pk.ID_POKUP=Doc.ID_POKUP)"),
      QStringLiteral("LEFT JOIN POST Ps ON Ps.ID_POST=Doc.ID_POST")}},
    {QStringLiteral("BVQImpJrn"),
     {QStringLiteral("SELECT EJ.*, Et.NameEven, C.NameCargo, C.CodCargo, Ct.NameCargoT,"),
      QStringLiteral("               D.LastN_Driv || ' ' || D.FirsN_Driv || ' ' || D.Patr_Driv AS FIO_D,"),
      QStringLiteral("               U.ShortN_Us, U.LongN_User,  "),
      QStringLiteral("               T.StateNumb,T.IDRF, T.StateNum_T, T.W_EmptyCar,"),
      QStringLiteral("               T.W_Empty_Tr, Doc.*"),
      QStringLiteral("FROM ((((((EVENJRN EJ"),
      QStringLiteral("LEFT JOIN EVENTYPES Et ON Et.ID_EVEN=EJ.ID_EVENTYP)"),
      QStringLiteral("LEFT JOIN CARGO C ON C.ID_CARGO=EJ.ID_CARGO)"),
      QStringLiteral("LEFT JOIN CARGOTYPES Ct ON Ct.ID_CARGOTY=EJ.ID_CARGOTY)"),
      QStringLiteral("LEFT JOIN DRIVER D ON D.ID_DRIVER=EJ.ID_DRIVER)"),
      QStringLiteral("LEFT JOIN USERS U ON U.ID_USER=EJ.ID_OPERAT)"),
      QStringLiteral("LEFT JOIN TRANSPORT T ON T.ID_TRANSP=EJ.ID_TRANSP)"),
      QStringLiteral("LEFT JOIN DOCUMENT Doc ON Doc.ID_DOCUMEN=EJ.ID_DOCUMEN"),
      QStringLiteral("WHERE  DATE_EVEN BETWEEN  :IN_DATE_BEG  AND :IN_DATE_END")}},
    {QStringLiteral("BVQDoc"),
     {QStringLiteral("SELECT  Doc.*,  GrOt.*, GrPl.*, Pk.*,  Ps.*, Dty.*"),
      QStringLiteral("FROM ((((DOCUMENT Doc"),
      QStringLiteral("LEFT JOIN GR_OTPR GrOt ON GrOt.ID_GR_OTPR=Doc.ID_GR_OTPR)"),
      QStringLiteral("LEFT JOIN GR_POL GrPl ON GrPl.ID_GR_POL=Doc.ID_GR_POL)"),
      QStringLiteral("LEFT JOIN POKUP  Pk ON Pk.ID_POKUP=Doc.ID_POKUP)"),
      QStringLiteral("LEFT JOIN POST Ps ON Ps.ID_POST=Doc.ID_POST)"),
      QStringLiteral("LEFT JOIN DOCTYPES DTy ON DTy.ID_DOCTYPE= Doc.ID_DOCTYPE"),
      QStringLiteral("WHERE DATE_DOC = :IN_DATE"),
      QStringLiteral("ORDER BY TIME_DOC")}},
    {QStringLiteral("BVQDocEv"),
     {QStringLiteral("SELECT  Doc.*,  GrOt.*, GrPl.*, Pk.*,  Ps.*, Dty.*"),
      QStringLiteral("FROM ((((DOCUMENT Doc"),
      QStringLiteral("LEFT JOIN GR_OTPR GrOt ON GrOt.ID_GR_OTPR=Doc.ID_GR_OTPR)"),
      QStringLiteral("LEFT JOIN GR_POL GrPl ON GrPl.ID_GR_POL=Doc.ID_GR_POL)"),
      QStringLiteral("LEFT JOIN POKUP  Pk ON Pk.ID_POKUP=Doc.ID_POKUP)"),
      QStringLiteral("LEFT JOIN POST Ps ON Ps.ID_POST=Doc.ID_POST)"),
      QStringLiteral("LEFT JOIN DOCTYPES DTy ON DTy.ID_DOCTYPE= Doc.ID_DOCTYPE"),
      QStringLiteral("WHERE ID_DOCUMEN = :IN_ID_DOCUMENT")}},
    {QStringLiteral("BVQTransport"),
     {QStringLiteral("SELECT T.*,M.NameModel, M.W_EmptyMod, O.NAME_OWNER, O.Addr_Owner,"),
      QStringLiteral(" TR.NAMETR, TR.W_EMPTYTR"),
      QStringLiteral("FROM ((Transport T "),
      QStringLiteral("LEFT JOIN Model M ON M.ID_MODEL=T.ID_MODEL)"),
      QStringLiteral("LEFT JOIN OWNER O ON O.ID_OWNER=T.ID_OWNER) "),
      QStringLiteral("LEFT JOIN TRAILER TR ON TR.ID_TRAILER=T.ID_TRAILER"),
      QStringLiteral("ORDER BY NAMETRANSP")}},
    {QStringLiteral("BVQTsEv"),
     {QStringLiteral("SELECT T.*,M.NameModel, M.W_EmptyMod, M.MaxW_Model,"),
      QStringLiteral(" O.NAME_OWNER, O.Addr_Owner,"),
      QStringLiteral(" TR.NameTr, TR.W_EmptyTr,TR.MaxW_Tr"),
      QStringLiteral("FROM ((Transport T"),
      QStringLiteral("LEFT JOIN Model M ON M.ID_MODEL=T.ID_MODEL)"),
      QStringLiteral("LEFT JOIN OWNER O ON O.ID_OWNER=T.ID_OWNER)"),
      QStringLiteral("LEFT JOIN TRAILER TR ON TR.ID_TRAILER=T.ID_TRAILER"),
      QStringLiteral("WHERE (T.IDRF = :IN_RFID) OR (T.STATENUMB = :IN_STATENUMB)")}},
    {QStringLiteral("BVQTsTypes"),
     {QStringLiteral("select * from TSTYPES"),
      QStringLiteral("order by tstypes")}},
    {QStringLiteral("BVQModel"),
     {QStringLiteral("select * from MODEL order by NameModel")}},
    {QStringLiteral("BVQOwner"),
     {QStringLiteral("select ID_OWNER, NAME_OWNER from OWNER order by NAME_OWNER ")}},
    {QStringLiteral("BVQTrailer"),
     {QStringLiteral("SELECT ID_TRAILER, NAMETR FROM  TRAILER "),
      QStringLiteral("ORDER BY NAMETR")}},
    {QStringLiteral("BVQDriver"),
     {QStringLiteral("select DRIVER.ID_Driver,"),
      QStringLiteral(" DRIVER.LastN_Driv || ' ' || DRIVER.FirsN_Driv || ' ' || DRIVER.Patr_Driv AS FIO_D from DRIVER"),
      QStringLiteral(""),
      QStringLiteral("order by Fio_D")}},
    {QStringLiteral("BVQRefCargo"),
     {QStringLiteral("select * from cargo")}},
    {QStringLiteral("BVQCargoTypes"),
     {QStringLiteral("select *  from CARGOTYPES"),
      QStringLiteral("order by namecargot")}},
    {QStringLiteral("BVQEven"),
     {QStringLiteral("select * from EVENTYPES"),
      QStringLiteral("order by nameeven")}},
    {QStringLiteral("BVQDocTypes"),
     {QStringLiteral("select * from DOCTYPES"),
      QStringLiteral("order by NAMEDOC")}},
    {QStringLiteral("BVQGrOtpr"),
     {QStringLiteral("select * from GR_OTPR"),
      QStringLiteral("order by name_gr_ot")}},
    {QStringLiteral("BVQGrPol"),
     {QStringLiteral("select * from GR_POL"),
      QStringLiteral("order by name_gr_pl")}},
    {QStringLiteral("BVQPokup"),
     {QStringLiteral("select * from POKUP"),
      QStringLiteral("order by NAME_POKUP")}},
    {QStringLiteral("BVQPost"),
     {QStringLiteral("select * from POST"),
      QStringLiteral("order by Name_Post")}},
    {QStringLiteral("BVQEdIzm"),
     {QStringLiteral("select * from EDIZM"),
      QStringLiteral("order by EDIZM")}},
    {QStringLiteral("BVQUpakov"),
     {QStringLiteral("select * from UPAKOV"),
      QStringLiteral("order by UPakov")}},
    {QStringLiteral("BVQUser"),
     {QStringLiteral("select * from USERS"),
      QStringLiteral("order by name_user")}},
    {QStringLiteral("BVQOperUs"),
     {QStringLiteral("select * from OPERATOR"),
      QStringLiteral("where ID_OPERAT = :IN_ID_USER")}},
    {QStringLiteral("BVQPassJrn"),
     {QStringLiteral("select * from PASSJRN")}},
    {QStringLiteral("BVQClearMemD"),
     {QStringLiteral("DELETE FROM MemD")}},
    };
    return texts;
}

} // namespace

TBVDMod1 &TBVDMod1::instance()
{
    static TBVDMod1 module;
    return module;
}

#define ZV_TABLE(member, table, display) member(Dataset::Kind::Table, QStringLiteral(#member), QStringLiteral(table), display)
#define ZV_QUERY(member, display) member(Dataset::Kind::Query, QStringLiteral(#member), QString(), display)

TBVDMod1::TBVDMod1()
    : ZV_TABLE(BVTEvenJrn, "EVENJRN", DisplayName::EvenJrn),
      ZV_TABLE(BVTTransport, "TRANSPORT", DisplayName::Transport),
      ZV_TABLE(BVTModel, "MODEL", DisplayName::Model),
      ZV_TABLE(BVTTrailer, "TRAILER", DisplayName::Trailer),
      ZV_TABLE(BVTTsTypes, "TSTYPES", DisplayName::TsTypes),
      ZV_TABLE(BVTOwner, "OWNER", DisplayName::Owner),
      ZV_TABLE(BVTDriver, "DRIVER", DisplayName::Driver),
      ZV_TABLE(BVTCargo, "CARGO", DisplayName::Cargo),
      ZV_TABLE(BVTCargoTypes, "CARGOTYPES", DisplayName::CargoTypes),
      ZV_TABLE(BVTEvenTypes, "EVENTYPES", DisplayName::EvenTypes),
      ZV_TABLE(BVTDocument, "DOCUMENT", DisplayName::Document),
      ZV_TABLE(BVTDocTypes, "DOCTYPES", DisplayName::DocTypes),
      ZV_TABLE(BVTGrOtpr, "GR_OTPR", DisplayName::GrOtpr),
      ZV_TABLE(BVTGrPol, "GR_POL", DisplayName::GrPol),
      ZV_TABLE(BVTPokup, "POKUP", DisplayName::Pokup),
      ZV_TABLE(BVTPost, "POST", DisplayName::Post),
      ZV_TABLE(BVTEdIzm, "EDIZM", DisplayName::EdIzm),
      ZV_TABLE(BVTUpakov, "UPAKOV", DisplayName::Upakov),
      ZV_TABLE(BVTUsers, "USERS", DisplayName::Users),
      ZV_TABLE(BVTOperator, "OPERATOR", DisplayName::Operator),
      ZV_TABLE(BVTPassJrn, "PASSJRN", QStringLiteral("PassJrn")),
      ZV_TABLE(BVTField, "FIELD", QStringLiteral("Field")),
      ZV_TABLE(BVTOperation, "OPERATION", QStringLiteral("Operation")),
      ZV_TABLE(BVTBool, "BOOL", QStringLiteral("Bool")),
      ZV_TABLE(BVTMemD, "MEMD", QStringLiteral("MemD")),
      ZV_TABLE(BVTMemCargo, "MEMCARGO", QStringLiteral("MemCargo")),
      ZV_TABLE(BVTNumberW, "NUMBERW", QStringLiteral("NumberW")),
      ZV_QUERY(BVQWrEvJrn, DisplayName::EvenJrn),
      ZV_QUERY(BVQFindPair, DisplayName::EvenJrn),
      ZV_QUERY(BVQSelEven, DisplayName::EvenJrn),
      ZV_QUERY(BVQEvenJrn, DisplayName::EvenJrn),
      ZV_QUERY(BVQRepEJ, DisplayName::EvenJrn),
      ZV_QUERY(BVQImpJrn, DisplayName::EvenJrn),
      ZV_QUERY(BVQDoc, DisplayName::Document),
      ZV_QUERY(BVQDocEv, DisplayName::Document),
      ZV_QUERY(BVQTransport, DisplayName::Transport),
      ZV_QUERY(BVQTsEv, DisplayName::Transport),
      ZV_QUERY(BVQTsTypes, DisplayName::TsTypes),
      ZV_QUERY(BVQModel, DisplayName::Model),
      ZV_QUERY(BVQOwner, DisplayName::Owner),
      ZV_QUERY(BVQTrailer, DisplayName::Trailer),
      ZV_QUERY(BVQDriver, DisplayName::Driver),
      ZV_QUERY(BVQRefCargo, DisplayName::Cargo),
      ZV_QUERY(BVQCargoTypes, DisplayName::CargoTypes),
      ZV_QUERY(BVQEven, DisplayName::EvenTypes),
      ZV_QUERY(BVQDocTypes, DisplayName::DocTypes),
      ZV_QUERY(BVQGrOtpr, DisplayName::GrOtpr),
      ZV_QUERY(BVQGrPol, DisplayName::GrPol),
      ZV_QUERY(BVQPokup, DisplayName::Pokup),
      ZV_QUERY(BVQPost, DisplayName::Post),
      ZV_QUERY(BVQEdIzm, DisplayName::EdIzm),
      ZV_QUERY(BVQUpakov, DisplayName::Upakov),
      ZV_QUERY(BVQUser, DisplayName::Users),
      ZV_QUERY(BVQOperUs, DisplayName::Operator),
      ZV_QUERY(BVQPassJrn, QStringLiteral("PassJrn")),
      ZV_QUERY(BVQClearMemD, QStringLiteral("MemD")),
      ZV_QUERY(BVQRef, QString()),
      ZV_QUERY(BVQRef1, QString())
{
    Dataset *shared[] = {&BVQWrEvJrn, &BVQFindPair, &BVQSelEven, &BVQEvenJrn, &BVQRepEJ, &BVQImpJrn, &BVQDoc,
                         &BVQDocEv, &BVQTransport, &BVQTsEv, &BVQTsTypes, &BVQModel, &BVQOwner, &BVQTrailer,
                         &BVQDriver, &BVQRefCargo, &BVQCargoTypes, &BVQEven, &BVQDocTypes, &BVQGrOtpr, &BVQGrPol,
                         &BVQPokup, &BVQPost, &BVQEdIzm, &BVQUpakov, &BVQUser, &BVQOperUs, &BVQPassJrn,
                         &BVQClearMemD};
    for (Dataset *q : shared)
        for (const QString &line : sharedTexts().value(q->objectName()))
            q->sql().add(line);

    BVQWrEvJrn.declareParam(QStringLiteral("IN_DATE"), ParamType::Date);
    BVQFindPair.declareParam(QStringLiteral("IN_DATE_BEG"), ParamType::Date);
    BVQFindPair.declareParam(QStringLiteral("IN_DATE_END"), ParamType::Date);
    BVQFindPair.declareParam(QStringLiteral("IN_ID_TRANSP"), ParamType::Integer);
    BVQFindPair.declareParam(QStringLiteral("IN_MODE"), ParamType::Integer);
    BVQSelEven.declareParam(QStringLiteral("IN_ID_RECORD"), ParamType::Integer);
    BVQImpJrn.declareParam(QStringLiteral("IN_DATE_BEG"), ParamType::Date);
    BVQImpJrn.declareParam(QStringLiteral("IN_DATE_END"), ParamType::Date);
    BVQDoc.declareParam(QStringLiteral("IN_DATE"), ParamType::Date);
    BVQDocEv.declareParam(QStringLiteral("IN_ID_DOCUMENT"), ParamType::Integer);
    BVQTsEv.declareParam(QStringLiteral("IN_RFID"), ParamType::Text);
    BVQTsEv.declareParam(QStringLiteral("IN_STATENUMB"), ParamType::Text);
    BVQOperUs.declareParam(QStringLiteral("IN_ID_USER"), ParamType::Integer);
}

#undef ZV_TABLE
#undef ZV_QUERY

int TBVDMod1::GetMaxID(const QString &tableName, const QString &fieldName)
{
    BVQRef1.close();
    BVQRef1.sql().clear();
    int result = 0;
    try {
        BVQRef1.sql().add(QStringLiteral("SELECT MAX(") + fieldName + QStringLiteral(") FROM ") + tableName);
        BVQRef1.open();
        if (!BVQRef1.isEmpty()) {
            const Field f = BVQRef1.field(0);
            result = f.isNull() ? 0 : int(f.asInteger());
        }
    } catch (...) {
        BVQRef1.close();
        BVQRef1.sql().clear();
        throw;
    }
    BVQRef1.close();
    BVQRef1.sql().clear();
    return result;
}

int TBVDMod1::AllocateID(const QString &tableName, const QString &fieldName)
{
    NewRecordID = GetMaxID(tableName, fieldName) + 1;
    return NewRecordID;
}

void TBVDMod1::OpenIfClosed(Dataset &ds)
{
    if (!ds.active())
        ds.open();
}

void TBVDMod1::CloseIfOpen(Dataset &ds)
{
    if (ds.active())
        ds.close();
}

void TBVDMod1::closeAll()
{
    Dataset *all[] = {&BVTEvenJrn, &BVTTransport, &BVTModel, &BVTTrailer, &BVTTsTypes, &BVTOwner, &BVTDriver,
                      &BVTCargo, &BVTCargoTypes, &BVTEvenTypes, &BVTDocument, &BVTDocTypes, &BVTGrOtpr, &BVTGrPol,
                      &BVTPokup, &BVTPost, &BVTEdIzm, &BVTUpakov, &BVTUsers, &BVTOperator, &BVTPassJrn, &BVTField,
                      &BVTOperation, &BVTBool, &BVTMemD, &BVTMemCargo, &BVTNumberW, &BVQWrEvJrn, &BVQFindPair,
                      &BVQSelEven, &BVQEvenJrn, &BVQRepEJ, &BVQImpJrn, &BVQDoc, &BVQDocEv, &BVQTransport,
                      &BVQTsEv, &BVQTsTypes, &BVQModel, &BVQOwner, &BVQTrailer, &BVQDriver, &BVQRefCargo,
                      &BVQCargoTypes, &BVQEven, &BVQDocTypes, &BVQGrOtpr, &BVQGrPol, &BVQPokup, &BVQPost,
                      &BVQEdIzm, &BVQUpakov, &BVQUser, &BVQOperUs, &BVQPassJrn, &BVQClearMemD, &BVQRef, &BVQRef1};
    for (Dataset *ds : all)
        ds->close();
}

QStringList TBVDMod1::sharedQueryText(const QString &queryName)
{
    return sharedTexts().value(queryName);
}

} // namespace zv::store
