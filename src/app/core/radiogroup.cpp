#include "radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace zv {

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this))
{
    auto *grid = new QGridLayout(this);
    if (columns < 1)
        columns = 1;
    const int rows = (int(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        // Column-major like the classic radio group: items run down each column.
        grid->addWidget(b, i % rows, i / rows);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

int RadioGroup::itemIndex() const { return m_group->checkedId(); }

void RadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < count()) {
        m_group->button(index)->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its checked button directly.
    if (auto *b = m_group->checkedButton()) {
        m_group->setExclusive(false);
        b->setChecked(false);
        m_group->setExclusive(true);
    }
}

int RadioGroup::count() const { return int(m_group->buttons().size()); }

QRadioButton *RadioGroup::item(int index) const { return qobject_cast<QRadioButton *>(m_group->button(index)); }

} // namespace zv
