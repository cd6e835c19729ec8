#pragma once
// Table model over a dataset for the grids (QTableView). It shows the rows of
// an open query (or table) and follows the dataset: opening, closing and
// changes reset it. The current row of a grid and the dataset's cursor are
// kept together by the caller through Dataset::setRecNo / recNo.
#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

#include "dataset.h"

namespace zv::store {

struct GridColumn {
    QString fieldName;
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(Dataset *ds, QObject *parent = nullptr);

    // Columns shown, in order; without a call every field is shown with its name as title.
    void setColumns(const QList<GridColumn> &columns);
    // Cells of a table component may be edited in the grid: a change moves
    // the table's cursor to the row, edits, stores it at once. A value the
    // store refuses shows "Ошибка при работе с БД:" and the engine's message.
    void setEditable(bool editable) { m_editable = editable; }
    Dataset *dataset() const { return m_ds; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Display text of one value of the dataset as the grids show it (dates dd.MM.yyyy).
    static QString displayText(const QVariant &value, FieldType type);

public slots:
    void reload();

private:
    int columnIndex(int section) const;
    QPointer<Dataset> m_ds;
    QList<GridColumn> m_columns;
    int m_rows = 0;
    bool m_editable = false;
};

} // namespace zv::store
