#include "passjrn.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accessrules.h"
#include "bannerstrip.h"
#include "dberror.h"
#include "messages.h"
#include "usersdb.h"

namespace zv::access {

TBVPassJrnForm::TBVPassJrnForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BVPassJrnForm"));
    setWindowTitle(QStringLiteral("Пароль на редактирование"));
    setModal(true);

    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    auto *label = new QLabel(QStringLiteral("Введите пароль"), this);
    label->setBuddy(Password);
    Password->setAccessibleName(label->text());

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setAutoDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Password);
    layout->addLayout(buttons);

    setTabOrder(Password, OKBtn);
    setTabOrder(OKBtn, CancelBtn);

    connect(OKBtn, &QPushButton::clicked, this, &TBVPassJrnForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TBVPassJrnForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    centerOnScreen(this);
    Password->setFocus();
}

void TBVPassJrnForm::OKBtnClick()
{
    JournalPasswords stored;
    try {
        stored = journalPasswords();
    } catch (const store::DbError &e) {
        // Not one of the guarded operations: the plain error text, the dialog stays.
        Messages::error(e.message());
        return;
    }
    const QString typed = Password->text();
    if (passwordsMatch(typed, stored.first) || passwordsMatch(typed, stored.second)) {
        accept();
        return;
    }
    Messages::warning(QStringLiteral("Неверный пароль, попробуйте еще раз."));
    Password->clear();
    Password->setFocus();
}

bool journalPassword(QWidget *parent)
{
    TBVPassJrnForm dlg(parent);
    return dlg.exec() == QDialog::Accepted;
}

} // namespace zv::access
