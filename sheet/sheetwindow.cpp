#include "sheetwindow.h"

#include "activationwatch.h"
#include "choicecombobox.h"
#include "formcontrols.h"
#include "interestcalculation.h"
#include "marquee.h"
#include "marqueelabel.h"
#include "messagebox.h"
#include "numbertext.h"
#include "printerdialog.h"
#include "storereport.h"
#include "yearchoice.h"

#include <QAction>
#include <QCursor>
#include <QGroupBox>
#include <QHideEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QShortcut>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

const QColor red(255, 0, 0);
const QColor buttonColour(255, 192, 128);

// The credits line: this text slides inside a line of creditsWidth blanks.
const QString creditsText = QStringLiteral("ZEL Calculation (c) 2003");
constexpr qint16 creditsWidth = 142;

QString textName(int box)
{
    return QStringLiteral("Text%1").arg(box);
}

QGroupBox *addFrame(
    QWidget *container, int frame, const QString &caption, int left, int top, int width, int height)
{
    auto *group = new QGroupBox(caption, container);
    group->setObjectName(QStringLiteral("Frame%1").arg(frame));
    Form::place(group, left, top, width, height);
    return group;
}

QCursor pointerImage(const QString &name)
{
    return QCursor(QPixmap(QStringLiteral(":/cursors/%1.png").arg(name)), 0, 0);
}

}  // namespace

