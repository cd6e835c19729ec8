#pragma once
// Captions for screen readers and UI automation: an input control carries
// the text of its label as its accessible name.
#include <QLabel>
#include <QString>
#include <QWidget>

namespace zv {

// Makes `label` the buddy of `field` and gives `field` the label's caption
// (without the trailing blanks and colon of the visual layout).
inline QLabel *caption(QLabel *label, QWidget *field)
{
    label->setBuddy(field);
    QString name = label->text();
    name.remove(QLatin1Char('&'));
    name = name.trimmed();
    while (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    field->setAccessibleName(name.trimmed());
    return label;
}

} // namespace zv
