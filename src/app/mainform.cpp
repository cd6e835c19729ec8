#include "mainform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTextCursor>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <sched.h>
#include <sys/resource.h>

#include "bvaboutform.h"
#include "bvrefform.h"
#include "hooks.h"
#include "messages.h"
#include "paths.h"
#include "radiogroup.h"
#include "runstate.h"
#include "settingsfile.h"
#include "settingspage.h"
#include "weighingpage.h"
#include "weighttelegram.h"

using zv::Messages;
using zv::settings;

namespace {

const char *const kCaption = "Программный комплекс \"ZV\" - по-осное взвешивание транспортных средств";

struct ActionDef {
    const char *name;
    const char *category;
    const char *caption;
};

// Every command of the window, in the order of the action list.
const ActionDef kActions[] = {
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

// Picture of the rest page when the program directory has none.
QPixmap restPicture()
{
    QImageReader reader(zv::Paths::inProgramDir(QStringLiteral("rest.jpg")));
    const QImage image = reader.read();
    if (!image.isNull())
        return QPixmap::fromImage(image);
    QPixmap pm(800, 500);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 330);
    sky.setColorAt(0, QColor(70, 130, 200));
    sky.setColorAt(1, QColor(200, 225, 250));
    p.fillRect(0, 0, 800, 330, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 110));
    p.drawEllipse(QPoint(620, 110), 55, 55);
    p.setBrush(QColor(90, 150, 80));
    QPolygon hills;
    hills << QPoint(0, 330) << QPoint(180, 250) << QPoint(360, 320) << QPoint(560, 230) << QPoint(800, 310)
          << QPoint(800, 500) << QPoint(0, 500);
    p.drawPolygon(hills);
    p.setBrush(QColor(60, 120, 60));
    p.drawRect(0, 400, 800, 100);
    return pm;
}

QIcon navIcon(QStyle::StandardPixmap which) { return QApplication::style()->standardIcon(which); }

} // namespace

// ---------------------------------------------------------------- creation

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    // FormCreate: the text formats of the whole process. Numbers with a
    // point, dates "dd.mm.yyyy" and times "hh:mm:ss" whatever the machine's
    // regional settings are.
    QLocale::setDefault(QLocale::c());

    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    createActions();
    createMenu();

    auto *central = new QWidget(this);
    auto *v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);

    Panel6 = new QWidget(central);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    auto *strip = new QHBoxLayout(Panel6);
    LbAuto = new QLabel(QStringLiteral("Программа работает в атоматическом режиме"), Panel6);
    LbAuto->setObjectName(QStringLiteral("LbAuto"));
    lbMessage = new QLabel(QStringLiteral(" - началось измерение веса ТС"), Panel6);
    lbMessage->setObjectName(QStringLiteral("lbMessage"));
    LbInd = new QLabel(QStringLiteral("Нет Данных с весового индикатора !!!"), Panel6);
    LbInd->setObjectName(QStringLiteral("LbInd"));
    LbInd->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    strip->addWidget(LbAuto);
    strip->addWidget(lbMessage);
    strip->addStretch(1);
    strip->addWidget(LbInd);
    for (QLabel *l : {LbAuto, lbMessage, LbInd})
        l->hide();
    Panel6->setMinimumHeight(LbInd->sizeHint().height() + 8);
    v->addWidget(Panel6);

    cxSplitter1 = new QSplitter(Qt::Horizontal, central);
    cxSplitter1->setObjectName(QStringLiteral("cxSplitter1"));
    v->addWidget(cxSplitter1, 1);
    createNavigationBar();
    createPages();
    cxSplitter1->setStretchFactor(0, 0);
    cxSplitter1->setStretchFactor(1, 1);
    cxSplitter1->setSizes({240, 1000});
    setCentralWidget(central);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    m_link = new zv::scale::IndicatorLink(this);
    m_link->setObjectName(QStringLiteral("BComPort1"));
    connect(m_link, &zv::scale::IndicatorLink::blockReceived, this, &TMainForm::BComPort1RxChar);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(400);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    connect(m_weighing->ChBOnInd, &QCheckBox::clicked, this, &TMainForm::ChBOnIndClick);
    connect(m_weighing->ChBOffInd, &QCheckBox::clicked, this, &TMainForm::ChBOffIndClick);
    connect(m_weighing->ChBKeyB, &QCheckBox::clicked, this, &TMainForm::ChBKeyBClick);
}

