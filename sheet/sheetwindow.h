#pragma once

#include "sheetfields.h"
#include "storereport.h"

#include <QWidget>

#include <array>

class ActivationWatch;
class ChoiceComboBox;
class Marquee;
class MessageBox;
class PrinterDialog;
class MarqueeLabel;
class QLineEdit;
class QTimer;
class QToolButton;
class SharedRates;

// The interest sheet, Form1: twelve month rows on the left, the year, rate, opening balance and
// summary on the right, the buttons below them. Its handlers copy the box texts into SheetTexts,
// call the plain functions of this folder, and copy the texts back. While it is open and in
// sight, two timers flash its title and slide the credits line along its bottom; the credits line's
// position lives in a Marquee that outlives the window.
//
// Like every window of the program it keeps the names of the form it rebuilds, as objectName and
// member: sheetfields.h says which of Text1 .. Text58 is which box, the members below name the
// rest, and the labels and frames are named where the build functions' tables place them.
class SheetWindow : public QWidget
{
    Q_OBJECT

public:
    SheetWindow(SharedRates &rates, MessageBox &messages, PrinterDialog &printer,
        ActivationWatch &activation, Marquee &marquee, QWidget *parent = nullptr);

    // The texts of all 58 boxes; index 0 is unused.
    SheetTexts readBoxes() const;

    // Opens the rate store and starts the timers; false (after telling the user why) when the
    // sheet cannot open.
    bool Form_Load();
    // Appends the year labels of every rate row to the year list, without emptying it first.
    void Form_Activate();
    void Combo1_Click(int index);  // a year chosen by the user
    void Command1_Click();         // Calculate
    void Command2_Click();         // Clear
    void Command3_Click();         // View/Print
    void Command5_Click();         // Exit
    void Timer1_Timer();           // flashes the title
    void Timer2_Timer();           // moves the credits line one column
    void Image1_Click();           // the help box

protected:
    // The timers rest while the sheet is minimised or hidden, and go on when it is shown again.
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMonthRows();
    void buildYearAndRate();
    void buildSummary();
    void buildButtons();
    void chainTabOrder();
    QLineEdit *addBox(QWidget *container, int box, int left, int top, int width, int height);
    QToolButton *addButton(const QString &name, const QString &caption, const QString &icon,
        int left, int top, int width);
    void writeResults(const SheetTexts &texts);
    // Marks each typed box whose text was read only in part, saying what was read.
    void markPartlyRead(const SheetTexts &texts);
    void unmark(QLineEdit *box);

    std::array<QLineEdit *, lastBox + 1> m_boxes {};  // Text1 .. Text58 at their numbers
    ChoiceComboBox *Combo1 = nullptr;                 // the year list, of year labels
    QToolButton *Command1 = nullptr;                  // "&Calculate"
    QToolButton *Command2 = nullptr;                  // "C&lear"
    QToolButton *Command3 = nullptr;                  // "&View/Print"
    QToolButton *Command4 = nullptr;                  // "&Save", disabled and inert
    QToolButton *Command5 = nullptr;                  // "&Exit"
    QToolButton *Image1 = nullptr;                    // the help picture
    MarqueeLabel *Label15 = nullptr;                  // the credits line
    QTimer *Timer1 = nullptr;                         // the title flash
    QTimer *Timer2 = nullptr;                         // the credits line's steps
    MessageBox &m_messages;
    PrinterDialog &m_printer;
    StoreReport m_report;
    Marquee &m_marquee;      // where the credits text stands
    qint16 TitleBlank = 0;   // 1 when the last title tick emptied it
    bool m_resting = false;  // the timers were stopped when the sheet went out of sight
};
