// Screen-reader names and keyboard order of every window: the main window's
// pages (each tab of the settings page) and the dialogs. Each visible input
// control carries its on-screen caption as its accessible name, and Tab
// walks the input controls of each group in reading order.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <memory>

#include "accesshooks.h"
#include "bvaboutform.h"
#include "bvrefform.h"
#include "bvviewwtelform.h"
#include "bvwnettoform.h"
#include "changeoper.h"
#include "changepass.h"
#include "dlgpass.h"
#include "mainformfixture.h"
#include "passjrn.h"

namespace {

// How far (pixels) two controls of one row may stand apart vertically.
constexpr int kRowTolerance = 6;

bool isInputControl(const QWidget *w)
{
    if (!qobject_cast<const QLineEdit *>(w) && !qobject_cast<const QComboBox *>(w) &&
        !qobject_cast<const QAbstractSpinBox *>(w) && !qobject_cast<const QPlainTextEdit *>(w) &&
        !qobject_cast<const QTextEdit *>(w))
        return false;
    // The edit field inside a list or a date box belongs to it.
    const QWidget *p = w->parentWidget();
    return !(qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p));
}

// A caption as a screen reader should say it: no accelerator mark, no
// trailing colon, no surrounding blanks.
QString spoken(QString text)
{
    text.remove(QLatin1Char('&'));
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text.trimmed();
}

QString describe(const QWidget *w)
{
    return QStringLiteral("%1 (%2)").arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()));
}

// The group a control belongs to: its nearest group box, else the window.
const QWidget *groupOf(const QWidget *w, const QWidget *root)
{
    for (const QWidget *p = w->parentWidget(); p && p != root; p = p->parentWidget())
        if (qobject_cast<const QGroupBox *>(p))
            return p;
    return root;
}

// Controls that have no caption on the window, with the names they carry.
const QHash<QString, QString> uncaptioned = {
    {QStringLiteral("Memo1"), QStringLiteral("Данные измерения")}, // the measurement log of the settings page
    {QStringLiteral("EditCargo"), QStringLiteral("Груз")},         // under the net weight
};

// A part of a group may be named by the group's title and what sets it apart.
bool startsWithGroupTitle(const QWidget *w, const QString &name)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (auto *g = qobject_cast<const QGroupBox *>(p))
            return !spoken(g->title()).isEmpty() && name.startsWith(spoken(g->title()) + QLatin1Char(' '));
    return false;
}

struct Checker {
    QString where;
    QStringList faults;

    // Names: a label's buddy carries the label's text; a control without a
    // label carries a text that stands on the window (a group's title or
    // a label beside it).
    void checkNames(QWidget *root)
    {
        QHash<const QWidget *, QString> buddyCaption;
        QSet<QString> texts;
        for (QLabel *l : root->findChildren<QLabel *>()) {
            if (!l->isVisible())
                continue;
            texts.insert(spoken(l->text()));
            if (l->buddy())
                buddyCaption.insert(l->buddy(), spoken(l->text()));
        }
        for (QGroupBox *g : root->findChildren<QGroupBox *>())
            if (g->isVisible())
                texts.insert(spoken(g->title()));
        texts.remove(QString());

        for (QWidget *w : root->findChildren<QWidget *>()) {
            if (!w->isVisible() || !isInputControl(w))
                continue;
            const QString name = w->accessibleName().trimmed();
            if (name.isEmpty()) {
                faults << QStringLiteral("%1: %2 has no accessible name").arg(where, describe(w));
                continue;
            }
            if (buddyCaption.contains(w)) {
                if (name != buddyCaption.value(w))
                    faults << QStringLiteral("%1: %2 is named \"%3\" but its label reads \"%4\"")
                                  .arg(where, describe(w), name, buddyCaption.value(w));
            } else if (uncaptioned.contains(w->objectName())) {
                if (name != uncaptioned.value(w->objectName()))
                    faults << QStringLiteral("%1: %2 is named \"%3\" instead of \"%4\"")
                                  .arg(where, describe(w), name, uncaptioned.value(w->objectName()));
            } else if (!texts.contains(name) && !startsWithGroupTitle(w, name)) {
                faults << QStringLiteral("%1: %2 is named \"%3\", a text the window does not show")
                              .arg(where, describe(w), name);
            }
        }
    }

