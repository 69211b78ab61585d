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
DateTime Earliest_FY_End();
bool FY_End_Too_Early(DateTime fyEnd);
std::string FY_Cutoff_Message();
inline constexpr const char* kFYCutoffTitle = "Incorrect Vantrel Version";

// ---- What the boxes do when the focus leaves them ----

// New-report dialog: hyphens out, trimmed, upper case, then the first two
// characters, "-", the rest ("abcdef" -> "AB-CDEF", "" -> "-").
std::string Leave_Provider_Number(const std::string& text);
// A date start is rewritten "mm/dd/yyyy"; a blank end then becomes the day
// before the start's first anniversary.
void Leave_FY_Start(std::string& fyStart, std::string& fyEnd);
// A date end is rewritten "mm/dd/yyyy". In the new-report dialog an end before
// the cut-off is told to the user and the result is false: the dialog closes.
bool Leave_FY_End(std::string& fyEnd, IdentityDialog dialog);

// ---- The checks, in the order the dialogs run them ----

FieldCheck Check_Provider_Number(const std::string& text, IdentityDialog dialog);
// Accepted dates are rewritten "mm/dd/yyyy" in place.
FieldCheck Check_FY_Start(std::string& fyStart);
// A blank end is first filled from the start (which must have passed).
FieldCheck Check_FY_End(std::string& fyEnd, const std::string& fyStart);
FieldCheck Check_FY_Cutoff(const std::string& fyEnd);
FieldCheck Check_FY_Order(const std::string& fyStart, const std::string& fyEnd);
// More than 365 days from start to end: the user must confirm.
bool Spans_More_Than_A_Year(const std::string& fyStart, const std::string& fyEnd);
FieldCheck Check_Facility_Name(const std::string& text);

// Runs every check in order, rewriting the dates in place. The first refusal
// beeps, is shown, and its box is returned; the span question is asked, and
// No refuses with the start box. IdentityField::None: all accepted.
IdentityField Validate_Identity(IdentityEntries& entries, IdentityDialog dialog);

}  // namespace vt
