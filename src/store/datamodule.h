#pragma once
// The data module: the single owner of every table component and shared
// query of the program, created once and living for the whole run. Windows
// open, re-target and close these objects; they own none of their own.
#include <QString>

#include "dataset.h"

namespace zv::store {

class TBVDMod1 {
public:
    // The module of this run (created on first use, all objects closed).
    static TBVDMod1 &instance();

    TBVDMod1(const TBVDMod1 &) = delete;
    TBVDMod1 &operator=(const TBVDMod1 &) = delete;

    // Table components, one per table.
    Dataset BVTEvenJrn, BVTTransport, BVTModel, BVTTrailer, BVTTsTypes, BVTOwner, BVTDriver, BVTCargo,
        BVTCargoTypes, BVTEvenTypes, BVTDocument, BVTDocTypes, BVTGrOtpr, BVTGrPol, BVTPokup, BVTPost, BVTEdIzm,
        BVTUpakov, BVTUsers, BVTOperator, BVTPassJrn, BVTField, BVTOperation, BVTBool, BVTMemD, BVTMemCargo,
        BVTNumberW;

    // Shared queries with fixed texts and typed parameters.
    Dataset BVQWrEvJrn,  // IN_DATE date
        BVQFindPair,     // IN_DATE_BEG date, IN_DATE_END date, IN_ID_TRANSP integer, IN_MODE integer
        BVQSelEven,      // IN_ID_RECORD integer
        BVQEvenJrn, BVQRepEJ,
        BVQImpJrn,       // IN_DATE_BEG date, IN_DATE_END date
        BVQDoc,          // IN_DATE date
        BVQDocEv,        // IN_ID_DOCUMENT integer
        BVQTransport,
        BVQTsEv,         // IN_RFID text, IN_STATENUMB text
        BVQTsTypes, BVQModel, BVQOwner, BVQTrailer, BVQDriver, BVQRefCargo, BVQCargoTypes, BVQEven, BVQDocTypes,
        BVQGrOtpr, BVQGrPol, BVQPokup, BVQPost, BVQEdIzm, BVQUpakov, BVQUser,
        BVQOperUs,       // IN_ID_USER integer
        BVQPassJrn,
        BVQClearMemD;    // statement without result: execSql()

    // Free queries: the caller closes, clears the text, adds its lines and
    // opens (or execSql for a statement). BVQRef1 belongs to GetMaxID.
    Dataset BVQRef, BVQRef1;

    // Identifier of the last allocation (AllocateID or the caller's own
    // GetMaxID + 1); kept until the next allocation.
    int NewRecordID = 0;

    // Greatest value of the field over the table, 0 for an empty table. Names
    // in any letter case. An engine error (missing table or field) is thrown.
    int GetMaxID(const QString &tableName, const QString &fieldName);
    // NewRecordID := GetMaxID(table, field) + 1; returns it.
    int AllocateID(const QString &tableName, const QString &fieldName);

    static void OpenIfClosed(Dataset &ds);
    static void CloseIfOpen(Dataset &ds);

    // Closes every object of the module (before the database is switched).
    void closeAll();

    // The fixed SQL text of a shared query by its name ("BVQWrEvJrn"), for
    // tests and tools; empty when there is no such query.
    static QStringList sharedQueryText(const QString &queryName);

private:
    TBVDMod1();
};

// Free helpers as the windows call them.
inline int GetMaxID(const QString &tableName, const QString &fieldName)
{
    return TBVDMod1::instance().GetMaxID(tableName, fieldName);
}
inline void OpenIfClosed(Dataset &ds) { TBVDMod1::OpenIfClosed(ds); }
inline void CloseIfOpen(Dataset &ds) { TBVDMod1::CloseIfOpen(ds); }

} // namespace zv::store