    // Order: walking the focus chain, within one group a control never comes
    // back up into its own or an earlier column, nor goes left in its row.
    void checkOrder(QWidget *root)
    {
        QList<QWidget *> chain;
        QSet<QWidget *> seen;
        for (QWidget *w = root->nextInFocusChain(); w && w != root && !seen.contains(w); w = w->nextInFocusChain()) {
            seen.insert(w);
            if (root->isAncestorOf(w) && w->isVisible() && isInputControl(w))
                chain << w;
        }
        for (QWidget *w : root->findChildren<QWidget *>())
            if (w->isVisible() && isInputControl(w) && w->isEnabled() && !(w->focusPolicy() & Qt::TabFocus))
                faults << QStringLiteral("%1: %2 cannot be reached with Tab").arg(where, describe(w));

        QHash<const QWidget *, QWidget *> lastInGroup;
        for (QWidget *w : chain) {
            const QWidget *group = groupOf(w, root);
            if (QWidget *prev = lastInGroup.value(group)) {
                const QRect a(prev->mapTo(root, QPoint(0, 0)), prev->size());
                const QRect b(w->mapTo(root, QPoint(0, 0)), w->size());
                const bool sameRow = qAbs(b.top() - a.top()) <= kRowTolerance;
                const bool up = b.top() < a.top() - kRowTolerance;
                const bool backInRow = sameRow && b.left() < a.left() - kRowTolerance;
                const bool upNotIntoNextColumn = up && b.left() < a.right() - kRowTolerance;
                if (backInRow || upNotIntoNextColumn)
                    faults << QStringLiteral("%1: Tab goes from %2 to %3, against the reading order")
                                  .arg(where, describe(prev), describe(w));
            }
            lastInGroup.insert(group, w);
        }
    }

    // Checks the window as shown and again for each page of its tab widgets.
    void checkWindow(QWidget *root, const QString &name)
    {
        QCoreApplication::processEvents();
        where = name;
        checkNames(root);
        checkOrder(root);
        for (QTabWidget *tabs : root->findChildren<QTabWidget *>()) {
            if (!tabs->isVisible())
                continue;
            const int current = tabs->currentIndex();
            for (int i = 0; i < tabs->count(); ++i) {
                if (!tabs->isTabVisible(i) || !tabs->isTabEnabled(i) || i == current)
                    continue;
                tabs->setCurrentIndex(i);
                QCoreApplication::processEvents();
                where = name + QStringLiteral(" / ") + tabs->tabText(i);
                checkNames(tabs->widget(i));
                checkOrder(tabs->widget(i));
            }
            tabs->setCurrentIndex(current);
        }
    }
};

class AccessibilityTest : public MainFormTest {
protected:
    TMainForm *startWithUsersPage()
    {
        window = std::make_unique<TMainForm>();
        TMainForm *w = window.get();
        zv::access::attachUsersPage(
            [w](QWidget *page, std::function<void()> prepare) { w->setUsersPage(page, std::move(prepare)); },
            [w] { w->leavePages(); });
        w->show();
        QCoreApplication::processEvents();
        return w;
    }

    // Shows a window without waiting on it, checks it and closes it again.
    template<typename Window>
    void checkDialog(Checker &checker, std::unique_ptr<Window> dialog, const QString &name)
    {
        dialog->show();
        checker.checkWindow(dialog.get(), name);
        dialog->close();
        zv::Messages::clear();
    }
};