TMainForm::~TMainForm() = default;

void TMainForm::createActions()
{
    for (const ActionDef &d : kActions) {
        auto *a = new QAction(QString::fromUtf8(d.caption), this);
        a->setObjectName(QLatin1String(d.name));
        a->setProperty("category", QString::fromUtf8(d.category));
        m_actions.insert(QLatin1String(d.name), a);
    }
    connect(action(QStringLiteral("ConfigSystem")), &QAction::triggered, this, &TMainForm::ConfigSystemExecute);
    connect(action(QStringLiteral("UserGroup")), &QAction::triggered, this, &TMainForm::UserGroupExecute);
    connect(action(QStringLiteral("BackupDB")), &QAction::triggered, this, &TMainForm::BackupDBExecute);
    connect(action(QStringLiteral("Weighter")), &QAction::triggered, this, &TMainForm::WeighterExecute);
    connect(action(QStringLiteral("SyncReferens")), &QAction::triggered, this, &TMainForm::SyncReferensExecute);
    connect(action(QStringLiteral("ImportEvenJrn")), &QAction::triggered, this, &TMainForm::ImportEvenJrnExecute);
    connect(action(QStringLiteral("ReportJrn")), &QAction::triggered, this, &TMainForm::ReportJrnExecute);
    connect(action(QStringLiteral("ChangePassUsr")), &QAction::triggered, this, &TMainForm::ChangePassUsrExecute);
    connect(action(QStringLiteral("ChangePassJrn")), &QAction::triggered, this, &TMainForm::ChangePassJrnExecute);
    // Reference books: their windows are plugged in by their subsystem.
    for (const ActionDef &d : kActions) {
        const QString name = QLatin1String(d.name);
        if (name.startsWith(QLatin1String("Ref")))
            connect(action(name), &QAction::triggered, this, [this, name] { runActionHandler(name); });
    }
}

QAction *TMainForm::action(const QString &name) const { return m_actions.value(name); }

