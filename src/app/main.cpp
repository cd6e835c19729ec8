// The workstation's entry: one copy per machine, then the main window.
#include <QScreen>
#include <QDir>

#include "accesshooks.h"
#include "mainform.h"
#include "messages.h"
#include "singleinstance.h"
#include "zvapplication.h"

int main(int argc, char **argv)
{
    TZvApplication app(argc, argv);

    zv::SingleInstanceGuard guard(QDir::tempPath());
    switch (guard.acquire()) {
    case zv::SingleInstanceGuard::Result::Acquired:
        break;
    case zv::SingleInstanceGuard::Result::AlreadyRunning:
        zv::Messages::information(QStringLiteral("Попытка запустить вторую копию задачи!"));
        return 1;
    case zv::SingleInstanceGuard::Result::Failed:
        zv::Messages::information(QStringLiteral("Ошибка выделения памяти!"));
        return 1;
    }

    // The main window first; the data module, the axle weights window and the
    // two report forms of the run are created right after it.
    TMainForm mainForm;
    // Login, passwords, change of operator, group rights and the users page.
    zv::access::installHooks();
    zv::access::attachUsersPage(
        [&mainForm](QWidget *page, std::function<void()> prepare) { mainForm.setUsersPage(page, std::move(prepare)); },
        [&mainForm] { mainForm.leavePages(); });
    // Without a window manager "maximised" means nothing: give the window the
    // whole screen first so it is usable on a bare X server too.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        mainForm.setGeometry(screen->availableGeometry());
    mainForm.showMaximized();
    return app.exec();
}
