// Login dialog against a real database: the three failure paths with their
// messages and focus, letter case of names and passwords, cancel, the values
// of the run and the rights of the group.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "accesshooks.h"
#include "accesstestutil.h"
#include "dlgpass.h"
#include "messages.h"

using namespace accesstest;
using zv::Messages;

namespace {

class LoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Messages::clear();
        db.addUser({1, "Иванов Иван Иванович", "Иванов И. И.", "admin", "Secret", "Administrator", 0});
        db.addUser({2, "Петров Пётр", "Петров П.", "oper", "пароль", "Operator", 0});
        db.addUser({3, "Сидоров", "Сидоров", "report", "rep", "CreaterReport", 0});
        db.addUser({4, "Гость", "Гость", "guest", "g", "Guest", 0});
        db.addUser({5, "Длинный", "Длинный", "operator2", "x", "Operator", 0});
    }

    // Types into the dialog's boxes and presses OK.
    void tryLogin(zv::access::TDlgPassForm &dlg, const QString &name, const QString &password)
    {
        auto *user = child<QLineEdit>(&dlg, "EditUser");
        auto *pass = child<QLineEdit>(&dlg, "EditPass");
        user->clear();
        pass->clear();
        typeText(user, name);
        typeText(pass, password);
        child<QPushButton>(&dlg, "BitBtn1")->click();
    }

    TestDb db;
    StandInMainWindow mw;
};

TEST_F(LoginTest, UnknownNameEmptiesTheBoxAndNamesWhatWasTyped)
{
    zv::access::TDlgPassForm dlg(&mw);
    dlg.show();
    for (const char *typed : {"nobody", "admi", "admin ", "operator"}) {
        Messages::clear();
        tryLogin(dlg, QString::fromUtf8(typed), QStringLiteral("Secret"));
        EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Пользователя: ") + QString::fromUtf8(typed) +
                                                      QStringLiteral(" нет в БД")})
            << typed;
        EXPECT_TRUE(child<QLineEdit>(&dlg, "EditUser")->text().isEmpty());
        EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(&dlg, "EditUser"));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), 0);
    }
    EXPECT_EQ(zv::run().CurrUserID, -1);
}

