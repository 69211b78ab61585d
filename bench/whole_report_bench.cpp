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

#include "bench/sample_report.h"
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
        bench::FillReport(scale);
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
        bench::FillReport(1);
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