TEST_F(AccessibilityTest, EveryWindowNamesItsInputsByTheirCaptionsAndTabsInReadingOrder)
{
    TMainForm *w = startWithUsersPage();
    ASSERT_TRUE(w->isVisible());
    Checker checker;

    const struct {
        const char *action, *page;
    } pages[] = {{"ConfigSystem", "Настройка комплекса"}, {"UserGroup", "Пользователи"}, {"Weighter", "Взвешивание"}};
    for (const auto &p : pages) {
        w->action(QString::fromLatin1(p.action))->trigger();
        QCoreApplication::processEvents();
        ASSERT_NE(w->activePage(), nullptr) << p.action;
        checker.checkWindow(w, QString::fromUtf8(p.page));
        zv::Messages::clear();
    }

    checkDialog(checker, std::make_unique<zv::access::TDlgPassForm>(w), QStringLiteral("TDlgPassForm"));
    for (const char *mode : {"USR", "JRN"}) {
        zv::access::ChangePassMode = QString::fromLatin1(mode);
        checkDialog(checker, std::make_unique<zv::access::TBVChangePassForm>(w),
                    QStringLiteral("TBVChangePassForm ") + QString::fromLatin1(mode));
    }
    checkDialog(checker, std::make_unique<zv::access::TBVPassJrnForm>(w), QStringLiteral("TBVPassJrnForm"));
    checkDialog(checker, std::make_unique<zv::access::TBVChangeOperForm>(w), QStringLiteral("TBVChangeOperForm"));
    checkDialog(checker, std::make_unique<TBVViewWTelForm>(), QStringLiteral("TBVViewWTelForm"));
    checkDialog(checker, std::make_unique<TBVWNettoForm>(w), QStringLiteral("TBVWNettoForm"));
    checkDialog(checker, std::make_unique<TBVAboutForm>(w), QStringLiteral("TBVAboutForm"));
    checkDialog(checker, std::make_unique<TBVRefForm>(w), QStringLiteral("TBVRefForm"));

    EXPECT_TRUE(checker.faults.isEmpty()) << checker.faults.join(QLatin1Char('\n')).toStdString();
}

// The checks themselves: a control whose name differs from its label, and a
// Tab order that jumps back up, are found.
TEST_F(AccessibilityTest, CheckerFindsAWrongNameAndABackwardTab)
{
    // Two labelled boxes, one under the other.
    auto check = [](bool bottomFirst, const QString &secondName) {
        QWidget form;
        QLineEdit *first = nullptr, *second = nullptr;
        if (bottomFirst) {
            second = new QLineEdit(&form);
            first = new QLineEdit(&form);
        } else {
            first = new QLineEdit(&form);
            second = new QLineEdit(&form);
        }
        auto *l1 = new QLabel(QStringLiteral("Фамилия:"), &form);
        auto *l2 = new QLabel(QStringLiteral("Имя"), &form);
        l1->setGeometry(0, 0, 80, 20);
        first->setGeometry(90, 0, 100, 20);
        l2->setGeometry(0, 40, 80, 20);
        second->setGeometry(90, 40, 100, 20);
        l1->setBuddy(first);
        l2->setBuddy(second);
        first->setAccessibleName(QStringLiteral("Фамилия"));
        second->setAccessibleName(secondName);
        form.resize(200, 80);
        form.show();
        Checker checker;
        checker.checkWindow(&form, QStringLiteral("form"));
        return checker.faults;
    };

    const QStringList faults = check(true, QStringLiteral("Отчество"));
    ASSERT_EQ(faults.size(), 2) << faults.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(faults[0].contains(QStringLiteral("\"Отчество\" but its label reads \"Имя\""))) << faults[0].toStdString();
    EXPECT_TRUE(faults[1].contains(QStringLiteral("against the reading order"))) << faults[1].toStdString();

    const QStringList none = check(false, QStringLiteral("Имя"));
    EXPECT_TRUE(none.isEmpty()) << none.join(QLatin1Char('\n')).toStdString();
}

} // namespace
