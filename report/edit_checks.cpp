#include "report/edit_checks.h"

#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "engine/chain/component_rows.h"
#include "engine/general/c.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "platform/value/text.h"
#include "print/print.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

int Edit_Check_Level = 0;

namespace {

Currency NzCur(const Value& v) { return Nz_Num(v).ToCurrency(); }
std::string N(const Value& v) { return NzCur(v).ToText(); }

// A check that cannot run (its worksheet missing, or too old or damaged to
// be read) is itself a finding: the report must never read "No errors found"
// when a worksheet was not looked at. The other checks still run.
// A failure of the file itself (disk full, in use) ends them all.
void RunCheck(const std::string& sheet, std::initializer_list<const char*> tables, const std::function<void()>& check) {
    const std::string head = "Worksheet " + sheet + ": This worksheet could not be checked: ";
    for (const char* t : tables)
        if (!Table_Exists(t)) {
            Add_Warning(head + "the table " + t + " is missing");
            return;
        }
    try {
        check();
    } catch (const db::DbError& e) {
        if (db::IsEnvironmental(e.Code())) throw;
        Add_Warning(head + e.what());
    } catch (const TypeMismatch& e) {
        Add_Warning(head + e.what());
    }
}

void CheckAp1() {
    auto rs = Db().OpenRecordset("SELECT SeqNum, Info FROM Ap1 WHERE SeqNum IN(4, 6.01) ORDER BY SeqNum;");
    std::optional<DateTime> chainStart, reportStart;
    for (; !rs.Eof(); rs.MoveNext()) {
        const Currency seq = NzCur(rs["SeqNum"]);
        if (seq == Currency::FromInt(4)) chainStart = To_Date(rs["Info"]);
        else reportStart = To_Date(rs["Info"]);
    }
    if (chainStart && reportStart && *chainStart > *reportStart)
        Add_Warning("Worksheet A Part I: The Chain Operation Start Date should not be after the Cost Report Start Date");
}

void CheckAp3() {
    auto rs = Db().OpenRecordset("SELECT LineNum, PeriodFrom, PeriodTo FROM Ap3 ORDER BY LineNum;");
    for (; !rs.Eof(); rs.MoveNext()) {
        const Value from = rs["PeriodFrom"], to = rs["PeriodTo"];
        const std::string n = N(rs["LineNum"]);
        if (!IsDate(from))
            Add_Warning("Worksheet A Part III: The Periods Ending in Fiscal Year From date in column 3 is missing on line " + n);
        else if (!IsDate(to))
            Add_Warning("Worksheet A Part III: The Periods Ending in Fiscal Year To date in column 4 is missing on line " + n);
        else if (To_Date(from) > To_Date(to))
            Add_Warning("Worksheet A Part III: The Periods Ending in Fiscal Year From date in column 3 is after the "
                        "Periods Ending in Fiscal Year To date in column 4 on line " + n);
    }
}

void CheckAp4() {
    auto rs = Db().OpenRecordset("SELECT LineNum, PeriodFrom, PeriodTo FROM Ap4 ORDER BY LineNum;");
    for (; !rs.Eof(); rs.MoveNext())
        if (To_Date(rs["PeriodFrom"]) > To_Date(rs["PeriodTo"]))
            Add_Warning("Worksheet A Part IV: The Period From Date in column 2 is after the Period To Date in column 3 on line " +
                        N(rs["LineNum"]));
}

// Codes explained on some line against codes so far met only on lines
// without an explanation; what is left pending at the end is reported.
class CodeRule {
public:
    void Line(const std::string& code, bool explained) {
        // An empty code names nothing to explain.
        if (code.empty() || explained_.find(code) != std::string::npos) return;
        if (explained) {
            explained_ += code;
            if (auto at = pending_.find(code); at != std::string::npos) pending_.erase(at, code.size());
        } else if (pending_.find(code) == std::string::npos) {
            pending_ += code;
        }
    }
    const std::string& Explained() const { return explained_; }
    const std::string& Pending() const { return pending_; }

private:
    std::string explained_, pending_;
};

void CheckB1() {
    // Stored order: the total row, made with the sheet, comes before the lines.
    auto rs = Db().OpenRecordset(
        "SELECT SeqNum, Explanation, Code, UpCCNum, UpAmount, DnCCNum, DnAmount FROM B1 ORDER BY rowid;");
    CodeRule codes;
    for (; !rs.Eof(); rs.MoveNext()) {
        const Value upCC = rs["UpCCNum"], up = rs["UpAmount"], dnCC = rs["DnCCNum"], dn = rs["DnAmount"];
        if (NzCur(rs["SeqNum"]) >= Currency::FromInt(100)) {
            if (NzCur(up) != NzCur(dn))
                Add_Warning("Worksheet B-1: the sum of the increases is not equal to the sum of the decreases ");
            continue;
        }
        const std::string n = N(rs["SeqNum"]);
        const Value code = rs["Code"];
        if ((!Is_Zero(upCC) || !Is_Zero(up) || !Is_Zero(dnCC) || !Is_Zero(dn)) && Is_Blank(code))
            Add_Warning("Worksheet B1: Line " + n + " does not have a Code specified in column 1");
        if (!Is_Blank(code) && Is_Zero(up) && Is_Zero(dn))
            Add_Warning("Worksheet B1: Line " + n + " does not have an Increase or Decrease Amount");
        if (Is_Zero(upCC) != Is_Zero(up))
            Add_Warning("Worksheet B1: Line " + n + " is missing the Increase Line Number or the Increase Amount");
        if (Is_Zero(dnCC) != Is_Zero(dn))
            Add_Warning("Worksheet B1: Line " + n + " is missing the Decrease Line Number or the Decrease Amount");
        codes.Line(Trim(Nz_Str(code).ToText()), !Is_Blank(rs["Explanation"]));
    }
    Temp_Text = codes.Explained();
    for (char c : codes.Pending())
        if (c != ' ') Add_Warning(std::string("Worksheet B-1: No explanation has been provided for code ") + c);
}

void CheckC() {
    auto rs = Db().OpenRecordset("SELECT LineNum, Basis, Amount, CCNum FROM C WHERE (LineNum < " +
                                 std::to_string(kCTotalLine) + ") AND (LineNum <> " +
                                 std::to_string(kCRelatedOrganizationsLine) + ") ORDER BY LineNum;");
    for (; !rs.Eof(); rs.MoveNext()) {
        const bool noBasis = Is_Blank(rs["Basis"]), noAmount = Is_Zero(rs["Amount"]), noCC = Is_Zero(rs["CCNum"]);
        if (noBasis && noAmount && noCC) continue;
        const std::string n = N(rs["LineNum"]);
        if (noBasis) Add_Warning("Worksheet C: No Basis has been specified on line " + n);
        if (noAmount) Add_Warning("Worksheet C: No Amount has been specified on line " + n);
        if (noCC) Add_Warning("Worksheet C: No Cost Center has been specified on line " + n);
    }
}

bool AnswerIsYes() {
    auto rs = Db().OpenRecordset("SELECT Answer FROM DpA;");
    return !rs.Eof() && Nz_Str(rs["Answer"]).ToText() == "Yes";
}

double Count(const std::string& sql) { return Nz_Num(Db().Scalar(sql)).ToDouble(); }

void CheckPartFilled(const std::string& part, const std::string& countSql) {
    const bool yes = AnswerIsYes();
    const double count = Count(countSql);
    const std::string sheet = "Worksheet D Part " + part + ": This worksheet ";
    if (yes && count == 0)
        Add_Warning(sheet + "must be completed when the answer to Worksheet D Part A is Yes");
    else if (!yes && count > 0)
        Add_Warning(sheet + "should not be completed when the answer to Worksheet D Part A is No");
}

void CheckGp1() {
    const double partIV = Count("SELECT COUNT(LineNum) AS Cnt FROM Ap4;");
    const double partV = Count("SELECT COUNT(LineNum) AS Cnt FROM Ap5;");
    const Value total = Db().Scalar("SELECT TotalCost FROM Gp1 WHERE SeqNum = 4;");
    if (!total.IsNull() && total.ToDouble() > 0 && partIV <= 0 && partV <= 0)
        Add_Warning("Worksheet G Part I: This worksheet should not be completed when there are no Other Components "
                    "or Regions specified in Worksheets A Part IV and A Part V");
}

// Each statistics column of F Part II or F-1 Part II: its cost centre (row
// 0), its statistics total (the grand total row) and its cost to be allocated.
void CheckStatistics(const std::string& sheet, const std::string& label) {
    const ComponentSheetShape& shape = ShapeOf(sheet);
    auto rs = Db().OpenRecordset("SELECT * FROM " + sheet + " WHERE SeqNum IN(" + std::to_string(kRow0) + "," +
                                 std::to_string(kGrandTotalRow) + "," + std::to_string(kCostRow) +
                                 ") ORDER BY SeqNum;");
    const int fields = rs.FieldCount();
    std::array<std::vector<Value>, 3> rows;
    std::array<bool, 3> seen{};
    for (; !rs.Eof(); rs.MoveNext()) {
        const Currency seq = NzCur(rs["SeqNum"]);
        const int at = seq == Currency::FromInt(kRow0) ? 0 : seq == Currency::FromInt(kGrandTotalRow) ? 1 : 2;
        for (int f = 0; f < fields; ++f) rows[at].push_back(rs.Field(f));
        seen[at] = true;
    }
    if (!seen[0] || !seen[1] || !seen[2]) return;
    const int last = fields - 1 - (shape.rowTotal ? 1 : 0);
    const std::string head = "Worksheet " + label + ": There are ";
    for (int f = LeadingFields(shape); f <= last; ++f) {
        const std::string col = NzCur(rows[0][f]).ToText();
        const Currency stats = NzCur(rows[1][f]), cost = NzCur(rows[2][f]);
        const Currency zero{};
        if (stats <= zero && cost > zero)
            Add_Warning(head + "no statistics in column " + col + ", but the Cost To Be Allocated is greater than zero");
        else if (stats > zero && cost == zero)
            Add_Warning(head + "statistics in column " + col + ", but the Cost To Be Allocated is zero");
    }
}

}  // namespace

