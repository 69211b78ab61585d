// The prints of worksheets A and B-2: golden print files of filled and fresh
// sheets, A Part III's page pairs, and the A Part I lines that depend on values.
#include <string>
#include <vector>

#include "engine/general/a.h"
#include "engine/general/b2.h"
#include "tests/engine/general/general_fixture.h"

namespace vt::test {
namespace {

// The pages of a print file as lines.
std::vector<std::vector<std::string>> Pages(const std::string& bytes) {
    std::vector<std::vector<std::string>> pages;
    for (const auto& page : PrintPages(bytes)) pages.push_back(PrintLines(page));
    return pages;
}

// The line after the first one that starts with the given text ("" when none).
std::string LineAfter(const std::vector<std::string>& page, const std::string& start) {
    for (size_t i = 0; i + 1 < page.size(); ++i)
        if (page[i].rfind(start, 0) == 0) return page[i + 1];
    return "";
}

class PrintA : public SheetPrintTest {
protected:
    std::string PrintOwnFile() {
        Printed(Print_A, "A.prt");
        return ReadFile("A.prt");
    }
    void SetInfo(const char* seq, const Value& info) {
        db().Execute("UPDATE Ap1 SET Info = ? WHERE SeqNum = ?", {info, Value(Value(seq).ToCurrency())});
    }
};

class PrintB2 : public SheetPrintTest {};

// Parts I and II on a portrait page, the listings on landscape pages.
TEST_F(PrintA, FilledWorksheetMatchesGolden) {
    const char* info[][2] = {
        {"2.01", "HO-4471"},        {"3", "100 Main Street"},   {"3.01", "Suite 200"},
        {"3.02", "Springfield"},    {"3.03", "IL"},             {"4", "01/15/1990"},
        {"5", "Mary Major"},        {"5.01", "Controller"},     {"5.02", "(217) 555-0100"},
        {"7", "Yes"},               {"8", "Corporation"},       {"8.01", "Non-profit"},
        {"9.01", "John Doe"},       {"9.02", "Richard Roe"},
    };
    for (auto& i : info) SetInfo(i[0], Value(i[1]));
    db().Execute("INSERT INTO Ap1 (SeqNum, Legend, Info) VALUES (9.03, 'Treasurer', 'Jane Public')");
    db().Execute("INSERT INTO Ap3 VALUES (1, 'North Clinic', '145001', '2006-01-01', '2006-12-31', NULL, NULL, "
                 "'Yes', 'PPS', 'First Intermediary Co', 'State Medicaid')");
    db().Execute("INSERT INTO Ap3 VALUES (1.01, 'South Nursing Home', '145002', '2005-07-01', '2006-06-30', "
                 "'2006-03-01', NULL, 'No', 'TEF', NULL, NULL)");
    db().Execute("INSERT INTO Ap3 (LineNum, Component) VALUES (2, 'East Hospital')");
    db().Execute("INSERT INTO Ap4 VALUES (1, 'Laundry Services', '2006-01-01', '2006-12-31', NULL, '2006-09-30')");
    db().Execute("INSERT INTO Ap5 VALUES (1, 'Western Region', 'Denver', 'CO', 1234567, 'X', NULL, 'Mountain Int')");
    db().Execute("INSERT INTO Ap5 (LineNum, Col1, Col2, Col3) VALUES (2, 'Eastern Region', 'Albany', 'NY')");

    PrintOwnFile();
    ExpectGolden("A.prt", "A.prt");
}

// A fresh report lists no facility: Part IV follows Part II on the next page.
TEST_F(PrintA, FreshWorksheetMatchesGolden) {
    PrintOwnFile();
    ExpectGolden("A.prt", "A_fresh.prt");
}

// More facilities than one page holds: each pair of pages lists the same
// facilities, first with columns 1-8, then with columns 1, 9 and 10.
TEST_F(PrintA, PartIIIPrintsInPagePairs) {
    const int kFacilities = 60;
    for (int i = 0; i < kFacilities; ++i)
        db().Execute("INSERT INTO Ap3 (LineNum, Component, MedicareInt) VALUES (?, ?, ?)",
                     {Value(Currency::FromScaled(10000 + 100 * i)), Value("Facility " + std::to_string(i)),
                      Value("Int " + std::to_string(i))});
    // Each Part III page as its columns and its first and last facility.
    std::vector<std::string> listings;
    for (const auto& page : Pages(PrintOwnFile())) {
        std::string columns;
        std::vector<int> facilities;
        for (const auto& line : page) {
            if (line.rfind("Part III - ", 0) == 0) columns = "columns 1, 9, 10";
            if (line.find("Medicare No") != std::string::npos) columns = "columns 1-8";
            if (line.size() > 17 && line.compare(8, 9, "Facility ") == 0) facilities.push_back(std::stoi(line.substr(17)));
        }
        if (!columns.empty())
            listings.push_back(columns + ": " + std::to_string(facilities.front()) + "-" +
                               std::to_string(facilities.back()));
    }
    // 51 rows fit below the page header and the part's headings.
    EXPECT_EQ(listings, (std::vector<std::string>{"columns 1-8: 0-50", "columns 1, 9, 10: 0-50",
                                                  "columns 1-8: 51-59", "columns 1, 9, 10: 51-59"}));
}

// Line 7 ticks a box only for "Yes" or "No" as written; line 8 adds the
// other type after a colon only when one is given.
TEST_F(PrintA, PartILinesThatDependOnTheirValues) {
    struct Case {
        Value audited, otherType;
        std::string boxes, type;
    };
    const Case cases[] = {{Value("Yes"), Value("Non-profit"), "[X] Yes    [ ] No", "    Partnership: Non-profit"},
                          {Value("No"), Value::Null(), "[ ] Yes    [X] No", "    Partnership"},
                          {Value("yes"), Value(""), "[ ] Yes    [ ] No", "    Partnership"},
                          {Value::Null(), Value("   "), "[ ] Yes    [ ] No", "    Partnership"}};
    SetInfo("8", Value("Partnership"));
    for (const Case& c : cases) {
        SetInfo("7", c.audited);
        SetInfo("8.01", c.otherType);
        const auto pages = Pages(PrintOwnFile());
        EXPECT_EQ(LineAfter(pages.at(0), std::string(100, ' ') + "Schedule B?"), std::string(102, ' ') + c.boxes);
        EXPECT_EQ(LineAfter(pages.at(0), "8.  Type of Chain Organization:"), c.type);
    }
}

// Part I is read by line number: a report that lacks some of the lines prints
// the others under their own captions and lists only the officers as such.
TEST_F(PrintA, PartILinesAreFoundByTheirNumbers) {
    db().Execute("DELETE FROM Ap1 WHERE SeqNum IN (2.01, 3, 3.01, 5.01)");
    SetInfo("4", Value("01/15/1990"));
    SetInfo("9.01", Value("John Doe"));
    const auto pages = Pages(PrintOwnFile());
    const auto& page = pages.at(0);
    EXPECT_EQ(LineAfter(page, std::string(96, ' ') + "2B. No. Assigned by CMS:"), std::string(100, ' ') + "123456");
    EXPECT_EQ(LineAfter(page, "3.  Home Office Address:"), std::string(100, ' ') + "01/15/1990");
    EXPECT_EQ(LineAfter(page, "9.  Key Officers of Home Office:"),
              "    President" + std::string(15, ' ') + "John Doe");

    // Nothing but the officers left: every captioned line prints empty.
    db().Execute("DELETE FROM Ap1 WHERE SeqNum < 9");
    const auto shortPages = Pages(PrintOwnFile());
    const auto& shortPage = shortPages.at(0);
    EXPECT_EQ(LineAfter(shortPage, "1.  Home Office Name:"), std::string(100, ' '));
    std::vector<std::string> officers;
    for (size_t i = 0; i < shortPage.size(); ++i)
        if (shortPage[i] == "9.  Key Officers of Home Office:")
            for (size_t j = i + 1; j < shortPage.size() && !shortPage[j].empty(); ++j) officers.push_back(shortPage[j]);
    EXPECT_EQ(officers, (std::vector<std::string>{"    President" + std::string(15, ' ') + "John Doe",
                                                  "    Vice President" + std::string(10, ' ')}));
}

// Before any calculation the computed columns print blank.
TEST_F(PrintB2, FreshWorksheetMatchesGolden) {
    Printed(Print_B2, "B2.prt");
    ExpectGolden("B2.prt", "B2_fresh.prt");
}

TEST_F(PrintB2, CalculatedWorksheetMatchesGolden) {
    for (const std::string table : {"B2p1", "B2p2"}) {
        db().Execute("UPDATE " + table + " SET BegBalance = 250000, Purchases = 12500, Donation = 0, "
                                         "Disposals = 1200, DepAssets = 800 WHERE SeqNum = 1");
        db().Execute("UPDATE " + table + " SET BegBalance = 1480000, Purchases = 64000, Donation = 2500, "
                                         "Disposals = 18000, DepAssets = 9000 WHERE SeqNum = 3");
        db().Execute("UPDATE " + table + " SET BegBalance = -5000, Disposals = 125 WHERE SeqNum = 8");
    }
    db().Execute("UPDATE B2p3 SET GrossAssets = 1730000, CapLeases = 30000, Depreciation = 42000, Lease = 3000 "
                 "WHERE SeqNum = 1");
    db().Execute("UPDATE B2p3 SET Interest = 18250 WHERE SeqNum = 1.01");
    db().Execute("UPDATE B2p3 SET GrossAssets = 410000, Depreciation = 15500 WHERE SeqNum = 2");
    db().Execute("UPDATE B2p3 SET GrossAssets = 95000, Depreciation = 2100 WHERE SeqNum = 4");
    db().Execute("UPDATE B2p3 SET Insurance = 12345, Taxes = 6789, CapRelated = 1001 WHERE SeqNum = 5");
    Calc_B2p1();
    Calc_B2p2();
    Calc_B2p3();

    ExpectPrintedAlone(Print_B2, "B2.prt", "B2.prt");
}

}  // namespace
}  // namespace vt::test
