// The access subsystem in the real main window: the start from the login to
// the prepared window (the demo database's first login included), a
// cancelled login, and the rights of a group, tried through every shortcut,
// menu entry and navigation-bar item of the actions it loses.
#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "accesshooks.h"
#include "accesstestutil.h"
#include "hooks.h"
#include "mainform.h"
#include "messages.h"
#include "paths.h"
#include "weighingpage.h"

using namespace accesstest;
using zv::Messages;

namespace {

const QStringList ReportLoses{"ConfigSystem", "UserGroup",  "BackupDB", "Weighter",   "RefEvenTypes", "RefCargo",
                              "RefCargoTypes", "RefDriver", "RefModel", "RefTrailer", "RefGrOtpr",    "RefGrPol",
                              "RefPokup",     "RefPost",    "RefOwner", "RefDocTypes", "RefTs",       "RefTsTypes",
                              "RefEdIzm",     "RefUpakov",  "ChangePassJrn"};
const QStringList OperatorLoses{"ConfigSystem", "UserGroup", "BackupDB", "ChangePassJrn"};

class MainWindowAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        zv::Paths::setProgramDir(dir.path());
        Messages::clear();
        zv::hooks() = zv::Hooks{};
        zv::run() = zv::RunValues{};
        zv::access::installHooks();
    }
    void TearDown() override
    {
        if (window) {
            window->SkipSettingsSave = true;
            window.reset();
        }
        zv::hooks() = zv::Hooks{};
        zv::store::TBVDMod1::instance().closeAll();
        zv::store::Database::setDirectory(QString());
        zv::Paths::setProgramDir(QString());
        Messages::clear();
    }

    // A database with the users of the test (no initial administrator).
    void makeDatabase()
    {
        const QString db = dir.filePath(QStringLiteral("db"));
        zv::store::createDatabase(db);
        zv::store::Database::setDirectory(db);
        TestDb::exec("DELETE FROM USERS");
        TestDb::addUser({1, "Иванов Иван Иванович", "Иванов И. И.", "admin", "Secret", "Administrator", 0});
        TestDb::addUser({2, "Петров Пётр", "Петров П.", "oper", "pw", "Operator", 0});
        TestDb::addUser({3, "Сидоров", "Сидоров", "report", "rep", "CreaterReport", 0});
    }

    static void logInWith(QWidget *dlg, const QString &name, const QString &password)
    {
        typeText(child<QLineEdit>(dlg, "EditUser"), name);
        typeText(child<QLineEdit>(dlg, "EditPass"), password);
        child<QPushButton>(dlg, "BitBtn1")->click();
    }

    // Creates the window as the program does and shows it; the login is
    // answered by `atLogin`.
    TMainForm *start(std::function<void(QWidget *)> atLogin)
    {
        window = std::make_unique<TMainForm>();
        TMainForm *w = window.get();
        zv::access::attachUsersPage(
            [w](QWidget *page, std::function<void()> prepare) { w->setUsersPage(page, std::move(prepare)); },
            [w] { w->leavePages(); });
        onNextModal(std::move(atLogin));
        w->show();
        QCoreApplication::processEvents();
        return w;
    }

    TMainForm *startAs(const QString &name, const QString &password)
    {
        TMainForm *w = start([name, password](QWidget *dlg) { logInWith(dlg, name, password); });
        EXPECT_TRUE(w->isVisible());
        activate(w);
        return w;
    }

    // Shortcuts reach the active window only; a closed dialog had been it.
    static void activate(QWidget *w)
    {
        w->activateWindow();
        QApplication::setActiveWindow(w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    }

    QAction *menuEntry(const QString &action) const
    {
        return window->findChild<QAction *>(QStringLiteral("mi") + action);
    }
    QToolButton *navItem(const QString &action) const
    {
        return window->findChild<QToolButton *>(QStringLiteral("nb") + action);
    }

    // Counts how often each action's handler was asked to run.
    QHash<QString, int> watchTriggers()
    {
        auto counts = std::make_shared<QHash<QString, int>>();
        m_counts = counts;
        for (const QString &name : allActionNames())
            QObject::connect(window->action(name), &QAction::triggered, window.get(),
                             [counts, name] { (*counts)[name]++; });
        return {};
    }
    int triggered(const QString &name) const { return m_counts ? m_counts->value(name) : 0; }

    // Tries an action every way the operator can reach it.
    void tryEveryWay(const QString &name)
    {
        if (QAction *entry = menuEntry(name)) {
            if (!entry->shortcut().isEmpty())
                QTest::keySequence(window.get(), entry->shortcut());
            entry->trigger();
        }
        if (QToolButton *item = navItem(name))
            item->click();
    }

    QTemporaryDir dir;
    std::unique_ptr<TMainForm> window;
    std::shared_ptr<QHash<QString, int>> m_counts;
};

