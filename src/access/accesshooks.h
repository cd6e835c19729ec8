#pragma once
// Plugs the login, the password dialogs, the change of operator and the
// group rights into the main window's hooks (zv::hooks()).
class QWidget;

namespace zv::access {

void installHooks();

// The login of the run: true when it ended with OK (run values set, the
// group's actions disabled on mainWindow).
bool login(QWidget *mainWindow);
// Disables on mainWindow the actions of the current group (zv::run()).
void applyGroupRights(QWidget *mainWindow);

} // namespace zv::access
