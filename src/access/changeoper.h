#pragma once
// Change of operator: another user takes over the running program without a
// restart. Only administrators and operators may take over.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zv::access {

class TBVChangeOperForm : public QDialog {
    Q_OBJECT
public:
    // mainWindow receives the new operator's name and rights.
    explicit TBVChangeOperForm(QWidget *mainWindow);
    void BtOKClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    friend bool BtChangeOperClick(QWidget *);
    QWidget *m_mainWindow;
    QLineEdit *EditCurrOper;
    QLineEdit *EditCurrUsr;
    QLineEdit *EditNewUsr;
    QLineEdit *EditPassUsr;
    QPushButton *BtOK;
    QPushButton *BtCancel;
};

// The button "Смена оператора" of the weighing page: shows the dialog with
// the current operator filled in; true when another user took over.
bool BtChangeOperClick(QWidget *mainWindow);

} // namespace zv::access
