#pragma once
// Database side of the users and passwords, over the shared queries and table
// components of the data module: BVQUser/BVTUsers, BVQOperUs/BVTOperator,
// BVQPassJrn/BVTPassJrn. Every function throws zv::store::DbError with the
// engine's message when the engine fails; the windows put their fixed prefix
// in front of it.
#include <QList>
#include <QString>
#include <optional>

#include "accessrules.h"

namespace zv::access {

struct UserRecord {
    int id = 0;
    QString longName;  // LONGN_USER
    QString shortName; // SHORTN_US
    QString name;      // NAME_USER
    QString password;  // PASSW_USER
    QString level;     // LEVEL_USER
    int changeP = 0;   // CHANGE_P
};

// Close and re-open BVQUser (the list of users by login name).
void reopenUsers();
// Rows of BVQUser in its order; opens it when closed.
QList<UserRecord> users();
// First user in login-name order whose name equals `name`, letter case ignored.
std::optional<UserRecord> findUserByName(const QString &name);
std::optional<UserRecord> findUserById(int id);

// Stores a user's password (BVTUsers); DbError when the user is gone.
void storeUserPassword(int id, const QString &password);
// Clears the first-login flag after a completed forced change.
void clearChangeFlag(int id);

// First two columns of the first PASSJRN row as text (re-reads BVQPassJrn);
// an empty table gives two empty texts.
struct JournalPasswords {
    QString first;
    QString second;
};
JournalPasswords journalPasswords();
// Writes PASSUSR of the only PASSJRN row (the first row of an empty table).
void storeJournalPassword(const QString &password);

// Users page. `level` not set: LEVEL_USER is not written (left empty for a
// new user, kept for a changed one).
struct UserChange {
    QString name;
    QString password;
    std::optional<QString> level;
    int changeP = 0;
    QString longName;
    QString shortName;
};
// New user with the largest ID_USER plus one; returns the identifier.
int addUser(const UserChange &user);
// DbError when no user has that identifier.
void updateUser(int id, const UserChange &user);
// Deletes the user; false when no such row (nothing deleted).
bool deleteUser(int id);
// OPERATOR row of the user (BVQOperUs), if any.
std::optional<NameParts> operatorNames(int id);
// Deletes the OPERATOR row with that identifier; false when there is none.
bool deleteOperator(int id);

} // namespace zv::access

namespace zv::access {
// Closes BVTUsers and BVTOperator after a deletion.
void closeUserTables();
}
