#pragma once
// Login dialog: user name and password, checked against USERS. OK sets the
// values of the run and takes away the actions the user's group may not use.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zv::access {

class TDlgPassForm : public QDialog {
    Q_OBJECT
public:
    // mainWindow receives the operator's name and the group's rights; it is
    // also the dialog's parent. May be null (no window to set up).
    explicit TDlgPassForm(QWidget *mainWindow);

    void BitBtn1Click();
    void BitBtn2Click();

    void reject() override; // any way of closing other than OK is a cancel

protected:
    void showEvent(QShowEvent *e) override;

private:
    QWidget *m_mainWindow;
    QLineEdit *EditUser;
    QLineEdit *EditPass;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
};

} // namespace zv::access
