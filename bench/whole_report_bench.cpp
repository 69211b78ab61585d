// A large report from start to end, in one run: New_CRF; filling it through
// the same calls the editors make; Calc_All; Print_All into its print file;
// and, as the floor, as many single-row writes as Calc_All made, through raw
// sqlite3 prepared statements in one transaction. Scale 1 is 60 health-care
// facilities, 20 other components and 10 regional offices, 25 E-1 and 25 F-1
// columns, every amount filled; scale 2 doubles every count, so the two
// Calc_All times show how the calculation grows. Each phase reports its best
// run ("*_ms") and its ratio to the floor ("*_vs_floor"). The scale 1 report's
// print file is also printed to a PDF through the Qt printer, as the program
// prints it when there is no printer.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/chain/component_sheet.h"
#include "engine/chain/f1.h"
#include "engine/general/b.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "print/print.h"
#include "shell/core/calc_all.h"
#include "shell/core/whole_report.h"
#include "store/report.h"

#ifdef VT_HAVE_QT
#include <fstream>
#include <iterator>

#include "bench/qt_application.h"
#include "platform/printer/qt_printer.h"
#include "platform/settings/settings.h"
#endif

namespace {

namespace fs = std::filesystem;
using namespace vt;

// Chooses the same file every time, answers every message with OK and counts them.
class QuietUi : public ui::UserInterface {
public:
    explicit QuietUi(std::string path) : path_(std::move(path)) {}
    int MessageBox(const std::string& prompt, int, const std::string&) override {
        ++messages;
        lastMessage = prompt;
        return ui::kOk;
    }
    void Beep() override {}
    void SetStatus(const std::string&, bool) override {}
    void SetBusy(bool) override {}
    void DoEvents() override {}
    std::optional<ui::FileChoice> ChooseSaveFile(const ui::FileRequest&) override {
        return ui::FileChoice{path_, fs::path(path_).filename().string()};
    }
    std::optional<ui::FileChoice> ChooseOpenFile(const ui::FileRequest&) override { return std::nullopt; }
    void RefreshWorksheetWindows() override {}
    void ShowReportOpened(const std::string&, const std::string&) override {}
    void HideNewReportDialog() override {}
    int messages = 0;
    std::string lastMessage;

private:
    std::string path_;
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// `count` line numbers spread over the whole lines 1..wholeLines, each with
// its sub-lines .01, .02, ...
std::vector<Currency> Lines(int count, int wholeLines) {
    const int perLine = (count + wholeLines - 1) / wholeLines;
    std::vector<Currency> out;
    for (int w = 1; w <= wholeLines && static_cast<int>(out.size()) < count; ++w)
        for (int s = 0; s < perLine && static_cast<int>(out.size()) < count; ++s)
            out.push_back(Currency::FromScaled(w * 10000LL + s * 100LL));
    return out;
}

Value Money(long long whole) { return Value(Currency::FromInt(whole)); }

// Non-capital cost centres for the E-1 and F-1 columns (never 30.xx, whose
// columns belong to G): the standard ones, then new sub-centres of 11-29.
std::vector<Currency> ChooseColumnCentres(int count) {
    std::vector<Currency> out;
    auto& db = Db();
    auto rs = db.OpenRecordset("SELECT CCNum FROM CostCenters WHERE CCNum >= 10 AND CCNum < 200 AND Int(CCNum) <> 30 "
                               "ORDER BY CCNum;");
    for (; !rs.Eof() && static_cast<int>(out.size()) < count; rs.MoveNext()) out.push_back(rs["CCNum"].ToCurrency());
    for (int sub = 1; static_cast<int>(out.size()) < count; ++sub) {
        for (int whole = 11; whole <= 29 && static_cast<int>(out.size()) < count; ++whole) {
            Currency cc = Currency::FromScaled(whole * 10000LL + sub * 100LL);
            db.Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName, ColLabel1) VALUES (?, ?, ?, ?);",
                       {Value(cc), Value(cc), Value("Bench centre " + cc.ToText()), Value("Bench")});
            Insert_CC_B(cc);
            out.push_back(cc);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Every value column of a component sheet's component rows, one row write per row.
void FillComponentRows(const std::string& sheet, int firstField, int skipLast, int salt) {
    auto& db = Db();
    const auto fields = db.Fields(sheet);
    std::string set;
    std::vector<std::string> names;
    for (size_t f = static_cast<size_t>(firstField); f + static_cast<size_t>(skipLast) < fields.size(); ++f) {
        set += (set.empty() ? "" : ",") + fields[f].name + "=?";
        names.push_back(fields[f].name);
    }
    if (names.empty()) return;
    auto rows = db.OpenRecordset("SELECT SeqNum FROM " + sheet +
                                 " WHERE SeqNum > 0 AND SeqNum < 33 AND SeqNum NOT IN (18, 28) ORDER BY SeqNum;");
    int n = salt;
    for (; !rows.Eof(); rows.MoveNext()) {
        std::vector<Value> params;
        for (size_t k = 0; k < names.size(); ++k) params.push_back(Money(100 + (n++ * 37) % 900));
        params.push_back(rows["SeqNum"]);
        db.Execute("UPDATE " + sheet + " SET " + set + " WHERE SeqNum=?;", params);
    }
}

void FillCostRow(const std::string& sheet, int firstField, int skipLast, long long amount) {
    auto& db = Db();
    const auto fields = db.Fields(sheet);
    for (size_t f = static_cast<size_t>(firstField); f + static_cast<size_t>(skipLast) < fields.size(); ++f)
        db.Execute("UPDATE " + sheet + " SET " + fields[f].name + "=? WHERE SeqNum = 35;", {Money(amount)});
}

void FillReport(int scale) {
    auto& db = Db();
    db::Transaction tx(db);
    const auto dayFrom = Value(*DateTime::FromParts(2006, 1, 1));
    const auto dayTo = Value(*DateTime::FromParts(2006, 12, 31));
    db.Execute("UPDATE Ap1 SET Info = '03/01/1998' WHERE SeqNum = 4;");

    // The chain's components, as the A editors add them.
    int n = 0;
    for (Currency line : Lines(60 * scale, 15)) {
        const std::string name = "Facility " + std::to_string(++n);
        db.Execute("INSERT INTO Ap3 (LineNum, Component, MedicareNo, PeriodFrom, PeriodTo) VALUES (?, ?, ?, ?, ?);",
                   {Value(line), Value(name), Value(std::to_string(100000 + n)), dayFrom, dayTo});
        Insert_Component_Line(line, 3);
        Propagate_Component_Field(line, 3, "Component", name);
        Propagate_Component_Field(line, 3, "MedicareNo", std::to_string(100000 + n));
    }
    for (Currency line : Lines(20 * scale, 8)) {
        const std::string name = "Other component " + std::to_string(++n);
        db.Execute("INSERT INTO Ap4 (LineNum, Component, PeriodFrom, PeriodTo) VALUES (?, ?, ?, ?);",
                   {Value(line), Value(name), dayFrom, dayTo});
        Insert_Component_Line(line, 4);
        Propagate_Component_Field(line, 4, "Component", name);
    }
    for (Currency line : Lines(10 * scale, 4)) {
        const std::string name = "Region " + std::to_string(++n);
        db.Execute("INSERT INTO Ap5 (LineNum, Col1) VALUES (?, ?);", {Value(line), Value(name)});
        Insert_Component_Line(line, 5);
        Propagate_Component_Field(line, 5, "Component", name);
    }

    // The E-1 and F-1 columns the user picks.
    for (Currency cc : ChooseColumnCentres(25 * scale)) {
        Add_Chosen_CC_Column("E1", cc);
        Add_F1_Column(cc);
    }

    // Worksheet B and the sheets that feed it.
    {
        auto lines = db.OpenRecordset("SELECT LineNum FROM B WHERE CCNum > 0 ORDER BY LineNum;");
        for (int k = 0; !lines.Eof(); lines.MoveNext(), ++k)
            db.Execute("UPDATE B SET Expenses=? WHERE LineNum=?;", {Money(200000 + k * 1000), lines["LineNum"]});
    }
    for (int k = 1; k <= 20 * scale; ++k)
        db.Execute("INSERT INTO B1 (SeqNum, Explanation, Code, UpCCNum, UpAmount, DnCCNum, DnAmount) "
                   "VALUES (?, ?, ?, 11, ?, 12, ?);",
                   {Value(k), Value("Reclassification " + std::to_string(k)), Value(std::string(1, char('A' + k % 26))),
                    Money(100 + k), Money(100 + k)});
    for (const char* part : {"B2p1", "B2p2"})
        for (int row : {1, 2, 3, 4, 5, 6, 8})
            db.Execute(std::string("UPDATE ") + part +
                           " SET BegBalance=?, Purchases=?, Donation=?, Disposals=?, DepAssets=? WHERE SeqNum=?;",
                       {Money(10000 * row), Money(500 * row), Money(50), Money(100), Money(9000 * row), Value(row)});
    {
        auto rows = db.OpenRecordset("SELECT SeqNum FROM B2p3 WHERE SeqNum < 5 ORDER BY SeqNum;");
        for (int k = 1; !rows.Eof(); rows.MoveNext(), ++k)
            db.Execute("UPDATE B2p3 SET GrossAssets=?, CapLeases=?, Depreciation=?, Lease=?, Interest=? WHERE SeqNum=?;",
                       {Money(30000 * k), Money(1000), Money(2000 * k), Money(300), Money(400), rows["SeqNum"]});
        db.Execute("UPDATE B2p3 SET Insurance=12000, Taxes=6000, CapRelated=3000 WHERE SeqNum = 5;");
    }
    for (int line = 1; line <= 13; ++line)
        db.Execute("UPDATE C SET Basis='A', Amount=?, CCNum=? WHERE LineNum=?;",
                   {Money(-100 * line), Value(10 + line), Value(line)});
    db.Execute("UPDATE DpA SET Answer = 'Yes';");
    for (int k = 1; k <= 10; ++k)
        db.Execute("INSERT INTO DpB (SeqNum, LineNum, ExpAcct, Amount, AmtAllowable) VALUES (?, ?, ?, ?, ?);",
                   {Value(k), Value(10 + k), Value("Related cost " + std::to_string(k)), Money(5000), Money(4000)});
    for (int k = 1; k <= 3; ++k)
        db.Execute("INSERT INTO DpC (SeqNum, RelatedOrg, Type) VALUES (?, ?, 'Management');",
                   {Value(k), Value("Related organization " + std::to_string(k))});

    // The allocation sheets: every statistic and direct amount, each cost to allocate.
    FillComponentRows("E", 4, 1, 1);
    FillComponentRows("E1", 4, 1, 2);
    FillComponentRows("Fp2", 3, 0, 3);
    FillCostRow("Fp2", 3, 0, 150000);
    FillComponentRows("F1p2", 4, 1, 4);
    FillCostRow("F1p2", 4, 1, 80000);
    db.Execute("UPDATE Gp1 SET TotalCost = 6000000 WHERE SeqNum = 1;");
    db.Execute("UPDATE Gp1 SET TotalCost = 3000000 WHERE SeqNum = 2;");
    db.Execute("UPDATE Gp1 SET TotalCost = 1000000 WHERE SeqNum = 3;");
    {
        auto rows = db.OpenRecordset("SELECT SeqNum FROM Gp2 WHERE SeqNum > 0 AND SeqNum < 33 AND SeqNum NOT IN (18, 28);");
        for (int k = 0; !rows.Eof(); rows.MoveNext(), ++k)
            db.Execute("UPDATE Gp2 SET TotalCost=? WHERE SeqNum=?;", {Money(50000 + 1000 * (k % 17)), rows["SeqNum"]});
    }
    db.Execute("UPDATE I SET Col_1 = 9000000 WHERE SeqNum = 1;");
    db.Execute("UPDATE I SET Col_1 = 1000 WHERE SeqNum > 4 AND SeqNum < 5;");
    db.Execute("UPDATE I SET Col_1 = 2000 WHERE SeqNum = 6;");
    {
        auto rows = db.OpenRecordset("SELECT LineNum FROM J WHERE CCNum > 0 ORDER BY LineNum;");
        for (int k = 0; !rows.Eof(); rows.MoveNext(), ++k)
            db.Execute("UPDATE J SET Col_1=? WHERE LineNum=?;", {Money(1000 + 10 * k), rows["LineNum"]});
    }
    tx.Commit();
}

// The floor: `rows` single-row updates by key through a raw prepared statement, one transaction.
double RawRowWrites(const std::string& folder, long long rows) {
    const std::string path = folder + "/floor.db";
    fs::remove(path);
    sqlite3* h = nullptr;
    if (sqlite3_open(path.c_str(), &h) != SQLITE_OK) throw std::runtime_error("cannot open the floor database");
    auto exec = [&](const char* sql) {
        if (sqlite3_exec(h, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(h));
    };
    exec("CREATE TABLE T (Id INTEGER, Amount REAL)");
    exec("CREATE UNIQUE INDEX ndx ON T (Id)");
    exec("BEGIN");
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(h, "INSERT INTO T (Id, Amount) VALUES (?, 0)", -1, &ins, nullptr);
    for (long long i = 1; i <= rows; ++i) {
        sqlite3_bind_int64(ins, 1, i);
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    exec("COMMIT");

    const auto start = std::chrono::steady_clock::now();
    exec("BEGIN");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "UPDATE T SET Amount = ? WHERE Id = ?", -1, &st, nullptr);
    for (long long i = 1; i <= rows; ++i) {
        sqlite3_bind_double(st, 1, static_cast<double>(i % 1000) + 0.25);
        sqlite3_bind_int64(st, 2, i);
        if (sqlite3_step(st) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(h));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    exec("COMMIT");
    const double t = Seconds(start);
    sqlite3_close(h);
    fs::remove(path);
    return t;
}

std::map<int, double> calcBest;  // best Calc_All seconds by scale

void BM_WholeReport(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    const fs::path dir = fs::temp_directory_path() / ("vt-whole-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    QuietUi quiet((dir / "BENCH.CRF").string());
    ui::InstallUi(&quiet);
    const NewCrfEntries entries{"0287", "654321", "01/01/2006", "12/31/2006", "Bench Home Office"};

    double bestNew = 1e9, bestFill = 1e9, bestCalc = 1e9, bestPrint = 1e9, bestFloor = 1e9;
    long long calcWrites = 0, fillWrites = 0;
    int calcMessages = 0;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        if (!New_Report(entries)) {
            state.SkipWithError("New_CRF failed");
            break;
        }
        bestNew = std::min(bestNew, Seconds(t));

        sqlite3* h = Db().Handle();
        auto changes = sqlite3_total_changes64(h);
        t = std::chrono::steady_clock::now();
        FillReport(scale);
        bestFill = std::min(bestFill, Seconds(t));
        fillWrites = sqlite3_total_changes64(h) - changes;

        quiet.messages = 0;
        changes = sqlite3_total_changes64(h);
        t = std::chrono::steady_clock::now();
        Calc_All();
        bestCalc = std::min(bestCalc, Seconds(t));
        calcWrites = sqlite3_total_changes64(h) - changes;
        calcMessages = quiet.messages;

        t = std::chrono::steady_clock::now();
        Print_All();
        bestPrint = std::min(bestPrint, Seconds(t));

        bestFloor = std::min(bestFloor, RawRowWrites(dir.string(), calcWrites));
        Close_Report();
    }
    ui::InstallUi(nullptr);
    fs::remove_all(dir);

    calcBest[scale] = bestCalc;
    state.counters["new_crf_ms"] = bestNew * 1000;
    state.counters["fill_ms"] = bestFill * 1000;
    state.counters["calc_all_ms"] = bestCalc * 1000;
    state.counters["print_all_ms"] = bestPrint * 1000;
    state.counters["floor_ms"] = bestFloor * 1000;
    state.counters["calc_rows"] = static_cast<double>(calcWrites);
    state.counters["fill_rows"] = static_cast<double>(fillWrites);
    state.counters["new_crf_vs_floor"] = bestNew / bestFloor;
    state.counters["fill_vs_floor"] = bestFill / bestFloor;
    state.counters["calc_all_vs_floor"] = bestCalc / bestFloor;
    state.counters["print_all_vs_floor"] = bestPrint / bestFloor;
    // A calculation that stopped with a message would time less than the whole work.
    state.counters["calc_messages"] = calcMessages;
    if (calcMessages > 0) state.SetLabel("Calc_All said: " + quiet.lastMessage);
    if (scale > 1 && calcBest.count(1)) state.counters["calc_growth_vs_scale1"] = bestCalc / calcBest[1];
}
BENCHMARK(BM_WholeReport)->Arg(1)->Arg(2)->Iterations(3)->Unit(benchmark::kMillisecond);

#ifdef VT_HAVE_QT
// Pages of a PDF as Qt writes it: one "/Type /Page" object each, apart from
// the "/Type /Pages" tree.
int PdfPages(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string mark = "/Type /Page";
    int pages = 0;
    for (auto at = bytes.find(mark); at != std::string::npos; at = bytes.find(mark, at + mark.size()))
        if (at + mark.size() >= bytes.size() || bytes[at + mark.size()] != 's') ++pages;
    return pages;
}

// The sample report is built and its print file written once, untimed; each
// run prints that file whole, as Print_All sends it to the printer.
void BM_WholeReportToPdf(benchmark::State& state) {
    bench::EnsureQtApplication();
    const fs::path dir = fs::temp_directory_path() / ("vt-whole-pdf-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    QuietUi quiet((dir / "BENCH.CRF").string());
    ui::InstallUi(&quiet);
    // The user's own print quality must not change the figures.
    settings::IniSettings store((dir / "settings").string());
    settings::InstallSettings(&store);
    const NewCrfEntries entries{"0287", "654321", "01/01/2006", "12/31/2006", "Bench Home Office"};

    std::string prt, pdf;
    if (New_Report(entries)) {
        FillReport(1);
        quiet.messages = 0;
        Calc_All();
        // A calculation that stopped with a message leaves a report short of pages.
        if (quiet.messages > 0) state.SkipWithError(("Calc_All said: " + quiet.lastMessage).c_str());
        // No printer is installed yet, so this only writes the print file.
        Print_All();
        prt = print::Whole_Report_Path();
        Close_Report();
    }
    // Always a PDF, so a machine with a printer puts nothing on paper.
    printer::QtPrinter toPdf(printer::QtPrinter::Target::Pdf);
    printer::InstallPrinter(&toPdf);

    double best = 1e9;
    for (auto _ : state) {
        if (prt.empty() || !fs::exists(prt)) {
            state.SkipWithError("the sample report's print file was not written");
            break;
        }
        int orientation = 1;
        const auto t = std::chrono::steady_clock::now();
        if (print::Print_File(prt, orientation) != 0) {
            state.SkipWithError("printing to PDF failed");
            break;
        }
        best = std::min(best, Seconds(t));
        pdf = toPdf.LastOutput();
    }
    const int pages = pdf.empty() ? 0 : PdfPages(pdf);
    printer::InstallPrinter(nullptr);
    settings::InstallSettings(nullptr);
    ui::InstallUi(nullptr);
    fs::remove_all(dir);

    if (pages == 0) return;
    state.counters["pages"] = pages;
    state.counters["pdf_ms"] = best * 1000;
    state.counters["ms_per_page"] = best * 1000 / pages;
    state.SetLabel("the scale 1 sample report's print file to PDF");
}
BENCHMARK(BM_WholeReportToPdf)->Iterations(3)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
