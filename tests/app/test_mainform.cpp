// The main window: actions, menu, navigation bar, pages, preparation and
// closing, the administration tool, the about and manual windows.
#include "mainformfixture.h"

#include <QAction>
#include <QDateEdit>
#include <QFileInfo>
#include <QRadioButton>
#include <QSlider>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <stdexcept>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBox>
#include <QToolButton>

#include "clock.h"
#include "inifile.h"
#include "radiogroup.h"
#include "settingspage.h"
#include "weighingpage.h"

using zv::Messages;

namespace {

// Texts of a menu's entries; a submenu as "title>" followed by its entries, then "<".
QStringList entries(const QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            continue;
        if (a->menu()) {
            out << a->text() + QLatin1Char('>');
            out << entries(a->menu());
            out << QStringLiteral("<");
        } else {
            out << a->text();
        }
    }
    return out;
}

QAction *entry(QMenuBar *bar, const QString &text)
{
    std::function<QAction *(const QList<QAction *> &)> search = [&](const QList<QAction *> &list) -> QAction * {
        for (QAction *a : list) {
            if (a->menu()) {
                if (QAction *found = search(a->menu()->actions()))
                    return found;
            } else if (a->text() == text) {
                return a;
            }
        }
        return nullptr;
    };
    return search(bar->actions());
}

} // namespace

TEST_F(MainFormTest, WindowCaptionAndBorder)
{
    start();
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Программный комплекс \"ZV\" - по-осное взвешивание транспортных средств"));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowSystemMenuHint));
    for (const char *label : {"LbAuto", "lbMessage", "LbInd"})
        EXPECT_FALSE(find<QLabel>(label)->isVisible()) << label;
    EXPECT_FALSE(window->pageControl()->isVisible());
}

TEST_F(MainFormTest, EveryActionHasItsCategoryAndCaption)
{
    start();
    const struct {
        const char *name, *category, *caption;
    } table[] = {
        {"ConfigSystem", "Администратор", "Настройка комплекса"},
        {"UserGroup", "Администратор", "Пользователи и группы"},
        {"BackupDB", "Администратор", "BackupDB"},
        {"Weighter", "Оператор", "Взвешивание"},
        {"SyncReferens", "Оператор", "Синхронизация справочника \"Виды грузов\" с 1С"},
        {"ImportEvenJrn", "Оператор", "Импорт журнала событий в Excel"},
        {"ReportJrn", "Отчеты", "По журналу событий"},
        {"RefEvenTypes", "Справочники", "Виды событий"},
        {"RefTs", "Справочники", "Транспортные средства"},
        {"RefTsTypes", "Справочники", "RefTsTypes"},
        {"RefModel", "Справочники", "Марки автомобилей"},
        {"RefTrailer", "Справочники", "Марки прицепов"},
        {"RefCargo", "Справочники", "Виды груза"},
        {"RefCargoTypes", "Справочники", "Типы грузов"},
        {"RefDriver", "Справочники", "Водители"},
        {"RefDocTypes", "Справочники", "Типы документов"},
        {"RefEdIzm", "Справочники", "Справочник ед. измерения"},
        {"RefUpakov", "Справочники", "Справочник типы упаковки"},
        {"RefOwner", "Справочники", "Владельцы ТС"},
        {"RefPokup", "Справочники", "Покупатель"},
        {"RefPost", "Справочники", "Поставщики"},
        {"RefGrOtpr", "Справочники", "Грузоотправители"},
        {"RefGrPol", "Справочники", "Грузополучатель"},
        {"ChangePassUsr", "Смена пароля", "Пароль пользователя"},
        {"ChangePassJrn", "Смена пароля", "Пароль для журнала событий"},
    };
    for (const auto &row : table) {
        auto *a = window->findChild<QAction *>(QLatin1String(row.name));
        ASSERT_NE(a, nullptr) << row.name;
        EXPECT_EQ(a->property("category").toString(), QString::fromUtf8(row.category)) << row.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(row.caption)) << row.name;
    }
}

