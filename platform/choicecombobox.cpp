#include "choicecombobox.h"

#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

ChoiceComboBox::ChoiceComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // A list can hold tens of thousands of items: never measure them all.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto *list = qobject_cast<QListView *>(view()))
        list->setUniformItemSizes(true);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (m_typing)
            return;
        m_chosen = index;
        emit chosen(index);
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_chosen = -1; });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] { m_chosen = -1; });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { m_chosen = -1; });
}

void ChoiceComboBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QComboBox::keyPressEvent(event);
        return;
    default:
        break;
    }
    m_typing = true;
    QComboBox::keyPressEvent(event);
    m_typing = false;
}

void ChoiceComboBox::focusOutEvent(QFocusEvent *event)
{
    m_typing = true;
    QComboBox::focusOutEvent(event);
    m_typing = false;
}