TEST_F(MainWindowAccessTest, ReportUserCannotReachWhatTheGroupLoses)
{
    makeDatabase();
    TMainForm *w = startAs(QStringLiteral("report"), QStringLiteral("rep"));
    ASSERT_EQ(zv::run().CurrUserGroup, QStringLiteral("CreaterReport"));
    EXPECT_EQ(w->weighingPage()->EditOper->text(), QStringLiteral("Сидоров"));
    watchTriggers();

    for (const QString &name : ReportLoses) {
        EXPECT_FALSE(w->action(name)->isEnabled()) << name.toStdString();
        if (QAction *entry = menuEntry(name)) {
            EXPECT_FALSE(entry->isEnabled()) << name.toStdString();
        }
        if (QToolButton *item = navItem(name)) {
            EXPECT_FALSE(item->isEnabled()) << name.toStdString();
        }
        tryEveryWay(name);
        // Something enabling the action again does not widen the rights.
        w->action(name)->setEnabled(true);
        tryEveryWay(name);
        EXPECT_FALSE(w->action(name)->isEnabled()) << name.toStdString();
        EXPECT_EQ(triggered(name), 0) << name.toStdString();
    }
    EXPECT_EQ(w->activePage(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    for (const char *kept : {"ReportJrn", "ChangePassUsr", "SyncReferens", "ImportEvenJrn"}) {
        EXPECT_TRUE(w->action(QString::fromLatin1(kept))->isEnabled()) << kept;
        EXPECT_TRUE(menuEntry(QString::fromLatin1(kept))->isEnabled()) << kept;
    }
    EXPECT_TRUE(navItem(QStringLiteral("ReportJrn"))->isEnabled());
}

TEST_F(MainWindowAccessTest, OperatorShortcutsToAdministrationAreDeadUntilAnAdministratorTakesOver)
{
    makeDatabase();
    TMainForm *w = startAs(QStringLiteral("OPER"), QStringLiteral("PW"));
    watchTriggers();
    for (const QString &name : OperatorLoses) {
        tryEveryWay(name);
        EXPECT_EQ(triggered(name), 0) << name.toStdString();
    }
    // The weighing page is the operator's: its shortcut works.
    QTest::keySequence(w, QKeySequence(Qt::CTRL | Qt::Key_W));
    ASSERT_EQ(triggered(QStringLiteral("Weighter")), 1);
    EXPECT_EQ(w->activePage()->objectName(), QStringLiteral("TabSWeight"));
    // Nor do the page tabs lead to the settings or the users.
    for (const char *tab : {"TabSConfig", "TabSUser"}) {
        QWidget *page = w->findChild<QWidget *>(QString::fromLatin1(tab));
        EXPECT_FALSE(w->pageControl()->isTabEnabled(w->pageControl()->indexOf(page))) << tab;
    }

    // "Смена оператора" on the weighing page: the administrator takes over.
    onNextModal([](QWidget *dlg) {
        EXPECT_EQ(child<QLineEdit>(dlg, "EditCurrUsr")->text(), QStringLiteral("oper"));
        typeText(child<QLineEdit>(dlg, "EditNewUsr"), QStringLiteral("admin"));
        typeText(child<QLineEdit>(dlg, "EditPassUsr"), QStringLiteral("Secret"));
        child<QPushButton>(dlg, "BtOK")->click();
    });
    w->weighingPage()->BtChangeOper->click();
    EXPECT_EQ(zv::run().CurrUserID, 1);
    EXPECT_EQ(w->weighingPage()->EditOper->text(), QStringLiteral("Иванов И. И."));
    for (const QString &name : OperatorLoses) {
        EXPECT_TRUE(w->action(name)->isEnabled()) << name.toStdString();
        EXPECT_TRUE(menuEntry(name)->isEnabled()) << name.toStdString();
    }
    activate(w);
    QTest::keySequence(w, QKeySequence(Qt::CTRL | Qt::Key_U));
    EXPECT_EQ(triggered(QStringLiteral("UserGroup")), 1);
    EXPECT_EQ(w->activePage()->objectName(), QStringLiteral("TabSUser"));
}

TEST_F(MainWindowAccessTest, UsersPageOpensFromTheActionAndItsCancelLeavesThePage)
{
    makeDatabase();
    TMainForm *w = startAs(QStringLiteral("admin"), QStringLiteral("secret"));
    QTest::keySequence(w, QKeySequence(Qt::CTRL | Qt::Key_U));
    ASSERT_NE(w->activePage(), nullptr);
    EXPECT_EQ(w->activePage()->objectName(), QStringLiteral("TabSUser"));
    auto *grid = w->findChild<QTableView *>(QStringLiteral("DBGrid4"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_TRUE(grid->isVisible());
    w->findChild<QPushButton *>(QStringLiteral("BtExitU"))->click();
    EXPECT_EQ(w->activePage(), nullptr);
}

TEST_F(MainWindowAccessTest, CancelledLoginLeavesTheSettingsFileAsItWas)
{
    makeDatabase();
    const QString ini = dir.filePath(QStringLiteral("belvor.ini"));
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Set Mode]\r\nModeIndex=1\r\n");
    }
    TMainForm *w = start([](QWidget *dlg) {
        logInWith(dlg, QStringLiteral("admin"), QStringLiteral("wrong"));
        child<QPushButton>(dlg, "BitBtn2")->click();
    });
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->SkipSettingsSave);
    EXPECT_EQ(zv::run().CurrUserID, -1);
    window.reset();
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Set Mode]\r\nModeIndex=1\r\n"));
}

