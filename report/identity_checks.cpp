#include "report/identity_checks.h"

#include <cctype>

#include "platform/ui/ui.h"
#include "platform/value/text.h"
#include "print/codepage.h"
#include "report/captions.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

using print::Utf8Left;
using print::Utf8Length;

constexpr int kNameMinimum = 8;
// Master.ProviderName holds no more; a longer name would be cut or refused
// by the database after the dialog had accepted it.
constexpr int kNameMaximum = 36;

const char* const kInvalidProvider = "You have entered an invalid Provider Number!";

int Length(const std::string& text) { return static_cast<int>(Utf8Length(text)); }

// The day before the first anniversary of start (a start on 29 February has
// its anniversary on the 28th); nullopt when the anniversary is past the last
// date a date can hold.
std::optional<DateTime> YearEndFrom(DateTime start) {
    auto next = DateTime::FromParts(start.Year() + 1, start.Month(), start.Day());
    if (!next) next = DateTime::FromParts(start.Year() + 1, start.Month(), 28);
    if (!next) return std::nullopt;
    return DateTime{next->serial - 1};
}

std::optional<DateTime> DateIn(const std::string& text) {
    if (auto d = ParseDate(text)) return d->DateOnly();
    return std::nullopt;
}

// Whole days from start to end, or nullopt when either is no date.
std::optional<double> DaysBetween(const std::string& fyStart, const std::string& fyEnd) {
    auto start = DateIn(fyStart), end = DateIn(fyEnd);
    if (!start || !end) return std::nullopt;
    return end->serial - start->serial;
}

Refusal Refuse(IdentityField field, std::string prompt, std::string title, int buttons = ui::kExclamation) {
    return Refusal{field, std::move(prompt), buttons, std::move(title), false};
}

// A line break or page feed typed into a name would reach every page header.
FieldCheck ControlCharacters(IdentityField field, const std::string& text, const std::string& fieldName) {
    const std::string refusal = TextRefusal(text, std::string::npos, fieldName);
    if (refusal.empty()) return std::nullopt;
    return Refusal{field, refusal, ui::kOkOnly, "", false};
}

}  // namespace

DateTime EarliestFYEnd() { return *DateTime::FromParts(2005, 9, 30); }

bool FYEndTooEarly(DateTime fyEnd) { return fyEnd.DateOnly() < EarliestFYEnd(); }

std::string FYCutoffMessage() {
    return "This version of Vantrel 287 (QSI Version " + App_Version() +
           ") supports CMS Version 287-05 Transmittal #1.  You must use Vantrel 287 Version 2.0.xx to "
           "process a cost report the ends before 9/30/05.";
}

std::string LeaveProviderNumber(const std::string& text) {
    std::string s;
    for (char c : text)
        if (c != '-') s += c;
    s = Upper(Trim(s));
    const std::string head = Utf8Left(s, 2);
    return head + "-" + s.substr(head.size());
}

void LeaveFYStart(std::string& fyStart, std::string& fyEnd) {
    if (fyStart.empty() || !Format_Date_Field(fyStart, false)) return;
    if (!Is_Blank(Value(fyEnd))) return;
    const auto start = DateIn(fyStart);
    const auto end = start ? YearEndFrom(*start) : std::nullopt;
    // Without a year end to offer the box stays empty; Create refuses it then.
    if (end) fyEnd = Format(Value(*end), "mm/dd/yyyy");
}

bool LeaveFYEnd(std::string& fyEnd, IdentityDialog dialog) {
    if (fyEnd.empty() || !Format_Date_Field(fyEnd, false)) return true;
    const auto end = DateIn(fyEnd);
    if (dialog != IdentityDialog::NewCrf || !end || !FYEndTooEarly(*end)) return true;
    Show_Message(FYCutoffMessage(), ui::kInformation, kFYCutoffTitle);
    return false;
}

FieldCheck CheckProviderNumber(const std::string& text, IdentityDialog dialog) {
    if (auto r = ControlCharacters(IdentityField::ProviderNum, text, "Provider Number")) return r;
    const int n = Length(text);
    if (dialog == IdentityDialog::NewCrf) {
        if (n == 6 || n == 7) return std::nullopt;
        return Refusal{IdentityField::ProviderNum,
                       std::string(kInvalidProvider) +
                           "\rProvider number must be 2 characters, followed by three or four characters!",
                       ui::kOkOnly, "", true};
    }
    if (n == 7 && Utf8Left(text, 3) == Utf8Left(text, 2) + "-") return std::nullopt;
    return Refusal{IdentityField::ProviderNum,
                   std::string(kInvalidProvider) +
                       "\rProvider number must be 2 characters, followed by a hyphen(-), followed by 4 characters!",
                   ui::kOkOnly, "", true};
}

