// The identity checks both dialogs share: one table of inputs and outcomes
// per check, then the order in which ValidateIdentity runs them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/ui.h"
#include "report/captions.h"
#include "report/identity_checks.h"
#include "store/services.h"
#include "tests/support/scripted_ui.h"

namespace vt {
namespace {

using test::ScriptedUi;

const std::string kNewCrfProviderMessage =
    "You have entered an invalid Provider Number!\r"
    "Provider number must be 2 characters, followed by three or four characters!";
const std::string kEditKeyProviderMessage =
    "You have entered an invalid Provider Number!\r"
    "Provider number must be 2 characters, followed by a hyphen(-), followed by 4 characters!";

TEST(IdentityChecks, ProviderBoxLeaveRule) {
    const struct {
        const char* typed;
        const char* becomes;
    } cases[] = {
        {"abcdef", "AB-CDEF"}, {"abcde", "AB-CDE"},     {"12-345", "12-345"},     {"", "-"},
        {"1-2345", "12-345"},  {" ab-c-de ", "AB-CDE"}, {"abcdefg", "AB-CDEFG"}, {"a", "A-"},
        {"ab", "AB-"},         {"12-3456", "12-3456"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LeaveProviderNumber(c.typed), c.becomes) << c.typed;
        // Leaving the box again changes nothing: Create runs the rule once more.
        EXPECT_EQ(LeaveProviderNumber(c.becomes), c.becomes) << c.typed;
    }
}

TEST(IdentityChecks, ProviderNumberRuleDiffersByDialog) {
    const std::string control = "The Provider Number may not contain control characters (such as tabs or line breaks).";
    const struct {
        const char* text;
        bool newCrf, editKey;
    } cases[] = {
        {"AB-CDE", true, false},    {"AB-CDEF", true, true},     {"12-3456", true, true},
        {"AB-CDEFG", false, false}, {"AB-CD", false, false},     {"1234567", true, false},
        {"123-456", true, false},   {"123456", true, false},     {"", false, false},
        {"AB-\f\x02" "CD", false, false},  // a control character is refused whatever its length
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const bool controls = std::string(c.text).find('\f') != std::string::npos;
        for (auto [dialog, accepted, prompt] : {std::tuple(IdentityDialog::NewCrf, c.newCrf, kNewCrfProviderMessage),
                                                std::tuple(IdentityDialog::EditKey, c.editKey, kEditKeyProviderMessage)}) {
            auto r = CheckProviderNumber(c.text, dialog);
            EXPECT_EQ(!r, accepted);
            if (r) {
                EXPECT_EQ(std::tie(r->prompt, r->field), std::tuple(controls ? control : prompt, IdentityField::ProviderNum));
            }
            if (r && !controls) {
                EXPECT_TRUE(r->plainBox);
            }
        }
    }
}

// A refusal as prompt, title, buttons and field.
auto Told(const FieldCheck& r) {
    return r ? std::tuple(r->prompt, r->title, r->buttons, r->field) : std::tuple(std::string(), std::string(), 0, IdentityField::None);
}

TEST(IdentityChecks, FiscalYearStartIsRewrittenOrRefused) {
    const struct {
        const char* typed;
        const char* becomes;  // nullptr: refused
    } cases[] = {
        {"10/1/2004", "10/01/2004"}, {"Dec 31, 2005", "12/31/2005"}, {"2006-01-01", "01/01/2006"},
        {"1/1/06", "01/01/2006"},    {"", nullptr},                  {"13/45/2005", nullptr},
        {"abc", nullptr},            {"2/30/2005", nullptr},
    };
    const auto refused = std::tuple(std::string("Fiscal Year Start date is not a valid date.  Please (re-)enter one."),
                                    std::string("Error: Invalid Fiscal Year Start Date"), int(ui::kExclamation), IdentityField::FYStart);
    for (const auto& c : cases) {
        std::string text = c.typed;
        EXPECT_EQ(Told(CheckFYStart(text)), c.becomes ? Told(std::nullopt) : refused) << c.typed;
        EXPECT_EQ(text, c.becomes ? c.becomes : c.typed);
    }
}

TEST(IdentityChecks, BlankEndIsTheDayBeforeTheStartsAnniversary) {
    const struct {
        const char *start, *end, *startAfter, *endAfter;
    } cases[] = {
        {"10/1/2004", "", "10/01/2004", "09/30/2005"},
        {"10/1/2004", "   ", "10/01/2004", "09/30/2005"},
        {"2/29/2008", "", "02/29/2008", "02/27/2009"},
        {"1/1/2006", "6/30/2006", "01/01/2006", "6/30/2006"},  // an end typed stays as typed
        {"soon", "", "soon", ""},
    };
    for (const auto& c : cases) {
        std::string start = c.start, end = c.end;
        LeaveFYStart(start, end);
        EXPECT_EQ(std::tie(start, end), std::tuple(c.startAfter, c.endAfter)) << c.start;
        // Create fills the same way.
        start = c.start;
        end = c.end;
        if (!CheckFYStart(start) && Is_Blank(Value(c.end))) {
            EXPECT_FALSE(CheckFYEnd(end, start)) << c.start;
            EXPECT_EQ(end, c.endAfter);
        }
    }
    // A year after a start in the last year that dates reach is no date.
    std::string start = "01/01/9999", end;
    LeaveFYStart(start, end);
    EXPECT_EQ(end, "");
    auto late = CheckFYEnd(end, start);
    ASSERT_TRUE(late);
    EXPECT_NE(late->prompt.find("out of range"), std::string::npos) << late->prompt;
    EXPECT_EQ(late->field, IdentityField::FYEnd);

    end = "someday";
    auto r = CheckFYEnd(end, "01/01/2006");
    ASSERT_TRUE(r);
    EXPECT_EQ(std::tie(r->prompt, r->title, r->field),
              std::tuple("Fiscal Year End date is not a valid date.  Please (re-)enter one.", "Error: Invalid Fiscal Year End Date", IdentityField::FYEnd));
}

TEST(IdentityChecks, FiscalYearCutOff) {
    const std::string message = "This version of Vantrel 287 (QSI Version " + App_Version() +
                                ") supports CMS Version 287-05 Transmittal #1.  You must use Vantrel 287 Version "
                                "2.0.xx to process a cost report the ends before 9/30/05.";
    EXPECT_EQ(FYCutoffMessage(), message);
    const auto refused = std::tuple(message, std::string("Incorrect Vantrel Version"), int(ui::kInformation), IdentityField::FYEnd);
    for (auto [end, accepted] : {std::pair{"09/30/2005", true}, {"09/29/2005", false}, {"12/31/2004", false}, {"10/01/2005", true}})
        EXPECT_EQ(Told(CheckFYCutoff(end)), accepted ? Told(std::nullopt) : refused) << end;
}

TEST(IdentityChecks, LeavingAnEarlyEndClosesOnlyTheNewReportDialog) {
    ScriptedUi ui;
    std::string end = "9/29/2005";
    ui.ExpectMessage();
    EXPECT_FALSE(LeaveFYEnd(end, IdentityDialog::NewCrf));
    EXPECT_EQ(end, "09/29/2005");
    EXPECT_EQ(ui.Messages(), (test::Shown{{FYCutoffMessage(), ui::kInformation, "Incorrect Vantrel Version"}}));

    end = "9/29/2005";
    EXPECT_TRUE(LeaveFYEnd(end, IdentityDialog::EditKey));
    EXPECT_EQ(end, "09/29/2005");
    end = "9/30/2005";
    EXPECT_TRUE(LeaveFYEnd(end, IdentityDialog::NewCrf));
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST(IdentityChecks, DateOrderAndSpan) {
    const struct {
        const char* start;
        const char* end;
        bool ordered, spans;
    } cases[] = {
        {"01/01/2005", "01/01/2006", true, false},  // 365 days
        {"01/01/2005", "01/02/2006", true, true},
        {"01/01/2004", "12/31/2004", true, false},  // leap year, 365 days
        {"01/01/2004", "01/01/2005", true, true},   // 366 days
        {"01/01/2006", "01/01/2006", false, false},
        {"01/02/2006", "01/01/2006", false, false},
        {"01/01/2006", "01/02/2006", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.end);
        auto r = CheckFYOrder(c.start, c.end);
        EXPECT_EQ(SpansMoreThanAYear(c.start, c.end), c.spans);
        EXPECT_EQ(!r, c.ordered);
        if (r) {
            EXPECT_EQ(std::tie(r->prompt, r->title, r->field),
                      std::tuple("Invalid sequence of dates -- FY End preceeds FY Start.", "Error: Invalid Dates", IdentityField::FYStart));
        }
    }
}

TEST(IdentityChecks, FacilityName) {
    const std::string tooShort = "Facility Name must be at least 8 characters.  Please (re-)enter.";
    const std::string tooLong = "Facility Name may be at most 36 characters long.  Please (re-)enter.";
    const std::string quote = "The Facility Name cannot contain double quote characters";
    std::string umlauts;
    for (int i = 0; i < 36; ++i) umlauts += "\xC3\x9C";  // 36 characters, 72 bytes
    const struct {
        std::string name;
        std::string refusal;  // "" accepted
    } cases[] = {
        {"Seven c", tooShort},
        {"Eight ch", ""},
        {std::string(36, 'x'), ""},
        {std::string(37, 'x'), tooLong},
        {umlauts, ""},
        {"The \"Best\" Home", quote},
        {"O'Brien Home Office", ""},
        {"", tooShort},
        {"Home\r\nOffice", "The Facility Name may not contain control characters (such as tabs or line breaks)."},
    };
    for (const auto& c : cases) {
        auto r = CheckFacilityName(c.name);
        EXPECT_EQ(r ? r->prompt : "", c.refusal) << c.name;
        if (r) {
            EXPECT_EQ(r->field, IdentityField::FacilityName);
        }
        if (r && c.refusal == quote) {
            EXPECT_EQ(std::tie(r->title, r->buttons), std::tuple("", ui::kOkOnly));
        }
    }
}

// Every box wrong: each correction brings up the next check, in the dialog's
// order, with one beep per refusal.
TEST(IdentityChecks, ValidateRunsTheChecksInOrder) {
    ScriptedUi ui;
    IdentityEntries e{"AB-CD", "never", "", "Short"};
    std::vector<IdentityField> refusals;
    auto step = [&] {
        ui.ExpectMessage();
        refusals.push_back(ValidateIdentity(e, IdentityDialog::NewCrf));
    };
    step();
    e.txtProviderNum = "AB-CDE";
    step();
    e.txtFYStart = "1/1/2005";
    e.txtFYEnd = "later";
    step();
    e.txtFYEnd = "9/29/2005";
    step();
    e.txtFYEnd = "12/31/2004";
    e.txtFYStart = "1/1/2006";
    step();  // still before the cut-off: the end is refused before the order
    e.txtFYEnd = "12/31/2005";
    step();
    e.txtFYStart = "1/1/2005";
    e.txtFYEnd = "1/2/2006";
    ui.ExpectMessage(ui::kNo);
    refusals.push_back(ValidateIdentity(e, IdentityDialog::NewCrf));
    ui.ExpectMessage(ui::kYes);
    step();
    e.txtFacilityName = "Longer Home Office";
    ui.ExpectMessage(ui::kYes);
    EXPECT_EQ(ValidateIdentity(e, IdentityDialog::NewCrf), IdentityField::None);

    EXPECT_EQ(refusals, (std::vector<IdentityField>{IdentityField::ProviderNum, IdentityField::FYStart,
                                                    IdentityField::FYEnd, IdentityField::FYEnd, IdentityField::FYEnd,
                                                    IdentityField::FYStart, IdentityField::FYStart,
                                                    IdentityField::FacilityName}));
    const auto& m = ui.Messages();
    ASSERT_EQ(m.size(), 10u);
    EXPECT_EQ(m[0].prompt, kNewCrfProviderMessage);
    EXPECT_EQ(std::tie(m[3].title, m[4].title, m[5].title, m[6].title),
              std::tuple("Incorrect Vantrel Version", "Incorrect Vantrel Version", "Error: Invalid Dates",
                         "Warning: Dates Span More Than One Fiscal Year"));
    EXPECT_EQ(m[6].style, ui::kExclamation | ui::kYesNo);
    EXPECT_EQ(m[8].prompt, "Facility Name must be at least 8 characters.  Please (re-)enter.");
    EXPECT_EQ(ui.Beeps(), 10);
    // The accepted dates stand rewritten in the boxes.
    EXPECT_EQ(std::tie(e.txtFYStart, e.txtFYEnd), std::tuple("01/01/2005", "01/02/2006"));
}

}  // namespace
}  // namespace vt
