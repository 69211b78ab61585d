// A large report from start to end, in one run: New_CRF; filling it through
// the same calls the editors make; Calc_All; Print_All into its print file.
// Scale 1 is 60 health-care facilities, 20 other components and 10 regional
// offices, 25 E-1 and 25 F-1 columns, every amount filled; scale 2 doubles
// every count and scale 4 doubles it again, so the Calc_All times show how
// the calculation grows. Beside Calc_All stands its floor, measured in the
// same run on a copy of the same report taken before the calculation: every
// row the calculation left changed written once, whole, with its final
// values, in one transaction ("final_rows_floor_ms"; SQLite's change count
// would count a row rewritten ten times ten times). Each phase reports its
// best run ("*_ms"). The scale 1 report's print file is also printed to a
// PDF through the Qt printer, as the program prints it when there is no
// printer.
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

#include "app/sample_report.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "print/print.h"
#include "report/calc_all.h"
#include "report/whole_report.h"
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

// One stored value, compared by its storage class and content.
struct Cell {
    int type = SQLITE_NULL;
    sqlite3_int64 i = 0;
    double d = 0;
    std::string bytes;
    bool operator==(const Cell&) const = default;
};

struct TableRows {
    std::vector<std::string> columns;
    std::map<sqlite3_int64, std::vector<Cell>> byRowid;
};

void Check(sqlite3* h, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) throw std::runtime_error(sqlite3_errmsg(h));
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// Every row of every table, by rowid.
std::map<std::string, TableRows> ReadAll(sqlite3* h) {
    std::vector<std::string> tables;
    sqlite3_stmt* st = nullptr;
    Check(h, sqlite3_prepare_v2(h, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'",
                                -1, &st, nullptr));
    while (sqlite3_step(st) == SQLITE_ROW) tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    std::map<std::string, TableRows> all;
    for (const auto& t : tables) {
        TableRows& rows = all[t];
        Check(h, sqlite3_prepare_v2(h, ("SELECT rowid, * FROM " + Quoted(t)).c_str(), -1, &st, nullptr));
        const int n = sqlite3_column_count(st);
        for (int c = 1; c < n; ++c) rows.columns.emplace_back(sqlite3_column_name(st, c));
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<Cell> cells(static_cast<size_t>(n - 1));
            for (int c = 1; c < n; ++c) {
                Cell& cell = cells[static_cast<size_t>(c - 1)];
                cell.type = sqlite3_column_type(st, c);
                if (cell.type == SQLITE_INTEGER) cell.i = sqlite3_column_int64(st, c);
                else if (cell.type == SQLITE_FLOAT) cell.d = sqlite3_column_double(st, c);
                else if (cell.type != SQLITE_NULL)
                    cell.bytes.assign(static_cast<const char*>(sqlite3_column_blob(st, c)),
                                      static_cast<size_t>(sqlite3_column_bytes(st, c)));
            }
            rows.byRowid.emplace(sqlite3_column_int64(st, 0), std::move(cells));
        }
        sqlite3_finalize(st);
    }
    return all;
}

void Bind(sqlite3_stmt* st, int at, const Cell& c) {
    switch (c.type) {
    case SQLITE_INTEGER: sqlite3_bind_int64(st, at, c.i); break;
    case SQLITE_FLOAT: sqlite3_bind_double(st, at, c.d); break;
    case SQLITE_TEXT: sqlite3_bind_text(st, at, c.bytes.data(), static_cast<int>(c.bytes.size()), SQLITE_STATIC); break;
    case SQLITE_BLOB: sqlite3_bind_blob(st, at, c.bytes.data(), static_cast<int>(c.bytes.size()), SQLITE_STATIC); break;
    default: sqlite3_bind_null(st, at);
    }
}

struct FinalRowsFloor {
    long long rows = 0;  // rows changed, added or removed
    double seconds = 0;
};

