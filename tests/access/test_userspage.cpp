// The users page against a real database file: the checks of "Сохранить" in
// their order, the names it builds, changing a user with and without an
// operator row, and deleting operators and other users.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "accesstestutil.h"
#include "messages.h"
#include "userspage.h"

using namespace accesstest;
using zv::Messages;
using zv::access::TUsersPage;

namespace {

class UsersPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Messages::clear();
        db.addUser({1, "Иванов Иван Иванович", "Иванов И. И.", "admin", "Secret", "Administrator", 0});
        db.addUser({2, "Петров Пётр", "Петров П.", "oper", "pw", "Operator", 1});
        db.addUser({7, "Сидоров", "Сидоров", "report", "rep", "CreaterReport", 0});
        db.addOperator(2, QStringLiteral("Петров-Водкин"), QStringLiteral("Кузьма"), QStringLiteral("Сергеевич"));
        page.UserGroupExecute();
    }

    QLineEdit *edit(const char *name) { return child<QLineEdit>(&page, name); }
    QComboBox *group() { return child<QComboBox>(&page, "CBGroup"); }
    QPushButton *button(const char *name) { return child<QPushButton>(&page, name); }

    void selectUser(const QString &login)
    {
        auto *grid = child<QTableView>(&page, "DBGrid4");
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            if (grid->model()->index(row, 0).data().toString() == login) {
                grid->setCurrentIndex(grid->model()->index(row, 0));
                return;
            }
        }
        FAIL() << "no row " << login.toStdString();
    }

    QStringList gridLogins()
    {
        auto *grid = child<QTableView>(&page, "DBGrid4");
        QStringList out;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            out << grid->model()->index(row, 0).data().toString();
        return out;
    }

    struct Entry {
        const char *user, *pass, *conf, *group, *last, *first, *patr;
        bool changePass;
    };
    void fill(const Entry &e)
    {
        for (const char *name : {"EditUser", "EditPass", "EditPassConf", "EditLastN", "EditFirstN", "EditPatr"})
            edit(name)->clear();
        typeText(edit("EditUser"), QString::fromUtf8(e.user));
        typeText(edit("EditPass"), QString::fromUtf8(e.pass));
        typeText(edit("EditPassConf"), QString::fromUtf8(e.conf));
        group()->setCurrentIndex(-1);
        group()->setEditText(QString());
        typeText(group()->lineEdit(), QString::fromUtf8(e.group));
        typeText(edit("EditLastN"), QString::fromUtf8(e.last));
        typeText(edit("EditFirstN"), QString::fromUtf8(e.first));
        typeText(edit("EditPatr"), QString::fromUtf8(e.patr));
        child<QCheckBox>(&page, "ChBChangePass")->setChecked(e.changePass);
    }

    TestDb db;
    TUsersPage page;
};

TEST_F(UsersPageTest, OpeningShowsTheUsersByLoginNameWithTheBoxesOff)
{
    EXPECT_EQ(gridLogins(), (QStringList{"admin", "oper", "report"}));
    auto *grid = child<QTableView>(&page, "DBGrid4");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Пользователь (lat)"));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Группа"));
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Ф.И.О. пользователя"));
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), QStringLiteral("Operator"));
    EXPECT_FALSE(child<QGroupBox>(&page, "GroupBoxRequired")->isEnabled());
    EXPECT_FALSE(child<QGroupBox>(&page, "GroupBoxExtra")->isEnabled());
    EXPECT_FALSE(button("BtSaveU")->isEnabled());
    for (const char *b : {"BtAddU", "BtUpU", "BtDelU"})
        EXPECT_TRUE(button(b)->isEnabled()) << b;
}

TEST_F(UsersPageTest, NavigatorMovesTheCurrentRow)
{
    auto *grid = child<QTableView>(&page, "DBGrid4");
    EXPECT_EQ(grid->currentIndex().row(), 0);
    const struct {
        const char *button;
        int row;
    } steps[] = {{"NavPrior", 0}, {"NavNext", 1}, {"NavLast", 2}, {"NavNext", 2}, {"NavPrior", 1}, {"NavFirst", 0}};
    for (const auto &s : steps) {
        child<QToolButton>(&page, s.button)->click();
        EXPECT_EQ(grid->currentIndex().row(), s.row) << s.button;
    }
    // "Изменить" takes the row the navigator stands on.
    child<QToolButton>(&page, "NavLast")->click();
    button("BtUpU")->click();
    EXPECT_EQ(page.selectedUserId(), 7);
}