void Create_Error_Table() {
    auto& db = Db();
    try {
        if (db.TableExists("Error")) db.DropTable("Error");
    } catch (const db::DbError&) {
    }
    db.CreateTable("Error", {db::TextField("Level", 16, true), db::MemoField("Message", true)});
}

void Clear_Error_Table() { Db().Execute("DELETE FROM Error;"); }

void Add_Edit_Check_Row(const std::string& level, const std::string& message) {
    Db().Execute("INSERT INTO Error (Level, Message) VALUES (?, ?);", {Value(level), Value(message)});
}

void Add_Warning(const std::string& message) {
    Add_Edit_Check_Row("Warning", message);
    Edit_Check_Level = 1;
}

int Run_Edit_Checks() {
    auto& ui = ui::Ui();
    Edit_Check_Level = 0;
    ui.SetStatus(" Performing Edit Checks", true);
    ui.DoEvents();

    {
        // The findings of one run appear together or not at all.
        db::Transaction tx(Db());
        if (!Table_Exists("Error")) Create_Error_Table();
        Clear_Error_Table();

        RunCheck("A Part I", {"Ap1"}, CheckAp1);
        RunCheck("A Part III", {"Ap3"}, CheckAp3);
        RunCheck("A Part IV", {"Ap4"}, CheckAp4);
        RunCheck("B-1", {"B1"}, CheckB1);
        RunCheck("C", {"C"}, CheckC);
        RunCheck("D Part B", {"DpA", "DpB"}, [] { CheckPartFilled("B", "SELECT COUNT(LineNum) AS Cnt FROM DpB;"); });
        RunCheck("D Part C", {"DpA", "DpC"}, [] { CheckPartFilled("C", "SELECT COUNT(SeqNum) AS Cnt FROM DpC;"); });
        RunCheck("G Part I", {"Ap4", "Ap5", "Gp1"}, CheckGp1);
        RunCheck("F Part II", {"Fp2"}, [] { CheckStatistics("Fp2", "F Part II"); });
        RunCheck("F1 Part II", {"F1p2"}, [] { CheckStatistics("F1p2", "F1 Part II"); });

        if (Edit_Check_Level == 0) Add_Edit_Check_Row(" ", "No errors found");
        tx.Commit();
    }

    ui.SetStatus("", false);
    ui.ShowEditCheckResults();
    return Edit_Check_Level;
}

