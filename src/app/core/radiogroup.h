#pragma once
// A titled group of radio buttons with an item index, where "no item chosen"
// is a valid state (index -1), as the pages of the workstation need it.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace zv {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString &caption, const QStringList &items, int columns = 1, QWidget *parent = nullptr);

    int itemIndex() const;         // -1: nothing chosen
    void setItemIndex(int index);  // -1 clears the choice; does not emit itemClicked
    int count() const;
    QRadioButton *item(int index) const;

signals:
    // The operator clicked an item (not emitted for setItemIndex).
    void itemClicked(int index);

private:
    QButtonGroup *m_group;
};

} // namespace zv
