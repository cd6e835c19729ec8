#pragma once
// The "Информация" window: the net weight of a completed pair, shown to the
// operator before it reaches the journal.
#include <QDialog>
#include <QList>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class TBVWNettoForm : public QDialog {
    Q_OBJECT
public:
    explicit TBVWNettoForm(QWidget *parent = nullptr);

    // Fills the window: "ТС № " and the state number after the label's text,
    // the net weight, the cargo in brackets. When the vehicle was not found
    // the label keeps its own text and the boxes stay empty.
    void showNetto(bool vehicleFound, const QString &stateNumb, const QString &netText, const QString &cargoName);

    // Creates the window, shows it modally and destroys it. With the message
    // boxes scripted (tests) it is not run modally: its texts are recorded
    // and the observer, when set, sees the window before it is closed.
    static void showModal(QWidget *parent, bool vehicleFound, const QString &stateNumb, const QString &netText,
                          const QString &cargoName);
    struct Shown {
        QString label, netto, cargo;
    };
    static QList<Shown> shown();
    static void clearShown();
    static void setObserver(std::function<void(TBVWNettoForm &)> observer);

    QString labelText() const;
    QString nettoText() const;
    QString cargoText() const;

private:
    QLabel *LbNetto;
    QLineEdit *EditNetto;
    QLineEdit *EditCargo;
    QPushButton *BtOk;
};
