// The tables every report has besides its worksheets.
#include <cstdint>

#include "platform/db/db.h"
#include "store/builder.h"
#include "store/new_crf.h"
#include "store/report.h"

namespace vt {

using namespace vt::db;

namespace {

// Left(text, n) by characters: the form-number box may hold any text.
std::string LeftChars(const std::string& text, int n) {
    size_t i = 0;
    for (int seen = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == n) break;
    }
    return text.substr(0, i);
}

DateTime DateOf(const std::string& text) {
    if (auto d = ParseDate(text)) return *d;
    throw DbError("\"" + text + "\" is not a date.");
}

Value TextOrNull(const char* s) { return s ? Value(s) : Value::Null(); }

struct CostCentreRow {
    double lineNum, ccNum;
    const char *name, *label1, *label2, *label3;  // nullptr = Null
};

// The standard list, in the order it is inserted: the expense cost centres
// (LineNum = CCNum; 1.01 and 2.01 come before 2), then the balance-sheet
// accounts (LineNum = CCNum - 200). Spellings are the form's own.
const CostCentreRow kStandardCostCentres[] = {
    {1, 1, "Old Cap. Rel Costs - Bldgs and Fixtures", "Old Cap. Rel", "Bldgs &", "Fixtures"},
    {1.01, 1.01, "Int. Exp.-Old Capital Bldg and Fixtures", "Int. Exp.", "Old Cap.", "Bldg & Fixt."},
    {2.01, 2.01, "Int. Exp.-Old Capital Movable Equip.", "Int. Exp.", "Old Cap.", "Mov. Equip."},
    {2, 2, "Old Cap. Rel. Costs - Movable Equipment", "Old Cap. Rel", "Movable", "Equipment"},
    {4, 4, "New Cap. Rel Costs - Bldgs and Fixtures", "New Cap. Rel", "Bldgs &", "Fixtures"},
    {4.01, 4.01, "Int. Exp.-New Capital Bldg and Fixtures", "Int. Exp.", "New Cap.", "Bldgs & Fixt."},
    {5, 5, "New Cap. Rel Costs - Movable Equipment", "New Cap. Rel", "Movable", "Equipment"},
    {5.01, 5.01, "Int. Exp.-New Capital Movable Equip.", "Int. Exp.", "New Cap.", "Mov. Equip."},
    {7, 7, "Insurance Premiums", "Insurance", "Premiums", nullptr},
    {8, 8, "Taxes & Licenses", "Taxes &", "Licenses", nullptr},
    {9, 9, "Other Capital Related Costs", "Other", "Cap. Rel", "Costs"},
    {11, 11, "Salaries of Officers", "Salaries", "of", "Officers"},
    {12, 12, "Salaries & Wages of Others", "Salaries &", "Wages of", "Others"},
    {13, 13, "Payroll Taxes", "Payroll &", "Taxes", nullptr},
    {14, 14, "Employee Benefits - Payroll Related", "Employee &", "Benefits:", "Payroll"},
    {15, 15, "Employee Benefits - Non-Payroll Related", "Employee &", "Benefits:", "Non-Payroll"},
    {16, 16, "Profit Sharing / Pension Plans", "Profit", "Sharing &", "Pen. Plans"},
    {17, 17, "Legal Fees", "Legal", "Fees", nullptr},
    {18, 18, "Auditing & Accounting Fees", "Auditing &", "Accounting ", "Fees"},
    {19, 19, "Utilities", "Utilities", nullptr, nullptr},
    {20, 20, "Communications", "Communi-", "cations", nullptr},
    {21, 21, "Travel & Entertainment", "Travel &", "Entertain-", "ment"},
    {22, 22, "Transportation", "Transport-", "ation", nullptr},
    {23, 23, "Cleaning, Office & Admin Supplies", "Cleaning,", "Office, Admin", "Supplies"},
    {24, 24, "Minor Equipment Expensed", "Minor", "Equipment", "Expensed"},
    {25, 25, "Repairs & Maintenance", "Repairs &", "Maintenance", nullptr},
    {26, 26, "Dues & Subscriptions", "Dues &", "Subscriptions", nullptr},
    {27, 27, "Contributions", "Contributions", nullptr, nullptr},
    {28, 28, "Insurance Premiums - Non-Cap. Rel", "Insurance", "Premiums", "Non-Cap. Rel"},
    {29, 29, "Taxes & Licenses - Non-Cap. Rel", "Taxes &", "Licenses", "Non-Cap. Rel"},
    {30, 30, "Interest Expense", "Interest", "Expense", nullptr},
    {30.01, 30.01, "Interest Income", "Interest", "Income", nullptr},
    {32, 32, "Other (Specify)", "Other", nullptr, nullptr},
    {1, 201, "Cash - On Hand & In Bank", "Cash -", "On Hand", "In Bank"},
    {2, 202, "Current Investments", "Current", "Investments", nullptr},
    {3, 203, "Notes Receivable", "Notes", "Receivable", nullptr},
    {4, 204, "Accounts Receivable", "Accounts", "Receivable", nullptr},
    {5, 205, "Other Receivables", "Other", "Receivables", nullptr},
    {6, 206, "Allowance for Uncollectable Notes ...", "Allowance", "Uncollect-", "able Notes"},
    {7, 207, "Inventory", "Inventory", nullptr, nullptr},
    {8, 208, "Prepaid Expenses", "Prepaid", "Expenses", nullptr},
    {9, 209, "Other Current Assets", "Other", "Current", "Assets"},
    {11, 211, "Land", "Land", nullptr, nullptr},
    {12, 212, "Land Improvements", "Land", "Improve-", "ments"},
    {13, 213, "Accumulated Depreciation", "Accumulated", "Depreciation", nullptr},
    {14, 214, "Building", "Building", nullptr, nullptr},
    {15, 215, "Accumlated Depreciation", "Accumlated", "Depreciation", nullptr},
    {16, 216, "Leashold Improvement", "Leashold", "Improvement", nullptr},
    {17, 217, "Accumlated Depreciation", "Accumlated", "Depreciation", nullptr},
    {18, 218, "Fixed Equipment", "Fixed", "Equipment", nullptr},
    {19, 219, "Accumlated Depreciation", "Accumlated", "Depreciation", nullptr},
    {20, 220, "Motor Vehicles", "Motor", "Vehicles", nullptr},
    {21, 221, "Accumlated Depreciation", "Accumlated", "Depreciation", nullptr},
    {22, 222, "Major Movable Equipment", "Major", "Movable", "Equipment"},
    {23, 223, "Accumlated Depreciation", "Accumlated", "Depreciation", nullptr},
    {24, 224, "Minor Equipment - Depreciable", "Minor", "Equipment", "(Depreciable)"},
    {25, 225, "Accumlated Depreciation", "Accumlated", "Depreciation", nullptr},
    {26, 226, "Minor Equipment - Non-Depreciable", "Minor", "Equipment", "(Non-Deprec)"},
    {27, 227, "Other Fixed Assets", "Other", "Fixed", "Assets"},
    {30, 230, "Investments", "Investments", nullptr, nullptr},
    {31, 231, "Deposits Leases", "Deposits on", "Leases", nullptr},
    {32, 232, "Due from Owners/Officers", "Due from", "Owners/", "Officers"},
    {33, 233, "Due from Related Organizations", "Due from", "Related Org", nullptr},
    {34, 234, "Special Funds", "Special", "Funds", nullptr},
    {35, 235, "Goodwill", "Goodwill", nullptr, nullptr},
    {36, 236, "Construction in Progress", "Construction", "in", "Progress"},
    {37, 237, "Other(Specify)", "Other", nullptr, nullptr},
    {40, 240, "Accounts Payable", "Accounts", "Payable", nullptr},
    {41, 241, "Notes and Loans Payable - Short Term", "Notes/Loans ", "Payable", "Short Term"},
    {42, 242, "Current Portion of Long-term Debt", "Current", "Long-term", "Debt"},
    {43, 243, "Salaries, Wages, and Fees Payable", "Salaries,", "Wages & Fees ", "Payable"},
    {44, 244, "Payroll Taxes Payable", "Payroll", "Taxes", "Payable"},
    {45, 245, "Other Accrued Expenses Payable", "Other", "Accrued", "Expenses"},
    {46, 246, "Deferred Income", "Deferred", "Income", nullptr},
    {47, 247, "Notes & Loans Payable to Related Organizations", "Notes/Loans", "Payable", "Related Org"},
    {48, 248, "Other(Specify)", "Other", nullptr, nullptr},
    {50, 250, "Mortgage Payable (Long-term Portion)", "Mortgage", "Payable", "(Long-term)"},
    {51, 251, "Notes Payable (Long-term Portion)", "Notes", "Payable", "(Long-term)"},
    {52, 252, "Unsecured Loans (Long-term Portion)", "Unsecured", "Loans", "(Long-term)"},
    {53, 253, "Loans from Owners", "Loans", "from", "owners"},
    {54, 254, "Other(Specify)", "Other", nullptr, nullptr},
    {57, 257, "Preferred Stock", "Preferred", "Stock", nullptr},
    {58, 258, "Common Stock", "Common", "Stock", nullptr},
    {59, 259, "Additional Paid-In Capital", "Additional", "Paid-In", "Capital"},
    {60, 260, "Retained earnings - Unrestricted", "Retained", "earnings-", "Unrestricted"},
    {61, 261, "Other(Specify)", "Other", nullptr, nullptr},
    {64, 264, "Equity in Assets Leased from Related Org", "Assets", "Leased from", "Related Org"},
    {65, 265, "Equity in Related Organization", "Equity in", "Related Org", nullptr},
};

std::vector<FieldDef> CostCentreFields() {
    return {CurrencyField("LineNum"), CurrencyField("CCNum"), TextField("CCName", 50),
            TextField("ColLabel1", 16, true), TextField("ColLabel2", 16, true), TextField("ColLabel3", 16, true)};
}

}  // namespace

