#include "accessrules.h"

#include "runstate.h"

namespace zv::access {

QString upperKey(const QString &text)
{
    // Character by character: a letter never turns into two (as "ß" would
    // with full case mapping), so the comparison stays the one the stored
    // passwords were made for.
    QString out = text;
    for (QChar &c : out)
        c = c.toUpper();
    return out;
}

bool passwordsMatch(const QString &typed, const QString &stored)
{
    return upperKey(typed) == upperKey(stored);
}

QStringList actionsDisabledForGroup(const QString &group)
{
    if (group == GroupOperator)
        return {"ConfigSystem", "UserGroup", "BackupDB", "ChangePassJrn"};
    if (group == GroupCreaterReport)
        return {"ConfigSystem", "UserGroup",     "BackupDB",   "Weighter",  "RefEvenTypes", "RefCargo",
                "RefCargoTypes", "RefDriver",    "RefModel",   "RefTrailer", "RefGrOtpr",    "RefGrPol",
                "RefPokup",     "RefPost",       "RefOwner",   "RefDocTypes", "RefTs",       "RefTsTypes",
                "RefEdIzm",     "RefUpakov",     "ChangePassJrn"};
    return {};
}

QStringList operatorSwitchedActions()
{
    return {"ConfigSystem", "UserGroup", "BackupDB", "ChangePassJrn"};
}

bool mayTakeOverAsOperator(const QString &group)
{
    return group == GroupAdministrator || group == GroupOperator;
}

QStringList groupCaptions()
{
    return {QStringLiteral("Администраторы"), QStringLiteral("Операторы"), QStringLiteral("Операторы отчетов")};
}

std::optional<QString> groupForCaption(const QString &caption)
{
    const QStringList groups{GroupAdministrator, GroupOperator, GroupCreaterReport};
    const int i = groupCaptions().indexOf(caption);
    if (i < 0)
        return std::nullopt;
    return groups.at(i);
}

int captionIndexForGroup(const QString &group)
{
    if (group == GroupAdministrator)
        return 0;
    if (group == GroupOperator)
        return 1;
    if (group == GroupCreaterReport)
        return 2;
    return -1;
}

namespace {
// Blanks around a part would make the stored name split back wrongly.
NameParts trimmed(const NameParts &p)
{
    return {p.lastName.trimmed(), p.firstName.trimmed(), p.patronymic.trimmed()};
}
} // namespace

QString buildLongName(const NameParts &parts)
{
    const NameParts p = trimmed(parts);
    QString name = p.lastName;
    if (!p.firstName.isEmpty()) {
        name += QLatin1Char(' ') + p.firstName;
        if (!p.patronymic.isEmpty())
            name += QLatin1Char(' ') + p.patronymic;
    }
    return name;
}

QString buildShortName(const NameParts &parts)
{
    const NameParts p = trimmed(parts);
    QString name = p.lastName;
    if (!p.firstName.isEmpty()) {
        name += QLatin1Char(' ') + p.firstName.left(1) + QLatin1Char('.');
        if (!p.patronymic.isEmpty())
            name += QLatin1Char(' ') + p.patronymic.left(1) + QLatin1Char('.');
    }
    return name;
}

NameParts splitLongName(const QString &longName)
{
    NameParts p;
    const int first = longName.indexOf(QLatin1Char(' '));
    if (first < 0) {
        p.lastName = longName;
        return p;
    }
    p.lastName = longName.left(first);
    const int second = longName.indexOf(QLatin1Char(' '), first + 1);
    if (second < 0) {
        p.firstName = longName.mid(first + 1);
        return p;
    }
    p.firstName = longName.mid(first + 1, second - first - 1);
    p.patronymic = longName.mid(second + 1).trimmed();
    return p;
}

} // namespace zv::access
