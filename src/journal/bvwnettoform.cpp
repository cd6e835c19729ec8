#include "bvwnettoform.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "messages.h"

namespace {
const QString kLabelCaption = QStringLiteral("Вес груза  ");

QList<TBVWNettoForm::Shown> &shownList()
{
    static QList<TBVWNettoForm::Shown> list;
    return list;
}

std::function<void(TBVWNettoForm &)> &observerSlot()
{
    static std::function<void(TBVWNettoForm &)> fn;
    return fn;
}
} // namespace

void TBVWNettoForm::showModal(QWidget *parent, bool vehicleFound, const QString &stateNumb, const QString &netText,
                              const QString &cargoName)
{
    TBVWNettoForm form(parent);
    form.showNetto(vehicleFound, stateNumb, netText, cargoName);
    if (zv::Messages::scripted()) {
        shownList().append({form.labelText(), form.nettoText(), form.cargoText()});
        form.show();
        if (observerSlot())
            observerSlot()(form);
        form.accept();
        return;
    }
    form.exec();
}

QList<TBVWNettoForm::Shown> TBVWNettoForm::shown() { return shownList(); }

void TBVWNettoForm::clearShown() { shownList().clear(); }

void TBVWNettoForm::setObserver(std::function<void(TBVWNettoForm &)> observer) { observerSlot() = std::move(observer); }

TBVWNettoForm::TBVWNettoForm(QWidget *parent)
    : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("BVWNettoForm"));
    setWindowTitle(QStringLiteral("Информация"));
    setSizeGripEnabled(true);

    LbNetto = new QLabel(kLabelCaption, this);
    LbNetto->setObjectName(QStringLiteral("LbNetto"));
    QFont big = LbNetto->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    LbNetto->setFont(big);

    EditNetto = new QLineEdit(this);
    EditNetto->setObjectName(QStringLiteral("EditNetto"));
    EditNetto->setReadOnly(true);
    EditNetto->setFont(big);
    EditNetto->setAlignment(Qt::AlignRight);
    EditNetto->setAccessibleName(kLabelCaption.trimmed());
    LbNetto->setBuddy(EditNetto);

    EditCargo = new QLineEdit(this);
    EditCargo->setObjectName(QStringLiteral("EditCargo"));
    EditCargo->setReadOnly(true);
    EditCargo->setAccessibleName(QStringLiteral("Груз"));

    BtOk = new QPushButton(QStringLiteral("OK"), this);
    BtOk->setObjectName(QStringLiteral("BtOk"));
    BtOk->setDefault(true);
    connect(BtOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LbNetto);
    layout->addWidget(EditNetto);
    layout->addWidget(EditCargo);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtOk);
    buttons->addStretch();
    layout->addLayout(buttons);
    resize(360, 170);
}

void TBVWNettoForm::showNetto(bool vehicleFound, const QString &stateNumb, const QString &netText,
                              const QString &cargoName)
{
    if (!vehicleFound) {
        LbNetto->setText(kLabelCaption);
        EditNetto->clear();
        EditCargo->clear();
        return;
    }
    LbNetto->setText(kLabelCaption + QStringLiteral("ТС № ") + stateNumb);
    EditNetto->setText(netText);
    EditCargo->setText(QStringLiteral("(") + cargoName + QStringLiteral(")"));
}

QString TBVWNettoForm::labelText() const { return LbNetto->text(); }
QString TBVWNettoForm::nettoText() const { return EditNetto->text(); }
QString TBVWNettoForm::cargoText() const { return EditCargo->text(); }
