#pragma once
// The main window: navigation bar, main menu, actions, the page area with
// the settings, users, weighing and rest pages, and the indicator link.
#include <QByteArray>
#include <QHash>
#include <QMainWindow>
#include <functional>

#include "indicatorlink.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBox;
class TSettingsPage;
class TWeighingPage;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // Values of the run.
    bool SkipSettingsSave = false;

    // --- values of the indicator link
    QByteArray RxBlock;
    QString RxWeightText;
    // A dynamic measurement is being captured: received blocks go into the
    // capture memo (set by the measurement and the automatic weighing).
    bool CaptureOn = false;
    // The next accepted reading starts an automatic measurement.
    bool AutoStartArmed = false;
    // Each reading with a weight while automatic weighing is on (the
    // automatic weighing plugs itself in here).
    std::function<void(const QString &weightText)> onAutomaticReading;
    // The operator switched automatic weighing (SampleBuffer reset and the
    // like belong to the automatic weighing).
    std::function<void(bool on)> onAutomaticSwitched;

    QAction *action(const QString &name) const;
    TWeighingPage *weighingPage() const { return m_weighing; }
    TSettingsPage *settingsPage() const { return m_settings; }
    QTabWidget *pageControl() const { return PageControl; }
    // The page of the page area the operator works on; nullptr for none.
    QWidget *activePage() const;

    // The users page supplied by the access subsystem; `prepare` runs after
    // the page was shown by "Пользователи и группы".
    void setUsersPage(QWidget *page, std::function<void()> prepare);
    // Handler of an action whose window belongs to another subsystem
    // (reference books, reports, exchange, passwords).
    void setActionHandler(const QString &actionName, std::function<void()> handler);

    zv::scale::IndicatorLink *link() const { return m_link; }
    const zv::scale::SilenceWatch &silenceWatch() const { return m_watch; }
    QTimer *timer1() const { return Timer1; }

public slots:
    // Preparation when the window is first shown.
    void FormShow();

    // --- actions
    void ConfigSystemExecute();
    void UserGroupExecute();
    void BackupDBExecute();
    void WeighterExecute();
    void SyncReferensExecute();
    void ImportEvenJrnExecute();
    void ReportJrnExecute();
    void ChangePassUsrExecute();
    void ChangePassJrnExecute();
    void N6Click(); // "Выход"
    void N7Click(); // "О программе"
    void N8Click(); // "Руководство пользователя"

    // Leaves the page area visible with no active page.
    void leavePages();

    // --- indicator link
    void ChBOnIndClick();
    void ChBOffIndClick();
    void ChBKeyBClick();
    void BComPort1RxChar(const QByteArray &block);
    void Timer1Timer();

    // Arms the automatic start of a measurement.
    void armAutomaticStart();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createActions();
    void createMenu();
    void createNavigationBar();
    void createPages();
    void showPage(QWidget *page);
    void runActionHandler(const QString &name);
    void closeIndicatorPort();
    void prepareMainWindow();

    // Preparation steps that the store fills in: the documents of the day
    // (step 6) and the journal of the day (step 12).
    void openDayDocuments();
    void openDayJournal();
    // Empties the identification fields of the weighing page (step 14).
    void clearWeighingFields();
    // Standard column widths of the journal and documents grids (step 15).
    void resetGridColumns();

    QHash<QString, QAction *> m_actions;
    QHash<QString, std::function<void()>> m_handlers;
    std::function<void()> m_prepareUsersPage;
    bool m_shownOnce = false;
    bool m_keepMaximized = false;
    bool m_settingsUnread = false; // belvor.ini could not be read completely

    QWidget *Panel6 = nullptr;
    QLabel *LbAuto = nullptr;
    QLabel *lbMessage = nullptr;
    QLabel *LbInd = nullptr;
    QToolBox *dxNavBar1 = nullptr;
    QSplitter *cxSplitter1 = nullptr;
    QTabWidget *PageControl = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QWidget *TabSConfig = nullptr;
    QWidget *TabSUser = nullptr;
    QWidget *TabSWeight = nullptr;
    QWidget *cxTabSheet1 = nullptr;
    QWidget *m_noPage = nullptr; // current while no page is active
    TSettingsPage *m_settings = nullptr;
    TWeighingPage *m_weighing = nullptr;

    zv::scale::IndicatorLink *m_link = nullptr;
    zv::scale::SilenceWatch m_watch;
    QTimer *Timer1 = nullptr;
};
