#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>

// What a screen reader gives as the label of a control: the names of the controls it is labelled
// by, joined by '/', or an empty text when nothing labels it.
inline QString accessibleLabel(QWidget *control)
{
    QStringList names;
    const auto relations
        = QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label);
    for (const auto &[label, relation] : relations)
        names << label->text(QAccessible::Name);
    return names.join(u'/');
}