void Build_Worksheets() {
    BuildTable("Worksheets",
                {TextField("Item", 16, true), IntegerField("Calc_Lvl"), TextField("ItemName", 100, true)},
                {"INSERT INTO Worksheets (Item, Calc_Lvl) VALUES ('Worksheets', 999)"},
                "CREATE UNIQUE INDEX ndxWorksheets ON Worksheets (Item) WITH DISALLOW NULL;", Registry::None);
}

void Build_Master(const NewCrfEntries& entries) {
    BuildTable("Master",
                {DateField("BuildDate"), TextField("FormNum", 8), TextField("ProviderNumber", 8),
                 DateField("FYStart"), DateField("FYEnd"), TextField("ProviderName", 36)},
                {}, "", Registry::None);
    // The identity row is stored strictly: a report whose identity did not fit
    // must not be made at all.
    try {
        Db().ExecuteStrict(
            "INSERT INTO Master (BuildDate, FormNum, ProviderNumber, FYStart, FYEnd, ProviderName) "
            "VALUES (?, ?, ?, ?, ?, ?)",
            {Value(DateTime::Now()), Value(LeftChars(entries.txtFormNum, 4)), Value(entries.txtProviderNum),
             Value(DateOf(entries.txtFYStart)), Value(DateOf(entries.txtFYEnd)), Value(entries.txtFacilityName)});
    } catch (const DbError& e) {
        throw DbError(std::string("Table Master: ") + e.what(), e.Code());
    }
    RegisterFixedTable("Master");
}

