// The lines of worksheet A, checked in worksheet A and in every component sheet.
#include <map>
#include <stdexcept>

#include "engine/chain/component_sheet.h"
#include "platform/db/db.h"
#include "report/calc_all.h"
#include "report/components.h"
#include "store/services.h"
#include "tests/report/shell_fixture.h"

namespace vt::test {
namespace {

Currency N(double n) { return Currency::FromDouble(n); }

const std::vector<std::string> kSheets = {"E", "E1", "Fp1", "Fp2", "F1p1", "F1p2", "H", "Gp2"};

struct PartCase {
    int part;
    const char* table;
    const char* name;  // the name field in worksheet A
    double offset;     // of the part's rows in the sheets
};
const PartCase kParts[] = {{3, "Ap3", "Component", 0}, {4, "Ap4", "Component", 18}, {5, "Ap5", "Col1", 28}};

class Components : public ShellTest {
protected:
    void TearDown() override {
        SetAStepHook(nullptr);
        ShellTest::TearDown();
    }
    // Lines straight into A and the sheets, each sheet's last value column
    // holding 100 times the line.
    void Lines(const PartCase& p, const std::vector<double>& lines) {
        for (double l : lines) {
            Exec(std::string("INSERT INTO ") + p.table + " (LineNum, " + p.name + ") VALUES (?, ?);",
                 {Value(N(l)), Value("L" + N(l).ToText())});
            Insert_Component_Line(N(l), p.part);
            ASSERT_TRUE(SetAField(p.part, N(l), p.name, "L" + N(l).ToText()).done);
        }
        for (const auto& s : kSheets) {
            const std::string last = db().Fields(s).back().name;
            Exec("UPDATE " + s + " SET " + last + " = CCur(LineNum * 100) WHERE SeqNum > ? AND SeqNum < ?;",
                 {Value(N(p.offset)), Value(N(p.offset + 9))});
        }
    }
    // Line, name and amount of the part's rows below line 9 of a sheet.
    Table SheetRows(const std::string& sheet, const PartCase& p) {
        const std::string last = db().Fields(sheet).back().name;
        return Rows("SELECT LineNum, Component, " + last + " FROM " + sheet +
                        " WHERE SeqNum > ? AND SeqNum < ? AND CCur(SeqNum - LineNum) = ? ORDER BY SeqNum;",
                    {Value(N(p.offset)), Value(N(p.offset + 9)), Value(N(p.offset))});
    }
};

TEST_F(Components, AddMovesEveryLaterLineAndDeleteMovesThemBack) {
    for (const PartCase& p : kParts) {
        SCOPED_TRACE(p.table);
        Lines(p, {1, 1.01, 1.02, 2});
        const auto before = Everything();

        EXPECT_TRUE(OfferALine(p.part, N(1)).allowed);
        const AChange added = AddALine(p.part, N(1));
        ASSERT_TRUE(added.done) << added.error;
        EXPECT_EQ(std::tuple(added.line, added.changed.size()), std::tuple(N(1.01), 1 + kSheets.size()));
        EXPECT_EQ(Rows(std::string("SELECT LineNum, ") + p.name + " FROM " + p.table + " WHERE LineNum < 9;"),
                  (Table{{"1", "L1"}, {"1.01", "Null"}, {"1.02", "L1.01"}, {"1.03", "L1.02"}, {"2.01", "L2"}}));
        for (const auto& s : kSheets)
            EXPECT_EQ(SheetRows(s, p), (Table{{"1", "L1", "100"},
                                              {"1.01", "Null", "0"},
                                              {"1.02", "L1.01", "101"},
                                              {"1.03", "L1.02", "102"},
                                              {"2.01", "L2", "200"}}))
                << s;
        EXPECT_EQ(Rows("SELECT LineNum, Component FROM H WHERE SeqNum = 27;"),
                  (Table{{"9", "Other Managed Facilities"}}));

        const AChange deleted = DeleteALine(p.part, N(1.01));
        ASSERT_TRUE(deleted.done) << deleted.error;
        EXPECT_EQ(deleted.line, N(1.01));
        EXPECT_EQ(Everything(), before);
        EXPECT_TRUE(Check_Component_Sheets() && ui.Messages().empty());
    }
    // The last line deleted: the window lands on the line before it.
    EXPECT_EQ(DeleteALine(3, N(2)).line, N(1.02));
    EXPECT_EQ(AddALine(4, N(9)).line, N(2.01));  // on line 9: after the last user line
}

TEST_F(Components, AddIsRefusedWhileTheBandIsFull) {
    struct Case { int part; std::vector<double> lines; std::vector<double> at; };
    for (const Case& c : std::vector<Case>{{3, {1, 17.99}, {1, 17.99}},
                                           {5, {1, 4.99}, {1, 4.99}},
                                           {4, {1, 8.99}, {1, 8.99, 9}}}) {
        const PartCase& p = kParts[c.part - 3];
        SCOPED_TRACE(p.table);
        Lines(p, c.lines);
        const auto before = Everything();
        for (double at : c.at) {
            const ALineOffer offer = OfferALine(c.part, N(at));
            EXPECT_FALSE(offer.allowed) << at;
            EXPECT_NE(offer.reason.find("reach " + N(c.lines.back()).ToText()), std::string::npos) << offer.reason;
            ui.ClearRecords();
            ui.ExpectMessage();
            EXPECT_FALSE(AddALine(c.part, N(at)).done);
            EXPECT_EQ(ui.Prompts(), std::vector<std::string>{offer.reason});
        }
        EXPECT_EQ(Everything(), before);
        // One line fewer and the last place can be taken.
        ASSERT_TRUE(DeleteALine(c.part, N(c.lines.back())).done);
        EXPECT_TRUE(AddALine(c.part, N(c.lines.front())).done);
    }
}

TEST_F(Components, FieldChecksAndWhatIsStored) {
    Lines(kParts[0], {1});
    Lines(kParts[2], {1});
    Lines(kParts[1], {1});
    const std::string forty(40, 'n');
    const std::string wrong = "Please enter Y or N.";
    struct Case { int part; const char* field; std::string text; std::string stored; std::vector<std::string> messages; };
    for (const Case& c : std::vector<Case>{
             {3, "MedicaidPart", " YES ", "Yes", {}},
             {3, "MedicaidPart", "yes please", "", {wrong}},
             {3, "MedicaidPart", "", "Null", {}},
             {3, "MedicareNo", "12\"3456", "12\"3456", {}},
             {3, "MedicareNo", "12345678", "", {"The Medicare No. may hold at most 7 characters."}},
             {3, "Component", "  " + forty + " ", forty, {}},
             {3, "Component", "   ", "", {"The Component name may not be blank"}},
             {3, "Component", std::string(41, 'n') + "\"",
              "",
              {"Component names cannot be more than 40 characters in length",
               "Component names cannot contain double quote characters"}},
             {3, "MedicareInt", std::string(26, 'm'), "",
              {"Medicare and Medicaid Intermediary names cannot be more than 25 characters in length"}},
             {3, "DateAcquired", "2/3/2006", "2/3/2006", {}},
             {3, "DateSold", "13/45/2006", "", {"Invalid date. Please enter dates in the form mm/dd/yyyy"}},
             {4, "DateSold", "Dec 31, 2006", "12/31/2006", {}},
             {4, "PeriodFrom", "2006-02-30", "", {"Invalid date. Please enter dates in the form mm/dd/yyyy"}},
             {5, "Col5", "maybe", "X", {}},
             {5, "Col3", std::string(26, 's'), "", {"State names cannot be more than 25 characters in length"}},
             {5, "Col2", "Tab\there", "", {"The city may not contain control characters (such as tabs or line breaks)."}},
         }) {
        SCOPED_TRACE(c.field + (": " + c.text));
        const PartCase& p = kParts[c.part - 3];
        const std::string read = std::string("SELECT ") + c.field + " FROM " + p.table + " WHERE LineNum = 1;";
        const Table old = Rows(read);
        ui.ClearRecords();
        for (std::size_t i = 0; i < c.messages.size(); ++i) ui.ExpectMessage();
        const AChange change = SetAField(c.part, N(1), c.field, c.text);
        EXPECT_EQ(ui.Prompts(), c.messages);
        EXPECT_EQ(change.done, c.messages.empty());
        EXPECT_EQ(Rows(read), c.messages.empty() ? Table{{c.stored}} : old);
    }
    EXPECT_TRUE(!AFieldEditable(4, N(9), "Component") && AFieldEditable(4, N(9), "PeriodTo") &&
                !AFieldEditable(5, N(1), "Col4") && !ALineDeletable(4, N(9)));
}

TEST_F(Components, NamesAndPeriodEndsReachTheSheets) {
    Lines(kParts[0], {1, 2});
    Lines(kParts[1], {1});
    ASSERT_TRUE(SetAField(3, N(2), "Component", "North Home").done);
    ASSERT_TRUE(SetAField(3, N(2), "MedicareNo", "123456").done);
    ASSERT_TRUE(SetAField(4, N(1), "Component", "Laundry").done);
    for (const auto& s : kSheets) {
        EXPECT_EQ(Rows("SELECT Component FROM " + s + " WHERE SeqNum IN (2, 19) ORDER BY SeqNum;"),
                  (Table{{"North Home"}, {"Laundry"}}))
            << s;
    }
    // The sheets that carry the Medicare No., named: a sheet that lost the
    // field fails here rather than being passed over.
    for (const char* s : {"E", "E1", "F1p1", "F1p2", "H"})
        EXPECT_EQ(Rows(std::string("SELECT MedicareNo FROM ") + s + " WHERE SeqNum = 2;"), (Table{{"123456"}})) << s;

    struct Case { int part; double line; std::string text; std::string fye; bool done; };
    for (const Case& c : std::vector<Case>{{3, 2, "12/31/2006", "12/31/2006", true},
                                           {3, 2, "2/30/2006", "12/31/2006", false},
                                           {3, 2, "", "Null", true},
                                           {4, 1, "6/30/2006", "6/30/2006", true},
                                           {4, 9, "6/30/2006", "6/30/2006", true},
                                           {4, 1, "June", "6/30/2006", false}}) {
        SCOPED_TRACE(c.text);
        const double seq = c.line + (c.part == 4 ? 18 : 0);
        if (!c.done) ui.ExpectMessage();
        EXPECT_EQ(SetAField(c.part, N(c.line), "PeriodTo", c.text).done, c.done);
        EXPECT_EQ(Rows("SELECT FYE FROM H WHERE SeqNum = ?;", {Value(N(seq))}), (Table{{c.fye}}));
        EXPECT_EQ(Rows(std::string("SELECT PeriodTo FROM ") + kParts[c.part - 3].table + " WHERE LineNum = ?;",
                       {Value(N(c.line))}),
                  (Table{{c.fye}}));
    }
}

TEST_F(Components, AFailureInTheSheetsLeavesEverythingAsBefore) {
    Lines(kParts[0], {1, 1.01, 1.02});
    const auto before = Everything();
    struct Case { const char* what; std::function<AChange()> run; };
    for (const Case& c : std::vector<Case>{
             {"add", [] { return AddALine(3, N(1)); }},
             {"delete", [] { return DeleteALine(3, N(1)); }},
             {"rename", [] { return SetAField(3, N(1.01), "Component", "Renamed"); }},
             {"period start", [] { return SetAField(3, N(1.01), "PeriodFrom", "1/1/2006"); }},
         }) {
        SCOPED_TRACE(c.what);
        SetAStepHook([](const std::string& s) {
            if (s == "the component sheets") throw std::runtime_error("disk full");
        });
        ui.ClearRecords();
        ui.ExpectMessage();
        const AChange failed = c.run();
        EXPECT_FALSE(failed.done);
        EXPECT_NE(failed.error.find("the component sheets could not be changed (disk full)"), std::string::npos)
            << failed.error;
        EXPECT_EQ(Everything(), before);
    }
    SetAStepHook(nullptr);
    EXPECT_TRUE(AddALine(3, N(1)).done);
}

TEST_F(Components, PartOneOfficersTypesAndDates) {
    for (double seq : {9.02, 9.01}) ASSERT_TRUE(DeleteAp1Officer(N(seq)).done);
    EXPECT_EQ(AddAp1Officer().line, N(9.01));
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(AddAp1Officer().done);
    for (double seq : {9.01, 9.02, 9.03}) ASSERT_TRUE(SetAp1Legend(N(seq), "T" + N(seq).ToText()).done);
    EXPECT_EQ(DeleteAp1Officer(N(9.01)).line, N(9.01));
    EXPECT_EQ(Rows("SELECT SeqNum, Legend FROM Ap1 WHERE SeqNum >= 8 ORDER BY SeqNum;"),
              (Table{{"8", "Type of Organization"}, {"8.01", "    (specify other type):"}, {"9.01", "T9.02"},
                     {"9.02", "T9.03"}}));
    ui.ExpectMessage();
    EXPECT_FALSE(DeleteAp1Officer(N(8.01)).done);

    const std::string told = "*";  // a refusal of this code's own wording
    const std::string bad = "Invalid date. Please enter dates in the form mm/dd/yyyy";
    const std::string other = "9 - Proprietary, Other(specify)";
    struct Case { double seq; std::string text; std::string stored; std::vector<std::string> messages; };
    for (const Case& c : std::vector<Case>{
             {4, "2/3/2004", "02/03/2004", {}},
             {4, "abc", "02/03/2004", {bad}},
             {4, "", "Null", {}},
             {7, "y", "Yes", {}},
             {8, other, other, {}},
             {8.01, "Cooperative", "Cooperative", {}},
             {8, "10 - Governmental, Federal", "10 - Governmental, Federal", {}},
             {8.01, "Cooperative", "", {told}},
             {3, "  " + std::string(40, 'a') + " ", std::string(40, 'a'), {}},
             {3, std::string(41, 'a'), std::string(40, 'a'),
              {"Entered values cannot be more than 40 characters in length"}},
             {3.01, "Suite \"B\"", "Null", {"Entered values cannot contain double quote characters"}},
             {2.02, "999999", "123456", {told}},
         }) {
        SCOPED_TRACE(c.text);
        ui.ClearRecords();
        for (std::size_t i = 0; i < c.messages.size(); ++i) ui.ExpectMessage();
        EXPECT_EQ(SetAp1Info(N(c.seq), c.text).done, c.messages.empty());
        EXPECT_EQ(ui.Prompts().size(), c.messages.size());
        if (!c.messages.empty() && c.messages[0] != told) {
            EXPECT_EQ(ui.Prompts(), c.messages);
        }
        EXPECT_EQ(Rows("SELECT Info FROM Ap1 WHERE SeqNum = ?;", {Value(N(c.seq))}), (Table{{c.stored}}));
        EXPECT_EQ(Ap1InfoEditable(N(8.01)), Ap1OrganisationType() == 9) << Ap1OrganisationType();
    }
    EXPECT_FALSE(Ap1InfoEditable(N(2.02)) || Ap1InfoEditable(N(8)));
    EXPECT_EQ(Ap1PickList(N(8)).size(), 15u);
}

// Damaged line numbers in worksheet A stop the check before any sheet is
// repaired from them, naming the table, the field and the line; nothing
// changes, and the whole-report calculation tells the user so.
// Every table's rows as SQLite holds them, a damaged value too.
std::map<std::string, std::string> StoredAsIs(db::Database& db) {
    std::map<std::string, std::string> out;
    for (const auto& t : db.TableNames()) {
        std::string row;
        for (const auto& f : db.Fields(t)) row += (row.empty() ? "" : " || '|' || ") + ("quote(" + f.name + ")");
        out[t] = Nz_Str(db.Scalar("SELECT group_concat(" + row + ", char(10)) FROM (SELECT * FROM " + t +
                                  " ORDER BY rowid);"))
                     .ToText();
    }
    return out;
}

TEST_F(Components, DamagedLinesInAStopTheCheckAndChangeNothing) {
    Lines(kParts[0], {1, 2});
    Lines(kParts[2], {1, 2});
    const std::string damaged = ": the file is damaged or was written by another program.";
    const struct {
        std::vector<std::string> sql;
        std::string message;
    } cases[] = {
        {{"UPDATE Ap5 SET LineNum = '12abc' WHERE LineNum = 2"},
         "The value '12abc' in table Ap5, field LineNum, line 12 is not an amount" + damaged},
        {{"UPDATE Ap3 SET LineNum = '12abc' WHERE LineNum = 2"},
         "The value '12abc' in table Ap3, field LineNum, line 12 is not an amount" + damaged},
        {{"DROP INDEX Ap3__ndxAp3", "INSERT INTO Ap3 (LineNum, Component) VALUES (1, 'Twin')"},
         "Worksheet A Part III (table Ap3, field LineNum) holds line 1 twice" + damaged},
        {{"INSERT INTO Ap4 (LineNum, Component) VALUES (10, 'Past 9')"},
         "Worksheet A Part IV (table Ap4, field LineNum) holds line 10, outside its lines up to 9" + damaged},
        {{"INSERT INTO Ap5 (LineNum, Col1) VALUES (0, 'On the total')"},
         "Worksheet A Part V (table Ap5, field LineNum) holds line 0, outside its lines up to 4.99" + damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        db().Begin();
        for (const auto& sql : c.sql) db().ExecuteStrict(sql);
        const auto before = StoredAsIs(db());
        try {
            Check_Component_Sheets();
            ADD_FAILURE() << "the check passed over the damage";
        } catch (const db::DamagedValue& e) {
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_EQ(StoredAsIs(db()), before);

        ui.ExpectMessage();
        Calc_All();
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"The following error occurred while checking the component "
                                                         "sheets:\n\n" + c.message});
        EXPECT_EQ(StoredAsIs(db()), before);
        ui.ClearRecords();
        db().Rollback();
    }
}

// A damaged line of a component sheet itself is named by the sheet's table,
// not by the name the repair keeps the old table under, and the repair leaves
// nothing behind.
TEST_F(Components, DamagedLinesOfAComponentSheetAreNamedByItsOwnTable) {
    Lines(kParts[0], {1, 2});
    Lines(kParts[2], {1, 2});
    const std::string damaged = ": the file is damaged or was written by another program.";
    const struct {
        const char* table;
        double seq;
    } cases[] = {{"E", 2}, {"E1", 1}, {"Fp2", 1}, {"F1p2", 2}, {"Gp2", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        const std::string table = c.table;
        const std::string line = SqlNumber(Currency::FromDouble(c.seq));  // rows 1 and 2 hold lines 1 and 2
        db().ExecuteStrict("UPDATE " + table + " SET LineNum = '" + line + "x' WHERE SeqNum = " + SqlNumber(c.seq));
        const auto before = StoredAsIs(db());
        ui.ExpectMessage();
        Calc_All();
        EXPECT_EQ(ui.Prompts(), std::vector<std::string>{"The following error occurred while checking the component "
                                                         "sheets:\n\nThe value '" + line + "x' in table " + table +
                                                         ", field LineNum, line " + line + " is not an amount" +
                                                         damaged});
        EXPECT_EQ(StoredAsIs(db()), before);
        ui.ClearRecords();
        db().ExecuteStrict("UPDATE " + table + " SET LineNum = " + line + " WHERE SeqNum = " + SqlNumber(c.seq));
    }
}

}  // namespace
}  // namespace vt::test
