#pragma once
// "Таблица весов по осям": the axle rows of the weighing in progress (scratch
// table MEMD). A tool window that stays on top of the main window for the
// whole run; the weighing shows and hides it.
#include <QWidget>

class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTableView;

class TBVViewWTelForm : public QWidget {
    Q_OBJECT
public:
    explicit TBVViewWTelForm(QWidget *parent = nullptr);

    // Re-reads the axle rows from MEMD (F1 axle number, F2 weight text).
    // Returns false with the engine's message in *error when MEMD cannot be read.
    bool reload(QString *error = nullptr);
    // Rows as shown, for callers that already hold them.
    void setRows(const QList<QPair<QString, QString>> &rows);
    int rowCount() const;
    QString axleText(int row) const;
    QString weightText(int row) const;

    // The hidden sum box "Суммарный вес".
    void setSumText(const QString &text);
    QString sumText() const;

    QTableView *grid() const { return DBGrid1; }

signals:
    // The operator closed the window by its border; hiding it from code does
    // not emit this.
    void closedByOperator();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QTableView *DBGrid1;
    QStandardItemModel *m_model;
    QLabel *LbSum;
    QLineEdit *EditSum;
};
