#pragma once

// The interest sheet is a fixed set of 58 numbered text boxes (Text1 .. Text58). The sheet holds no
// data besides their texts: the calculation works on a copy of those texts (SheetTexts), and the
// window only copies texts in and out. This header says which box is which.

#include <QString>

#include <array>

// The texts of the sheet's boxes, indexed by box number; index 0 is unused.
using SheetTexts = std::array<QString, 59>;

inline constexpr int firstBox = 1;
inline constexpr int lastBox = 58;

struct MonthRow
{
    const char16_t *name;
    int frame;         // FrameN that holds the row
    int subscription;  // input: credit paid in this month
    int refund;        // input: the other credit paid in this month
    int withdrawal;    // input: amount taken out this month
    int balance;       // result: balance at the end of the month
};

// April to March, in the order the balance carries from month to month.
inline constexpr std::array<MonthRow, 12> monthRows = {{
    {u"April", 1, 1, 3, 4, 47},
    {u"May", 3, 8, 9, 10, 48},
    {u"June", 4, 11, 12, 13, 49},
    {u"July", 5, 14, 15, 16, 50},
    {u"August", 6, 17, 18, 19, 51},
    {u"September", 7, 20, 21, 22, 52},
    {u"October", 8, 23, 24, 25, 53},
    {u"November", 9, 26, 27, 28, 54},
    {u"December", 10, 29, 30, 31, 55},
    {u"January", 11, 32, 33, 34, 56},
    {u"February", 12, 35, 36, 37, 57},
    {u"March", 2, 5, 6, 7, 58},
}};

namespace Box {
inline constexpr int rate = 2;             // rate of interest of the chosen year, percent a year
inline constexpr int year = 38;            // year label of the chosen year
inline constexpr int openingBalance = 39;  // balance at the start of April, typed by the user
inline constexpr int subscriptionTotal = 40;
inline constexpr int refundTotal = 41;
inline constexpr int totalCredits = 42;
inline constexpr int summaryOpening = 43;  // the opening balance as it was read
inline constexpr int interest = 44;        // a whole number
inline constexpr int debits = 45;
inline constexpr int closingBalance = 46;
}  // namespace Box

// The result boxes in the order the calculation writes them: the twelve balances, then the
// summary from the opening balance to the closing balance.
inline constexpr std::array<int, 19> resultBoxes = {monthRows[0].balance, monthRows[1].balance,
    monthRows[2].balance, monthRows[3].balance, monthRows[4].balance, monthRows[5].balance,
    monthRows[6].balance, monthRows[7].balance, monthRows[8].balance, monthRows[9].balance,
    monthRows[10].balance, monthRows[11].balance, Box::summaryOpening, Box::subscriptionTotal,
    Box::refundTotal, Box::totalCredits, Box::interest, Box::debits, Box::closingBalance};

// True for the boxes the user types into; all others are written by the program only.
bool isInputBox(int box);

// What a screen reader says for a box: "April subscription", "Closing balance", ...
QString boxName(int box);
