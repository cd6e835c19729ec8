#include "changeoper.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accessrules.h"
#include "dberror.h"
#include "messages.h"
#include "rights.h"
#include "runstate.h"
#include "usersdb.h"

namespace zv::access {

namespace {
QLineEdit *labelledEdit(QFormLayout *form, const QString &caption, const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    auto *label = new QLabel(caption, parent);
    label->setBuddy(edit);
    edit->setAccessibleName(caption);
    form->addRow(label, edit);
    return edit;
}
} // namespace

TBVChangeOperForm::TBVChangeOperForm(QWidget *mainWindow) : QDialog(mainWindow), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("BVChangeOperForm"));
    setWindowTitle(QStringLiteral("Смена оператора"));
    setModal(true);

    auto *current = new QGroupBox(QStringLiteral("Текущий оператор"), this);
    auto *currentForm = new QFormLayout(current);
    EditCurrOper = labelledEdit(currentForm, QStringLiteral("Ф.И.О."), QStringLiteral("EditCurrOper"), current);
    EditCurrUsr = labelledEdit(currentForm, QStringLiteral("Пользователь"), QStringLiteral("EditCurrUsr"), current);
    EditCurrOper->setEnabled(false);
    EditCurrOper->setMinimumWidth(300); // room for a full name
    EditCurrUsr->setEnabled(false);

    auto *next = new QGroupBox(QStringLiteral("Новый оператор "), this);
    auto *nextForm = new QFormLayout(next);
    EditNewUsr = labelledEdit(nextForm, QStringLiteral("Пользователь"), QStringLiteral("EditNewUsr"), next);
    EditPassUsr = labelledEdit(nextForm, QStringLiteral("Пароль"), QStringLiteral("EditPassUsr"), next);
    EditPassUsr->setEchoMode(QLineEdit::Password);

    BtOK = new QPushButton(QStringLiteral("OK"), this);
    BtOK->setObjectName(QStringLiteral("BtOK"));
    BtOK->setDefault(true);
    BtCancel = new QPushButton(QStringLiteral("Отмена"), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtOK);
    buttons->addWidget(BtCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(current);
    layout->addWidget(next);
    layout->addLayout(buttons);

    setTabOrder(EditNewUsr, EditPassUsr);
    setTabOrder(EditPassUsr, BtOK);
    setTabOrder(BtOK, BtCancel);

    connect(BtOK, &QPushButton::clicked, this, &TBVChangeOperForm::BtOKClick);
    connect(BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TBVChangeOperForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    EditNewUsr->setFocus();
}

void TBVChangeOperForm::BtOKClick()
{
    std::optional<UserRecord> user;
    try {
        user = findUserByName(EditNewUsr->text());
    } catch (const store::DbError &e) {
        Messages::error(e.message());
        return;
    }
    if (!user) {
        Messages::warning(QStringLiteral("Пользователя: ") + EditNewUsr->text() + QStringLiteral(" нет в БД"));
        return;
    }
    if (!passwordsMatch(EditPassUsr->text(), user->password)) {
        Messages::warning(QStringLiteral("Неправильно введен пароль"));
        return;
    }
    if (!mayTakeOverAsOperator(user->level)) {
        Messages::warning(QStringLiteral("Вы не входите в группы: \"Администраторы\", \"Операторы\""));
        return;
    }
    setCurrentUser(m_mainWindow, *user);
    if (m_mainWindow)
        RightsGuard::of(m_mainWindow)->switchOperatorActions(user->level);
    accept();
}

bool BtChangeOperClick(QWidget *mainWindow)
{
    TBVChangeOperForm dlg(mainWindow);
    try {
        if (auto current = findUserById(run().CurrUserID)) {
            dlg.EditCurrOper->setText(current->longName);
            dlg.EditCurrUsr->setText(current->name);
        }
    } catch (const store::DbError &e) {
        Messages::error(e.message());
    }
    return dlg.exec() == QDialog::Accepted;
}

} // namespace zv::access