// The floor: the rows that differ between `before` (a copy of the report
// taken before the calculation) and the open report, written into that copy
// once each, whole, with their final values, through raw prepared
// statements in one transaction. Tables the calculation made or re-shaped
// are made in the copy untimed; their rows count and are written.
FinalRowsFloor MeasureFinalRowsFloor(const std::string& before, sqlite3* after) {
    const auto final = ReadAll(after);
    sqlite3* h = nullptr;
    if (sqlite3_open(before.c_str(), &h) != SQLITE_OK) throw std::runtime_error("cannot open the copy of the report");
    const auto old = ReadAll(h);

    struct Work {
        std::string table;
        const TableRows* rows;
        std::vector<sqlite3_int64> changed, added, removed;
    };
    std::vector<Work> work;
    FinalRowsFloor floor;
    for (const auto& [table, rows] : final) {
        Work w{table, &rows, {}, {}, {}};
        const auto it = old.find(table);
        const bool same = it != old.end() && it->second.columns == rows.columns;
        if (!same) {
            // Made (or re-shaped) by the calculation: made empty in the copy, untimed.
            sqlite3_stmt* st = nullptr;
            Check(after, sqlite3_prepare_v2(after, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?", -1,
                                            &st, nullptr));
            sqlite3_bind_text(st, 1, table.c_str(), -1, SQLITE_TRANSIENT);
            std::string create;
            if (sqlite3_step(st) == SQLITE_ROW) create = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            sqlite3_finalize(st);
            if (it != old.end()) Check(h, sqlite3_exec(h, ("DROP TABLE " + Quoted(table)).c_str(), nullptr, nullptr, nullptr));
            Check(h, sqlite3_exec(h, create.c_str(), nullptr, nullptr, nullptr));
        }
        for (const auto& [rowid, cells] : rows.byRowid) {
            const auto was = same ? it->second.byRowid.find(rowid) : it->second.byRowid.end();
            if (!same || was == it->second.byRowid.end()) w.added.push_back(rowid);
            else if (!(was->second == cells)) w.changed.push_back(rowid);
        }
        if (same)
            for (const auto& [rowid, cells] : it->second.byRowid)
                if (!rows.byRowid.count(rowid)) w.removed.push_back(rowid);
        floor.rows += static_cast<long long>(w.changed.size() + w.added.size() + w.removed.size());
        if (!w.changed.empty() || !w.added.empty() || !w.removed.empty()) work.push_back(std::move(w));
    }

    const auto start = std::chrono::steady_clock::now();
    Check(h, sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr));
    // Runs sql once for each of the rows, binding what bind binds.
    const auto each = [&](const std::string& sql, const std::vector<sqlite3_int64>& rowids, auto bind) {
        if (rowids.empty()) return;
        sqlite3_stmt* st = nullptr;
        Check(h, sqlite3_prepare_v2(h, sql.c_str(), -1, &st, nullptr));
        for (const sqlite3_int64 rowid : rowids) {
            bind(st, rowid);
            Check(h, sqlite3_step(st));
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
    };
    for (const Work& w : work) {
        const auto& columns = w.rows->columns;
        const auto cellsOf = [&](sqlite3_stmt* st, sqlite3_int64 rowid, int first) {
            const auto& cells = w.rows->byRowid.at(rowid);
            for (size_t c = 0; c < cells.size(); ++c) Bind(st, static_cast<int>(c) + first, cells[c]);
        };
        // A row is written whole: every field takes its final value.
        std::string set, names = "rowid", marks = "?";
        for (const auto& c : columns) {
            set += (set.empty() ? "" : ", ") + Quoted(c) + " = ?";
            names += ", " + Quoted(c);
            marks += ", ?";
        }
        const std::string t = Quoted(w.table);
        each("UPDATE " + t + " SET " + set + " WHERE rowid = ?", w.changed, [&](sqlite3_stmt* st, sqlite3_int64 rowid) {
            cellsOf(st, rowid, 1);
            sqlite3_bind_int64(st, static_cast<int>(columns.size()) + 1, rowid);
        });
        each("INSERT INTO " + t + " (" + names + ") VALUES (" + marks + ")", w.added,
             [&](sqlite3_stmt* st, sqlite3_int64 rowid) {
                 sqlite3_bind_int64(st, 1, rowid);
                 cellsOf(st, rowid, 2);
             });
        each("DELETE FROM " + t + " WHERE rowid = ?", w.removed,
             [&](sqlite3_stmt* st, sqlite3_int64 rowid) { sqlite3_bind_int64(st, 1, rowid); });
    }
    Check(h, sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr));
    floor.seconds = Seconds(start);
    sqlite3_close(h);
    return floor;
}

