#include "bvaboutform.h"

#include <QLabel>
#include <QVBoxLayout>

TBVAboutForm::TBVAboutForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BVAboutForm"));
    setWindowTitle(QStringLiteral("BVAboutForm"));
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 251, 240)); // cream
    setPalette(pal);
    setAutoFillBackground(true);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(40, 30, 40, 30);
    auto *product = new QLabel(QStringLiteral("Программный комплекс \"ZV\""), this);
    product->setObjectName(QStringLiteral("LbProduct"));
    QFont f = product->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    product->setFont(f);
    product->setAlignment(Qt::AlignCenter);
    auto *purpose =
        new QLabel(QStringLiteral("(Автоматизация процесса взвешивания транспортных средств)"), this);
    purpose->setObjectName(QStringLiteral("LbPurpose"));
    purpose->setAlignment(Qt::AlignCenter);
    v->addWidget(product);
    v->addWidget(purpose);
}