TEST_F(UsersPageTest, SaveChecksStopAtTheFirstFailure)
{
    const struct {
        Entry entry;
        const char *message;
    } cases[] = {
        {{"", "p", "p", "Операторы", "Фамилия", "", "", false}, "Поле \"Пользователь\" не заполнено"},
        {{"u", "", "", "", "", "", "", false}, "Поле \"Пароль\" не заполнено"},
        {{"u", "p", "P", "Операторы", "Фамилия", "", "", false}, "Поле \"Пароль\" и \"Подтверждение\" не совпадают"},
        {{"u", "p", "p", "", "", "", "", false}, "Не выбрана группа"},
        {{"u", "p", "p", "Операторы", "", "Имя", "", false}, "Поле \"Фамилия\" не заполнено"},
    };
    button("BtAddU")->click();
    for (const auto &c : cases) {
        Messages::clear();
        fill(c.entry);
        button("BtSaveU")->click();
        EXPECT_EQ(Messages::shownTexts(), QStringList{QString::fromUtf8(c.message)}) << c.message;
        // Nothing stored, the boxes keep their contents, still adding.
        EXPECT_EQ(db.column("SELECT COUNT(*) FROM USERS"), QStringList{"3"});
        EXPECT_EQ(edit("EditUser")->text(), QString::fromUtf8(c.entry.user));
        EXPECT_TRUE(button("BtSaveU")->isEnabled());
        EXPECT_EQ(page.mode(), TUsersPage::Mode::Adding);
    }
}

TEST_F(UsersPageTest, AddingBuildsTheNamesAndTakesTheNextIdentifier)
{
    const struct {
        Entry entry;
        const char *longName, *shortName, *level;
        int changeP;
    } cases[] = {
        {{"kuz", "pw1", "pw1", "Операторы", "Кузнецов", "Олег", "Юрьевич", true},
         "Кузнецов Олег Юрьевич", "Кузнецов О. Ю.", "Operator", 1},
        {{"orl", "pw2", "pw2", "Администраторы", "Орлов", "Игорь", "", false}, "Орлов Игорь", "Орлов И.", "Administrator", 0},
        {{"pat", "pw3", "pw3", "Операторы отчетов", "Павлов", "", "Петрович", false}, "Павлов", "Павлов", "CreaterReport", 0},
        // A typed group that is no item passes the check and stores no group.
        {{"odd", "pw4", "pw4", "Гости", "Странный", "", "", false}, "Странный", "Странный", "", 0},
        // The same login name twice is accepted.
        {{"admin", "other", "other", "Операторы", "Двойник", "", "", false}, "Двойник", "Двойник", "Operator", 0},
    };
    int expectedId = 8;
    for (const auto &c : cases) {
        Messages::clear();
        button("BtAddU")->click();
        EXPECT_EQ(page.focusWidget(), edit("EditUser"));
        fill(c.entry);
        button("BtSaveU")->click();
        EXPECT_TRUE(Messages::shownTexts().isEmpty()) << c.entry.user;
        const auto stored = db.user(expectedId);
        ASSERT_TRUE(stored.has_value()) << c.entry.user;
        EXPECT_EQ(stored->name, QString::fromUtf8(c.entry.user));
        EXPECT_EQ(stored->password, QString::fromUtf8(c.entry.pass));
        EXPECT_EQ(stored->longName, QString::fromUtf8(c.longName));
        EXPECT_EQ(stored->shortName, QString::fromUtf8(c.shortName));
        EXPECT_EQ(stored->level, QString::fromUtf8(c.level));
        EXPECT_EQ(stored->changeP, c.changeP);
        // Back to browsing: name and group and name parts emptied, the
        // password boxes keep theirs, the entry boxes stay enabled.
        EXPECT_TRUE(edit("EditUser")->text().isEmpty());
        EXPECT_TRUE(group()->currentText().isEmpty());
        EXPECT_TRUE(edit("EditLastN")->text().isEmpty());
        EXPECT_EQ(edit("EditPass")->text(), QString::fromUtf8(c.entry.pass));
        EXPECT_TRUE(child<QGroupBox>(&page, "GroupBoxRequired")->isEnabled());
        EXPECT_FALSE(button("BtSaveU")->isEnabled());
        EXPECT_TRUE(button("BtAddU")->isEnabled());
        EXPECT_TRUE(gridLogins().contains(QString::fromUtf8(c.entry.user)));
        ++expectedId;
    }
    EXPECT_TRUE(db.column("SELECT ID_OPERAT FROM OPERATOR WHERE ID_OPERAT > 7").isEmpty()); // never adds operators
}

