#pragma once
// Rules of the users and their groups that need neither a window nor the
// database: password comparison, the actions each group loses, the names
// built from a user's surname, first name and patronymic.
#include <QString>
#include <QStringList>
#include <optional>

namespace zv::access {

// Upper-case form used to compare passwords and login names: Latin and
// Cyrillic letters alike, one character for one character.
QString upperKey(const QString &text);

// A typed password matches a stored one when both, in upper case, are equal.
bool passwordsMatch(const QString &typed, const QString &stored);

// Objectnames of the main-window actions a group may not use. A group that
// is none of the three known values loses nothing; the comparison is exact.
QStringList actionsDisabledForGroup(const QString &group);

// The four administrator actions switched by the change of operator.
QStringList operatorSwitchedActions();

// Only administrators and operators may take over the running program.
bool mayTakeOverAsOperator(const QString &group);

// Group choice of the users page: the captions of the three items, and the
// stored value behind a caption (none for a typed text that is no item).
QStringList groupCaptions();
std::optional<QString> groupForCaption(const QString &caption);
// Item index (0-based) of a stored group, -1 for an unknown value.
int captionIndexForGroup(const QString &group);

struct NameParts {
    QString lastName;
    QString firstName;
    QString patronymic;
    bool operator==(const NameParts &) const = default;
};

// Surname, then the first name if there is one, then the patronymic if
// there is one and the first name is present; single blanks between.
QString buildLongName(const NameParts &parts);
// Surname, then the first initial with a point, then the patronymic
// initial with a point (again only with a first name).
QString buildShortName(const NameParts &parts);
// Splits a stored full name back into its parts: before the first blank,
// between the first and the second blank, the rest.
NameParts splitLongName(const QString &longName);

} // namespace zv::access