void TMainForm::createMenu()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(bar);

    // A menu entry bound to an action: runs it, is greyed out with it, shows
    // its caption unless the entry has one of its own.
    auto entry = [this](QMenu *menu, const char *actionName, const char *ownCaption = nullptr,
                        const QKeySequence &shortcut = QKeySequence(), bool alwaysDisabled = false) {
        QAction *a = action(QLatin1String(actionName));
        auto *e = new QAction(ownCaption ? QString::fromUtf8(ownCaption) : a->text(), menu);
        e->setObjectName(QStringLiteral("mi") + QLatin1String(actionName));
        e->setShortcut(shortcut);
        menu->addAction(e);
        if (alwaysDisabled) {
            e->setEnabled(false);
            return e;
        }
        connect(e, &QAction::triggered, a, &QAction::trigger);
        auto follow = [a, e, ownCaption] {
            e->setEnabled(a->isEnabled());
            e->setVisible(a->isVisible());
            if (!ownCaption)
                e->setText(a->text());
        };
        connect(a, &QAction::changed, e, follow);
        follow();
        return e;
    };

    QMenu *admin = bar->addMenu(QStringLiteral("Администратор"));
    admin->setObjectName(QStringLiteral("menuAdmin"));
    entry(admin, "ConfigSystem", "Настройка системы", QKeySequence(Qt::CTRL | Qt::Key_S));
    entry(admin, "UserGroup", nullptr, QKeySequence(Qt::CTRL | Qt::Key_U));
    entry(admin, "BackupDB", "Администрирование БД");

    QMenu *oper = bar->addMenu(QStringLiteral("Оператор"));
    oper->setObjectName(QStringLiteral("menuOperator"));
    entry(oper, "Weighter", nullptr, QKeySequence(Qt::CTRL | Qt::Key_W));
    entry(oper, "SyncReferens", "Синхронизация справочника \"Виды грузов\" с \"1С\"");
    entry(oper, "ImportEvenJrn", "Экспорт журнала событий в Excel");

    QMenu *reports = bar->addMenu(QStringLiteral("Отчеты"));
    reports->setObjectName(QStringLiteral("menuReports"));
    entry(reports, "ReportJrn");

    QMenu *refs = bar->addMenu(QStringLiteral("Справочники"));
    refs->setObjectName(QStringLiteral("menuRefs"));
    entry(refs, "RefEvenTypes");
    QMenu *transport = refs->addMenu(QStringLiteral("Транспорт"));
    transport->setObjectName(QStringLiteral("menuTransport"));
    entry(transport, "RefTs");
    entry(transport, "RefTsTypes", "Типы транспортных средств");
    entry(transport, "RefModel", "Марки транспортных средств");
    entry(transport, "RefTrailer", nullptr, QKeySequence(), true);
    entry(refs, "RefCargo");
    entry(refs, "RefCargoTypes");
    entry(refs, "RefDriver");
    QMenu *document = refs->addMenu(QStringLiteral("Документ"));
    document->setObjectName(QStringLiteral("menuDocument"));
    entry(document, "RefDocTypes");
    entry(document, "RefEdIzm");
    entry(document, "RefUpakov");
    entry(refs, "RefOwner");
    entry(refs, "RefPokup", "Покупатели");
    entry(refs, "RefPost");
    entry(refs, "RefGrOtpr");
    entry(refs, "RefGrPol", "Грузополучатели");

    QMenu *pass = bar->addMenu(QStringLiteral("Смена пароля"));
    pass->setObjectName(QStringLiteral("menuPasswords"));
    entry(pass, "ChangePassUsr");
    entry(pass, "ChangePassJrn");

    QMenu *help = bar->addMenu(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("menuHelp"));
    QAction *n7 = help->addAction(QStringLiteral("О программе"));
    n7->setObjectName(QStringLiteral("N7"));
    connect(n7, &QAction::triggered, this, &TMainForm::N7Click);
    QAction *n8 = help->addAction(QStringLiteral("Руководство пользователя"));
    n8->setObjectName(QStringLiteral("N8"));
    n8->setEnabled(false);
    connect(n8, &QAction::triggered, this, &TMainForm::N8Click);

    QAction *n6 = bar->addAction(QStringLiteral("Выход"));
    n6->setObjectName(QStringLiteral("N6"));
    connect(n6, &QAction::triggered, this, &TMainForm::N6Click);
}

void TMainForm::createNavigationBar()
{
    dxNavBar1 = new QToolBox(cxSplitter1);
    dxNavBar1->setObjectName(QStringLiteral("dxNavBar1"));
    dxNavBar1->setMinimumWidth(220);

    auto group = [this](const QString &caption, const char *name) {
        auto *page = new QWidget(dxNavBar1);
        page->setObjectName(QLatin1String(name));
        auto *v = new QVBoxLayout(page);
        v->setContentsMargins(4, 4, 4, 4);
        v->addStretch(1);
        dxNavBar1->addItem(page, caption);
        return page;
    };
    // An item bound to an action: greyed out and hidden with it.
    auto item = [this](QWidget *groupPage, const char *actionName, const char *ownCaption, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(groupPage);
        b->setObjectName(QStringLiteral("nb") + QLatin1String(actionName));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        b->setIcon(navIcon(icon));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        auto *v = static_cast<QVBoxLayout *>(groupPage->layout());
        v->insertWidget(v->count() - 1, b);
        QAction *a = action(QLatin1String(actionName));
        if (!a) {
            b->setText(QString::fromUtf8(ownCaption));
            return b;
        }
        connect(b, &QToolButton::clicked, a, &QAction::trigger);
        auto follow = [a, b, ownCaption] {
            b->setText(ownCaption ? QString::fromUtf8(ownCaption) : a->text());
            b->setEnabled(a->isEnabled());
            b->setVisible(a->isVisible());
        };
        connect(a, &QAction::changed, b, follow);
        follow();
        return b;
    };

    QWidget *admin = group(QStringLiteral("Администратор"), "nbgAdmin");
    item(admin, "ConfigSystem", nullptr, QStyle::SP_FileDialogDetailedView);
    item(admin, "UserGroup", nullptr, QStyle::SP_DirHomeIcon);
    item(admin, "BackupDB", "Администрироване БД", QStyle::SP_DriveHDIcon);
    QWidget *oper = group(QStringLiteral("Оператор"), "nbgOperator");
    item(oper, "Weighter", nullptr, QStyle::SP_ArrowDown);
    QToolButton *print = item(oper, "PrintDoc", "Печать документа", QStyle::SP_FileIcon);
    print->hide();
    QWidget *reports = group(QStringLiteral("Отчеты"), "nbgReports");
    item(reports, "ReportJrn", nullptr, QStyle::SP_FileDialogContentsView);
    dxNavBar1->setCurrentIndex(0);
}

