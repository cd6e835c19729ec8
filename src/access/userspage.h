#pragma once
// The page "Пользователи" of the main window: the list of users and the
// boxes to add, change and delete one. Changes take effect at the user's
// next login; the running session keeps its rights.
#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace zv::store {
class DatasetModel;
}

namespace zv::access {

struct UserRecord;

class TUsersPage : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Adding, Changing };

    explicit TUsersPage(QWidget *parent = nullptr);

    // The page's part of opening it (after the main window has shown it):
    // entry boxes off, the list re-read.
    void UserGroupExecute();

    void BtAddUClick();
    void BtUpUClick();
    void BtDelUClick();
    void BtSaveUClick();
    void BtExitUClick();

    Mode mode() const { return m_mode; }
    int selectedUserId() const { return m_selectedUserId; }

signals:
    // "Отмена": the main window shows no page of its page area any more.
    void leavePage();

private:
    std::optional<UserRecord> currentRow() const;
    void setBrowsing();
    void setEntering(Mode mode);
    void navigate(int whereTo);

    Mode m_mode = Mode::Adding;
    int m_selectedUserId = 0;

    QGroupBox *GroupBoxInput;
    QGroupBox *GroupBoxRequired;
    QGroupBox *GroupBoxExtra;
    QLineEdit *EditUser;
    QLineEdit *EditPass;
    QLineEdit *EditPassConf;
    QComboBox *CBGroup;
    QCheckBox *ChBChangePass;
    QLineEdit *EditLastN;
    QLineEdit *EditFirstN;
    QLineEdit *EditPatr;
    QPushButton *BtAddU;
    QPushButton *BtUpU;
    QPushButton *BtDelU;
    QPushButton *BtSaveU;
    QPushButton *BtExitU;
    QTableView *DBGrid4;
    store::DatasetModel *m_model;
};

} // namespace zv::access
