#pragma once
// The rights of the session on the main window: which actions the current
// group may not use. Disabled actions stay disabled: if anything enables one
// of them again, the guard turns it back off, so only a change of operator
// can widen the rights of a running session.
#include <QObject>
#include <QSet>
#include <QString>

class QWidget;

namespace zv::access {

struct UserRecord;

class RightsGuard : public QObject {
    Q_OBJECT
public:
    // The guard of this main window (made on first use, owned by the window).
    static RightsGuard *of(QWidget *mainWindow);

    // Disables every action the group loses (on top of what is already forbidden).
    void applyGroup(const QString &group);
    // Change of operator: the four administrator actions off for an
    // operator, on for an administrator.
    void switchOperatorActions(const QString &group);
    QSet<QString> forbidden() const { return m_forbidden; }

private:
    explicit RightsGuard(QWidget *mainWindow);
    void forbid(const QString &actionName);
    void allow(const QString &actionName);

    QWidget *m_window;
    QSet<QString> m_forbidden;
    QSet<QObject *> m_watched;
};

// Values of the run for the user who logged in or took over: CurrUserID,
// CurrUserGroup and the operator's short name in EditOper.
void setCurrentUser(QWidget *mainWindow, const UserRecord &user);

} // namespace zv::access