void TMainForm::createPages()
{
    // The centre keeps its place while the page area is hidden.
    auto *centre = new QWidget(cxSplitter1);
    centre->setObjectName(QStringLiteral("PageArea"));
    auto *centreLayout = new QVBoxLayout(centre);
    centreLayout->setContentsMargins(0, 0, 0, 0);
    PageControl = new QTabWidget(centre);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    centreLayout->addWidget(PageControl);

    TabSConfig = new QWidget(PageControl);
    TabSConfig->setObjectName(QStringLiteral("TabSConfig"));
    TabSUser = new QWidget(PageControl);
    TabSUser->setObjectName(QStringLiteral("TabSUser"));
    new QVBoxLayout(TabSUser);
    TabSWeight = new QWidget(PageControl);
    TabSWeight->setObjectName(QStringLiteral("TabSWeight"));
    cxTabSheet1 = new QWidget(PageControl);
    cxTabSheet1->setObjectName(QStringLiteral("cxTabSheet1"));
    m_noPage = new QWidget(PageControl);
    m_noPage->setObjectName(QStringLiteral("NoActivePage"));

    m_weighing = new TWeighingPage(TabSWeight);
    auto *wl = new QVBoxLayout(TabSWeight);
    wl->setContentsMargins(0, 0, 0, 0);
    wl->addWidget(m_weighing);

    m_settings = new TSettingsPage(m_weighing, LbAuto, TabSConfig);
    auto *sl = new QVBoxLayout(TabSConfig);
    sl->setContentsMargins(0, 0, 0, 0);
    sl->addWidget(m_settings);

    auto *rest = new QLabel(cxTabSheet1);
    rest->setObjectName(QStringLiteral("ImRest"));
    rest->setPixmap(restPicture());
    rest->setScaledContents(true);
    rest->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto *rl = new QVBoxLayout(cxTabSheet1);
    rl->setContentsMargins(0, 0, 0, 0);
    rl->addWidget(rest);

    PageControl->addTab(TabSConfig, QStringLiteral("Настройка комплекса"));
    PageControl->addTab(TabSUser, QStringLiteral("Пользователи"));
    PageControl->addTab(TabSWeight, QStringLiteral("Взвешивание"));
    PageControl->addTab(cxTabSheet1, QStringLiteral("Отдых"));
    // Stand-in current page while the operator has none open.
    PageControl->addTab(m_noPage, QString());
    PageControl->setTabVisible(PageControl->indexOf(m_noPage), false);
    PageControl->setCurrentWidget(m_noPage);
    PageControl->hide();

    connect(m_settings, &TSettingsPage::exitRequested, this, &TMainForm::leavePages);
    connect(m_settings, &TSettingsPage::automaticStartArmed, this, &TMainForm::armAutomaticStart);
    connect(m_settings, &TSettingsPage::automaticApplied, this, [this] { AutoStartArmed = true; });
    connect(m_settings, &TSettingsPage::automaticSwitched, this, [this](bool on) {
        AutoStartArmed = on;
        if (onAutomaticSwitched)
            onAutomaticSwitched(on);
    });
    connect(m_weighing, &TWeighingPage::tareIntervalDefaulted, this,
            [this](int minutes) { m_settings->EditActualTare->setText(QString::number(minutes)); });
    // The reference books the weighing page opens are the window's actions.
    m_weighing->RefTsExecute = [this] { action(QStringLiteral("RefTs"))->trigger(); };
    m_weighing->RefCargoExecute = [this] { action(QStringLiteral("RefCargo"))->trigger(); };
    m_weighing->RefCargoTypesExecute = [this] { action(QStringLiteral("RefCargoTypes"))->trigger(); };
    m_weighing->RefDriverExecute = [this] { action(QStringLiteral("RefDriver"))->trigger(); };
    // "Выход" of the weighing page: the page clears its fields, the window
    // leaves the page area and closes the indicator port.
    connect(m_weighing, &TWeighingPage::exitRequested, this, [this] {
        leavePages();
        if (m_link->isOpen()) {
            closeIndicatorPort();
            m_weighing->ChBOnInd->setChecked(false);
        }
    });
    // "Смена оператора" of the weighing page: another user takes over.
    connect(m_weighing->BtChangeOper, &QPushButton::clicked, this, [this] {
        if (zv::hooks().changeOperator)
            zv::hooks().changeOperator(this);
    });
}