FieldCheck CheckFYStart(std::string& fyStart) {
    if (Format_Date_Field(fyStart, false)) return std::nullopt;
    return Refuse(IdentityField::FYStart, "Fiscal Year Start date is not a valid date.  Please (re-)enter one.",
                  "Error: Invalid Fiscal Year Start Date");
}

FieldCheck CheckFYEnd(std::string& fyEnd, const std::string& fyStart) {
    if (Is_Blank(Value(fyEnd))) {
        if (auto start = DateIn(fyStart)) {
            const auto end = YearEndFrom(*start);
            if (!end)
                return Refuse(IdentityField::FYEnd,
                              "The Fiscal Year End a year after this Fiscal Year Start is out of range: the last date "
                              "that can be stored is 12/31/9999.  Please enter one.",
                              "Error: Invalid Fiscal Year End Date");
            fyEnd = Format(Value(*end), "mm/dd/yyyy");
        }
    }
    if (Format_Date_Field(fyEnd, false)) return std::nullopt;
    return Refuse(IdentityField::FYEnd, "Fiscal Year End date is not a valid date.  Please (re-)enter one.",
                  "Error: Invalid Fiscal Year End Date");
}

FieldCheck CheckFYCutoff(const std::string& fyEnd) {
    auto end = DateIn(fyEnd);
    if (end && !FYEndTooEarly(*end)) return std::nullopt;
    return Refuse(IdentityField::FYEnd, FYCutoffMessage(), kFYCutoffTitle, ui::kInformation);
}

FieldCheck CheckFYOrder(const std::string& fyStart, const std::string& fyEnd) {
    auto days = DaysBetween(fyStart, fyEnd);
    if (days && *days > 0) return std::nullopt;
    return Refuse(IdentityField::FYStart, "Invalid sequence of dates -- FY End preceeds FY Start.",
                  "Error: Invalid Dates");
}

bool SpansMoreThanAYear(const std::string& fyStart, const std::string& fyEnd) {
    auto days = DaysBetween(fyStart, fyEnd);
    return days && *days > 365;
}

FieldCheck CheckFacilityName(const std::string& text) {
    if (auto r = ControlCharacters(IdentityField::FacilityName, text, "Facility Name")) return r;
    const int n = Length(text);
    if (n < kNameMinimum)
        return Refuse(IdentityField::FacilityName, "Facility Name must be at least 8 characters.  Please (re-)enter.",
                      "Error: Invalid Facility Name");
    if (n > kNameMaximum)
        return Refuse(IdentityField::FacilityName,
                      "Facility Name may be at most 36 characters long.  Please (re-)enter.",
                      "Error: Invalid Facility Name");
    if (text.find('"') != std::string::npos)
        return Refuse(IdentityField::FacilityName, "The Facility Name cannot contain double quote characters", "",
                      ui::kOkOnly);
    return std::nullopt;
}

IdentityField ValidateIdentity(IdentityEntries& e, IdentityDialog dialog) {
    auto tell = [](const Refusal& r) {
        ui::Ui().Beep();
        if (r.plainBox)
            ui::Ui().MessageBox(r.prompt, r.buttons, r.title);
        else
            Show_Message(r.prompt, r.buttons, r.title);
        return r.field;
    };
    if (auto r = CheckProviderNumber(e.txtProviderNum, dialog)) return tell(*r);
    if (auto r = CheckFYStart(e.txtFYStart)) return tell(*r);
    if (auto r = CheckFYEnd(e.txtFYEnd, e.txtFYStart)) return tell(*r);
    // Before the order and span: an end that will be refused anyway is not
    // worth a question about the span.
    if (auto r = CheckFYCutoff(e.txtFYEnd)) return tell(*r);
    if (auto r = CheckFYOrder(e.txtFYStart, e.txtFYEnd)) return tell(*r);
    if (SpansMoreThanAYear(e.txtFYStart, e.txtFYEnd)) {
        ui::Ui().Beep();
        const int answer = Show_Message(
            "The F/Y Start and F/Y End dates entered span more than one fiscal year.  Click on the 'Yes' button to "
            "verify that this is what you intended.  Or, click on the 'No' button to return to the form to alter one "
            "or both of the dates.",
            ui::kExclamation | ui::kYesNo, "Warning: Dates Span More Than One Fiscal Year");
        if (answer != ui::kYes) return IdentityField::FYStart;
    }
    if (auto r = CheckFacilityName(e.txtFacilityName)) return tell(*r);
    return IdentityField::None;
}

}  // namespace vt
