#pragma once
// Journal password dialog: guards deleting a recorded weighing and the
// keyboard entry of the weight. Either of the two stored journal passwords
// opens it.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zv::access {

class TBVPassJrnForm : public QDialog {
    Q_OBJECT
public:
    explicit TBVPassJrnForm(QWidget *parent = nullptr);
    void OKBtnClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    QLineEdit *Password;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
};

// Shows the dialog modally; true when it ended with OK. The one function
// every caller uses.
bool journalPassword(QWidget *parent);

} // namespace zv::access
