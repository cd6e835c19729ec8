#include "dlgpass.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bannerstrip.h"
#include "dberror.h"
#include "messages.h"
#include "rights.h"
#include "runstate.h"
#include "usersdb.h"

namespace zv::access {

TDlgPassForm::TDlgPassForm(QWidget *mainWindow) : QDialog(mainWindow), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("DlgPassForm"));
    setWindowTitle(QString());
    setModal(true);

    EditUser = new QLineEdit(this);
    EditUser->setObjectName(QStringLiteral("EditUser"));
    EditPass = new QLineEdit(this);
    EditPass->setObjectName(QStringLiteral("EditPass"));
    EditPass->setEchoMode(QLineEdit::Password);

    auto *lbUser = new QLabel(QStringLiteral("Пользователь"), this);
    lbUser->setBuddy(EditUser);
    auto *lbPass = new QLabel(QStringLiteral("Пароль"), this);
    lbPass->setBuddy(EditPass);
    EditUser->setAccessibleName(lbUser->text());
    EditPass->setAccessibleName(lbPass->text());

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Отмена"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto *form = new QFormLayout;
    form->addRow(lbUser, EditUser);
    form->addRow(lbPass, EditPass);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(new BannerStrip(this));
    auto *body = new QVBoxLayout;
    body->setContentsMargins(14, 8, 14, 0);
    body->addLayout(form);
    body->addLayout(buttons);
    layout->addLayout(body);

    setTabOrder(EditUser, EditPass);
    setTabOrder(EditPass, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(BitBtn1, &QPushButton::clicked, this, &TDlgPassForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TDlgPassForm::BitBtn2Click);
}

void TDlgPassForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    centerOnScreen(this);
    EditUser->setFocus();
}

void TDlgPassForm::BitBtn1Click()
{
    std::optional<UserRecord> user;
    try {
        reopenUsers();
        user = findUserByName(EditUser->text());
    } catch (const store::DbError &e) {
        Messages::error(QStringLiteral("Ошибка при открытии таблицы \"Пользователи\" :") + e.message());
        return;
    }
    if (!user) {
        const QString typed = EditUser->text();
        EditUser->clear();
        Messages::warning(QStringLiteral("Пользователя: ") + typed + QStringLiteral(" нет в БД"));
        EditUser->setFocus();
        return;
    }
    if (!passwordsMatch(EditPass->text(), user->password)) {
        EditPass->clear();
        Messages::warning(QStringLiteral("Неправильно введен пароль"));
        EditPass->setFocus();
        return;
    }
    setCurrentUser(m_mainWindow, *user);
    if (m_mainWindow)
        RightsGuard::of(m_mainWindow)->applyGroup(user->level);
    accept();
}

void TDlgPassForm::BitBtn2Click() { reject(); }

void TDlgPassForm::reject()
{
    run().CurrUserID = -1;
    QDialog::reject();
}

} // namespace zv::access
