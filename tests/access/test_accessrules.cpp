// Password comparison, group rights and the names built on the users page.
#include <gtest/gtest.h>

#include "accessrules.h"
#include "runstate.h"

using namespace zv::access;

TEST(PasswordRule, UpperCaseComparison)
{
    struct Case {
        const char *typed;
        const char *stored;
        bool match;
    } cases[] = {
        {"secret", "SECRET", true},
        {"SeCrEt", "sEcReT", true},
        {"пароль", "ПАРОЛЬ", true},     // Cyrillic letters fold too
        {"ёжик", "ЁЖИК", true},
        {"Пароль1", "пароль1", true},
        {"secret", "secret ", false},   // blanks count
        {"secret", "secre", false},
        {"", "", true},
        {"", "x", false},
        {"straße", "STRASSE", false},   // one character for one character
        {"0l", "OL", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(passwordsMatch(QString::fromUtf8(c.typed), QString::fromUtf8(c.stored)), c.match)
            << c.typed << " / " << c.stored;
}

TEST(GroupRights, DisabledActionsPerGroup)
{
    const QStringList adminFour{"ConfigSystem", "UserGroup", "BackupDB", "ChangePassJrn"};
    EXPECT_TRUE(actionsDisabledForGroup(zv::GroupAdministrator).isEmpty());
    EXPECT_EQ(actionsDisabledForGroup(zv::GroupOperator), adminFour);

    const QStringList report = actionsDisabledForGroup(zv::GroupCreaterReport);
    for (const char *name : {"ConfigSystem", "UserGroup", "BackupDB", "Weighter", "RefEvenTypes", "RefCargo",
                             "RefCargoTypes", "RefDriver", "RefModel", "RefTrailer", "RefGrOtpr", "RefGrPol",
                             "RefPokup", "RefPost", "RefOwner", "RefDocTypes", "RefTs", "RefTsTypes", "RefEdIzm",
                             "RefUpakov", "ChangePassJrn"})
        EXPECT_TRUE(report.contains(QString::fromLatin1(name))) << name;
    // What every group keeps.
    for (const char *kept : {"ReportJrn", "ChangePassUsr", "SyncReferens", "ImportEvenJrn"})
        EXPECT_FALSE(report.contains(QString::fromLatin1(kept))) << kept;

    // Exact comparison: other spellings and unknown groups lose nothing.
    for (const char *other : {"", "operator", "OPERATOR", "createrreport", "Guest", "Administrator "})
        EXPECT_TRUE(actionsDisabledForGroup(QString::fromLatin1(other)).isEmpty()) << other;
}

TEST(GroupRights, TakeOverOnlyByAdministratorsAndOperators)
{
    EXPECT_TRUE(mayTakeOverAsOperator(QStringLiteral("Administrator")));
    EXPECT_TRUE(mayTakeOverAsOperator(QStringLiteral("Operator")));
    for (const char *g : {"CreaterReport", "", "operator", "Guest"})
        EXPECT_FALSE(mayTakeOverAsOperator(QString::fromLatin1(g))) << g;
}

TEST(GroupRights, CaptionsAndStoredValues)
{
    EXPECT_EQ(groupForCaption(QStringLiteral("Администраторы")), QStringLiteral("Administrator"));
    EXPECT_EQ(groupForCaption(QStringLiteral("Операторы")), QStringLiteral("Operator"));
    EXPECT_EQ(groupForCaption(QStringLiteral("Операторы отчетов")), QStringLiteral("CreaterReport"));
    EXPECT_FALSE(groupForCaption(QStringLiteral("Гости")).has_value());
    EXPECT_FALSE(groupForCaption(QStringLiteral("операторы")).has_value());
    EXPECT_EQ(captionIndexForGroup(QStringLiteral("CreaterReport")), 2);
    EXPECT_EQ(captionIndexForGroup(QStringLiteral("Guest")), -1);
}

TEST(UserNames, FullAndShortNames)
{
    struct Case {
        const char *last, *first, *patr;
        const char *longName, *shortName;
    } cases[] = {
        {"Иванов", "Иван", "Иванович", "Иванов Иван Иванович", "Иванов И. И."},
        {"Иванов", "Иван", "", "Иванов Иван", "Иванов И."},
        {"Иванов", "", "Иванович", "Иванов", "Иванов"}, // a patronymic needs a first name
        {"Иванов", "", "", "Иванов", "Иванов"},
        {" Петров ", " Пётр", "Петрович ", "Петров Пётр Петрович", "Петров П. П."},
        {"Smith", "john", "", "Smith john", "Smith j."},
    };
    for (const Case &c : cases) {
        const NameParts p{QString::fromUtf8(c.last), QString::fromUtf8(c.first), QString::fromUtf8(c.patr)};
        EXPECT_EQ(buildLongName(p), QString::fromUtf8(c.longName)) << c.last << c.first << c.patr;
        EXPECT_EQ(buildShortName(p), QString::fromUtf8(c.shortName)) << c.last << c.first << c.patr;
    }
}

TEST(UserNames, SplittingAStoredFullName)
{
    struct Case {
        const char *longName;
        const char *last, *first, *patr;
    } cases[] = {
        {"Иванов Иван Иванович", "Иванов", "Иван", "Иванович"},
        {"Иванов Иван", "Иванов", "Иван", ""},
        {"Иванов", "Иванов", "", ""},
        {"", "", "", ""},
        {"Мамин Сибиряк Дмитрий Наркисович", "Мамин", "Сибиряк", "Дмитрий Наркисович"},
        {"Оглы Али  Ахмед ", "Оглы", "Али", "Ахмед"},
    };
    for (const Case &c : cases) {
        const NameParts expected{QString::fromUtf8(c.last), QString::fromUtf8(c.first), QString::fromUtf8(c.patr)};
        EXPECT_EQ(splitLongName(QString::fromUtf8(c.longName)), expected) << c.longName;
    }
}