TEST_F(UsersPageTest, ChangingReadsTheOperatorRowOrSplitsTheFullName)
{
    const struct {
        const char *login;
        const char *last, *first, *patr, *group;
        bool changePass;
    } cases[] = {
        {"oper", "Петров-Водкин", "Кузьма", "Сергеевич", "Операторы", true}, // from OPERATOR
        {"admin", "Иванов", "Иван", "Иванович", "Администраторы", false},    // split LONGN_USER
        {"report", "Сидоров", "", "", "Операторы отчетов", false},
    };
    for (const auto &c : cases) {
        selectUser(QString::fromUtf8(c.login));
        button("BtUpU")->click();
        EXPECT_EQ(page.mode(), TUsersPage::Mode::Changing);
        EXPECT_EQ(edit("EditUser")->text(), QString::fromUtf8(c.login));
        EXPECT_EQ(edit("EditLastN")->text(), QString::fromUtf8(c.last)) << c.login;
        EXPECT_EQ(edit("EditFirstN")->text(), QString::fromUtf8(c.first)) << c.login;
        EXPECT_EQ(edit("EditPatr")->text(), QString::fromUtf8(c.patr)) << c.login;
        EXPECT_EQ(group()->currentText(), QString::fromUtf8(c.group)) << c.login;
        EXPECT_EQ(child<QCheckBox>(&page, "ChBChangePass")->isChecked(), c.changePass) << c.login;
        EXPECT_EQ(edit("EditPass")->text(), edit("EditPassConf")->text());
        EXPECT_FALSE(button("BtAddU")->isEnabled());
        page.BtExitUClick();
        page.UserGroupExecute();
    }
}

TEST_F(UsersPageTest, ChangingWritesTheChosenUser)
{
    selectUser("admin");
    button("BtUpU")->click();
    // Moving the grid before saving does not redirect the change.
    selectUser("report");
    edit("EditFirstN")->clear();
    typeText(edit("EditFirstN"), QStringLiteral("Пётр"));
    edit("EditPatr")->clear();
    group()->setEditText(QStringLiteral("Гости")); // no item: the stored group stays
    button("BtSaveU")->click();
    EXPECT_TRUE(Messages::shownTexts().isEmpty());
    const auto admin = db.user(1);
    EXPECT_EQ(admin->longName, QStringLiteral("Иванов Пётр"));
    EXPECT_EQ(admin->shortName, QStringLiteral("Иванов П."));
    EXPECT_EQ(admin->level, QStringLiteral("Administrator"));
    EXPECT_EQ(admin->password, QStringLiteral("Secret"));
    EXPECT_EQ(db.user(7)->longName, QStringLiteral("Сидоров"));
    EXPECT_EQ(db.column("SELECT COUNT(*) FROM USERS"), QStringList{"3"});
}

TEST_F(UsersPageTest, DeletingAnOperatorAlsoDeletesItsOperatorRow)
{
    db.addOperator(7, QStringLiteral("Сидоров"), QString(), QString()); // same id, other group

    // "No" keeps everything.
    selectUser("oper");
    Messages::queueAnswer(QMessageBox::No);
    button("BtDelU")->click();
    EXPECT_EQ(Messages::shownTexts(), QStringList{QStringLiteral("Сейчас данные будут удалены. Продолжить ?")});
    EXPECT_TRUE(db.user(2).has_value());

    selectUser("oper");
    Messages::queueAnswer(QMessageBox::Yes);
    button("BtDelU")->click();
    EXPECT_FALSE(db.user(2).has_value());
    EXPECT_EQ(db.column("SELECT ID_OPERAT FROM OPERATOR ORDER BY ID_OPERAT"), QStringList{"7"});
    EXPECT_EQ(gridLogins(), (QStringList{"admin", "report"}));

    // Another group: its user goes, OPERATOR stays untouched.
    selectUser("report");
    Messages::queueAnswer(QMessageBox::Yes);
    button("BtDelU")->click();
    EXPECT_FALSE(db.user(7).has_value());
    EXPECT_EQ(db.column("SELECT ID_OPERAT FROM OPERATOR"), QStringList{"7"});

    // An operator without an operator row: only the user goes.
    db.addUser({9, "Новый", "Новый", "new", "n", "Operator", 0});
    page.UserGroupExecute();
    selectUser("new");
    Messages::queueAnswer(QMessageBox::Yes);
    button("BtDelU")->click();
    EXPECT_FALSE(db.user(9).has_value());
    EXPECT_EQ(db.column("SELECT ID_OPERAT FROM OPERATOR"), QStringList{"7"});
    EXPECT_TRUE(db.user(1).has_value());
}

