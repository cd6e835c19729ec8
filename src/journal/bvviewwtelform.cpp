#include "bvviewwtelform.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "datamodule.h"

TBVViewWTelForm::TBVViewWTelForm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("BVViewWTelForm"));
    setWindowTitle(QStringLiteral("Таблица весов по осям"));

    m_model = new QStandardItemModel(0, 2, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("Номер  оси ТС п/п "), QStringLiteral("Измеренный вес")});

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(windowTitle());
    DBGrid1->setModel(m_model);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    LbSum = new QLabel(QStringLiteral("Суммарный вес"), this);
    LbSum->setObjectName(QStringLiteral("LbSum"));
    EditSum = new QLineEdit(this);
    EditSum->setObjectName(QStringLiteral("EditSum"));
    EditSum->setReadOnly(true);
    LbSum->setBuddy(EditSum);
    EditSum->setAccessibleName(LbSum->text());
    // The sum is kept for the weighing but not shown: the operator sees the
    // total in the journal once it is recorded.
    LbSum->hide();
    EditSum->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(DBGrid1);
    layout->addWidget(LbSum);
    layout->addWidget(EditSum);
    resize(300, 260);
}

void TBVViewWTelForm::setRows(const QList<QPair<QString, QString>> &rows)
{
    m_model->removeRows(0, m_model->rowCount());
    for (const auto &r : rows) {
        auto *axle = new QStandardItem(r.first);
        auto *weight = new QStandardItem(r.second);
        axle->setTextAlignment(Qt::AlignCenter);
        weight->setTextAlignment(Qt::AlignCenter);
        m_model->appendRow({axle, weight});
    }
    if (m_model->rowCount() > 0)
        DBGrid1->scrollToBottom();
}

bool TBVViewWTelForm::reload(QString *error)
{
    using zv::store::Dataset;
    Dataset &memd = zv::store::TBVDMod1::instance().BVTMemD;
    QList<QPair<QString, QString>> rows;
    try {
        zv::store::TBVDMod1::OpenIfClosed(memd);
        memd.refresh();
        if (!memd.isEmpty()) {
            for (memd.first(); !memd.eof(); memd.next())
                rows.append({memd.fieldByName(QStringLiteral("F1")).asString(),
                             memd.fieldByName(QStringLiteral("F2")).asString()});
        }
    } catch (const zv::store::DbError &e) {
        if (error)
            *error = e.message();
        return false;
    }
    setRows(rows);
    return true;
}

int TBVViewWTelForm::rowCount() const { return m_model->rowCount(); }

QString TBVViewWTelForm::axleText(int row) const { return m_model->item(row, 0)->text(); }

QString TBVViewWTelForm::weightText(int row) const { return m_model->item(row, 1)->text(); }

void TBVViewWTelForm::setSumText(const QString &text) { EditSum->setText(text); }

QString TBVViewWTelForm::sumText() const { return EditSum->text(); }

void TBVViewWTelForm::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closedByOperator();
}
