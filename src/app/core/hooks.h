#pragma once
// Steps of the main window that other subsystems provide (login, password
// dialogs, group rights). The access subsystem installs them at start; the
// main window calls them where its preparation and its actions need them.
#include <functional>

class QWidget;

namespace zv {

struct Hooks {
    // Login dialog; true when it ended with OK (run().CurrUserID/CurrUserGroup set).
    std::function<bool(QWidget *mainWindow)> login;
    // Forced password change for a user whose record asks for it; false when
    // storing failed (the rest of the preparation is skipped).
    std::function<bool(QWidget *mainWindow)> forcedPasswordChange;
    // Journal password dialog; true on OK.
    std::function<bool(QWidget *parent)> journalPassword;
    // Disables the actions the current group may not use.
    std::function<void(QWidget *mainWindow)> applyGroupRights;
    // "Смена оператора" of the weighing page; true when another user took over
    // (run values, EditOper and the four administrator actions switched).
    std::function<bool(QWidget *mainWindow)> changeOperator;
    // Password-change dialog of the actions ChangePassUsr and ChangePassJrn.
    std::function<void(QWidget *mainWindow)> changeUserPassword;
    std::function<void(QWidget *mainWindow)> changeJournalPassword;
};

Hooks &hooks();

} // namespace zv
