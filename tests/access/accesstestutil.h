#pragma once
// Fixture of the access tests: a real database file in a temporary directory
// with users written straight into it, a stand-in main window with the
// operator box and the actions of the action table, and a helper that acts
// on the next modal dialog.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <ostream>
#include <optional>

#include "catalogue.h"
#include "database.h"
#include "datamodule.h"
#include "runstate.h"

// Readable values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '[' << l.join(QStringLiteral(" | ")).toStdString() << ']'; }

namespace accesstest {

struct StoredUser {
    int id = 0;
    QString longName, shortName, name, password, level;
    int changeP = 0;
};

class TestDb {
public:
    TestDb()
    {
        zv::store::createDatabase(m_dir.path());
        zv::store::Database::setDirectory(m_dir.path());
        exec("DELETE FROM USERS");
        exec("DELETE FROM OPERATOR");
        exec("DELETE FROM PASSJRN");
        zv::run() = zv::RunValues{};
    }
    ~TestDb()
    {
        zv::store::TBVDMod1::instance().closeAll();
        zv::store::Database::setDirectory(QString());
    }
    QString path() const { return m_dir.path(); }

    static void exec(const QString &sql) { zv::store::Database::exec(sql); }

    static void addUser(const StoredUser &u)
    {
        QSqlQuery q(zv::store::Database::connection());
        q.prepare("INSERT INTO USERS (ID_USER, LONGN_USER, SHORTN_US, NAME_USER, PASSW_USER, LEVEL_USER, CHANGE_P) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?)");
        q.addBindValue(u.id);
        q.addBindValue(u.longName);
        q.addBindValue(u.shortName);
        q.addBindValue(u.name);
        q.addBindValue(u.password);
        q.addBindValue(u.level);
        q.addBindValue(u.changeP);
        if (!q.exec())
            throw std::runtime_error("insert user failed");
    }

    static void addOperator(int id, const QString &last, const QString &first, const QString &patr)
    {
        QSqlQuery q(zv::store::Database::connection());
        q.prepare("INSERT INTO OPERATOR (ID_OPERAT, LASTN_OPER, FIRSN_OPER, PATR_OPER) VALUES (?, ?, ?, ?)");
        q.addBindValue(id);
        q.addBindValue(last);
        q.addBindValue(first);
        q.addBindValue(patr);
        if (!q.exec())
            throw std::runtime_error("insert operator failed");
    }

    // Names of the first two columns of PASSJRN, whatever the layout calls them.
    static QStringList journalColumns()
    {
        const auto *t = zv::store::findTable(QStringLiteral("PASSJRN"));
        return {t->columns.at(0).name, t->columns.at(1).name};
    }

    static void setJournalPasswords(const QString &first, const QString &second)
    {
        exec("DELETE FROM PASSJRN");
        const QStringList cols = journalColumns();
        QSqlQuery q(zv::store::Database::connection());
        q.prepare(QStringLiteral("INSERT INTO PASSJRN (%1, %2) VALUES (?, ?)").arg(cols[0], cols[1]));
        q.addBindValue(first);
        q.addBindValue(second);
        if (!q.exec())
            throw std::runtime_error("insert passjrn failed");
    }

    static std::optional<StoredUser> user(int id)
    {
        QSqlQuery q(zv::store::Database::connection());
        q.prepare("SELECT ID_USER, LONGN_USER, SHORTN_US, NAME_USER, PASSW_USER, LEVEL_USER, CHANGE_P "
                  "FROM USERS WHERE ID_USER = ?");
        q.addBindValue(id);
        if (!q.exec() || !q.next())
            return std::nullopt;
        return StoredUser{q.value(0).toInt(),    q.value(1).toString(), q.value(2).toString(),
                          q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
                          q.value(6).toInt()};
    }

    static QStringList column(const QString &sql)
    {
        QSqlQuery q(zv::store::Database::connection());
        QStringList out;
        if (!q.exec(sql))
            throw std::runtime_error("select failed");
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

private:
    QTemporaryDir m_dir;
};

// The main window as far as the access subsystem sees it: EditOper and the
// actions of the action table, named as there.
inline QStringList allActionNames()
{
    return {"ConfigSystem", "UserGroup",    "BackupDB",  "Weighter",     "SyncReferens", "ImportEvenJrn",
            "ReportJrn",    "RefEvenTypes", "RefTs",     "RefTsTypes",   "RefModel",     "RefTrailer",
            "RefCargo",     "RefCargoTypes", "RefDriver", "RefDocTypes", "RefEdIzm",     "RefUpakov",
            "RefOwner",     "RefPokup",     "RefPost",   "RefGrOtpr",    "RefGrPol",     "ChangePassUsr",
            "ChangePassJrn"};
}

class StandInMainWindow : public QMainWindow {
public:
    StandInMainWindow()
    {
        auto *editOper = new QLineEdit(this);
        editOper->setObjectName(QStringLiteral("EditOper"));
        setCentralWidget(editOper);
        for (const QString &name : allActionNames()) {
            auto *a = new QAction(name, this);
            a->setObjectName(name);
            addAction(a);
        }
    }
    QString operatorText() const { return findChild<QLineEdit *>(QStringLiteral("EditOper"))->text(); }
    bool enabled(const QString &action) const { return findChild<QAction *>(action)->isEnabled(); }
};

// Runs `act` on the next modal dialog as soon as it is open (other than
// `notThis`, the dialog the caller is inside of). The event loop of the
// dialog drives the polling timer, so nothing waits on the clock.
inline void onNextModal(std::function<void(QWidget *)> act, QWidget *notThis = nullptr)
{
    auto *timer = new QTimer;
    timer->setInterval(0);
    QPointer<QWidget> skip(notThis); // null once that dialog is gone
    QObject::connect(timer, &QTimer::timeout, [timer, act, skip] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != skip.data() && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// Types text into a widget key by key. Unlike QTest::keyClicks it also
// types letters outside Latin-1 (Cyrillic names and passwords).
inline void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

template <typename T> T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QString::fromLatin1(name));
    if (!c)
        throw std::runtime_error(std::string("no control ") + name);
    return c;
}

} // namespace accesstest
