#include "accesshooks.h"

#include "changeoper.h"
#include "changepass.h"
#include "dlgpass.h"
#include "hooks.h"
#include "passjrn.h"
#include "rights.h"
#include "runstate.h"

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