void Build_HeaderLines() {
    BuildTable("HeaderLines", {IntegerField("LineNum"), TextField("Line", 60, true)},
                {"INSERT INTO HeaderLines (LineNum) VALUES (1);", "INSERT INTO HeaderLines (LineNum) VALUES (2);",
                 "INSERT INTO HeaderLines (LineNum) VALUES (3);"},
                "", Registry::Fixed);
}

void Build_CostCenters() {
    std::vector<Seed> rows;
    rows.reserve(std::size(kStandardCostCentres));
    for (const auto& r : kStandardCostCentres) {
        rows.push_back({"INSERT INTO CostCenters (LineNum, CCNum, CCName, ColLabel1, ColLabel2, ColLabel3) "
                        "VALUES (?, ?, ?, ?, ?, ?)",
                        {Value::Cur(r.lineNum), Value::Cur(r.ccNum), Value(r.name), TextOrNull(r.label1),
                         TextOrNull(r.label2), TextOrNull(r.label3)}});
    }
    BuildTable("CostCenters", CostCentreFields(), rows, "CREATE UNIQUE INDEX ndx ON CostCenters (CCNum);",
                Registry::Fixed);
}

void Build_DeletedCCs() { BuildTable("DeletedCCs", CostCentreFields(), {}, "", Registry::None); }

}  // namespace vt