TEST_F(MainWindowAccessTest, DemoDatabaseFirstLoginForcesThePasswordChangeAndOpensEverything)
{
    const QString db = dir.filePath(QStringLiteral("db"));
    zv::store::createDatabase(db);
    zv::store::addDemoData(db);
    zv::store::Database::setDirectory(db);

    TMainForm *w = start([](QWidget *login) {
        // The forced change follows right after the login dialog.
        onNextModal(
            [](QWidget *change) {
                typeText(child<QLineEdit>(change, "EditOldPass"), zv::store::InitialAdminPassword);
                typeText(child<QLineEdit>(change, "EditNewPass"), QStringLiteral("demo-2026"));
                typeText(child<QLineEdit>(change, "EditConfPass"), QStringLiteral("demo-2026"));
                child<QPushButton>(change, "BtOk")->click();
            },
            login);
        logInWith(login, zv::store::InitialAdminLogin, zv::store::InitialAdminPassword);
    });
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(Messages::shownTexts().contains(QStringLiteral("Вам надо сменить пароль")));
    EXPECT_TRUE(Messages::shownTexts().contains(QStringLiteral("Пароль был успешно заменен")));
    EXPECT_EQ(zv::run().CurrUserGroup, QStringLiteral("Administrator"));
    for (const QString &name : allActionNames()) {
        EXPECT_TRUE(w->action(name)->isEnabled()) << name.toStdString();
        if (QToolButton *item = navItem(name)) {
            EXPECT_TRUE(item->isEnabled()) << name.toStdString();
        }
    }
    const auto admin = TestDb::user(zv::run().CurrUserID);
    ASSERT_TRUE(admin.has_value());
    EXPECT_EQ(admin->changeP, 0);
    EXPECT_EQ(admin->password, QStringLiteral("demo-2026"));

    // The demo's other groups are there to be seen.
    const QStringList groups = TestDb::column(QStringLiteral("SELECT LEVEL_USER FROM USERS"));
    EXPECT_TRUE(groups.contains(QStringLiteral("Operator")));
    EXPECT_TRUE(groups.contains(QStringLiteral("CreaterReport")));
}

} // namespace