TEST_F(LoginTest, WrongPasswordEmptiesThePasswordBox)
{
    zv::access::TDlgPassForm dlg(&mw);
    dlg.show();
    tryLogin(dlg, QStringLiteral("admin"), QStringLiteral("Secret1"));
    EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Неправильно введен пароль")});
    EXPECT_TRUE(child<QLineEdit>(&dlg, "EditPass")->text().isEmpty());
    EXPECT_EQ(child<QLineEdit>(&dlg, "EditUser")->text(), QStringLiteral("admin"));
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(&dlg, "EditPass"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(zv::run().CurrUserID, -1);
    EXPECT_TRUE(mw.operatorText().isEmpty());
}

TEST_F(LoginTest, NamesAndPasswordsInOtherLetterCaseLogIn)
{
    struct Case {
        const char *name, *password;
        int id;
        const char *group, *shortName;
    } cases[] = {
        {"ADMIN", "secret", 1, "Administrator", "Иванов И. И."},
        {"Admin", "SECRET", 1, "Administrator", "Иванов И. И."},
        {"OPER", "ПАРОЛЬ", 2, "Operator", "Петров П."},
        {"oPeR", "ПаРоЛь", 2, "Operator", "Петров П."},
        {"report", "REP", 3, "CreaterReport", "Сидоров"},
    };
    for (const Case &c : cases) {
        Messages::clear();
        zv::run() = zv::RunValues{};
        StandInMainWindow window;
        zv::access::TDlgPassForm withWindow(&window);
        withWindow.show();
        tryLogin(withWindow, QString::fromUtf8(c.name), QString::fromUtf8(c.password));
        EXPECT_TRUE(Messages::shownTexts().isEmpty()) << c.name;
        EXPECT_EQ(withWindow.result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(zv::run().CurrUserID, c.id) << c.name;
        EXPECT_EQ(zv::run().CurrUserGroup, QString::fromUtf8(c.group)) << c.name;
        EXPECT_EQ(window.operatorText(), QString::fromUtf8(c.shortName)) << c.name;
    }
}

TEST_F(LoginTest, CancelAndClosingGiveCancel)
{
    zv::run().CurrUserID = 7;
    onNextModal([](QWidget *dlg) { child<QPushButton>(dlg, "BitBtn2")->click(); });
    EXPECT_FALSE(zv::access::login(&mw));
    EXPECT_EQ(zv::run().CurrUserID, -1);

    zv::run().CurrUserID = 7;
    onNextModal([](QWidget *dlg) { QTest::keyClick(dlg, Qt::Key_Escape); });
    EXPECT_FALSE(zv::access::login(&mw));
    EXPECT_EQ(zv::run().CurrUserID, -1);

    // A failed try first, then cancel: still nobody logged in.
    onNextModal([](QWidget *dlg) {
        typeText(child<QLineEdit>(dlg, "EditUser"), QStringLiteral("admin"));
        typeText(child<QLineEdit>(dlg, "EditPass"), QStringLiteral("bad"));
        child<QPushButton>(dlg, "BitBtn1")->click();
        child<QPushButton>(dlg, "BitBtn2")->click();
    });
    EXPECT_FALSE(zv::access::login(&mw));
    EXPECT_EQ(zv::run().CurrUserID, -1);
    for (const QString &a : allActionNames())
        EXPECT_TRUE(mw.enabled(a)) << a.toStdString();
}

TEST_F(LoginTest, OkThroughTheHookAfterAFailedTry)
{
    onNextModal([](QWidget *dlg) {
        typeText(child<QLineEdit>(dlg, "EditUser"), QStringLiteral("nobody"));
        child<QPushButton>(dlg, "BitBtn1")->click();
        typeText(child<QLineEdit>(dlg, "EditUser"), QStringLiteral("oper"));
        typeText(child<QLineEdit>(dlg, "EditPass"), QStringLiteral("пароль"));
        QTest::keyClick(child<QLineEdit>(dlg, "EditPass"), Qt::Key_Return); // OK is the default button
    });
    EXPECT_TRUE(zv::access::login(&mw));
    EXPECT_EQ(zv::run().CurrUserID, 2);
    EXPECT_EQ(mw.operatorText(), QStringLiteral("Петров П."));
}

TEST_F(LoginTest, GroupDecidesWhichActionsStayEnabled)
{
    struct Case {
        const char *name, *password;
        QStringList disabled;
    } cases[] = {
        {"admin", "Secret", {}},
        {"oper", "пароль", {"ConfigSystem", "UserGroup", "BackupDB", "ChangePassJrn"}},
        {"guest", "g", {}}, // a group that is none of the three loses nothing
        {"report", "rep", {"ConfigSystem", "UserGroup", "BackupDB", "Weighter", "RefEvenTypes", "RefCargo",
                           "RefCargoTypes", "RefDriver", "RefModel", "RefTrailer", "RefGrOtpr", "RefGrPol",
                           "RefPokup", "RefPost", "RefOwner", "RefDocTypes", "RefTs", "RefTsTypes", "RefEdIzm",
                           "RefUpakov", "ChangePassJrn"}},
    };
    for (const Case &c : cases) {
        StandInMainWindow window;
        zv::access::TDlgPassForm dlg(&window);
        dlg.show();
        tryLogin(dlg, QString::fromUtf8(c.name), QString::fromUtf8(c.password));
        ASSERT_EQ(dlg.result(), QDialog::Accepted) << c.name;
        for (const QString &a : allActionNames())
            EXPECT_EQ(window.enabled(a), !c.disabled.contains(a)) << c.name << " " << a.toStdString();
    }
}

TEST_F(LoginTest, UsersTableThatCannotBeOpenedKeepsTheDialogOpen)
{
    db.exec("DROP TABLE USERS");
    zv::access::TDlgPassForm dlg(&mw);
    dlg.show();
    tryLogin(dlg, QStringLiteral("admin"), QStringLiteral("Secret"));
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().at(0).kind, zv::ShownMessage::Error);
    EXPECT_TRUE(Messages::shown().at(0).text.startsWith(QStringLiteral("Ошибка при открытии таблицы \"Пользователи\" :")));
    EXPECT_GT(Messages::shown().at(0).text.size(), QStringLiteral("Ошибка при открытии таблицы \"Пользователи\" :").size());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(zv::run().CurrUserID, -1);
}

TEST_F(LoginTest, EmptyUsersTableLetsNobodyIn)
{
    db.exec("DELETE FROM USERS");
    zv::access::TDlgPassForm dlg(&mw);
    dlg.show();
    tryLogin(dlg, QStringLiteral("admin"), QStringLiteral("Secret"));
    EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Пользователя: admin нет в БД")});
    EXPECT_TRUE(db.column("SELECT NAME_USER FROM USERS").isEmpty()); // no default user appears
}

TEST_F(LoginTest, CaptionsAndAccessibleNames)
{
    zv::access::TDlgPassForm dlg(&mw);
    EXPECT_EQ(child<QLineEdit>(&dlg, "EditUser")->accessibleName(), QStringLiteral("Пользователь"));
    EXPECT_EQ(child<QLineEdit>(&dlg, "EditPass")->accessibleName(), QStringLiteral("Пароль"));
    EXPECT_EQ(child<QLineEdit>(&dlg, "EditPass")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QPushButton>(&dlg, "BitBtn1")->text(), QStringLiteral("OK"));
    EXPECT_EQ(child<QPushButton>(&dlg, "BitBtn2")->text(), QStringLiteral("Отмена"));
    dlg.show();
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(&dlg, "EditUser"));
}

} // namespace
