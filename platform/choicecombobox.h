#pragma once

#include <QComboBox>

// A combo box with an edit field whose choice signal means a choice of the user from the list:
// a click in the drop-down list or an arrow key. Typing into the edit field, pressing Enter
// after it or leaving the field never counts, even when the typed text matches an item (Qt then
// makes that item current on its own), and typing undoes the choice.
class ChoiceComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ChoiceComboBox(QWidget *parent = nullptr);

    // The item the user chose last, or -1 when none is chosen, the field was typed into since,
    // or the list was emptied.
    int chosenIndex() const { return m_chosen; }

signals:
    void chosen(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_typing = false;
    int m_chosen = -1;
};
