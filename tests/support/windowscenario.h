#pragma once

#include "marqueelabel.h"
#include "sheetwindow.h"
#include "testprogram.h"

#include <QAction>
#include <QDialog>
#include <QHash>

using namespace Qt::StringLiterals;

// What a user, and the world around the program, does in its windows, and what they then show.
// Controls are found by the names a screen reader reads, or by their object names. The steps,
// separated by '|':
//   open sheet, open rates   opens the window as its menu item does, or brings it to the front
//                            ("not opened" when it stays shut); close closes it
//   Opening balance=100      types into the box or list so named, its text replaced
//   Opening balance, O.K     gives the control the focus, or presses the button
//   View/Print=2             presses it, the printer dialog answering 0 printed, 1 cancelled,
//                            2 failed
//   Alt+C, Down, F1          keys pressed where the focus is
//   ?                        what changed since the window's last look: the messages shown (PATH
//                            for the table's path), then the focus and each named box, list and
//                            button as name=text [mark's tool tip] and what a screen reader reads
//                            about it, a list's entries, the state (disabled, hidden); then the
//                            printouts ("nothing new")
//   rows                     the rows of the table on disk
//   table=SQL                runs the statement on the table file, "table on ask=SQL" while the
//                            next message is open
//   move, restore            the table file taken away, and put back
//   answer No                the next question is answered No (else Yes, or OK)
//   window, dialog           activates another window of the program, or a dialog of the
//                            window's own, and then the window again
//   tick                     ticks the sheet title's timer by hand: the sheet's title / the
//                            desktop's
//   hide, show, showMinimized, showNormal    as the window manager does
//   wait                     until the sheet's title and credits line both move, a second at most:
//                            "moving", "resting" (neither) or "one moving"
class WindowScenario
{
public:
    explicit WindowScenario(TestProgram &program)
        : m(program)
    {
    }