SheetWindow::SheetWindow(SharedRates &rates, MessageBox &messages, PrinterDialog &printer,
    ActivationWatch &activation, Marquee &marquee, QWidget *parent)
    : QWidget(parent, Form::fixedWindow)
    , m_messages(messages)
    , m_printer(printer)
    , m_report(rates, messages)
    , m_marquee(marquee)
{
    Form::setUpWindow(this, QStringLiteral("Form1"), QStringLiteral("-"), 15270, 11145);
    // A name for screen readers that stays put while the title flashes.
    setAccessibleName(QStringLiteral("Interest sheet"));
    setFont(Form::font(8.25));
    setCursor(Qt::CrossCursor);

    buildMonthRows();
    buildYearAndRate();
    buildSummary();
    buildButtons();

    Form::line(this, QStringLiteral("Line2"), 7200, 0, 7200, 10440);
    Form::line(this, QStringLiteral("Line3"), 0, 10440, 15240, 10440);
    Label15 = new MarqueeLabel(this);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setAccessibleName(QStringLiteral("Credits line"));
    Label15->setFont(Form::font(13.5, true));
    Form::setBackground(Label15, Form::lightBlue);
    Form::setTextColour(Label15, red);
    Form::move(Label15, 360, 10560);
    Label15->setText(textAtColumn(creditsText, 1, creditsWidth));

    Image1 = new QToolButton(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Help"));
    Image1->setToolTip(QStringLiteral("Help"));
    Image1->setIcon(QIcon(QStringLiteral(":/images/help.png")));
    Image1->setIconSize(QSize(Form::pixels(480), Form::pixels(480)));
    Image1->setAutoRaise(true);
    Image1->setFocusPolicy(Qt::NoFocus);
    Image1->setCursor(pointerImage(QStringLiteral("help")));
    Form::place(Image1, 14640, 9840, 480, 480);
    connect(Image1, &QToolButton::clicked, this, &SheetWindow::Image1_Click);
    // The help picture takes no focus; F1 opens the same box from the keyboard.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &SheetWindow::Image1_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(300);
    connect(Timer1, &QTimer::timeout, this, &SheetWindow::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(5);
    Timer2->setTimerType(Qt::PreciseTimer);
    connect(Timer2, &QTimer::timeout, this, &SheetWindow::Timer2_Timer);

    chainTabOrder();
    Combo1->setFocus();
    Form::fitOnScreen(this);

    // Only a return from another window of the program fills the list again: not the closing of
    // a message box or the printer dialog, nor a return from another application.
    connect(&activation, &ActivationWatch::windowActivated, this,
        [this](QWidget *window, QWidget *previous) {
            if (window == this && previous != this)
                Form_Activate();
        });
}

void SheetWindow::buildMonthRows()
{
    const QFont heading = Form::font(9.75, true);
    Form::label(this, QStringLiteral("Label3"), QStringLiteral("Subscription"), 360, 120, heading);
    Form::label(this, QStringLiteral("Label4"), QStringLiteral("Refund"), 2160, 120, heading);
    Form::label(
        this, QStringLiteral("Label5"), QStringLiteral("Withdrawal"), 3600, 120, heading, red);
    Form::label(this, QStringLiteral("Label16"), QStringLiteral("Progressive"), 5280, 120, heading);

    int top = 480;
    for (const MonthRow &month : monthRows) {
        QGroupBox *frame
            = addFrame(this, month.frame, QString::fromUtf16(month.name), 240, top, 6615, 615);
        addBox(frame, month.subscription, 120, 240, 1215, 285);
        addBox(frame, month.refund, 1560, 240, 1455, 285);
        addBox(frame, month.withdrawal, 3240, 240, 1455, 285);
        addBox(frame, month.balance, 4920, 240, 1455, 285);
        top += 840;
    }
}

void SheetWindow::buildYearAndRate()
{
    // Each label names its box for a screen reader, beside the box's own name.
    QLabel *yearLabel
        = Form::label(this, QStringLiteral("Label1"), QStringLiteral("YEAR"), 8400, 420, font());
    Combo1 = new ChoiceComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setAccessibleName(QStringLiteral("Year list"));
    Form::place(Combo1, 9360, 360, 1335, 315);
    yearLabel->setBuddy(Combo1);
    connect(Combo1, &ChoiceComboBox::chosen, this, &SheetWindow::Combo1_Click);

    QLabel *rateLabel = Form::label(
        this, QStringLiteral("Label2"), QStringLiteral("Rate of Interest"), 8040, 885, font());
    QLineEdit *rate = addBox(this, Box::rate, 9360, 840, 1335, 285);
    rateLabel->setBuddy(rate);
    rate->setFont(Form::font(9.75, true));
    rate->setAlignment(Qt::AlignCenter);
    QPalette palette = rate->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, Qt::white);
    rate->setPalette(palette);
    Form::setTextColour(rate, red);
    Form::label(
        this, QStringLiteral("Label14"), QStringLiteral("%"), 10800, 832, Form::font(12, true));

    QGroupBox *selected
        = addFrame(this, 13, QStringLiteral("You have selected"), 11520, 240, 2415, 735);
    QLineEdit *year = addBox(selected, Box::year, 120, 240, 2175, 375);
    year->setFont(Form::font(13.5, true));
    year->setAlignment(Qt::AlignCenter);
    Form::setTextColour(year, QColor(255, 0, 255));

    QLabel *openingLabel = Form::label(this, QStringLiteral("Label6"),
        QStringLiteral("Enter Opening Balance"), 7560, 1470, font());
    QLineEdit *opening = addBox(this, Box::openingBalance, 9360, 1320, 4335, 495);
    openingLabel->setBuddy(opening);
    opening->setFont(Form::font(13.5, true));
    Form::setTextColour(opening, red);
}

void SheetWindow::buildSummary()
{
    const QColor highlightText = palette().color(QPalette::HighlightedText);
    const QFont plain = font();
    const QFont bold12 = Form::font(12, true);

    QGroupBox *summary = addFrame(this, 14, QStringLiteral("SUMMARY"), 8040, 2040, 6615, 5655);
    Form::setBackground(summary, Qt::black);
    Form::setCaptionColour(summary, red);
    summary->setFont(bold12);
    QGroupBox *credits
        = addFrame(summary, 15, QStringLiteral("(Subscription + Refund)"), 240, 1080, 6135, 2055);
    Form::setBackground(credits, Qt::black);
    Form::setCaptionColour(credits, highlightText);
    credits->setFont(Form::font(9.75, true));

    struct SummaryRow
    {
        QGroupBox *frame;
        const char16_t *label;
        const char16_t *caption;
        int labelLeft, labelTop;
        QFont labelFont;
        QColor colour;
        int box, boxLeft, boxTop, boxHeight;
        QFont boxFont;
    };
    const SummaryRow rows[] = {
        {summary, u"Label7", u"Opening Balance :", 480, 570, plain, highlightText,
            Box::summaryOpening, 3240, 480, 375, plain},
        {credits, u"Label8", u"Subscription :", 240, 405, plain, highlightText,
            Box::subscriptionTotal, 3000, 360, 285, plain},
        {credits, u"Label9", u"Refund :", 240, 885, plain, highlightText, Box::refundTotal, 3000,
            840, 285, plain},
        {credits, u"Label10", u"Total : (CREDITS)", 240, 1605, bold12, QColor(0, 192, 0),
            Box::totalCredits, 3000, 1560, 285, plain},
        {summary, u"Label11", u"Interest :-", 480, 3525, plain, highlightText, Box::interest, 3240,
            3480, 285, plain},
        {summary, u"Label12", u"DEBITS :-", 480, 3990, bold12, red, Box::debits, 3240, 3960, 360,
            bold12},
        {summary, u"Label13", u"Closing Balance :-", 480, 4597, bold12, highlightText,
            Box::closingBalance, 3240, 4560, 375, bold12},
    };
    for (const SummaryRow &row : rows) {
        QLabel *label
            = Form::label(row.frame, QString::fromUtf16(row.label), QString::fromUtf16(row.caption),
                row.labelLeft, row.labelTop, row.labelFont, row.colour);
        Form::setBackground(label, Qt::black);
        QLineEdit *box = addBox(row.frame, row.box, row.boxLeft, row.boxTop, 2895, row.boxHeight);
        box->setFont(row.boxFont);
        label->setBuddy(box);
    }
    // The debits label is drawn in the disabled style.
    summary->findChild<QLabel *>(QStringLiteral("Label12"))->setEnabled(false);
    Form::line(credits, QStringLiteral("Line1"), 0, 1320, 6120, 1320, QColor(255, 128, 0));
}

void SheetWindow::buildButtons()
{
    Command1 = addButton(QStringLiteral("Command1"), QStringLiteral("&Calculate"),
        QStringLiteral("calculate"), 8040, 7920, 1335);
    Command4 = addButton(QStringLiteral("Command4"), QStringLiteral("&Save"),
        QStringLiteral("save"), 9720, 7920, 1335);
    Command2 = addButton(QStringLiteral("Command2"), QStringLiteral("C&lear"),
        QStringLiteral("clear"), 11640, 7920, 1335);
    Command3 = addButton(QStringLiteral("Command3"), QStringLiteral("&View/Print"),
        QStringLiteral("print"), 13320, 7920, 1335);
    Command5 = addButton(QStringLiteral("Command5"), QStringLiteral("&Exit"),
        QStringLiteral("exit"), 10200, 9120, 2295);
    Command4->setEnabled(false);

    connect(Command1, &QToolButton::clicked, this, &SheetWindow::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &SheetWindow::Command2_Click);
    connect(Command3, &QToolButton::clicked, this, &SheetWindow::Command3_Click);
    connect(Command5, &QToolButton::clicked, this, &SheetWindow::Command5_Click);
}

QLineEdit *SheetWindow::addBox(
    QWidget *container, int box, int left, int top, int width, int height)
{
    auto *edit = new QLineEdit(container);
    edit->setObjectName(textName(box));
    edit->setAccessibleName(boxName(box));
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setEnabled(isInputBox(box));
    if (!edit->isEnabled()) {
        // Results are drawn in the disabled style, dark enough to read at a glance.
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(72, 72, 72));
        edit->setPalette(palette);
    }
    Form::place(edit, left, top, width, height);
    m_boxes[box] = edit;
    return edit;
}

