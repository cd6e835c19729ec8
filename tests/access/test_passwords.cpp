// Password-change dialog in its two modes, the forced change at the first
// login and the journal password dialog, against a real database.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "accesstestutil.h"
#include "changepass.h"
#include "messages.h"
#include "passjrn.h"

using namespace accesstest;
using zv::Messages;

namespace {

class PasswordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Messages::clear();
        db.addUser({1, "Иванов Иван", "Иванов И.", "admin", "Secret", "Administrator", 0});
        db.addUser({2, "Петров Пётр", "Петров П.", "newbie", "start", "Operator", 1});
        zv::run().CurrUserID = 1;
        zv::run().CurrUserGroup = QStringLiteral("Administrator");
    }

    static void fill(QWidget *dlg, const QString &old, const QString &fresh, const QString &conf)
    {
        for (const char *name : {"EditOldPass", "EditNewPass", "EditConfPass"})
            child<QLineEdit>(dlg, name)->clear();
        typeText(child<QLineEdit>(dlg, "EditOldPass"), old);
        typeText(child<QLineEdit>(dlg, "EditNewPass"), fresh);
        typeText(child<QLineEdit>(dlg, "EditConfPass"), conf);
        child<QPushButton>(dlg, "BtOk")->click();
    }

    TestDb db;
    StandInMainWindow mw;
};

