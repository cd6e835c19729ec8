#include "rights.h"

#include <QAction>
#include <QLineEdit>
#include <QWidget>

#include "accessrules.h"
#include "runstate.h"
#include "usersdb.h"

namespace zv::access {

RightsGuard *RightsGuard::of(QWidget *mainWindow)
{
    if (auto *g = mainWindow->findChild<RightsGuard *>(QStringLiteral("RightsGuard"), Qt::FindDirectChildrenOnly))
        return g;
    return new RightsGuard(mainWindow);
}

RightsGuard::RightsGuard(QWidget *mainWindow) : QObject(mainWindow), m_window(mainWindow)
{
    setObjectName(QStringLiteral("RightsGuard"));
}

void RightsGuard::applyGroup(const QString &group)
{
    for (const QString &name : actionsDisabledForGroup(group))
        forbid(name);
}

void RightsGuard::switchOperatorActions(const QString &group)
{
    const QStringList four = operatorSwitchedActions();
    if (group == GroupOperator) {
        for (const QString &name : four)
            forbid(name);
    } else if (group == GroupAdministrator) {
        for (const QString &name : four)
            allow(name);
    }
}

void RightsGuard::forbid(const QString &actionName)
{
    auto *action = m_window->findChild<QAction *>(actionName);
    if (!action)
        return;
    m_forbidden.insert(actionName);
    if (!m_watched.contains(action)) {
        m_watched.insert(action);
        connect(action, &QAction::enabledChanged, this, [this, action, actionName](bool enabled) {
            if (enabled && m_forbidden.contains(actionName))
                action->setEnabled(false);
        });
    }
    action->setEnabled(false);
}

void RightsGuard::allow(const QString &actionName)
{
    m_forbidden.remove(actionName);
    if (auto *action = m_window->findChild<QAction *>(actionName))
        action->setEnabled(true);
}

void setCurrentUser(QWidget *mainWindow, const UserRecord &user)
{
    run().CurrUserGroup = user.level;
    run().CurrUserID = user.id;
    if (!mainWindow)
        return;
    if (auto *editOper = mainWindow->findChild<QLineEdit *>(QStringLiteral("EditOper")))
        editOper->setText(user.shortName);
}

} // namespace zv::access
