// The lines of worksheet A: Part I's answers and key officers, and the
// component lines of Parts III (Ap3), IV (Ap4) and V (Ap5), which are also the
// rows of every component sheet (E, E-1, F, F-1, G Part II, H). Adding or
// deleting a component line, or changing a name, number or date that the
// sheets show, is one transaction with its change to the sheets: worksheet A
// and the sheets never disagree after a failure. The worksheet A windows ask
// here what a cell or button allows and call these operations; nothing here
// touches a window.
//
// Messages: the operations tell the user themselves (refusals and failures,
// through Show_Message); a window only reads the result.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/value/value.h"

namespace vt {

// What an operation did. After a done change the windows of every worksheet
// in `changed` re-read their rows (the part itself first).
struct AChange {
    bool done = false;
    std::optional<Currency> line;  // the line to make current: the new line, the line that took a
                                   // deleted number (or the one before), the changed line
    Value stored;                  // field changes: the value now stored (Null when emptied)
    std::string error;             // what was refused or failed, as told to the user
    std::vector<std::string> changed;  // worksheet codes whose tables changed ("Ap3", "E", "H" ...)
};

// ---- Component lines: part is 3, 4 or 5 ----

// Whether a line can be added after `current` (none: the part is empty, or
// the new line goes after its last user line), the number it would get, and
// why not. A line is refused while the part's band in the component sheets
// is full: Part III's lines reach 17.99, Part V's 4.99, or Part IV's user
// lines 8.99 (line 9 "Other Managed Facilities" stays last).
struct ALineOffer {
    bool allowed = false;
    Currency line;       // the new line's number when allowed
    std::string reason;  // why not, for a tooltip or message
};
ALineOffer OfferALine(int part, std::optional<Currency> current);

// Adds a line after `current` (on Part IV's line 9 or with none: after the last
// user line, or line 1). Every later line of the part moves up by .01, across
// whole-number groups, and so does its row in every component sheet, amounts
// and all; the new line is empty in A and 0 in the sheets.
AChange AddALine(int part, std::optional<Currency> current);
// Deletes a line and its rows in the sheets; every later line moves down by .01.
AChange DeleteALine(int part, Currency line);
bool ALineDeletable(int part, Currency line);

// The component lines of Parts III to V, which every component sheet is built
// from, read before the sheets are checked: a line number that is no number,
// missing, held twice or outside its part's lines raises db::DamagedValue
// naming the table, the field and the line, before any sheet is repaired from it.
void RequireSoundALines();

// Whether a cell may be typed in: not the line number, Part V's computed
// amount (Col4) nor the name of Part IV's line 9.
bool AFieldEditable(int part, Currency line, const std::string& field);
// Stores the text typed into one field of a line, after the field's checks;
// the name, Medicare No. and period dates reach the component sheets in the
// same transaction. Texts are refused when longer than their field; Yes/No
// fields take y, yes, n or no in any case and store "Yes" or "No"; dates are
// refused unless they are dates, and an empty cell stores Null.
AChange SetAField(int part, Currency line, const std::string& field, const std::string& text);

// For tests: called after every step of a worksheet A operation with the
// step's name; an exception thrown from it fails the operation there.
void SetAStepHook(std::function<void(const std::string& step)> hook);

// ---- Part I (Ap1) ----

// Lines 1, 2.02, 6.01 and 6.02 carry the report's identity: only the provider
// information dialog changes them.
bool IsAp1IdentityRow(Currency seq);
// Rows 7 and 8 answer from their pick lists; every other row's pick list is empty.
const std::vector<std::string>& Ap1PickList(Currency seq);
// The organisation type code of line 8 (5 for "5 - Voluntary ..."), 0 when none.
int Ap1OrganisationType();
// Whether the answer may be typed: not on the identity rows or the pick-list
// rows, and on 8.01 only while the type is 5, 9 or 15.
bool Ap1InfoEditable(Currency seq);
// Captions, deletion and added rows belong to the key officers, from line 9 up.
bool Ap1OfficerRow(Currency seq);

// A new key-officer line after the last one (9.01 when there is none).
AChange AddAp1Officer();
// Deletes a key-officer line; the later ones move down by .01.
AChange DeleteAp1Officer(Currency seq);
// The answer of a line: line 4 is a date stored as "mm/dd/yyyy" text (empty
// stores Null); lines 7 and 8 take only their pick lists' captions, and a
// type other than 5, 9 or 15 empties 8.01.
AChange SetAp1Info(Currency seq, const std::string& text);
// The caption of a key-officer line.
AChange SetAp1Legend(Currency seq, const std::string& text);

}  // namespace vt