void TMainForm::setUsersPage(QWidget *page, std::function<void()> prepare)
{
    TabSUser->layout()->addWidget(page);
    m_prepareUsersPage = std::move(prepare);
}

void TMainForm::setActionHandler(const QString &actionName, std::function<void()> handler)
{
    m_handlers.insert(actionName, std::move(handler));
}

void TMainForm::runActionHandler(const QString &name)
{
    if (auto h = m_handlers.value(name))
        h();
}

// ---------------------------------------------------------------- pages

QWidget *TMainForm::activePage() const
{
    QWidget *w = PageControl->currentWidget();
    return w == m_noPage ? nullptr : w;
}

void TMainForm::showPage(QWidget *page)
{
    PageControl->show();
    PageControl->setTabEnabled(PageControl->indexOf(page), true);
    PageControl->setCurrentWidget(page);
    for (QWidget *other : {TabSConfig, TabSUser, TabSWeight})
        if (other != page)
            PageControl->setTabEnabled(PageControl->indexOf(other), false);
}

void TMainForm::leavePages()
{
    PageControl->show();
    PageControl->setCurrentWidget(m_noPage);
}

void TMainForm::ConfigSystemExecute() { showPage(TabSConfig); }

void TMainForm::UserGroupExecute()
{
    showPage(TabSUser);
    if (m_prepareUsersPage)
        m_prepareUsersPage();
}

void TMainForm::WeighterExecute()
{
    if (m_settings->ChBAutomatic->isChecked())
        armAutomaticStart();
    showPage(TabSWeight);
    // The page's own steps: link check boxes, page values, RFID field as the
    // settings say, journal and lists.
    m_weighing->setRfidEnabledInSettings(m_settings->ChBRFID->isChecked());
    m_weighing->prepare();
}

void TMainForm::armAutomaticStart()
{
    CaptureOn = false;
    AutoStartArmed = true;
}

void TMainForm::SyncReferensExecute() { runActionHandler(QStringLiteral("SyncReferens")); }
void TMainForm::ImportEvenJrnExecute() { runActionHandler(QStringLiteral("ImportEvenJrn")); }
void TMainForm::ReportJrnExecute() { runActionHandler(QStringLiteral("ReportJrn")); }

void TMainForm::ChangePassUsrExecute()
{
    if (zv::hooks().changeUserPassword)
        zv::hooks().changeUserPassword(this);
}

void TMainForm::ChangePassJrnExecute()
{
    if (zv::hooks().changeJournalPassword)
        zv::hooks().changeJournalPassword(this);
}