QToolButton *SheetWindow::addButton(
    const QString &name, const QString &caption, const QString &icon, int left, int top, int width)
{
    auto *button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(caption);
    button->setAccessibleName(QString(caption).remove(u'&'));
    button->setIcon(QIcon(QStringLiteral(":/images/%1.png").arg(icon)));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setCursor(pointerImage(QStringLiteral("button")));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, buttonColour);
    button->setPalette(palette);
    Form::place(button, left, top, width, 855);
    return button;
}

void SheetWindow::chainTabOrder()
{
    // The opening balance comes after "Calculate", not before the months.
    QList<QWidget *> order {Combo1};
    for (const MonthRow &month : monthRows) {
        order << m_boxes[month.subscription] << m_boxes[month.refund] << m_boxes[month.withdrawal];
    }
    order << Command1 << m_boxes[Box::openingBalance] << Command2 << Command3 << Command5;
    Form::chainTabOrder(order);
}

SheetTexts SheetWindow::readBoxes() const
{
    SheetTexts texts;
    for (int box = firstBox; box <= lastBox; ++box)
        texts[box] = m_boxes[box]->text();
    return texts;
}

void SheetWindow::writeResults(const SheetTexts &texts)
{
    for (int box = firstBox; box <= lastBox; ++box) {
        if (m_boxes[box]->text() != texts[box])
            m_boxes[box]->setText(texts[box]);
    }
}

