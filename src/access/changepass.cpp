#include "changepass.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "bannerstrip.h"
#include "dberror.h"
#include "messages.h"
#include "runstate.h"
#include "usersdb.h"

namespace zv::access {

QString ChangePassMode = QStringLiteral("USR");

TBVChangePassForm::TBVChangePassForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BVChangePassForm"));
    setWindowTitle(QStringLiteral("Смена пароля"));
    setModal(true);

    EditUsr = new QLineEdit(this);
    EditUsr->setObjectName(QStringLiteral("EditUsr"));
    EditUsr->setReadOnly(true);
    EditOldPass = new QLineEdit(this);
    EditOldPass->setObjectName(QStringLiteral("EditOldPass"));
    EditNewPass = new QLineEdit(this);
    EditNewPass->setObjectName(QStringLiteral("EditNewPass"));
    EditConfPass = new QLineEdit(this);
    EditConfPass->setObjectName(QStringLiteral("EditConfPass"));
    for (QLineEdit *e : {EditOldPass, EditNewPass, EditConfPass})
        e->setEchoMode(QLineEdit::Password);

    auto *lbUsr = new QLabel(QStringLiteral("Пользователь"), this);
    lbUsr->setBuddy(EditUsr);
    Lb2 = new QLabel(QStringLiteral("Старый пароль"), this);
    Lb2->setObjectName(QStringLiteral("Lb2"));
    Lb2->setBuddy(EditOldPass);
    auto *lbNew = new QLabel(QStringLiteral("Новый пароль"), this);
    lbNew->setBuddy(EditNewPass);
    auto *lbConf = new QLabel(QStringLiteral("Подтверждение"), this);
    lbConf->setBuddy(EditConfPass);
    EditUsr->setAccessibleName(lbUsr->text());
    EditOldPass->setAccessibleName(Lb2->text());
    EditNewPass->setAccessibleName(lbNew->text());
    EditConfPass->setAccessibleName(lbConf->text());

    BtOk = new QPushButton(QStringLiteral("OK"), this);
    BtOk->setObjectName(QStringLiteral("BtOk"));
    BtOk->setDefault(true);
    BtCancel = new QPushButton(QStringLiteral("Отмена"), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));

    auto *form = new QFormLayout;
    form->addRow(lbUsr, EditUsr);
    form->addRow(Lb2, EditOldPass);
    form->addRow(lbNew, EditNewPass);
    form->addRow(lbConf, EditConfPass);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtOk);
    buttons->addWidget(BtCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(new BannerStrip(this));
    auto *body = new QVBoxLayout;
    body->setContentsMargins(14, 8, 14, 0);
    body->addLayout(form);
    body->addLayout(buttons);
    layout->addLayout(body);

    setTabOrder(EditUsr, EditOldPass);
    setTabOrder(EditOldPass, EditNewPass);
    setTabOrder(EditNewPass, EditConfPass);
    setTabOrder(EditConfPass, BtOk);
    setTabOrder(BtOk, BtCancel);

    connect(BtOk, &QPushButton::clicked, this, &TBVChangePassForm::BtOkClick);
    connect(BtCancel, &QPushButton::clicked, this, &QDialog::reject);

    // The mode is set just before the dialog is made: label the box now so
    // the layout is sized for its text.
    m_mode = ChangePassMode;
    applyModeLabel();
}

void TBVChangePassForm::applyModeLabel()
{
    Lb2->setText(journalMode() ? QStringLiteral("Пароль пользователя") : QStringLiteral("Старый пароль"));
    EditOldPass->setAccessibleName(Lb2->text());
}

void TBVChangePassForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TBVChangePassForm::FormShow()
{
    m_mode = ChangePassMode;
    EditOldPass->setFocus();
    QString name;
    try {
        if (auto user = findUserById(run().CurrUserID))
            name = user->name;
    } catch (const store::DbError &e) {
        Messages::error(e.message());
    }
    EditUsr->setText(name);
    applyModeLabel();
    if (journalMode()) {
        setWindowTitle(QStringLiteral("Смена пароля") + QStringLiteral(" для журнала событий"));
    } else {
        setWindowTitle(QStringLiteral("Смена пароля") + QStringLiteral(" пользователя ") + name);
    }
}

void TBVChangePassForm::BtOkClick()
{
    std::optional<UserRecord> user;
    try {
        user = findUserById(run().CurrUserID);
    } catch (const store::DbError &e) {
        Messages::error(e.message());
        return;
    }
    // A user deleted meanwhile has no password to check against: nothing matches.
    if (!user || !passwordsMatch(EditOldPass->text(), user->password)) {
        EditOldPass->clear();
        Messages::warning(journalMode() ? QStringLiteral("Неправильно введен пароль пользователя")
                                        : QStringLiteral("Неправильно введен старый пароль"));
        EditOldPass->setFocus();
        return;
    }
    if (upperKey(EditNewPass->text()) != upperKey(EditConfPass->text())) {
        EditNewPass->clear();
        EditConfPass->clear();
        Messages::warning(QStringLiteral("Новый пароль и его подтверждение не совпадают"));
        EditNewPass->setFocus();
        return;
    }
    try {
        if (journalMode())
            storeJournalPassword(EditNewPass->text());
        else
            storeUserPassword(user->id, EditNewPass->text());
    } catch (const store::DbError &e) {
        Messages::error(QStringLiteral("Ошибка при работе с БД:") + e.message());
        // The password stays as it was; the dialog closes all the same.
        reject();
        return;
    }
    accept();
}

namespace {
void runChangePass(QWidget *mainWindow, const QString &mode)
{
    ChangePassMode = mode;
    TBVChangePassForm dlg(mainWindow);
    dlg.exec();
}
} // namespace

void ChangePassUsrExecute(QWidget *mainWindow) { runChangePass(mainWindow, QStringLiteral("USR")); }
void ChangePassJrnExecute(QWidget *mainWindow) { runChangePass(mainWindow, QStringLiteral("JRN")); }

bool forcedPasswordChange(QWidget *mainWindow)
{
    const int id = run().CurrUserID;
    QString remembered;
    try {
        const auto user = findUserById(id);
        if (!user || user->changeP != 1)
            return true;
        remembered = user->password;
    } catch (const store::DbError &e) {
        Messages::error(e.message());
        return false;
    }
    Messages::information(QStringLiteral("Вам надо сменить пароль"));
    ChangePassUsrExecute(mainWindow);

    QString now;
    try {
        reopenUsers();
        const auto user = findUserById(id);
        now = user ? user->password : remembered;
    } catch (const store::DbError &e) {
        Messages::error(e.message());
        return false;
    }
    if (now == remembered) {
        Messages::information(QStringLiteral("Пароль не изменился"));
        return true;
    }
    try {
        clearChangeFlag(id);
        reopenUsers();
    } catch (const store::DbError &e) {
        Messages::error(QStringLiteral("Ошибка при работе с БД:") + e.message());
        return false;
    }
    Messages::information(QStringLiteral("Пароль был успешно заменен"));
    return true;
}

} // namespace zv::access