void TMainForm::BackupDBExecute()
{
    QProcess tool;
    tool.setProgram(zv::Paths::inProgramDir(QStringLiteral("AdminTool")));
    tool.setWorkingDirectory(zv::Paths::programDir());
    // The administration tool runs at idle priority so that weighing on this
    // machine is never slowed down by it.
    tool.setChildProcessModifier([] {
        setpriority(PRIO_PROCESS, 0, 19);
        sched_param param{};
        sched_setscheduler(0, SCHED_IDLE, &param);
    });
    tool.start();
    if (!tool.waitForStarted(-1)) {
        Messages::error(tool.errorString(), QStringLiteral("RunCaptured Error"));
        return;
    }
    // Wait for its end without taking the operator's input meanwhile.
    if (tool.state() != QProcess::NotRunning) {
        QEventLoop loop;
        connect(&tool, &QProcess::finished, &loop, &QEventLoop::quit);
        if (tool.state() != QProcess::NotRunning)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    (void)tool.exitCode();
}

void TMainForm::N7Click()
{
    TBVAboutForm about(this);
    about.exec();
}

void TMainForm::N8Click()
{
    TBVRefForm manual(this);
    manual.exec();
}

void TMainForm::N6Click()
{
    closeIndicatorPort();
    close();
}

// ---------------------------------------------------------------- preparation

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // Opened maximised, the window stays so: it has no maximise button and
    // is not resized (see changeEvent).
    m_keepMaximized = windowState().testFlag(Qt::WindowMaximized);
    QMetaObject::invokeMethod(this, &TMainForm::FormShow, Qt::QueuedConnection);
}

void TMainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_keepMaximized)
        return;
    const Qt::WindowStates state = windowState();
    if (!(state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        QMetaObject::invokeMethod(
            this, [this] { setWindowState(windowState() | Qt::WindowMaximized); }, Qt::QueuedConnection);
}

void TMainForm::FormShow()
{
    try {
        prepareMainWindow();
    } catch (const std::exception &e) {
        // The rest of the preparation is skipped; the window stays usable.
        Messages::error(QString::fromUtf8(e.what()));
    }
}

void TMainForm::prepareMainWindow()
{
    m_weighing->prepareAtStartup(); // steps 1 and 3
    SkipSettingsSave = false;

    if (zv::hooks().login) {
        if (!zv::hooks().login(this)) {
            SkipSettingsSave = true;
            close();
            return;
        }
    } else {
        // Without the access subsystem the workstation runs as administrator.
        zv::run().CurrUserID = 0;
        zv::run().CurrUserGroup = zv::GroupAdministrator;
    }
    if (zv::hooks().applyGroupRights)
        zv::hooks().applyGroupRights(this);

    openDayDocuments();

    // Sorted by name by the link (ttyS2 before ttyS10).
    m_settings->setPortNames(zv::scale::IndicatorLink::availablePorts());

    try {
        m_settings->readSettingsFile();
    } catch (const zv::SettingsError &e) {
        // The keys after the bad value were not read: writing the page back
        // at close would replace them by defaults, so the file is left for
        // the administrator to correct.
        m_settingsUnread = true;
        Messages::error(e.message() + QStringLiteral("\nФайл %1 не будет перезаписан при закрытии программы.")
                                          .arg(zv::SettingsFileName));
        return;
    }
    m_settings->showModeOnWeighingPage(settings().modeIndex == 0 ? 0 : 1);

    if (zv::run().CurrUserID == -1)
        return;
    if (zv::hooks().forcedPasswordChange && !zv::hooks().forcedPasswordChange(this))
        return;
    openDayJournal();
    m_settings->fillAfterLogin();
    clearWeighingFields();
    resetGridColumns();
}

void TMainForm::openDayDocuments() { m_weighing->openDayDocuments(); }

void TMainForm::openDayJournal() { m_weighing->openDayJournal(); }

void TMainForm::clearWeighingFields()
{
    for (QComboBox *c : {m_weighing->CBEven, m_weighing->CBStateNum, m_weighing->CBRFID, m_weighing->CBCargo,
                         m_weighing->CBCargoTypes, m_weighing->CBDriver})
        c->setCurrentText(QString());
    m_weighing->EditComment->clear();
    m_weighing->EditCargoProp->clear();
}

void TMainForm::resetGridColumns()
{
    for (QTableView *grid : {m_weighing->DBGrid1, m_weighing->DBGrid3}) {
        const int standard = grid->horizontalHeader()->defaultSectionSize();
        for (int c = 0; c < grid->horizontalHeader()->count(); ++c)
            grid->setColumnWidth(c, standard);
    }
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!SkipSettingsSave && !m_settingsUnread) {
        QString error;
        if (!m_settings->writeSettingsFile(&error))
            Messages::error(QStringLiteral("Файл настроек %1 не записан: %2")
                                .arg(zv::Paths::inProgramDir(zv::SettingsFileName), error));
    }
    event->accept();
}

