#pragma once
// Plugs the login, the password dialogs, the change of operator and the
// group rights into the main window's hooks (zv::hooks()).
#include <functional>

class QWidget;

namespace zv::access {

class TUsersPage;

void installHooks();

// The login of the run: true when it ended with OK (run values set, the
// group's actions disabled on mainWindow).
bool login(QWidget *mainWindow);
// Disables on mainWindow the actions of the current group (zv::run()).
void applyGroupRights(QWidget *mainWindow);

// Makes the users page and hands it to the main window: setUsersPage puts it
// into the page "Пользователи" with the step UserGroupExecute runs after
// showing it; leavePages is what "Отмена" of the page does.
TUsersPage *attachUsersPage(const std::function<void(QWidget *page, std::function<void()> prepare)> &setUsersPage,
                            const std::function<void()> &leavePages);

} // namespace zv::access