int FindWrapPoint(const std::string& text, int width) {
    if (static_cast<int>(text.size()) <= width) return width;
    for (int place = width; place >= 1; --place)
        if (text[static_cast<size_t>(place - 1)] == ' ') return place;
    return width;
}

namespace {

constexpr int kMessageColumn = 18;
constexpr int kPieceWidth = 62;
constexpr int kPageLines = 110;

int AtLeastOne(int col) { return col < 1 ? 1 : col; }

// Half of a length, rounded to the nearest whole number, a half to the even one.
int HalfToEven(std::size_t length) { return static_cast<int>(std::nearbyint(static_cast<double>(length) / 2.0)); }

std::string HeaderMoment() {
    static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                          "July",    "August",   "September", "October", "November", "December"};
    const DateTime now = print::PrintNow();
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::string(kMonths[now.Month() - 1]) + " " + two(now.Day()) + ", " + std::to_string(now.Year()) +
           " at " + two(now.Hour()) + ":" + two(now.Minute());
}

void PrintErrorHeader(int fileNum, int& page, int& lines) {
    const auto& r = Report();
    print::Out out(fileNum);
    if (page > 0) out.PageFeed();
    const std::string moment = HeaderMoment();
    lines = print::WriteHeading(out, {
        {{32, "Error Report For"}},
        {{AtLeastOne(36 - static_cast<int>(r.CRF_ProviderName.size()) / 2),
          r.CRF_ProviderNumber + " " + r.CRF_ProviderName}},
        {{AtLeastOne(40 - static_cast<int>(r.CRF_Path.size()) / 2), r.CRF_Path}},
        {{AtLeastOne(40 - HalfToEven(moment.size())), moment}},
        {},
        {{1, "Level"}, {kMessageColumn, "Description"}},
        {{1, std::string(8, '-')}, {kMessageColumn, std::string(63, '-')}},
        {},
    });
    ++page;
}

}  // namespace

