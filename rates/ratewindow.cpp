#include "ratewindow.h"

#include "choicecombobox.h"
#include "formcontrols.h"
#include "messagebox.h"
#include "numberreading.h"
#include "numbertext.h"
#include "sharedrates.h"
#include "storereport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace {

QString editCaption()
{
    return QStringLiteral("&Edit");
}

QString updateCaption()
{
    return QStringLiteral("&Update");
}

// The year is new when a tally of +1 for each row with another year from and -1 for each row
// with this one ends at the row count: 16 bits wide, as the form kept it. A row without a year
// from equals no typed year.
bool isNewYear(double yearFrom, const QList<RateRecord> &rows, qint64 rowCount)
{
    qint16 tally = 0;
    for (const RateRecord &row : rows) {
        if (row.yearFrom && *row.yearFrom == yearFrom)
            --tally;
        else
            ++tally;
    }
    return tally == rowCount;
}

}  // namespace

RateWindow::RateWindow(SharedRates &rates, MessageBox &messages, QWidget *parent)
    : QWidget(parent, Form::fixedWindow)
    , m_rates(rates)
    , m_messages(messages)
    , m_report(rates, messages)
{
    Form::setUpWindow(
        this, QStringLiteral("Form2"), QStringLiteral("Addition of % New Fin Year"), 5670, 4695);
    setFont(Form::font(8.25));

    buildForm();
    Form::chainTabOrder({Command1, Command2, Text3, Text2, Text1, Combo1, Command3});
    Command1->setFocus();

    Form::fitOnScreen(this);
    Form::centreOnScreen(this);

    connect(Command1, &QPushButton::clicked, this, &RateWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &RateWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &RateWindow::Command3_Click);
    connect(Combo1, &ChoiceComboBox::chosen, this, &RateWindow::Combo1_Click);
}

void RateWindow::buildForm()
{
    struct LabelPlace
    {
        const char16_t *name;
        const char16_t *caption;
        int left, top, width, height;
    };
    const LabelPlace labels[] = {
        // In the order of the boxes they name below.
        {u"Label1", u"Enter Financial Year From", 720, 960, 1650, 435},
        {u"Label3", u"Enter Financial Year To", 720, 1650, 1650, 435},
        {u"Label2", u"Enter % of Interest", 720, 2520, 1890, 240},
    };
    const QFont labelFont = Form::font(9.75, true);
    QList<QLabel *> placed;
    for (const LabelPlace &place : labels) {
        QLabel *label = Form::label(this, QString::fromUtf16(place.name),
            QString::fromUtf16(place.caption), place.left, place.top, labelFont);
        // A caption longer than its place goes on in a second line, as the form was drawn.
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Form::place(label, place.left, place.top, place.width, place.height);
        placed << label;
    }
    Label1 = placed[0];

    struct BoxPlace
    {
        QLineEdit *&box;
        const char16_t *name;
        const char16_t *accessibleName;
        const char16_t *hint;
        int top;
    };
    const BoxPlace boxes[] = {
        {Text1, u"Text1", u"Year from", u"Ex : 2003", 960},
        {Text2, u"Text2", u"Year to", u"", 1680},
        {Text3, u"Text3", u"Rate of interest", u"Ex : 2004", 2400},
    };
    for (qsizetype i = 0; i < std::ssize(boxes); ++i) {
        const BoxPlace &place = boxes[i];
        place.box = new QLineEdit(this);
        place.box->setObjectName(QString::fromUtf16(place.name));
        place.box->setAccessibleName(QString::fromUtf16(place.accessibleName));
        place.box->setToolTip(QString::fromUtf16(place.hint));
        Form::place(place.box, 2880, place.top, 1815, 375);
        // The label names its box for a screen reader, beside the box's own name.
        placed[i]->setBuddy(place.box);
    }

    Combo1 = new ChoiceComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("Year from list"));
    Form::place(Combo1, 2880, 960, 1815, 315);

    struct ButtonPlace
    {
        QPushButton *&button;
        const char16_t *name;
        QString caption;
        int left;
    };
    const ButtonPlace buttons[] = {
        {Command3, u"Command3", editCaption(), 1320},
        {Command1, u"Command1", QStringLiteral("&O.K"), 2520},
        {Command2, u"Command2", QStringLiteral("&Cancel"), 3720},
    };
    for (const ButtonPlace &place : buttons) {
        place.button = new QPushButton(this);
        place.button->setObjectName(QString::fromUtf16(place.name));
        place.button->setText(place.caption);
        place.button->setAccessibleName(QString(place.caption).remove(u'&'));
        // Enter clicks the button that has the focus, as the space bar does.
        place.button->setAutoDefault(true);
        Form::place(place.button, place.left, 3840, 855, 495);
    }
}

void RateWindow::setCommand3Caption(const QString &caption)
{
    Command3->setText(caption);
    Command3->setAccessibleName(QString(caption).remove(u'&'));
}

void RateWindow::emptyBoxes()
{
    Text1->clear();
    Text2->clear();
    Text3->clear();
}

bool RateWindow::Form_Load()
{
    if (!m_report.openAfresh(this))
        return false;
    Combo1->hide();
    return true;
}

