// The checks of a report's identity as the user types it: provider number,
// fiscal-year dates and facility name. The new-report dialog and the
// provider-information dialog share them; only the provider-number rule
// differs between the two. Each check takes the box's text and gives back
// nothing (accepted) or the refusal exactly as the user is to see it.
#pragma once

#include <optional>
#include <string>

#include "platform/value/value.h"

namespace vt {

// Which dialog is checking: frmCreateNewCRF or frmCRFEditKey.
enum class IdentityDialog { NewCrf, EditKey };

// The box a refusal sends the user back to.
enum class IdentityField { None, ProviderNum, FYStart, FYEnd, FacilityName };

// The four identity boxes as typed (the form number is not the user's to change).
struct IdentityEntries {
    std::string txtProviderNum;
    std::string txtFYStart;
    std::string txtFYEnd;
    std::string txtFacilityName;
};

struct Refusal {
    IdentityField field = IdentityField::None;
    std::string prompt;
    int buttons = 0;
    std::string title;  // "" = the program's title
    bool plainBox = false;  // a plain message box rather than Show_Message
};
using FieldCheck = std::optional<Refusal>;  // nullopt = accepted

// The earliest fiscal-year end this version accepts, and what the user is
// told about a report ending before it.
DateTime EarliestFYEnd();
bool FYEndTooEarly(DateTime fyEnd);
std::string FYCutoffMessage();
inline constexpr const char* kFYCutoffTitle = "Incorrect Vantrel Version";

// ---- What the boxes do when the focus leaves them ----

// New-report dialog: hyphens out, trimmed, upper case, then the first two
// characters, "-", the rest ("abcdef" -> "AB-CDEF", "" -> "-").
std::string LeaveProviderNumber(const std::string& text);
// A date start is rewritten "mm/dd/yyyy"; a blank end then becomes the day
// before the start's first anniversary.
void LeaveFYStart(std::string& fyStart, std::string& fyEnd);
// A date end is rewritten "mm/dd/yyyy". In the new-report dialog an end before
// the cut-off is told to the user and the result is false: the dialog closes.
bool LeaveFYEnd(std::string& fyEnd, IdentityDialog dialog);

// ---- The checks, in the order the dialogs run them ----

FieldCheck CheckProviderNumber(const std::string& text, IdentityDialog dialog);
// Accepted dates are rewritten "mm/dd/yyyy" in place.
FieldCheck CheckFYStart(std::string& fyStart);
// A blank end is first filled from the start (which must have passed).
FieldCheck CheckFYEnd(std::string& fyEnd, const std::string& fyStart);
FieldCheck CheckFYCutoff(const std::string& fyEnd);
FieldCheck CheckFYOrder(const std::string& fyStart, const std::string& fyEnd);
// More than 365 days from start to end: the user must confirm.
bool SpansMoreThanAYear(const std::string& fyStart, const std::string& fyEnd);
FieldCheck CheckFacilityName(const std::string& text);

// Runs every check in order, rewriting the dates in place. The first refusal
// beeps, is shown, and its box is returned; the span question is asked, and
// No refuses with the start box. IdentityField::None: all accepted.
IdentityField ValidateIdentity(IdentityEntries& entries, IdentityDialog dialog);

}  // namespace vt
