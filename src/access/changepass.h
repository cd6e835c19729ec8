#pragma once
// Password-change dialog. Mode "USR": the current user's own password (the
// first box holds the old one). Mode "JRN": the journal password (the first
// box holds the current user's own password, which authorises the change).
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zv::access {

// "USR" or "JRN"; set just before the dialog opens and read by it.
extern QString ChangePassMode;

class TBVChangePassForm : public QDialog {
    Q_OBJECT
public:
    explicit TBVChangePassForm(QWidget *parent = nullptr);

    void FormShow();
    void BtOkClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    bool journalMode() const { return m_mode == QLatin1String("JRN"); }
    void applyModeLabel();

    QString m_mode;
    QLineEdit *EditUsr;
    QLabel *Lb2;
    QLineEdit *EditOldPass;
    QLineEdit *EditNewPass;
    QLineEdit *EditConfPass;
    QPushButton *BtOk;
    QPushButton *BtCancel;
};

// Main-window actions "Пароль пользователя" and "Пароль для журнала событий".
void ChangePassUsrExecute(QWidget *mainWindow);
void ChangePassJrnExecute(QWidget *mainWindow);

// Forced change at the first login of a user whose record asks for it.
// False when the flag could not be cleared (the caller skips the rest of
// its preparation).
bool forcedPasswordChange(QWidget *mainWindow);

} // namespace zv::access