TEST_F(MainFormTest, MainMenuHasItsEntriesInOrder)
{
    start();
    auto *bar = find<QMenuBar>("MainMenu1");
    QStringList titles;
    for (QAction *a : bar->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"Администратор", "Оператор", "Отчеты", "Справочники", "Смена пароля", "Помощь",
                                   "Выход"}));
    EXPECT_EQ(bar->actions().last()->menu(), nullptr); // "Выход" has no submenu

    const QList<QAction *> menus = bar->actions();
    EXPECT_EQ(entries(menus[0]->menu()),
              (QStringList{"Настройка системы", "Пользователи и группы", "Администрирование БД"}));
    EXPECT_EQ(entries(menus[1]->menu()),
              (QStringList{"Взвешивание", "Синхронизация справочника \"Виды грузов\" с \"1С\"",
                           "Экспорт журнала событий в Excel"}));
    EXPECT_EQ(entries(menus[2]->menu()), (QStringList{"По журналу событий"}));
    EXPECT_EQ(entries(menus[3]->menu()),
              (QStringList{"Виды событий", "Транспорт>", "Транспортные средства", "Типы транспортных средств",
                           "Марки транспортных средств", "Марки прицепов", "<", "Виды груза", "Типы грузов",
                           "Водители", "Документ>", "Типы документов", "Справочник ед. измерения",
                           "Справочник типы упаковки", "<", "Владельцы ТС", "Покупатели", "Поставщики",
                           "Грузоотправители", "Грузополучатели"}));
    EXPECT_EQ(entries(menus[4]->menu()), (QStringList{"Пароль пользователя", "Пароль для журнала событий"}));
    EXPECT_EQ(entries(menus[5]->menu()), (QStringList{"О программе", "Руководство пользователя"}));

    EXPECT_EQ(entry(bar, QStringLiteral("Настройка системы"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(entry(bar, QStringLiteral("Пользователи и группы"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+U")));
    EXPECT_EQ(entry(bar, QStringLiteral("Взвешивание"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
}

TEST_F(MainFormTest, MenuEntriesAndNavigationItemsFollowTheirActions)
{
    start();
    auto *bar = find<QMenuBar>("MainMenu1");
    QAction *weighter = window->action(QStringLiteral("Weighter"));
    QAction *menuEntry = entry(bar, QStringLiteral("Взвешивание"));
    auto *navItem = find<QToolButton>("nbWeighter");

    weighter->setEnabled(false);
    EXPECT_FALSE(menuEntry->isEnabled());
    EXPECT_FALSE(navItem->isEnabled());
    menuEntry->trigger();
    EXPECT_EQ(window->activePage(), nullptr);

    weighter->setEnabled(true);
    EXPECT_TRUE(menuEntry->isEnabled());
    EXPECT_TRUE(navItem->isEnabled());

    // Two entries stay disabled whatever their actions are.
    window->action(QStringLiteral("RefTrailer"))->setEnabled(true);
    EXPECT_FALSE(entry(bar, QStringLiteral("Марки прицепов"))->isEnabled());
    EXPECT_FALSE(entry(bar, QStringLiteral("Руководство пользователя"))->isEnabled());
}

TEST_F(MainFormTest, NavigationBarGroupsAndItems)
{
    start();
    auto *nav = find<QToolBox>("dxNavBar1");
    ASSERT_EQ(nav->count(), 3);
    EXPECT_EQ(nav->itemText(0), QStringLiteral("Администратор"));
    EXPECT_EQ(nav->itemText(1), QStringLiteral("Оператор"));
    EXPECT_EQ(nav->itemText(2), QStringLiteral("Отчеты"));
    EXPECT_EQ(nav->currentIndex(), 0);
    const struct {
        const char *item, *text;
        bool visible;
    } items[] = {{"nbConfigSystem", "Настройка комплекса", true},
                 {"nbUserGroup", "Пользователи и группы", true},
                 {"nbBackupDB", "Администрироване БД", true},
                 {"nbWeighter", "Взвешивание", true},
                 {"nbPrintDoc", "Печать документа", false},
                 {"nbReportJrn", "По журналу событий", true}};
    for (const auto &i : items) {
        auto *b = find<QToolButton>(i.item);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromUtf8(i.text)) << i.item;
        EXPECT_EQ(b->isVisibleTo(b->parentWidget()), i.visible) << i.item;
        EXPECT_FALSE(b->icon().isNull()) << i.item;
    }
    find<QToolButton>("nbConfigSystem")->click();
    EXPECT_EQ(window->activePage(), find<QWidget>("TabSConfig"));
}

TEST_F(MainFormTest, PagesSwitchAsTheActionsSay)
{
    start();
    QTabWidget *pages = window->pageControl();
    auto enabled = [&](const char *name) { return pages->isTabEnabled(pages->indexOf(find<QWidget>(name))); };
    const struct {
        const char *action, *page;
    } cases[] = {{"ConfigSystem", "TabSConfig"}, {"UserGroup", "TabSUser"}, {"Weighter", "TabSWeight"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.action);
        window->action(QLatin1String(c.action))->trigger();
        EXPECT_TRUE(pages->isVisible());
        EXPECT_EQ(window->activePage(), find<QWidget>(c.page));
        for (const char *page : {"TabSConfig", "TabSUser", "TabSWeight"})
            EXPECT_EQ(enabled(page), qstrcmp(page, c.page) == 0) << page;
        EXPECT_TRUE(enabled("cxTabSheet1"));
    }
    // The rest page can be chosen by its tab at any time.
    pages->tabBar()->setCurrentIndex(pages->indexOf(find<QWidget>("cxTabSheet1")));
    EXPECT_EQ(window->activePage(), find<QWidget>("cxTabSheet1"));
    EXPECT_FALSE(find<QLabel>("ImRest")->pixmap().isNull());
}

TEST_F(MainFormTest, ExitButtonsLeaveNoActivePage)
{
    start();
    for (const char *exit : {"cxButton2", "cxButton5", "cxButton8", "cxButton3", "cxButton11", "cxButton10",
                             "cxButton14", "BtExit"}) {
        SCOPED_TRACE(exit);
        window->action(QStringLiteral("ConfigSystem"))->trigger();
        const auto before = zv::settings().LimitWeight;
        // Some of them are disabled for the operator; the handler is what counts.
        emit find<QPushButton>(exit)->clicked();
        EXPECT_TRUE(window->pageControl()->isVisible());
        EXPECT_EQ(window->activePage(), nullptr);
        EXPECT_EQ(zv::settings().LimitWeight, before);
    }
    window->action(QStringLiteral("Weighter"))->trigger();
    window->weighingPage()->cxButton6->click();
    EXPECT_TRUE(window->pageControl()->isVisible());
    EXPECT_EQ(window->activePage(), nullptr);
}

TEST_F(MainFormTest, CancelledLoginClosesWithoutWritingTheSettings)
{
    writeIni(QStringLiteral("[Set Mode]\r\nModeIndex=1\r\n"));
    const QByteArray before = iniBytes();
    bool asked = false;
    zv::hooks().login = [&](QWidget *) {
        asked = true;
        return false;
    };
    bool rightsApplied = false;
    zv::hooks().applyGroupRights = [&](QWidget *) { rightsApplied = true; };
    start();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(window->SkipSettingsSave);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(rightsApplied);
    window.reset();
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(MainFormTest, PreparationRunsItsStepsAfterASuccessfulLogin)
{
    writeIni(QStringLiteral("[Set Mode]\r\nMode=Динамический режим\r\nModeIndex=1\r\n"
                            "[Set Interval Actual]\r\nIntervalActualTare=90\r\n"));
    QStringList steps;
    zv::hooks().login = [&](QWidget *) {
        steps << "login";
        zv::run().CurrUserID = 7;
        zv::run().CurrUserGroup = zv::GroupOperator;
        return true;
    };
    zv::hooks().applyGroupRights = [&](QWidget *) { steps << "rights"; };
    zv::hooks().forcedPasswordChange = [&](QWidget *) {
        steps << "password";
        return true;
    };
    start();
    EXPECT_EQ(steps, (QStringList{"login", "rights", "password"}));
    EXPECT_FALSE(window->SkipSettingsSave);
    TWeighingPage *page = window->weighingPage();
    EXPECT_EQ(page->BtSaveW->text(), QStringLiteral("Начать измерение"));
    for (QWidget *w : std::initializer_list<QWidget *>{page->LbAx1, page->LbAx2, page->EditWg, page->EditOst})
        EXPECT_FALSE(w->isVisibleTo(page)) << w->objectName().toStdString();
    EXPECT_EQ(page->DateEditEv->date(), zv::Clock::today());
    EXPECT_TRUE(page->DateEditEv->isReadOnly());
    EXPECT_FALSE(page->ImEmpty->isVisibleTo(page));
    EXPECT_EQ(window->settingsPage()->EditActualTare->text(), QStringLiteral("90"));
    EXPECT_TRUE(Messages::shown().isEmpty());
}

TEST_F(MainFormTest, StaticModeShowsTheAxleCounters)
{
    writeIni(QStringLiteral("[Set Mode]\r\nModeIndex=0\r\n"));
    start();
    TWeighingPage *page = window->weighingPage();
    EXPECT_EQ(page->BtSaveW->text(), QStringLiteral("Записать измерение"));
    for (QWidget *w : std::initializer_list<QWidget *>{page->LbAx1, page->LbAx2, page->EditWg, page->EditOst})
        EXPECT_TRUE(w->isVisibleTo(page)) << w->objectName().toStdString();
}

TEST_F(MainFormTest, FailedPasswordChangeSkipsTheRestOfThePreparation)
{
    writeIni(QStringLiteral("[Set Interval Actual]\r\nIntervalActualTare=90\r\n"));
    zv::hooks().login = [](QWidget *) {
        zv::run().CurrUserID = 3;
        return true;
    };
    zv::hooks().forcedPasswordChange = [](QWidget *) { return false; };
    start();
    EXPECT_TRUE(window->settingsPage()->EditActualTare->text().isEmpty());
    EXPECT_FALSE(window->SkipSettingsSave);
}

TEST_F(MainFormTest, NonIntegerInTheFileShowsTheErrorAndSkipsTheRest)
{
    writeIni(QStringLiteral("[Set Mode]\r\nModeIndex=1\r\n[Set Limit]\r\nLimitWeight=сто\r\n"
                            "[Set Interval Actual]\r\nIntervalActualTare=90\r\n"));
    bool passwordAsked = false;
    zv::hooks().forcedPasswordChange = [&](QWidget *) {
        passwordAsked = true;
        return true;
    };
    start();
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().first().kind, zv::ShownMessage::Error);
    EXPECT_TRUE(Messages::shown().first().text.contains(QStringLiteral("сто")));
    EXPECT_FALSE(passwordAsked);
    EXPECT_TRUE(window->settingsPage()->EditActualTare->text().isEmpty());
    // The window goes on: pages still open.
    window->action(QStringLiteral("Weighter"))->trigger();
    EXPECT_EQ(window->activePage(), find<QWidget>("TabSWeight"));
}

TEST_F(MainFormTest, FileWithABadValueIsNotOverwrittenByDefaults)
{
    writeIni(QStringLiteral("[Set Limit]\r\nLimitWeight=1O0\r\n[Set DecimalPoint]\r\nDecimalPoint=2\r\n"
                            "[Set 1C]\r\nPath1C=\\\\server\\1c\r\n"));
    const QByteArray before = iniBytes();
    start();
    ASSERT_EQ(Messages::shown().size(), 1);
    closeWindow();
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(MainFormTest, FirstStartWithoutFileWorksAndWritesTheFileAtClose)
{
    zv::settings() = zv::SettingsValues{}; // as the process starts
    start();
    EXPECT_EQ(zv::settings().LimitLoad, 10000);
    EXPECT_EQ(window->settingsPage()->EditLimitLoad->text(), QStringLiteral("10000"));
    EXPECT_EQ(zv::settings().IntervalActualTare, 60);
    EXPECT_TRUE(Messages::shown().isEmpty()) << Messages::shownTexts().join('\n').toStdString();
    TSettingsPage *s = window->settingsPage();
    EXPECT_EQ(s->EditLimit->text(), QStringLiteral("100"));
    EXPECT_EQ(s->EditPlatformWidth->text(), QStringLiteral("600"));
    EXPECT_EQ(s->EditActualTare->text(), QStringLiteral("60"));
    EXPECT_TRUE(s->ChBAutomatic->isChecked());
    EXPECT_EQ(s->CBBaudRate->currentText(), QStringLiteral("19200"));
    closeWindow();
    const QByteArray bytes = iniBytes();
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.contains(zv::toCp1251(QStringLiteral("Mode=Статический режим\r\n"))));
    EXPECT_FALSE(bytes.contains(QStringLiteral("Статический").toUtf8()));
}

TEST_F(MainFormTest, SettingsAppliedOnThePageComeBackAfterARestart)
{
    writeIni(QStringLiteral("; this line belongs to the installer\r\n[Set Mode]\r\nModeIndex=0\r\n"
                            "[Site]\r\nName=Карьер 2\r\n"));
    start();
    TSettingsPage *s = window->settingsPage();
    window->action(QStringLiteral("ConfigSystem"))->trigger();
    // Dynamic mode, 7 integration points, coefficient at 8, automatic off, RFID on.
    s->CBMode->setFocus();
    QTest::keyClick(s->CBMode, Qt::Key_Down);
    ASSERT_EQ(s->CBMode->currentIndex(), 1);
    s->ChBIntegral->click();
    s->RGPointIntegral->item(1)->click();
    s->ChBKoff->click();
    s->TrBarKoff->setValue(8);
    s->ChBAutomatic->click();
    ASSERT_FALSE(s->ChBAutomatic->isChecked());
    s->EditLimit->setText(QStringLiteral("250"));
    s->cxButton7->click();
    s->ChBRFID->click();
    closeWindow();

    const QByteArray bytes = iniBytes();
    EXPECT_TRUE(bytes.startsWith("; this line belongs to the installer\r\n"));
    EXPECT_TRUE(bytes.contains(zv::toCp1251(QStringLiteral("[Site]\r\nName=Карьер 2\r\n"))));

    zv::settings() = zv::defaultSettings();
    start();
    s = window->settingsPage();
    EXPECT_EQ(s->CBMode->currentIndex(), 1);
    EXPECT_TRUE(s->ChBIntegral->isChecked());
    EXPECT_EQ(s->RGPointIntegral->itemIndex(), 1);
    EXPECT_TRUE(s->RGPointIntegral->isEnabled());
    EXPECT_TRUE(s->ChBKoff->isChecked());
    EXPECT_EQ(s->TrBarKoff->value(), 8);
    EXPECT_EQ(s->EditKoff->text(), QStringLiteral("1.03"));
    EXPECT_FALSE(s->ChBAutomatic->isChecked());
    EXPECT_TRUE(s->ChBRFID->isChecked());
    EXPECT_TRUE(window->weighingPage()->ChBRFID1->isChecked());
    EXPECT_EQ(s->EditLimit->text(), QStringLiteral("250"));
    EXPECT_EQ(zv::settings().modeIndex, 1);
    EXPECT_EQ(zv::settings().NumberPointIntegral, 7);
    EXPECT_DOUBLE_EQ(zv::settings().KoffFactor, 1.03);
    EXPECT_FALSE(zv::settings().AutoMode);
    EXPECT_EQ(zv::settings().LimitWeight, 250);
}

TEST_F(MainFormTest, PortChangedWithoutApplyIsStoredWithItsOldIndex)
{
    writeIni(QStringLiteral("[Set ComPort W]\r\nPort=/dev/ttyS0\r\nComPortIndex=0\r\n"));
    start();
    TSettingsPage *s = window->settingsPage();
    s->CBComPort->setEditText(QStringLiteral("/dev/ttyUSB3"));
    closeWindow();
    zv::IniFile ini(iniPath());
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString(QStringLiteral("Set ComPort W"), QStringLiteral("Port")), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(ini.readString(QStringLiteral("Set ComPort W"), QStringLiteral("ComPortIndex")), QStringLiteral("0"));
}

TEST_F(MainFormTest, ExitClosesTheWindowAndWritesTheSettings)
{
    start();
    find<QMenuBar>("MainMenu1")->actions().last()->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(iniBytes().isEmpty());
}

TEST_F(MainFormTest, MissingAdminToolShowsRunCapturedError)
{
    start();
    window->action(QStringLiteral("BackupDB"))->trigger();
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().first().caption, QStringLiteral("RunCaptured Error"));
    EXPECT_FALSE(Messages::shown().first().text.isEmpty());
    // The window goes on.
    window->action(QStringLiteral("ConfigSystem"))->trigger();
    EXPECT_EQ(window->activePage(), find<QWidget>("TabSConfig"));
}

TEST_F(MainFormTest, AdminToolRunsInTheProgramDirectoryAtIdlePriorityAndIsWaitedFor)
{
    const QString tool = dir.filePath(QStringLiteral("AdminTool"));
    {
        QFile f(tool);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Sleeps a little so that a window that did not wait would miss the file.
        f.write("#!/bin/sh\nsleep 0.3\n{ pwd; cut -d' ' -f19 /proc/$$/stat; } > ran.txt\nexit 3\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    start();
    window->action(QStringLiteral("BackupDB"))->trigger();
    QFile out(dir.filePath(QStringLiteral("ran.txt")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(out.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(QFileInfo(lines[0]).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
    EXPECT_EQ(lines[1], QStringLiteral("19")); // nice value
    EXPECT_TRUE(Messages::shown().isEmpty());
}

TEST_F(MainFormTest, AboutAndManualWindows)
{
    start();
    QStringList seen;
    auto inspectAndClose = [&] {
        auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dlg) {
            seen << "no dialog";
            return;
        }
        seen << dlg->metaObject()->className() << dlg->windowTitle();
        for (QLabel *l : dlg->findChildren<QLabel *>())
            seen << l->text();
        dlg->reject();
    };
    QTimer::singleShot(0, inspectAndClose);
    window->N7Click();
    EXPECT_EQ(seen, (QStringList{"TBVAboutForm", "BVAboutForm", "Программный комплекс \"ZV\"",
                                 "(Автоматизация процесса взвешивания транспортных средств)"}));
    seen.clear();
    QTimer::singleShot(0, inspectAndClose);
    window->N8Click();
    EXPECT_EQ(seen, (QStringList{"TBVRefForm", "Руководство пользователя", "Руководство пользователя находится:  ",
                                 "на дистрибутивном CD: ZV.RTF"}));
}

TEST_F(MainFormTest, PluggedActionHandlersRun)
{
    start();
    QStringList ran;
    for (const char *name : {"SyncReferens", "ImportEvenJrn", "ReportJrn", "RefTs", "RefGrPol"})
        window->setActionHandler(QLatin1String(name), [&ran, name] { ran << name; });
    bool usersPrepared = false;
    auto *users = new QWidget;
    users->setObjectName(QStringLiteral("UsersPageStandIn"));
    window->setUsersPage(users, [&] { usersPrepared = true; });
    for (const char *name : {"SyncReferens", "ImportEvenJrn", "ReportJrn", "RefTs", "RefGrPol", "UserGroup"})
        window->action(QLatin1String(name))->trigger();
    EXPECT_EQ(ran, (QStringList{"SyncReferens", "ImportEvenJrn", "ReportJrn", "RefTs", "RefGrPol"}));
    EXPECT_TRUE(usersPrepared);
    EXPECT_EQ(users->parentWidget(), find<QWidget>("TabSUser"));
}

TEST_F(MainFormTest, ShortcutsRunTheirActions)
{
    start();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const struct {
        const char *keys, *page;
    } cases[] = {{"Ctrl+W", "TabSWeight"}, {"Ctrl+S", "TabSConfig"}, {"Ctrl+U", "TabSUser"}};
    for (const auto &c : cases) {
        QTest::keySequence(window.get(), QKeySequence(QString::fromLatin1(c.keys)));
        EXPECT_EQ(window->activePage(), find<QWidget>(c.page)) << c.keys;
    }
}

TEST_F(MainFormTest, ErrorDuringThePreparationIsShownAndSkipsTheRest)
{
    writeIni(QStringLiteral("[Set Interval Actual]\r\nIntervalActualTare=90\r\n"));
    zv::hooks().login = [](QWidget *) {
        zv::run().CurrUserID = 2;
        return true;
    };
    zv::hooks().forcedPasswordChange = [](QWidget *) -> bool { throw std::runtime_error("Таблица USERS недоступна"); };
    start();
    ASSERT_EQ(Messages::shown().size(), 1);
    EXPECT_EQ(Messages::shown().first().kind, zv::ShownMessage::Error);
    EXPECT_EQ(Messages::shown().first().text, QStringLiteral("Таблица USERS недоступна"));
    EXPECT_TRUE(window->settingsPage()->EditActualTare->text().isEmpty());
    EXPECT_TRUE(window->isVisible());
}

// Without a database the documents and the journal of the day cannot be
// opened: each shows its open-error box, and the window goes on working.
TEST_F(MainFormTest, MissingDatabaseShowsTheOpenErrorsAndGoesOn)
{
    zv::store::Database::setDirectory(dir.filePath(QStringLiteral("nowhere")));
    zv::hooks().login = [](QWidget *) {
        zv::run().CurrUserID = 1;
        zv::run().CurrUserGroup = zv::GroupAdministrator;
        return true;
    };
    start();
    QStringList errors;
    for (const auto &m : Messages::shown()) {
        if (m.kind == zv::ShownMessage::Error)
            errors << m.text;
    }
    ASSERT_EQ(errors.size(), 2) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Ошибка при открытии таблицы \"Документы\" :"))) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("Ошибка при открытии таблицы \"Журнал событий\" :"))) << errors[1].toStdString();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nowhere/zv.db"))));

    // The program goes on: the settings page still opens.
    window->action(QStringLiteral("ConfigSystem"))->trigger();
    EXPECT_EQ(window->activePage(), window->findChild<QWidget *>(QStringLiteral("TabSConfig")));
}

TEST_F(MainFormTest, RestPageShowsTheJpegOfTheProgramDirectory)
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("rest.jpg")), "JPG"));
    start();
    const QPixmap shown = find<QLabel>("ImRest")->pixmap();
    EXPECT_EQ(shown.size(), QSize(64, 48));
    const QColor c = shown.toImage().pixelColor(32, 24);
    EXPECT_NEAR(c.green(), 200, 10);
}

TEST_F(MainFormTest, OpensMaximisedAndStaysSo)
{
    window = std::make_unique<TMainForm>();
    window->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->isMaximized());
    window->showNormal(); // what a window manager's "restore" would do
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isMaximized());
}
