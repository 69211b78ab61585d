// The user's lines of B-1, C, D Part B, D Part C and I: adding and deleting a
// line and renumbering its neighbours, each as one transaction that checks
// after itself that no line was left out of the way and that the numbering
// runs on without a gap, as the sheet numbers its lines. The editors ask here
// what Add and Delete allow and call these operations; nothing here touches a
// window.
//
// Refusals of B-1, C and D are silent (their buttons are off then); I tells
// why it cannot add. A failure is told to the user and changes nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/value/value.h"

namespace vt {

struct LineChange {
    bool done = false;
    Currency line;      // the line added, or the number deleted
    std::string error;  // what was refused or failed
};

// ---- B-1, D Part B, D Part C ----
// Lines 1, 2, ... up to a last whole line (B-1 and D Part B 99, D Part C 8),
// then its sub-lines .01 to .99, contiguous from 1.

// Whether the sheet has room for one more line.
bool NumberedLineAddable(const std::string& sheet);
// Adds a line right after `current` (a sub-line from the last whole line on),
// or line 1 when there is none; later lines move up. B-1 always adds after
// its last line.
LineChange AddNumberedLine(const std::string& sheet, std::optional<Currency> current);
// Deletes `line` and closes the gap: later whole lines come down by one, the
// sub-lines of the last whole line by .01.
LineChange DeleteNumberedLine(const std::string& sheet, Currency line);

// ---- C ----
// Two bands take the user's lines: 13 with 13.01-13.99, and 21-27 with
// 27.01-27.99.

struct LineRoom {
    bool add = false;
    bool del = false;
};
// What Add and Delete may do on line `at`; nothing outside the bands.
LineRoom CLineRoom(Currency at);
// Whether a line takes a description of the user's.
bool CUserLine(Currency at);
LineChange AddCLine(Currency at);
LineChange DeleteCLine(Currency at);

// ---- I ----
// The items of line 4 from 4.08 on and of line 6 and after take sub-lines
// .01 apart, up to .99.

// Lines after which a line may be added (and which may be renamed).
bool ILineTakesLines(Currency line);
// The user's own lines.
bool ILineDeletable(Currency line);
// Adds a line .01 after `after` (the selected line, or the last line shown
// when none is); the later sub-lines of its whole line move up.
LineChange AddILine(Currency after);
LineChange DeleteILine(Currency line);

// For tests: called after every step of an operation with the step's name;
// an exception thrown from it fails the operation there.
void SetLineStepHook(std::function<void(const std::string& step)> hook);

}  // namespace vt
