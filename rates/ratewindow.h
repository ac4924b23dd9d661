#pragma once

#include "numberreading.h"
#include "storereport.h"

#include <QList>
#include <QWidget>

#include <optional>

class ChoiceComboBox;
class MessageBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SharedRates;

// The rate maintenance window, Form2. In add mode the user types a new financial year, its second
// year and its rate, and "&O.K" saves them as a new row once the year from is known to be new and
// the user has confirmed. In edit mode the user picks a year from the edit list, which stands where
// the year-from box stands, changes its rate, and "&Update" writes it back. Every handler reaches
// the table through the shared rate store, whichever window opened it last, and starts its scan at
// the first row.
//
// Like every window of the program it keeps the names of the form it rebuilds, as objectName and
// member: Label1 "Enter Financial Year From", Label3 "Enter Financial Year To", Label2 "Enter % of
// Interest", and the boxes and buttons below, each with what it is.
class RateWindow : public QWidget
{
    Q_OBJECT

public:
    RateWindow(SharedRates &rates, MessageBox &messages, QWidget *parent = nullptr);

    // Opens the rate store afresh; false (after telling the user why) when the window cannot open.
    bool Form_Load();
    void Command1_Click();         // O.K: save a new year
    void Command3_Click();         // Edit, or Update in edit mode
    void Combo1_Click(int index);  // a year chosen by the user from the edit list
    void Command2_Click();         // Cancel

private:
    void buildForm();
    void enterEditMode();
    void commitEdit();
    void setCommand3Caption(const QString &caption);
    void emptyBoxes();
    // The number in the box, or nothing after telling the user that the box holds none.
    std::optional<double> typedNumber(QLineEdit *box, const QString &what, Unit unit = Unit::Plain);
    std::optional<double> typedRate();

    QLabel *Label1 = nullptr;          // "Enter Financial Year From", naming the box shown
    QLineEdit *Text1 = nullptr;        // year from of a new year (add mode)
    ChoiceComboBox *Combo1 = nullptr;  // the edit list: year from of every row (edit mode)
    QLineEdit *Text2 = nullptr;        // year to
    QLineEdit *Text3 = nullptr;        // rate of interest in percent a year
    QPushButton *Command3 = nullptr;   // "&Edit", in edit mode "&Update"
    QPushButton *Command1 = nullptr;   // "&O.K"
    QPushButton *Command2 = nullptr;   // "&Cancel"
    enum class Mode
    {
        Add,   // Text1 shown, O.K enabled, Command3 "&Edit"
        Edit,  // Combo1 shown in Text1's place, O.K disabled, Command3 "&Update"
    };
    Mode m_mode = Mode::Add;
    QList<qint64> m_editRows;  // the row each entry of the edit list stands for
    SharedRates &m_rates;
    MessageBox &m_messages;
    StoreReport m_report;
};