TEST_F(PasswordTest, UserModeCaptionAndChecks)
{
    zv::access::ChangePassMode = QStringLiteral("USR");
    zv::access::TBVChangePassForm dlg(&mw);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Смена пароля пользователя admin"));
    EXPECT_EQ(child<QLineEdit>(&dlg, "EditUsr")->text(), QStringLiteral("admin"));
    EXPECT_EQ(child<QLabel>(&dlg, "Lb2")->text(), QStringLiteral("Старый пароль"));
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(&dlg, "EditOldPass"));

    fill(&dlg, QStringLiteral("wrong"), QStringLiteral("new"), QStringLiteral("new"));
    EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Неправильно введен старый пароль")});
    EXPECT_TRUE(child<QLineEdit>(&dlg, "EditOldPass")->text().isEmpty());
    EXPECT_EQ(child<QLineEdit>(&dlg, "EditNewPass")->text(), QStringLiteral("new"));
    EXPECT_TRUE(dlg.isVisible());

    Messages::clear();
    fill(&dlg, QStringLiteral("SECRET"), QStringLiteral("new1"), QStringLiteral("new2"));
    EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Новый пароль и его подтверждение не совпадают")});
    EXPECT_TRUE(child<QLineEdit>(&dlg, "EditNewPass")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>(&dlg, "EditConfPass")->text().isEmpty());
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(&dlg, "EditNewPass"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(db.user(1)->password, QStringLiteral("Secret"));

    // A confirmation differing only in letter case counts; the password is
    // stored as typed in the first box.
    Messages::clear();
    fill(&dlg, QStringLiteral("secret"), QStringLiteral("NewPass"), QStringLiteral("newpass"));
    EXPECT_TRUE(Messages::shownTexts().isEmpty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(db.user(1)->password, QStringLiteral("NewPass"));
    EXPECT_EQ(db.user(2)->password, QStringLiteral("start"));
}

TEST_F(PasswordTest, JournalModeAsksForTheUsersOwnPassword)
{
    db.setJournalPasswords(QStringLiteral("jrn-old"), QStringLiteral("spare"));
    zv::access::ChangePassMode = QStringLiteral("JRN");
    zv::access::TBVChangePassForm dlg(&mw);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Смена пароля для журнала событий"));
    EXPECT_EQ(child<QLabel>(&dlg, "Lb2")->text(), QStringLiteral("Пароль пользователя"));
    EXPECT_EQ(child<QLineEdit>(&dlg, "EditOldPass")->accessibleName(), QStringLiteral("Пароль пользователя"));

    // The old journal password does not authorise the change.
    fill(&dlg, QStringLiteral("jrn-old"), QStringLiteral("jrn-new"), QStringLiteral("jrn-new"));
    EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Неправильно введен пароль пользователя")});
    EXPECT_TRUE(dlg.isVisible());

    Messages::clear();
    fill(&dlg, QStringLiteral("secret"), QStringLiteral("jrn-new"), QStringLiteral("JRN-NEW"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const QStringList cols = TestDb::journalColumns();
    QStringList row = db.column(QStringLiteral("SELECT PASSUSR FROM PASSJRN"));
    EXPECT_EQ(row, QStringList{QStringLiteral("jrn-new")});
    EXPECT_EQ(db.column(QStringLiteral("SELECT COUNT(*) FROM PASSJRN")), QStringList{"1"});
    EXPECT_EQ(db.user(1)->password, QStringLiteral("Secret")); // the user's own password untouched
    // The column no dialog writes keeps its value.
    const QString other = cols[0].compare(QLatin1String("PASSUSR"), Qt::CaseInsensitive) == 0 ? cols[1] : cols[0];
    EXPECT_EQ(db.column(QStringLiteral("SELECT %1 FROM PASSJRN").arg(other)), QStringList{"spare"});
}

TEST_F(PasswordTest, JournalModeOnAnEmptyTableMakesItsFirstRow)
{
    onNextModal([](QWidget *dlg) { fill(dlg, QStringLiteral("Secret"), QStringLiteral("j1"), QStringLiteral("j1")); });
    zv::access::ChangePassJrnExecute(&mw);
    EXPECT_EQ(db.column(QStringLiteral("SELECT PASSUSR FROM PASSJRN")), QStringList{"j1"});
}

TEST_F(PasswordTest, StoreFailureIsReportedAndChangesNothing)
{
    db.exec("DROP TABLE PASSJRN");
    onNextModal([](QWidget *dlg) { fill(dlg, QStringLiteral("Secret"), QStringLiteral("j1"), QStringLiteral("j1")); });
    zv::access::ChangePassJrnExecute(&mw);
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().at(0).kind, zv::ShownMessage::Error);
    EXPECT_TRUE(Messages::shown().at(0).text.startsWith(QStringLiteral("Ошибка при работе с БД:")));
    EXPECT_EQ(db.user(1)->password, QStringLiteral("Secret"));
}

TEST_F(PasswordTest, PasswordTooLongForTheTableIsRefusedNotCut)
{
    const QString longPassword(200, QLatin1Char('x'));
    onNextModal([longPassword](QWidget *dlg) { fill(dlg, QStringLiteral("Secret"), longPassword, longPassword); });
    zv::access::ChangePassUsrExecute(&mw);
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_TRUE(Messages::shown().at(0).text.startsWith(QStringLiteral("Ошибка при работе с БД:")));
    EXPECT_EQ(db.user(1)->password, QStringLiteral("Secret"));
}

TEST_F(PasswordTest, CancelChangesNothing)
{
    onNextModal([](QWidget *dlg) {
        typeText(child<QLineEdit>(dlg, "EditOldPass"), QStringLiteral("Secret"));
        typeText(child<QLineEdit>(dlg, "EditNewPass"), QStringLiteral("x"));
        typeText(child<QLineEdit>(dlg, "EditConfPass"), QStringLiteral("x"));
        child<QPushButton>(dlg, "BtCancel")->click();
    });
    zv::access::ChangePassUsrExecute(&mw);
    EXPECT_EQ(db.user(1)->password, QStringLiteral("Secret"));
    EXPECT_TRUE(Messages::shownTexts().isEmpty());
}

TEST_F(PasswordTest, ForcedChangeClearsTheFlagOnlyWhenThePasswordChanged)
{
    zv::run().CurrUserID = 2;

    // Cancelled: the flag stays and the next login asks again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        Messages::clear();
        onNextModal([](QWidget *dlg) {
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Смена пароля пользователя newbie"));
            child<QPushButton>(dlg, "BtCancel")->click();
        });
        EXPECT_TRUE(zv::access::forcedPasswordChange(&mw));
        EXPECT_EQ(Messages::shownTexts(),
                  (QStringList{QStringLiteral("Вам надо сменить пароль"), QStringLiteral("Пароль не изменился")}));
        EXPECT_EQ(db.user(2)->changeP, 1);
    }

    // The same password typed again is no change either.
    Messages::clear();
    onNextModal([](QWidget *dlg) { fill(dlg, QStringLiteral("start"), QStringLiteral("start"), QStringLiteral("start")); });
    EXPECT_TRUE(zv::access::forcedPasswordChange(&mw));
    EXPECT_EQ(Messages::shownTexts().last(), QStringLiteral("Пароль не изменился"));
    EXPECT_EQ(db.user(2)->changeP, 1);

    // Changed: CHANGE_P 0, and the next login asks nothing.
    Messages::clear();
    onNextModal([](QWidget *dlg) { fill(dlg, QStringLiteral("START"), QStringLiteral("mine"), QStringLiteral("mine")); });
    EXPECT_TRUE(zv::access::forcedPasswordChange(&mw));
    EXPECT_EQ(Messages::shownTexts(),
              (QStringList{QStringLiteral("Вам надо сменить пароль"), QStringLiteral("Пароль был успешно заменен")}));
    EXPECT_EQ(db.user(2)->changeP, 0);
    EXPECT_EQ(db.user(2)->password, QStringLiteral("mine"));

    Messages::clear();
    EXPECT_TRUE(zv::access::forcedPasswordChange(&mw));
    EXPECT_TRUE(Messages::shownTexts().isEmpty());
}

TEST_F(PasswordTest, NoForcedChangeForAUserWithoutTheFlag)
{
    zv::run().CurrUserID = 1;
    EXPECT_TRUE(zv::access::forcedPasswordChange(&mw));
    EXPECT_TRUE(Messages::shownTexts().isEmpty());
}

TEST_F(PasswordTest, DeletedUserCannotChangeAnyPassword)
{
    zv::run().CurrUserID = 1;
    db.exec("DELETE FROM USERS WHERE ID_USER = 1");
    onNextModal([](QWidget *dlg) {
        fill(dlg, QStringLiteral("Secret"), QStringLiteral("x"), QStringLiteral("x"));
        child<QPushButton>(dlg, "BtCancel")->click();
    });
    zv::access::ChangePassUsrExecute(&mw);
    EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Неправильно введен старый пароль")});
    EXPECT_EQ(db.user(2)->password, QStringLiteral("start"));
}

struct JournalCase {
    const char *first;
    const char *second;
    bool hasRow;
    const char *typed;
    bool accepted;
};

TEST_F(PasswordTest, JournalPasswordAcceptsEitherStoredValue)
{
    const JournalCase cases[] = {
        {"jrn1", "jrn2", true, "jrn1", true},
        {"jrn1", "jrn2", true, "JRN1", true},
        {"jrn1", "jrn2", true, "Jrn2", true},
        {"jrn1", "jrn2", true, "jrn3", false},
        {"jrn1", "jrn2", true, "", false},
        {"", "jrn2", true, "", true},   // an empty stored value accepts an empty password
        {"jrn1", "", true, "", true},
        {"", "", false, "", true},      // so does a table without its row
        {"", "", false, "x", false},
        {"журнал", "", true, "ЖУРНАЛ", true},
    };
    for (const JournalCase &c : cases) {
        Messages::clear();
        if (c.hasRow)
            db.setJournalPasswords(QString::fromUtf8(c.first), QString::fromUtf8(c.second));
        else
            db.exec("DELETE FROM PASSJRN");
        zv::access::TBVPassJrnForm dlg(&mw);
        dlg.show();
        typeText(child<QLineEdit>(&dlg, "Password"), QString::fromUtf8(c.typed));
        child<QPushButton>(&dlg, "OKBtn")->click();
        EXPECT_EQ(dlg.result() == QDialog::Accepted, c.accepted) << c.first << "/" << c.second << " typed " << c.typed;
        if (!c.accepted) {
            EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Неверный пароль, попробуйте еще раз.")});
            EXPECT_TRUE(child<QLineEdit>(&dlg, "Password")->text().isEmpty());
            EXPECT_TRUE(dlg.isVisible());
        }
    }
}

TEST_F(PasswordTest, JournalPasswordFunctionReturnsTheResult)
{
    db.setJournalPasswords(QStringLiteral("j"), QStringLiteral("k"));
    onNextModal([](QWidget *dlg) {
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Пароль на редактирование"));
        typeText(child<QLineEdit>(dlg, "Password"), QStringLiteral("K"));
        QTest::keyClick(child<QLineEdit>(dlg, "Password"), Qt::Key_Return);
    });
    EXPECT_TRUE(zv::access::journalPassword(&mw));

    onNextModal([](QWidget *dlg) {
        typeText(child<QLineEdit>(dlg, "Password"), QStringLiteral("k"));
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    EXPECT_FALSE(zv::access::journalPassword(&mw));

    onNextModal([](QWidget *dlg) { child<QPushButton>(dlg, "CancelBtn")->click(); });
    EXPECT_FALSE(zv::access::journalPassword(&mw));
}

TEST_F(PasswordTest, JournalPasswordTableErrorKeepsTheDialogOpen)
{
    db.exec("DROP TABLE PASSJRN");
    zv::access::TBVPassJrnForm dlg(&mw);
    dlg.show();
    child<QPushButton>(&dlg, "OKBtn")->click();
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().at(0).kind, zv::ShownMessage::Error);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

} // namespace