std::map<int, double> calcBest;         // best Calc_All seconds by scale
std::map<int, double> floorBest;        // best final-rows floor seconds by scale
std::map<int, long long> finalRowsAt;  // rows Calc_All leaves changed, by scale

void BM_WholeReport(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    const fs::path dir = fs::temp_directory_path() / ("vt-whole-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    QuietUi quiet((dir / "BENCH.CRF").string());
    ui::InstallUi(&quiet);
    const NewCrfEntries entries{"0287", "654321", "01/01/2006", "12/31/2006", "Bench Home Office"};
    const std::string copy = (dir / "before-calc.db").string();

    double bestNew = 1e9, bestFill = 1e9, bestCalc = 1e9, bestPrint = 1e9, bestFloor = 1e9;
    long long calcChanges = 0, finalRows = 0;
    int calcMessages = 0;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        if (!NewReport(entries)) {
            state.SkipWithError("New_CRF failed");
            break;
        }
        bestNew = std::min(bestNew, Seconds(t));

        t = std::chrono::steady_clock::now();
        sample::FillReport(scale);
        bestFill = std::min(bestFill, Seconds(t));
        Db().BackupTo(copy);

        sqlite3* h = Db().Handle();
        quiet.messages = 0;
        const auto changes = sqlite3_total_changes64(h);
        t = std::chrono::steady_clock::now();
        Calc_All();
        bestCalc = std::min(bestCalc, Seconds(t));
        calcChanges = sqlite3_total_changes64(h) - changes;
        calcMessages = quiet.messages;

        try {
            const FinalRowsFloor floor = MeasureFinalRowsFloor(copy, h);
            bestFloor = std::min(bestFloor, floor.seconds);
            finalRows = floor.rows;
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            CloseReport();
            break;
        }

        t = std::chrono::steady_clock::now();
        Print_All();
        bestPrint = std::min(bestPrint, Seconds(t));
        CloseReport();
        fs::remove(copy);
    }
    ui::InstallUi(nullptr);
    fs::remove_all(dir);

    calcBest[scale] = bestCalc;
    floorBest[scale] = bestFloor;
    finalRowsAt[scale] = finalRows;
    state.counters["new_crf_ms"] = bestNew * 1000;
    state.counters["fill_ms"] = bestFill * 1000;
    state.counters["calc_all_ms"] = bestCalc * 1000;
    state.counters["print_all_ms"] = bestPrint * 1000;
    state.counters["final_rows"] = static_cast<double>(finalRows);
    state.counters["final_rows_floor_ms"] = bestFloor * 1000;
    state.counters["calc_all_vs_final_rows_floor"] = bestCalc / bestFloor;
    // SQLite's count of rows written, every rewrite of a row counted again.
    state.counters["calc_changes"] = static_cast<double>(calcChanges);
    // A calculation that stopped with a message would time less than the whole work.
    state.counters["calc_messages"] = calcMessages;
    if (calcMessages > 0) state.SetLabel("Calc_All said: " + quiet.lastMessage);
    // From half the scale: how much longer the calculation took, beside how
    // many more rows it changed and how much longer writing them took. E-1's
    // and F-1's rows widen with the scale (a column per chosen cost centre),
    // so the floor grows faster than the count of rows.
    if (calcBest.count(scale / 2) && scale > 1 && finalRowsAt[scale / 2] > 0) {
        state.counters["calc_growth_vs_half_scale"] = bestCalc / calcBest[scale / 2];
        state.counters["floor_growth_vs_half_scale"] = bestFloor / floorBest[scale / 2];
        state.counters["rows_growth_vs_half_scale"] =
            static_cast<double>(finalRows) / static_cast<double>(finalRowsAt[scale / 2]);
    }
}
BENCHMARK(BM_WholeReport)->Arg(1)->Arg(2)->Arg(4)->Iterations(5)->Unit(benchmark::kMillisecond);

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
    if (NewReport(entries)) {
        sample::FillReport(1);
        quiet.messages = 0;
        Calc_All();
        // A calculation that stopped with a message leaves a report short of pages.
        if (quiet.messages > 0) state.SkipWithError(("Calc_All said: " + quiet.lastMessage).c_str());
        // No printer is installed yet, so this only writes the print file.
        Print_All();
        prt = print::WholeReportPath();
        CloseReport();
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