void RateWindow::Command1_Click()
{
    // A box of blanks is not empty; it is refused below as no number.
    if (Text1->text().isEmpty() || Text2->text().isEmpty() || Text3->text().isEmpty()) {
        m_messages.critical(
            this, QStringLiteral("Some fields are empty, check!!!"), QStringLiteral("Warning!!!"));
        Text1->setFocus();
        return;
    }
    Text1->setFocus();

    // The scan gives rows only when there is a store: a loaded window always has one.
    const std::optional<QList<RateRecord>> rows = m_report.scan(this);
    if (!rows)
        return;
    // Counted now, so that the rows saved earlier in this opening are included.
    const Result<qint64> count = m_rates.store()->count();
    if (!count) {
        m_report.show(this, count.error);
        return;
    }

    const auto refuseDuplicate = [this] {
        m_messages.critical(this, QStringLiteral("Duplicate Value, Please Check! "),
            QStringLiteral("Record Exist"));
        emptyBoxes();
        Text1->setFocus();
    };
    // The year is looked for as far as its text reads as a number, so '2004abc' finds 2004.
    if (!isNewYear(numberValue(Text1->text()), *rows, *count)) {
        refuseDuplicate();
        return;
    }
    // What is saved is what the user typed, or nothing.
    const std::optional<double> yearFrom = typedNumber(Text1, QStringLiteral("year from"));
    const std::optional<double> yearTo
        = yearFrom ? typedNumber(Text2, QStringLiteral("year to")) : std::nullopt;
    const std::optional<double> rate = yearTo ? typedRate() : std::nullopt;
    if (!rate)
        return;

    if (!m_messages.question(
            this, QStringLiteral("Do you want to Save"), QStringLiteral("Confirmation"))) {
        m_messages.critical(this, QStringLiteral("Process Cancelled"), QStringLiteral("Save"));
        emptyBoxes();
        Text1->setFocus();
        return;
    }
    // Taken after the question: another window may have opened the store afresh meanwhile. The
    // store looks for the year again as it writes, as another copy of the program may have saved
    // it while the question was open.
    const Result<RateStore::Added> added = m_rates.store()->add(*yearFrom, *yearTo, *rate);
    if (!added) {
        // The typed year stays, so that it can be saved once the file takes it.
        m_report.show(this, added.error);
    } else if (*added == RateStore::Added::Duplicate) {
        refuseDuplicate();
    } else {
        m_messages.information(
            this, QStringLiteral("One Record Applied and Saved"), QStringLiteral("Save"));
        emptyBoxes();
        Text1->setFocus();
    }
}

std::optional<double> RateWindow::typedNumber(QLineEdit *box, const QString &what, Unit unit)
{
    const std::optional<double> number = readExactNumber(box->text(), unit);
    if (!number) {
        // The text stays as typed, so that the user can put it right.
        m_report.show(
            this, QStringLiteral("The %1 \"%2\" is not a number.").arg(what, box->text()));
        box->setFocus();
    }
    return number;
}

std::optional<double> RateWindow::typedRate()
{
    return typedNumber(Text3, QStringLiteral("rate of interest"), Unit::Percent);
}

void RateWindow::Command3_Click()
{
    if (m_mode == Mode::Add)
        enterEditMode();
    else
        commitEdit();
}

void RateWindow::enterEditMode()
{
    m_mode = Mode::Edit;
    setCommand3Caption(updateCaption());
    Command1->setEnabled(false);
    Text1->hide();  // keeps its text for the return to add mode
    Label1->setBuddy(Combo1);
    Text2->clear();
    Text3->clear();
    Combo1->show();
    Combo1->setFocus();

    // The list is built anew each time, with nothing chosen: an entry still chosen from the last
    // edit would let "&Update" write the emptied boxes over that year.
    Combo1->clear();
    Combo1->clearEditText();
    m_editRows.clear();
    const std::optional<QList<RateRecord>> rows = m_report.scan(this);
    if (!rows)
        return;
    QStringList years;
    for (const RateRecord &row : *rows) {
        years << numberText(row.yearFrom);
        m_editRows << row.row;
    }
    Combo1->addItems(years);
    // Filling an empty list makes its first entry the current one.
    Combo1->setCurrentIndex(-1);
    Combo1->clearEditText();
}

void RateWindow::Combo1_Click(int index)
{
    const std::optional<QList<RateRecord>> rows = m_report.scan(this);
    if (!rows)
        return;
    // Each entry stands for its own row, also where a table made elsewhere repeats a year.
    const auto row = std::ranges::find(*rows, m_editRows.value(index, -1), &RateRecord::row);
    if (row == rows->cend())
        return;
    Text2->setText(numberText(row->yearTo));
    Text2->setEnabled(false);
    Text3->setText(numberText(row->rate));
    Text3->setFocus();
}

void RateWindow::commitEdit()
{
    // Only a year the user chose, whose values the boxes show, may be written back: its own row,
    // with the year to it had, which the user cannot change here, and the rate typed.
    const int chosen = Combo1->chosenIndex();
    if (chosen < 0)
        return;
    const std::optional<double> rate = typedRate();
    if (!rate)
        return;
    if (const Failure failure = m_rates.store()->changeRate(m_editRows[chosen], *rate)) {
        m_report.show(this, *failure);
        return;
    }
    m_messages.information(this, QStringLiteral("Updated"), QStringLiteral("Updated"));

    m_mode = Mode::Add;
    setCommand3Caption(editCaption());
    Combo1->hide();
    Text1->show();
    Label1->setBuddy(Text1);
    Text2->setEnabled(true);
    Text2->clear();
    Text3->clear();
    Text1->setFocus();
    Command1->setEnabled(true);
}

void RateWindow::Command2_Click()
{
    close();
}