// ---------------------------------------------------------------- indicator link

void TMainForm::closeIndicatorPort()
{
    if (m_link->isOpen())
        m_link->close();
}

void TMainForm::ChBOnIndClick()
{
    auto *w = m_weighing;
    if (!w->ChBOnInd->isChecked())
        return;
    m_watch.portOpening();
    QString error;
    if (!m_link->open(settings().indicatorPort, &error)) {
        Messages::error(error);
        return;
    }
    w->ChBOnInd->setEnabled(false);
    w->ChBOffInd->setEnabled(true);
    w->ChBOffInd->setChecked(false);
    w->ChBKeyB->setChecked(false);
    LbInd->hide();
    w->EditWeight->clear();
    w->EditWeight->setReadOnly(true);
    Timer1->start(400);
    m_watch.portOpened();
}

void TMainForm::ChBOffIndClick()
{
    auto *w = m_weighing;
    closeIndicatorPort();
    w->ChBOnInd->setChecked(false);
    w->ChBOnInd->setEnabled(true);
    w->ChBOffInd->setEnabled(false);
    w->EditWeight->clear();
    w->EditWeight->setReadOnly(true);
}

void TMainForm::ChBKeyBClick()
{
    auto *w = m_weighing;
    if (!w->ChBKeyB->isChecked())
        return;
    if (zv::hooks().journalPassword && !zv::hooks().journalPassword(this)) {
        w->ChBKeyB->setChecked(false);
        return;
    }
    if (!Messages::confirm(QStringLiteral("Сейчас будет остановлен опрос весового датчика. Продолжить ?"))) {
        w->ChBKeyB->setChecked(false);
        return;
    }
    closeIndicatorPort();
    w->ChBOnInd->setChecked(false);
    w->ChBOffInd->setChecked(true);
    w->EditWeight->setReadOnly(false);
}

void TMainForm::BComPort1RxChar(const QByteArray &block)
{
    m_watch.blockReceived();
    RxBlock = block;
    if (CaptureOn) {
        QPlainTextEdit *memo = m_settings->Memo1;
        QTextCursor end(memo->document());
        end.movePosition(QTextCursor::End);
        end.insertText(QString::fromLatin1(block));
    }
    const bool decimalForm = m_settings->RGDecimalPoint->itemIndex() == 1;
    RxWeightText = zv::scale::extractWeight(block, decimalForm);
    if (decimalForm || !RxWeightText.isEmpty())
        m_weighing->EditWeight->setText(RxWeightText);
    if (!RxWeightText.isEmpty() && settings().AutoMode && onAutomaticReading)
        onAutomaticReading(RxWeightText);
}

void TMainForm::Timer1Timer()
{
    if (!m_watch.tick())
        return;
    auto *w = m_weighing;
    w->EditWeight->setText(QStringLiteral("0"));
    LbInd->show();
    Timer1->stop();
    closeIndicatorPort();
    w->ChBOnInd->setChecked(false);
    w->ChBOffInd->setChecked(true);
}
