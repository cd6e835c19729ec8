#include "datasetmodel.h"

#include "dberrorbox.h"
#include "messages.h"

namespace zv::store {

DatasetModel::DatasetModel(Dataset *ds, QObject *parent) : QAbstractTableModel(parent), m_ds(ds)
{
    if (ds) {
        connect(ds, &Dataset::opened, this, &DatasetModel::reload);
        connect(ds, &Dataset::closed, this, &DatasetModel::reload);
        connect(ds, &Dataset::rowsChanged, this, &DatasetModel::reload);
    }
    reload();
}

void DatasetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void DatasetModel::reload()
{
    beginResetModel();
    m_rows = 0;
    if (m_ds && m_ds->active()) {
        try {
            m_rows = m_ds->fetchAllRows();
        } catch (const DbError &) {
            m_rows = 0; // the grid stays empty; the dataset's user reports the error
        }
    }
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    if (!m_columns.isEmpty())
        return int(m_columns.size());
    return m_ds && m_ds->active() ? m_ds->fieldCount() : 0;
}

int DatasetModel::columnIndex(int section) const
{
    if (!m_ds || !m_ds->active())
        return -1;
    if (m_columns.isEmpty())
        return section;
    if (section < 0 || section >= m_columns.size())
        return -1;
    return m_ds->fieldIndex(m_columns[section].fieldName);
}

QString DatasetModel::displayText(const QVariant &value, FieldType type)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (type == FieldType::Date) {
        const QDate d = QDate::fromString(value.toString().left(10), Qt::ISODate);
        return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : value.toString();
    }
    if (type == FieldType::Blob)
        return value.toByteArray().isEmpty() ? QString() : QStringLiteral("(BLOB)");
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const int col = columnIndex(index.column());
    if (col < 0)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const QVariant v = m_ds->rowValue(index.row(), col);
        return displayText(v, m_ds->columns()[col].type);
    }
    if (role == Qt::TextAlignmentRole && !m_columns.isEmpty())
        return int(m_columns[index.column()].alignment);
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (!m_columns.isEmpty())
        return section < m_columns.size() ? QVariant(m_columns[section].title) : QVariant();
    if (m_ds && m_ds->active() && section < m_ds->fieldCount())
        return m_ds->columns()[section].name;
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid() && m_ds && m_ds->kind() == Dataset::Kind::Table && columnIndex(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || index.row() >= m_rows)
        return false;
    const int col = columnIndex(index.column());
    try {
        m_ds->setRecNo(index.row());
        m_ds->edit();
        m_ds->field(col).setValue(value);
        m_ds->post();
    } catch (const DbError &e) {
        m_ds->cancel();
        zv::Messages::error(dbErrorText(DbErrorKind::Work, QString(), e.message()));
        return false;
    } catch (const ConvertError &e) {
        m_ds->cancel();
        zv::Messages::error(e.message());
        return false;
    }
    return true; // the dataset's change resets the model
}

} // namespace zv::store