TEST_F(UsersPageTest, DeletingTheGreatestIdentifierReusesIt)
{
    button("BtAddU")->click();
    fill({"first", "a", "a", "Операторы", "Первый", "", "", false});
    button("BtSaveU")->click();
    ASSERT_EQ(db.user(8)->name, QStringLiteral("first"));

    selectUser("first");
    Messages::queueAnswer(QMessageBox::Yes);
    button("BtDelU")->click();
    button("BtAddU")->click();
    fill({"again", "a", "a", "Операторы", "Снова", "", "", false});
    button("BtSaveU")->click();
    ASSERT_TRUE(db.user(8).has_value()) << db.column("SELECT ID_USER FROM USERS").join(" ").toStdString();
    EXPECT_EQ(db.user(8)->name, QStringLiteral("again"));
}

TEST_F(UsersPageTest, CancelLeavesThePageAndStoresNothing)
{
    bool left = false;
    QObject::connect(&page, &TUsersPage::leavePage, [&] { left = true; });
    button("BtAddU")->click();
    fill({"ghost", "g", "g", "Операторы", "Призрак", "", "", false});
    button("BtExitU")->click();
    EXPECT_TRUE(left);
    EXPECT_EQ(db.column("SELECT COUNT(*) FROM USERS"), QStringList{"3"});
    for (const char *b : {"BtAddU", "BtUpU", "BtDelU"})
        EXPECT_TRUE(button(b)->isEnabled()) << b;
    EXPECT_FALSE(button("BtSaveU")->isEnabled());
}

TEST_F(UsersPageTest, StoreErrorsShowTheirPrefixes)
{
    button("BtAddU")->click();
    fill({"x", "p", "p", "Операторы", "Икс", "", "", false});
    db.exec("DROP TABLE USERS");
    button("BtSaveU")->click();
    ASSERT_FALSE(Messages::shown().isEmpty());
    EXPECT_EQ(Messages::shown().at(0).kind, zv::ShownMessage::Error);
    EXPECT_TRUE(Messages::shown().at(0).text.startsWith(QStringLiteral("Ошибка при работе с БД:")))
        << Messages::shown().at(0).text.toStdString();
    EXPECT_TRUE(button("BtSaveU")->isEnabled()); // the page stays in its mode

    Messages::clear();
    page.UserGroupExecute();
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_TRUE(Messages::shown().at(0).text.startsWith(QStringLiteral("Ошибка при открытии таблицы \"Пользователи\" :")));
}

TEST_F(UsersPageTest, OperatorTableErrorOnChange)
{
    db.exec("DROP TABLE OPERATOR");
    selectUser("oper");
    button("BtUpU")->click();
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_TRUE(Messages::shown().at(0).text.startsWith(QStringLiteral("Ошибка при открытии таблицы \"Операторы\" :")))
        << Messages::shown().at(0).text.toStdString();
    EXPECT_TRUE(edit("EditLastN")->text().isEmpty());
}

TEST_F(UsersPageTest, ValuesTooLongForTheTableAreRefusedNotCut)
{
    // A password cut to the column's width would no longer be the one typed.
    const QString longPassword(200, QLatin1Char('p'));
    button("BtAddU")->click();
    fill({"longpass", "", "", "Операторы", "Длинный", "", "", false});
    typeText(edit("EditPass"), longPassword);
    typeText(edit("EditPassConf"), longPassword);
    button("BtSaveU")->click();
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_TRUE(Messages::shown().at(0).text.startsWith(QStringLiteral("Ошибка при работе с БД:")));
    EXPECT_TRUE(db.column("SELECT NAME_USER FROM USERS WHERE NAME_USER = 'longpass'").isEmpty());
    EXPECT_TRUE(button("BtSaveU")->isEnabled());

    // The page goes on: a fitting password is stored.
    Messages::clear();
    edit("EditPass")->clear();
    edit("EditPassConf")->clear();
    typeText(edit("EditPass"), QStringLiteral("short"));
    typeText(edit("EditPassConf"), QStringLiteral("short"));
    button("BtSaveU")->click();
    EXPECT_TRUE(Messages::shownTexts().isEmpty());
    EXPECT_EQ(db.column("SELECT PASSW_USER FROM USERS WHERE NAME_USER = 'longpass'"), QStringList{"short"});
}

TEST_F(UsersPageTest, AccessibleNamesAreTheCaptions)
{
    const struct {
        const char *name, *caption;
    } cases[] = {{"EditUser", "Пользователь"}, {"EditPass", "Пароль"},  {"EditPassConf", "Подтверждение"},
                 {"EditLastN", "Фамилия"},     {"EditFirstN", "Имя"},   {"EditPatr", "Отчество"}};
    for (const auto &c : cases)
        EXPECT_EQ(edit(c.name)->accessibleName(), QString::fromUtf8(c.caption));
    EXPECT_EQ(group()->accessibleName(), QStringLiteral("Группа"));
    EXPECT_EQ(edit("EditPass")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(group()->count(), 3);
}

} // namespace
