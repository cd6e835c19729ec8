#include "accesshooks.h"

#include "changeoper.h"
#include "changepass.h"
#include "dlgpass.h"
#include "hooks.h"
#include "passjrn.h"
#include "rights.h"
#include "runstate.h"
#include "userspage.h"

namespace zv::access {

bool login(QWidget *mainWindow)
{
    TDlgPassForm dlg(mainWindow);
    return dlg.exec() == QDialog::Accepted;
}

void applyGroupRights(QWidget *mainWindow)
{
    if (mainWindow)
        RightsGuard::of(mainWindow)->applyGroup(run().CurrUserGroup);
}

TUsersPage *attachUsersPage(const std::function<void(QWidget *, std::function<void()>)> &setUsersPage,
                            const std::function<void()> &leavePages)
{
    auto *page = new TUsersPage;
    setUsersPage(page, [page] { page->UserGroupExecute(); });
    QObject::connect(page, &TUsersPage::leavePage, page, [leavePages] { leavePages(); });
    return page;
}

void installHooks()
{
    Hooks &h = hooks();
    h.login = &login;
    h.forcedPasswordChange = &forcedPasswordChange;
    h.journalPassword = &journalPassword;
    h.applyGroupRights = &applyGroupRights;
    h.changeOperator = &BtChangeOperClick;
    h.changeUserPassword = &ChangePassUsrExecute;
    h.changeJournalPassword = &ChangePassJrnExecute;
}

} // namespace zv::access
