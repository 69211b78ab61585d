// The cost-centre list and everything that follows it: adding, restoring,
// deleting and renaming a cost centre, each carried into every worksheet that
// holds cost-centre lines, columns or references, as one transaction. The
// cost-centre windows (editor, new cost-centre dialog, restore list, picker)
// read their numbers and lists from here and call these operations; nothing
// here touches a window.
//
// Messages: the operations tell the user themselves (refusals and failures,
// through Show_Message); a window only reads the result.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/value/value.h"

namespace vt {

// ---- Number sets of the list ----

// The 84 standard cost centres whose name the user may not change.
bool IsCCNameLocked(Currency n);
// Numbers that may not be deleted: 1, 4, 5, 30 and the whole numbers 201-265
// that are account lines of J.
bool IsCCProtected(Currency n);
// Numbers whose deleted row is kept in DeletedCCs so that it can come back:
// 2.01, 5.01, 30.01, 6-32 but 10, and the accounts 201-265 of J's account lines.
bool IsCCRestorable(Currency n);
// The three column labels belong to expense cost centres only.
bool CCLabelsEditable(Currency n);

// The component sheets that hold a column for every cost centre of n's band,
// in the order they are changed: E, Fp1, Fp2, Gp1, Gp2 below 6; E from 6 to
// 9.99; Gp1, Gp2 for 30, 30.01 ...; none otherwise.
std::vector<std::string> CCBandSheets(Currency n);

// Why n cannot be a cost centre of the list ("" when it can): it is no
// two-decimal number above 0, or its line would be a total line of worksheet
// B (3, 6, 10, 36 to 200) or of worksheet J (n - 200 in 10, 29, 38, 39, 49,
// 55, 56, 62, 63, 66, or above 65).
std::string CCNumberRefusal(Currency n);

// ---- Numbers and names typed into the worksheets ----

// A cost-centre number as typed into a worksheet cell: none (blank or 0), a
// cost centre of the list (with its name as the list holds it), or neither,
// for which the cell says "Invalid Cost Center number". Only digits with at
// most one point are a number here: "2,01", "$2", "2e0" and "+2" are not.
struct CcTyped {
    enum Kind { None, Found, Invalid } kind = None;
    Currency number;
    std::string name;
};
CcTyped ReadCCNumber(const std::string& typed);

// ---- What the dialogs list ----

// One number button of the new cost-centre dialog.
struct CcOffer {
    Currency number;
    std::string caption;  // "Add new Cost Center number 2.01"
    bool offered = false;
};
// The dialog at the row of cost centre `current`: the next sub-number and the
// next whole number, each offered only when free and allowed, and whether the
// restore list has anything to offer.
struct CcAddChoices {
    std::array<CcOffer, 2> buttons;
    bool restoreList = false;
    bool Any() const { return buttons[0].offered || buttons[1].offered || restoreList; }
};
CcAddChoices OfferedCCNumbers(Currency current);

// An entry of the restore list or of the picker: "02.01  -  Name".
struct CcListEntry {
    Currency number;
    std::string text;
};
// The saved cost centres that may come back, in number order.
std::vector<CcListEntry> DeletedCCEntries();
// The expense cost centres from 10 up to 200 that are not yet a column of
// sheet (E1 or F1p2), for the picker.
std::vector<CcListEntry> SelectableCCEntries(const std::string& sheet);

// ---- Operations ----

// The worksheet windows a change concerns, by sheet code: `close` lists the
// sheets whose tables gain, lose or renumber columns (their editor and viewer
// windows must be closed, before the change where possible); `setUp` the
// sheets whose windows are laid out afresh ("B" or "J"); every other open
// worksheet window re-reads its rows.
struct CcWindows {
    std::vector<std::string> close;
    std::vector<std::string> setUp;
};

struct CcChange {
    bool done = false;
    Currency number;       // the cost centre added, restored, deleted or renamed
    std::string error;     // what was refused or failed, as told to the user
    CcWindows windows;     // empty unless done
};

// The windows that adding, restoring or deleting n will concern; the same
// list the operation returns, for closing them first.
CcWindows CCWindowsAffected(Currency n);

// A new cost centre n (as the new cost-centre dialog offers it): no name, no
// labels; a line of B or J, its band's columns, Expenses/Col_1 of 0.
CcChange AddCC(Currency n);
// The saved cost centre n back from DeletedCCs; the numbers of its group from
// n up move up by .01 in the list and in every worksheet.
CcChange RestoreCC(Currency n);
// Removes n (saving a restorable number first) from the list, B or J, its
// band's columns and its E-1 and F-1 columns; references to it in B-1, C and
// D Part B are cleared, and the later numbers of its group move down by .01
// everywhere.
CcChange DeleteCC(Currency n);

// What deleting n would lose, for the question asked before it: "" when n
// carries nothing, else a question naming the worksheets where it carries
// figures or lines (B's and J's amounts, lines of B-1, C and D Part B, figures
// typed in its columns of E, E-1, F Part II and F-1). Restoring n brings back
// only its name.
std::string CCDeleteQuestion(Currency n);

// The checks of a new name for cost centre n, each telling its own message;
// false when any refused. Nothing is written.
bool CheckCCName(Currency n, const std::string& name);
// CheckCCName, then the name written to the list and to every worksheet that
// shows it (B, B-1 both sides, C, D Part B, J).
CcChange RenameCC(Currency n, const std::string& name);
// Column label 1, 2 or 3 of an expense cost centre (16 characters at most).
CcChange SetCCLabel(Currency n, int label, const std::string& text);

// For tests: called after every step of an operation with the step's name;
// an exception thrown from it fails the operation there.
void SetCCStepHook(std::function<void(const std::string& step)> hook);

}  // namespace vt
