#include "bvrefform.h"

#include <QLabel>
#include <QVBoxLayout>

TBVRefForm::TBVRefForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BVRefForm"));
    setWindowTitle(QStringLiteral("Руководство пользователя"));
    setModal(true);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(30, 20, 30, 20);
    auto *where = new QLabel(QStringLiteral("Руководство пользователя находится:  "), this);
    where->setObjectName(QStringLiteral("Label1"));
    auto *cd = new QLabel(QStringLiteral("на дистрибутивном CD: ZV.RTF"), this);
    cd->setObjectName(QStringLiteral("Label2"));
    v->addWidget(where);
    v->addWidget(cd);
}