void PrintEditChecks() {
    const std::string path = Report().CRF_Folder + "/CalcErrors.prt";
    int fn = 0;
    try {
        fn = print::OpenPrintFile(path);
    } catch (const print::PrintFileError&) {
        Show_Message("Unable to allocate \"" + path + "\".  Printing canceled.", ui::kCritical, "File allocation error");
        return;
    }
    try {
        print::Out out(fn);
        int page = 0, lines = 999;
        if (Table_Exists("Error")) {
            auto rs = Db().OpenRecordset("SELECT Level, Message FROM Error;");
            for (; !rs.Eof(); rs.MoveNext()) {
                if (lines > kPageLines) PrintErrorHeader(fn, page, lines);
                const Value level = rs["Level"];
                out << (level.IsNull() ? std::string("Null") : level.ToText());
                std::string rest = Nz_Str(rs["Message"]).ToText();
                // A row without a message still ends its line, so that the
                // next level does not run on behind it.
                if (rest.empty()) {
                    out.Line();
                    ++lines;
                }
                while (!rest.empty()) {
                    const int cut = FindWrapPoint(rest, kPieceWidth);
                    out.Tab(kMessageColumn) << rest.substr(0, static_cast<size_t>(cut));
                    out.Line();
                    ++lines;
                    rest = static_cast<size_t>(cut) < rest.size() ? rest.substr(static_cast<size_t>(cut)) : "";
                }
            }
        }
        if (page == 0) PrintErrorHeader(fn, page, lines);
    } catch (...) {
        print::AbandonPrintFile(fn);
        throw;
    }
    print::ClosePrintFile(fn);
    int orientation = 1;
    print::Print_File(path, orientation);
}

}  // namespace vt
