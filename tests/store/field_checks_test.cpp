// The checks the editors run on a cell, the worksheet display names, and where
// their messages go.
#include <gtest/gtest.h>

#include "store/report.h"
#include "store/services.h"
#include "tests/support/crf_fixture.h"
#include "tests/support/db_checks.h"
#include "tests/support/scripted_ui.h"

namespace vt {
namespace {

using test::ScriptedUi;
using test::ShownMessage;
using Shown = std::vector<ShownMessage>;

const char* const kBadDate = "Invalid date. Please enter dates in the form mm/dd/yyyy";
const char* const kNotNumeric = "This field may only contain numeric values";
const char* const kMadeNegative = "This field must contain a negative amount. The value has been changed to negative";
const char* const kMadePositive = "This field must contain a positive amount. The value has been changed to positive";
const char* const kPastLimit = "This field may only contain amounts from -99,999,999,999.9999 to 99,999,999,999.9999";
const char* const kRounded = "This field may only contain full dollar amounts. The value has been rounded";

TEST(CheckAmount, RulesApplyInTheirOrder) {
    struct Case {
        const char* what;
        Value in;
        int sign;
        bool ok;
        Value out;           // compared by type and text
        const char* message;  // nullptr: silent
        int buttons;
    };
    const Case cases[] = {
        {"empty text becomes 0", Value(""), 0, true, Value::Integer(0), nullptr, 0},
        {"empty value becomes 0", Value(), -1, true, Value::Integer(0), nullptr, 0},
        {"text is refused", Value("abc"), 0, false, Value("abc"), kNotNumeric, 0},
        {"Null is refused", Value::Null(), 0, false, Value::Null(), kNotNumeric, 0},
        {"too large for money", Value(1e20), 0, false, Value(1e20), kPastLimit, 0},
        {"the Currency limit itself", Value("922337203685477.5807"), 0, false,
         Value("922337203685477.5807"), kPastLimit, 0},
        {"past the exactly kept range", Value("123456789012345.6789"), 0, false, Value("123456789012345.6789"),
         kPastLimit, 0},
        {"one past the limit", Value("-100000000000"), 0, false, Value("-100000000000"), kPastLimit, 0},
        {"just inside the limit", Value("-99999999999"), 0, true, Value("-99999999999"), nullptr, 0},
        {"rounded past the limit", Value("-99999999999.5"), 0, false, Value("-99999999999.5"), kPastLimit, 0},
        {"fraction is rounded up", Value(12.5), 0, true, Value(13.0), kRounded, 48},
        {"negative fraction away from zero", Value(-12.5), 0, true, Value(-13.0), kRounded, 48},
        {"numeric text is rounded", Value("12.50"), 1, true, Value(13.0), kRounded, 48},
        {"sign first, no rounding", Value(12.5), -1, true, Value::Cur(-12.5), kMadeNegative, 0},
        {"made positive", Value(-7), 1, true, Value::Cur(7), kMadePositive, 0},
        {"zero wanted negative", Value(0), -1, true, Value(0), nullptr, 0},
        {"zero wanted positive", Value(0), 1, true, Value(0), nullptr, 0},
        {"whole amount kept as typed", Value(" -1234 "), 0, true, Value(" -1234 "), nullptr, 0},
        {"thousands separators dropped", Value("-12,345,678"), 0, true, Value("-12345678"), nullptr, 0},
        {"separated fraction rounded", Value("1,234.5"), 0, true, Value(1235.0), kRounded, 48},
        {"groups of two refused", Value("12,34"), 0, false, Value("12,34"), kNotNumeric, 0},
        {"trailing letters refused", Value("12abc"), 0, false, Value("12abc"), kNotNumeric, 0},
        {"exponent and dollar refused", Value("$1E3"), 0, false, Value("$1E3"), kNotNumeric, 0},
        {"negative allowed without sign", Value(-5), 0, true, Value(-5), nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedUi ui;
        if (c.message) ui.ExpectMessage();
        Value v = c.in;
        EXPECT_EQ(Check_Amount(v, c.sign), c.ok);
        EXPECT_EQ(std::pair(v.Type(), v.ToText()), std::pair(c.out.Type(), c.out.ToText()));
        EXPECT_EQ(ui.Messages(), (c.message ? Shown{{c.message, c.buttons, ""}} : Shown{}));
        EXPECT_EQ(ui.Beeps(), c.message ? 1 : 0);
    }
}

TEST(CheckText, RefusesControlCharactersAndTextLongerThanTheField) {
    const std::string control = "The Name may not contain control characters (such as tabs or line breaks).";
    const std::pair<const char*, std::string> cases[] = {
        {"", ""}, {"Twelve chars", ""}, {"\xC3\xA9tude de cas", ""},  // 12 characters in 13 bytes
        {"Thirteen char", "The Name may hold at most 12 characters."},
        {"Line\r\nbreak", control}, {"feed\f", control}, {"del\x7F", control},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        ScriptedUi ui;
        if (!message.empty()) ui.ExpectMessage();
        EXPECT_EQ(CheckText(text, 12, "Name"), message.empty());
        EXPECT_EQ(ui.Prompts(), message.empty() ? std::vector<std::string>{} : std::vector{message});
    }
}

TEST(DateChecks, AcceptUsDatesAndReformatThem) {
    struct Case { const char* in; bool ok; const char* formatted; };
    const Case cases[] = {
        {"1/2/2005", true, "01/02/2005"},     {"12/31/2005", true, "12/31/2005"},
        {"2005-12-31", true, "12/31/2005"},   {"Dec 31, 2005", true, "12/31/2005"},
        {"2/30/2005", false, "2/30/2005"},    {"13/01/2005", false, "13/01/2005"},
        {"", false, ""},                      {"abc", false, "abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        ScriptedUi ui;
        if (!c.ok) ui.ExpectMessage();
        std::string text = c.in;
        EXPECT_EQ(Check_Date(text), c.ok);
        EXPECT_EQ(text, c.in);
        if (!c.ok) ui.ExpectMessage();
        EXPECT_EQ(Format_Date_Field(text, true), c.ok);
        EXPECT_EQ(text, c.formatted);
        EXPECT_EQ(ui.Beeps(), c.ok ? 0 : 2);
        EXPECT_EQ(ui.Messages(), c.ok ? Shown{} : Shown(2, {kBadDate, 0, ""}));

        text = c.in;  // without the message flag a bad date is refused silently
        ScriptedUi quiet;
        EXPECT_EQ(Format_Date_Field(text, false), c.ok);
        EXPECT_EQ(quiet.Beeps(), 0);
    }
}

TEST(WorksheetNames, FollowTheCode) {
    const std::pair<const char*, const char*> names[] = {
        {"Ap1", "A  Part-1"},   {"Ap3", "A  Part-3"},   {"Ap4", "A  Part-4"},     {"Ap5", "A  Part-5"},
        {"B", "B"},             {"B1", "B-1"},          {"B2p1", "B-2  Part-1"},  {"B2p2", "B-2  Part-2"},
        {"B2p3", "B-2  Part-3"}, {"C", "C"},            {"DpA", "D  Part-A"},     {"DpB", "D  Part-B"},
        {"DpC", "D  Part-C"},   {"E", "E"},             {"E1", "E-1"},            {"Fp1", "F  Part-1"},
        {"Fp2", "F  Part-2"},   {"F1p1", "F-1  Part-1"}, {"F1p2", "F-1  Part-2"}, {"Gp1", "G  Part-1"},
        {"Gp2", "G  Part-2"},   {"H", "H"},             {"I", "I"},               {"J", "J"},
        {"Fp", "F  Part-"},     {"GA", "G  Part-A"},    {"GBp2", "G  Part-2  Part-B"},
    };
    ScriptedUi ui;
    for (auto [code, name] : names) EXPECT_EQ(Get_Worksheet_Name(code), name) << code;
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(WorksheetNames, UnknownLetterIsReportedAndGivesNothing) {
    for (const char* code : {"Bp1x", "Master", "bP1"}) {
        SCOPED_TRACE(code);
        ScriptedUi ui;
        ui.ExpectMessage();
        EXPECT_EQ(Get_Worksheet_Name(code), "");
        EXPECT_EQ(ui.Messages(), (Shown{{std::string("Unknown Worksheet name (") + code + "), please call QSI.", 16, ""}}));
        EXPECT_EQ(ui.Beeps(), 0);
    }
}

class ShowMessage : public test::CrfTest {};

TEST_F(ShowMessage, ShowsABoxAndReturnsTheAnswer) {
    ui.ExpectMessage(ui::kNo);
    EXPECT_EQ(Show_Message("Replace it?", ui::kYesNo | ui::kQuestion, "Warning: Replace"), ui::kNo);
    EXPECT_EQ(ui.Messages(), (Shown{{"Replace it?", ui::kYesNo | ui::kQuestion, "Warning: Replace"}}));
}

TEST_F(ShowMessage, InMessageModeStoresThePromptAsTypedAndCreatesError) {
    Report().Message_Mode = "P";
    EXPECT_EQ(Show_Message("Sheet \"B\" isn't calculated", ui::kCritical, "Error: Print"), 0);
    EXPECT_EQ(Show_Message("Second", 0), 0);
    Value v("abc");
    EXPECT_FALSE(Check_Amount(v));  // field checks still beep, and log like any message

    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(test::Layout(db().Fields("Error")), (std::vector<std::string>{"Level Text 16 zero-length",
                                                                             "Message Memo 0 zero-length"}));
    EXPECT_EQ(test::Rows("SELECT Level, Message FROM Error ORDER BY rowid"),
              (test::Table{{"Null", "Sheet \"B\" isn't calculated"}, {"Null", "Second"}, {"Null", kNotNumeric}}));
    EXPECT_EQ(db().Scalar("SELECT COUNT(*) FROM Worksheets WHERE Item = 'Error'").ToLong(), 0);
}

}  // namespace
}  // namespace vt
