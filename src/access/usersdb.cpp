#include "usersdb.h"

#include "datamodule.h"

namespace zv::access {

using store::Dataset;
using store::DbError;
using store::TBVDMod1;

namespace {

TBVDMod1 &dm() { return TBVDMod1::instance(); }

// The store cuts a text to its column's width; a password or a name cut
// short would be stored as something else than what was typed, so such a
// value is refused instead.
void setText(Dataset &ds, const char *field, const QString &text)
{
    store::Field f = ds.fieldByName(QString::fromLatin1(field));
    if (f.size() > 0 && text.size() > f.size())
        throw DbError(QStringLiteral("значение поля %1 длиннее %2 символов").arg(QString::fromLatin1(field)).arg(f.size()));
    f.setString(text);
}

UserRecord userAt(Dataset &q, int row)
{
    auto value = [&](const char *name) { return q.rowValue(row, q.fieldIndex(QString::fromLatin1(name))); };
    UserRecord u;
    u.id = value("ID_USER").toInt();
    u.longName = value("LONGN_USER").toString();
    u.shortName = value("SHORTN_US").toString();
    u.name = value("NAME_USER").toString();
    u.password = value("PASSW_USER").toString();
    u.level = value("LEVEL_USER").toString();
    u.changeP = value("CHANGE_P").toInt();
    return u;
}

// Finds the row of the user in a table component or throws: writing into
// whatever row happens to be current would change somebody else.
void locateUser(Dataset &t, int id)
{
    if (!t.locate(QStringLiteral("ID_USER"), id))
        throw DbError(QStringLiteral("пользователь с кодом %1 не найден").arg(id));
}

// Closes a table component when the operation leaves, whatever happens.
struct CloseOnExit {
    Dataset &ds;
    ~CloseOnExit()
    {
        try {
            ds.close();
        } catch (...) {
        }
    }
};


// A failed change must not linger as a pending edit of the shared component.
template <typename Fn> void withCancelOnError(Dataset &t, Fn &&fn)
{
    try {
        fn();
    } catch (...) {
        if (t.state() == Dataset::State::Edit || t.state() == Dataset::State::Insert)
            t.cancel();
        throw;
    }
}

} // namespace

void reopenUsers()
{
    dm().BVQUser.close();
    dm().BVQUser.open();
}

QList<UserRecord> users()
{
    Dataset &q = dm().BVQUser;
    TBVDMod1::OpenIfClosed(q);
    const int rows = q.fetchAllRows();
    QList<UserRecord> out;
    out.reserve(rows);
    for (int row = 0; row < rows; ++row)
        out.append(userAt(q, row));
    return out;
}

std::optional<UserRecord> findUserByName(const QString &name)
{
    const QString key = upperKey(name);
    for (const UserRecord &u : users())
        if (upperKey(u.name) == key)
            return u;
    return std::nullopt;
}

std::optional<UserRecord> findUserById(int id)
{
    for (const UserRecord &u : users())
        if (u.id == id)
            return u;
    return std::nullopt;
}

void storeUserPassword(int id, const QString &password)
{
    Dataset &t = dm().BVTUsers;
    {
        CloseOnExit closer{t};
        TBVDMod1::OpenIfClosed(t);
        locateUser(t, id);
        t.edit();
        setText(t, "PASSW_USER", password);
        t.post();
    }
    reopenUsers();
}

void clearChangeFlag(int id)
{
    Dataset &t = dm().BVTUsers;
    TBVDMod1::OpenIfClosed(t);
    withCancelOnError(t, [&] {
        locateUser(t, id);
        t.edit();
        t.fieldByName(QStringLiteral("CHANGE_P")).setInteger(0);
        t.post();
    });
}

JournalPasswords journalPasswords()
{
    Dataset &q = dm().BVQPassJrn;
    q.close();
    q.open();
    JournalPasswords out;
    if (q.isEmpty())
        return out;
    q.first();
    if (q.fieldCount() > 0)
        out.first = q.field(0).asString();
    if (q.fieldCount() > 1)
        out.second = q.field(1).asString();
    return out;
}

void storeJournalPassword(const QString &password)
{
    Dataset &t = dm().BVTPassJrn;
    CloseOnExit closer{t};
    TBVDMod1::OpenIfClosed(t);
    if (t.isEmpty()) {
        t.append();
    } else {
        t.first();
        t.edit();
    }
    setText(t, "PASSUSR", password);
    t.post();
}

namespace {
void writeUserFields(Dataset &t, const UserChange &u)
{
    setText(t, "LONGN_USER", u.longName);
    setText(t, "SHORTN_US", u.shortName);
    setText(t, "PASSW_USER", u.password);
    setText(t, "NAME_USER", u.name);
    if (u.level)
        setText(t, "LEVEL_USER", *u.level);
    t.fieldByName(QStringLiteral("CHANGE_P")).setInteger(u.changeP);
}

} // namespace

int addUser(const UserChange &user)
{
    TBVDMod1 &m = dm();
    const int id = m.AllocateID(QStringLiteral("USERS"), QStringLiteral("ID_USER"));
    Dataset &t = m.BVTUsers;
    TBVDMod1::OpenIfClosed(t);
    withCancelOnError(t, [&] {
        t.append();
        t.fieldByName(QStringLiteral("ID_USER")).setInteger(id);
        writeUserFields(t, user);
        t.post();
    });
    return id;
}

void updateUser(int id, const UserChange &user)
{
    Dataset &t = dm().BVTUsers;
    TBVDMod1::OpenIfClosed(t);
    withCancelOnError(t, [&] {
        locateUser(t, id);
        t.edit();
        writeUserFields(t, user);
        t.post();
    });
}

bool deleteUser(int id)
{
    Dataset &t = dm().BVTUsers;
    TBVDMod1::OpenIfClosed(t);
    TBVDMod1::OpenIfClosed(dm().BVTOperator);
    if (!t.locate(QStringLiteral("ID_USER"), id))
        return false;
    t.remove();
    return true;
}

std::optional<NameParts> operatorNames(int id)
{
    Dataset &q = dm().BVQOperUs;
    q.close();
    q.setParam(QStringLiteral("IN_ID_USER"), id);
    q.open();
    if (q.isEmpty())
        return std::nullopt;
    q.first();
    return NameParts{q.fieldByName(QStringLiteral("LASTN_OPER")).asString(),
                     q.fieldByName(QStringLiteral("FIRSN_OPER")).asString(),
                     q.fieldByName(QStringLiteral("PATR_OPER")).asString()};
}

bool deleteOperator(int id)
{
    Dataset &t = dm().BVTOperator;
    TBVDMod1::OpenIfClosed(t);
    if (!t.locate(QStringLiteral("ID_OPERAT"), id))
        return false;
    t.remove();
    return true;
}

void closeUserTables()
{
    dm().BVTUsers.close();
    dm().BVTOperator.close();
}

} // namespace zv::access