void SheetWindow::markPartlyRead(const SheetTexts &texts)
{
    for (const PartReading &part : partlyRead(texts)) {
        QLineEdit *box = m_boxes[part.box];
        const QString read = QStringLiteral("read as %1").arg(numberText(part.value));
        if (box->accessibleDescription() == read)
            continue;
        unmark(box);
        // Inside the box, where the eye is, and gone as soon as the text changes.
        QAction *mark = box->addAction(
            style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::LeadingPosition);
        mark->setObjectName(QStringLiteral("partlyRead"));
        mark->setToolTip(QStringLiteral("Only the number at the start of \"%1\" counts: %2.")
                             .arg(box->text(), read));
        box->setToolTip(mark->toolTip());
        box->setAccessibleDescription(read);
        connect(box, &QLineEdit::textChanged, mark, [this, box] { unmark(box); });
    }
}

void SheetWindow::unmark(QLineEdit *box)
{
    delete box->findChild<QAction *>(QStringLiteral("partlyRead"), Qt::FindDirectChildrenOnly);
    box->setToolTip(QString());
    box->setAccessibleDescription(QString());
}

bool SheetWindow::Form_Load()
{
    if (!m_report.openAfresh(this))
        return false;
    TitleBlank = 0;
    Timer1->start();
    Timer2->start();
    return true;
}

void SheetWindow::hideEvent(QHideEvent *event)
{
    // Closing and minimising hide the sheet too.
    m_resting = Timer1->isActive();
    Timer1->stop();
    Timer2->stop();
    QWidget::hideEvent(event);
}

void SheetWindow::showEvent(QShowEvent *event)
{
    if (m_resting) {
        Timer1->start();
        Timer2->start();
        m_resting = false;
    }
    QWidget::showEvent(event);
}

void SheetWindow::Form_Activate()
{
    const std::optional<QList<RateRecord>> rows = m_report.scan(this);
    if (!rows)
        return;
    // The chosen item and the edit field stay as they were, even when the list was empty.
    const int chosen = Combo1->currentIndex();
    const QString shown = Combo1->currentText();
    Combo1->addItems(yearLabels(*rows));  // one batch, so a long table stays quick
    if (Combo1->currentIndex() != chosen) {
        Combo1->setCurrentIndex(chosen);
        Combo1->setEditText(shown);
    }
}

void SheetWindow::Combo1_Click(int index)
{
    // A table that cannot be read leaves the year and its rate as they were, side by side.
    const std::optional<QList<RateRecord>> rows = m_report.scan(this);
    if (!rows)
        return;
    const QString label = Combo1->itemText(index);
    m_boxes[Box::year]->setText(label);
    if (const std::optional<QString> rate = rateTextForLabel(label, *rows))
        m_boxes[Box::rate]->setText(*rate);
}

void SheetWindow::Command1_Click()
{
    SheetTexts texts = readBoxes();
    const std::optional<CalculationFault> fault = calculate(texts);
    writeResults(texts);
    markPartlyRead(texts);
    if (fault) {
        m_messages.critical(this,
            QStringLiteral("%1 could not be calculated because a number is too large.")
                .arg(boxName(fault->box)),
            QStringLiteral("Calculation"));
    }
}

void SheetWindow::Command2_Click()
{
    for (int box = firstBox; box <= lastBox; ++box)
        m_boxes[box]->clear();
    Combo1->setFocus();
}

void SheetWindow::Command3_Click()
{
    // The whole sheet, also where it scrolls inside a small screen.
    const PrinterDialog::Printout printout
        = m_printer.print(Form::formOf(this), QStringLiteral("ZEL Calculation - Interest sheet"));
    if (printout.outcome == PrinterDialog::Failed) {
        m_messages.critical(this,
            QStringLiteral("The sheet could not be printed: %1").arg(printout.failure),
            QStringLiteral("View/Print"));
    }
}

void SheetWindow::Command5_Click()
{
    close();
}

void SheetWindow::Timer1_Timer()
{
    if (TitleBlank == 0) {
        setWindowTitle(QString());
        // The desktop shows the program's name for an empty title; a blank is what it shows as
        // nothing, while the window's own title stays the empty text.
        if (QWindow *window = windowHandle())
            window->setTitle(QStringLiteral(" "));
        TitleBlank = 1;
    } else {
        setWindowTitle(QStringLiteral("INSTANT ZEL CALCULATION"));
        TitleBlank = 0;
    }
}

void SheetWindow::Timer2_Timer()
{
    Label15->setText(m_marquee.MarqueeText(creditsText, creditsWidth));
}

void SheetWindow::Image1_Click()
{
    m_messages.plain(this,
        QStringLiteral("ZEL Calculation 1.0, 2003\r\nQuestions and suggestions: "
                       "help@zel-calculation.example"),
        QStringLiteral("HELP"));
}