    // Takes the steps in the window given, or in the one a step opens; what the looks and the
    // steps that report saw, with the program's folder written as FOLDER.
    QStringList run(const QString &steps, QWidget *start = nullptr)
    {
        window = start;
        QStringList seen;
        for (const QString &step : steps.split(u'|', Qt::SkipEmptyParts))
            take(step, seen);
        return seen.join(u'\n').replace(m.folder.path(), u"FOLDER"_s).split(u'\n');
    }

private:
    // The window as it stands: the focus, then each named box, list and button with its text,
    // what marks it and what a screen reader reads about it.
    QStringList lookAt() const
    {
        if (!window)
            return {};
        const QWidget *focus = QApplication::focusWidget();
        QStringList now {u"focus "_s + (focus ? focus->accessibleName() : QString())};
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            const QString name = widget->accessibleName();
            QString line;
            if (auto *box = qobject_cast<QLineEdit *>(widget)) {
                line = name + u'=' + box->text();
                for (const QAction *mark : box->actions())
                    line += u" [%1]"_s.arg(mark->icon().isNull() ? u"no icon"_s : mark->toolTip());
            } else if (auto *list = qobject_cast<QComboBox *>(widget)) {
                line = name + u'=' + list->currentText();
                QStringList items;
                for (int item = 0; item < list->count(); ++item)
                    items << list->itemText(item);
                now << name + u" lists "_s + items.join(u' ');
            } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                line = u"button "_s + button->text();
            }
            if (name.isEmpty() || line.isEmpty())
                continue;
            line += widget->isEnabled() ? QString() : u" disabled"_s;
            line += widget->isVisibleTo(window) ? QString() : u" hidden"_s;
            now << (line + u' ' + widget->accessibleDescription()).trimmed();
        }
        return now;
    }

    // What changed in the window since the last look: the messages shown, the lines of lookAt()
    // that are new, and the printouts; "nothing new" when nothing did.
    QStringList look()
    {
        const QStringList now = lookAt();
        QStringList out = std::exchange(m.messages.shown, {});
        out.replaceInStrings(m.table, u"PATH"_s);
        std::ranges::copy_if(now, std::back_inserter(out),
            [was = std::exchange(last[window], now)](auto l) { return !was.contains(l); });
        for (const auto &[printed, name] : std::exchange(m.printer.printed, {}))
            out << u"printed %1 as %2"_s.arg(printed->objectName(), name);
        return out.isEmpty() ? QStringList {u"nothing new"_s} : out;
    }

    // Takes one step, adding what it reports to what was seen.
    void take(const QString &step, QStringList &seen)
    {
        const QString name = step.section(u'=', 0, 0), text = step.section(u'=', 1);
        QWidget *control = nullptr;  // the one a screen reader names as the step does
        for (QWidget *widget : window ? window->findChildren<QWidget *>() : QWidgetList())
            control = widget->accessibleName() == name || widget->objectName() == name ? widget
                                                                                       : control;
        if (step == u"?") {
            seen << look();
        } else if (step.startsWith(u"open ")) {
            window = (step == u"open sheet" ? m.program.sheet() : m.program.rateWindow()).open();
            if (!window) {
                seen << u"not opened"_s;
                return;
            }
            QVERIFY(QTest::qWaitForWindowActive(window));
            if (!last.contains(window))
                last[window] = lookAt();  // what a window shows as it opens is views_test's
        } else if (step == u"close") {
            last.remove(window);
            delete window;
        } else if (step == u"rows") {
            seen << u"rows "_s + RateTableFile::text(m.table);
        } else if (step.startsWith(u"table=")) {
            QVERIFY(RateTableFile::exec(m.table, {text}));
        } else if (step.startsWith(u"table on ask=")) {  // while the next question is open
            m.messages.onShow = [this, text] {
                RateTableFile::exec(m.table, {text});
                m.messages.onShow = {};
            };
        } else if (step == u"move" || step == u"restore") {
            const QString aside = m.folder.filePath(u"aside.mdb"_s);
            QVERIFY(
                step == u"move" ? QFile::rename(m.table, aside) : QFile::rename(aside, m.table));
        } else if (step == u"answer No") {
            m.messages.answers << MessageBox::Answer::No;
        } else if (step == u"tick") {
            qobject_cast<SheetWindow *>(window)->Timer1_Timer();
            seen << window->windowTitle() + u'/' + window->windowHandle()->title();
        } else if (step == u"wait") {
            // Until the title and the credits line move, a second at most: the line as drawn on
            // the screen, not only its text.
            const QRect line = window->findChild<MarqueeLabel *>()->geometry();
            const auto shown = [&] {
                return std::pair(window->windowTitle(),
                    window->screen()
                        ->grabWindow(
                            window->winId(), line.x(), line.y(), line.width(), line.height())
                        .toImage());
            };
            QTest::qWait(50);  // for what the last frame still owes the screen
            const auto was = shown();
            const bool both = QTest::qWaitFor(
                [&] { return shown().first != was.first && shown().second != was.second; }, 1000);
            seen << (both ? u"moving"_s : shown() == was ? u"resting"_s : u"one moving"_s);
        } else if (window->metaObject()->indexOfSlot(qPrintable(step + u"()"_s)) >= 0) {
            QMetaObject::invokeMethod(window, qPrintable(step));  // hide, showMinimized, ...
            QTest::qWait(20);
        } else if (step == u"window" || step == u"dialog") {
            QWidget other;  // another window of the program
            QDialog dialog(window);
            for (QWidget *shown : QWidgetList {step == u"dialog" ? &dialog : &other, window}) {
                shown->show();
                shown->activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), shown);
            }
        } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            m.printer.outcome = PrinterDialog::Outcome(text.toInt());
            button->click();
        } else if (control) {  // typing replaces the text
            control->setFocus();
            QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
            if (step.contains(u'='))
                QTest::keyClick(control, Qt::Key_Backspace);
            QTest::keyClicks(control, text);
        } else {
            QVERIFY2(!QKeySequence(step).isEmpty(), qPrintable(step));
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(step));
            QTest::qWait(step.startsWith(u"Alt+") ? 300 : 0);  // an access key clicks later
        }
    }

    TestProgram &m;
    QPointer<QWidget> window;
    QHash<QWidget *, QStringList> last;  // each window at its last look
};
