// The windows on the large sample report (app/sample_report.h), calculated,
// at scale 1 and 2, as the user meets them: each viewer and editor opened
// (shown until its rows are painted); one typed cell of B stored with every
// viewer open (the write and every window's refresh, painted); a line of A
// Part III added and deleted in its editor (the component sheets follow);
// a column added in E-1; the whole-report calculation from the menu with
// every viewer open; Print Entire CRF to a PDF. Each figure is the best of
// its runs ("*_ms"), beside the same work without windows ("engine_ms") and
// the ratio of the two ("vs_engine"), so that the windows' own cost shows.
// Run by hand; nothing waits for a person (messages are answered, the
// cost-centre picker gives its choice at once).
#ifdef VT_HAVE_GUI
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/answering_ui.h"
#include "app/sample_report.h"
#include "app/worksheet_forms.h"
#include "bench/qt_application.h"
#include "editors/chain_edit_form.h"
#include "editors/edit_form.h"
#include "engine/chain/component_sheet.h"
#include "engine/general/b.h"
#include "platform/db/db.h"
#include "platform/grid/grid_qt.h"
#include "platform/printer/qt_printer.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui_qt.h"
#include "report/calc_all.h"
#include "report/components.h"
#include "report/report_file.h"
#include "report/whole_report.h"
#include "shell/forms.h"
#include "shell/frmMain.h"
#include "shell/worksheet_window.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"

namespace {

namespace fs = std::filesystem;
using namespace vt;
using Clock = std::chrono::steady_clock;

const std::vector<std::string> kViewers = {"Ap1", "Ap3", "Ap4", "Ap5", "B",   "B1",   "B2p1", "B2p2",
                                           "B2p3", "C",  "DpA", "DpB", "DpC", "E",    "E1",   "Fp1",
                                           "Fp2", "F1p1", "F1p2", "Gp1", "Gp2", "H",   "I",    "J"};
const std::vector<std::string> kEditors = {"Ap1", "Ap3", "Ap4", "Ap5", "B",    "B1",   "B2p1",
                                           "B2p2", "B2p3", "C", "DpA", "DpB", "DpC", "E",
                                           "E1",  "Fp2",  "F1p2", "Gp1", "Gp2", "I",  "J"};
constexpr int kRuns = 5;

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What is pending painted now, as the user would see it: every window's
// area that a change made stale, and nothing else.
void PaintAll() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The program's ground for one benchmark: settings and print files in a
// folder of their own, the PDF printer, the main window, and the sample report
// at the scale asked for, opened from a fresh copy of the calculated file
// (built once per scale, the first time it is asked for).
class Session {
public:
    explicit Session(int scale) {
        bench::EnsureQtApplication();
        static const bool registered = (gui::RegisterWorksheetForms(), true);
        (void)registered;
        // The offscreen platform's note on every window shown would bury the figures.
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (!text.contains("propagateSizeHints")) previous(type, context, text);
            });
        fs::create_directories(dir_);
        settings_ = std::make_unique<settings::IniSettings>(dir_.string());
        settings::InstallSettings(settings_.get());
        ui::InstallUi(&ui);
        printer::InstallPrinter(&printer);
        gui::StartOptions options;
        options.splashTime = std::chrono::milliseconds(0);
        options.instanceKey = "vt-window-bench-" + std::to_string(::getpid());
        options.quit = [] {};
        main = new gui::frmMain(options);
        ok = main->Form_Load();
        main->show();
        const std::string built = Built(scale);
        if (!ok || built.empty()) {
            ok = false;
            return;
        }
        ui.path = (dir_ / "SAMPLE.CRF").string();
        fs::copy_file(built, ui.path, fs::copy_options::overwrite_existing);
        main->mnuReportOpen_Click();
        Settle();
        ok = Report().CRF_Database && Report().CRF_Database->IsOpen();
    }
    ~Session() {
        if (main) {
            main->CloseDatabaseAndForms();
            delete main;
        }
        Settle();
        CloseReport();
        gui::SetCCChooser(nullptr);
        printer::InstallPrinter(nullptr);
        ui::InstallUi(nullptr);
        settings::InstallSettings(nullptr);
        fs::remove_all(dir_);
    }

    gui::WorksheetWindow* Open(const std::string& mode, const std::string& code) {
        gui::Open_Worksheet_Form(mode, code);
        std::string m = mode;
        return dynamic_cast<gui::WorksheetWindow*>(gui::FormAt(gui::Find_Worksheet_Form(m, code)));
    }
    void OpenEveryViewer() {
        for (const auto& code : kViewers) Open("view", code);
        PaintAll();
    }
    void CloseAll() {
        main->UnloadOtherForms();
        Settle();
    }

    sample::AnsweringUi ui;
    printer::QtPrinter printer{printer::QtPrinter::Target::Pdf};
    gui::frmMain* main = nullptr;
    bool ok = false;

private:
    // The calculated sample report of that scale, made once for the whole run.
    std::string Built(int scale) {
        static std::map<int, std::string> made;
        static const fs::path store = fs::temp_directory_path() / ("vt-window-bench-sample-" + std::to_string(::getpid()));
        if (auto found = made.find(scale); found != made.end()) return found->second;
        fs::create_directories(store);
        const std::string path = (store / ("SAMPLE" + std::to_string(scale) + ".CRF")).string();
        ui.path = path;
        if (!NewReport({"0287", "654321", "01/01/2006", "12/31/2006", "Bench Home Office"})) return "";
        sample::FillReport(scale);
        Calc_All();
        // One cost centre for each Add Column the benchmark makes, none of them a column yet.
        db::Transaction tx(Db());
        for (int k = 0; k < 2 * kRuns; ++k) {
            Currency cc = Currency::FromScaled(290000 + 5000 + k * 100);
            Db().Execute("INSERT INTO CostCenters (LineNum, CCNum, CCName, ColLabel1) VALUES (?, ?, ?, ?);",
                         {Value(cc), Value(cc), Value("Timing centre " + cc.ToText()), Value("Timing")});
            Insert_CC_B(cc);
        }
        tx.Commit();
        CloseReport();
        main->ShowReportClosed();
        std::atexit([] { fs::remove_all(store); });
        return made[scale] = path;
    }

    fs::path dir_ = fs::temp_directory_path() / ("vt-window-bench-" + std::to_string(::getpid()));
    std::unique_ptr<settings::IniSettings> settings_;
};

// `name`_ms; beside it, where there is one, `base`_ms and the ratio `name`_vs_`base`.
void Figures(benchmark::State& state, const std::string& name, double ms, const std::string& base, double baseMs) {
    state.counters[name + "_ms"] = ms;
    if (baseMs <= 0) return;
    state.counters[base + "_ms"] = baseMs;
    state.counters[name + "_vs_" + base] = ms / baseMs;
}

// A window from the first show to its rows painted, then closed; beside it,
// its table read whole.
void OpenWindow(benchmark::State& state, const std::string& mode, const std::string& code, int scale) {
    Session s(scale);
    if (!s.ok) return state.SkipWithError("the sample report did not open");
    double best = 1e9, engine = 1e9;
    const std::string table = code;
    for (auto _ : state) {
        for (int r = 0; r < kRuns; ++r) {
            const auto t = Clock::now();
            gui::WorksheetWindow* w = s.Open(mode, code);
            if (!w) return state.SkipWithError(("no window " + mode + " " + code).c_str());
            w->repaint();
            best = std::min(best, Ms(t));
            gui::UnloadForm(w);
            Settle();

            const auto e = Clock::now();
            auto rs = Db().OpenRecordset("SELECT * FROM " + table + ";");
            for (; !rs.Eof(); rs.MoveNext()) benchmark::DoNotOptimize(rs.Field(0));
            engine = std::min(engine, Ms(e));
        }
    }
    Figures(state, "window", best, "engine", engine);
}

int RowOfLine(gui::WorksheetWindow* w, int line) {
    return w->grd->Data().FindFirst("LineNum", db::FindOp::Eq, Value(Currency::FromInt(line)));
}

// An amount typed into B's editor with every viewer open: stored, every other
// window rebound and the screen painted. Beside it, the field's own UPDATE.
void TypedCell(benchmark::State& state, int scale) {
    Session s(scale);
    if (!s.ok) return state.SkipWithError("the sample report did not open");
    s.OpenEveryViewer();
    gui::WorksheetWindow* e = s.Open("edit", "B");
    PaintAll();
    double best = 1e9, stored = 1e9, engine = 1e9;
    int n = 0;
    for (auto _ : state) {
        for (int r = 0; r < kRuns; ++r) {
            const std::string typed = std::to_string(500000 + ++n);
            const auto t = Clock::now();
            if (!e->grd->TypeIntoCell(RowOfLine(e, 1), 2, typed)) return state.SkipWithError("the cell was refused");
            stored = std::min(stored, Ms(t));
            PaintAll();
            best = std::min(best, Ms(t));

            const auto u = Clock::now();
            Db().Execute("UPDATE B SET Expenses = ? WHERE LineNum = 1;", {Value(Currency::FromInt(400000 + n))});
            engine = std::min(engine, Ms(u));
        }
    }
    // The write and every window rebound, before any of them paints.
    state.counters["stored_and_rebound_ms"] = stored;
    state.counters["windows_open"] = gui::FormCount() - 1;
    Figures(state, "window", best, "engine", engine);
}

// Every open viewer rebound, as after any stored cell, without the write or
// painting: the part of a typed cell that grows with the windows open.
void RefreshEveryViewer(benchmark::State& state, int scale) {
    Session s(scale);
    if (!s.ok) return state.SkipWithError("the sample report did not open");
    s.OpenEveryViewer();
    double best = 1e9;
    for (auto _ : state) {
        for (int r = 0; r < 10; ++r) {
            const auto t = Clock::now();
            gui::Refresh_Grids(-1);
            best = std::min(best, Ms(t));
        }
    }
    Figures(state, "window", best, "", 0);
}

// Add then Delete in A Part III's editor, on the first facility line; beside
// it the same two operations without the window.
void APartThreeLine(benchmark::State& state, int scale, bool viewers) {
    Session s(scale);
    if (!s.ok) return state.SkipWithError("the sample report did not open");
    if (viewers) s.OpenEveryViewer();
    auto* e = dynamic_cast<gui::EditForm*>(s.Open("edit", "Ap3"));
    if (!e) return state.SkipWithError("no editor of A Part III");
    PaintAll();
    double bestAdd = 1e9, bestDelete = 1e9, engineAdd = 1e9, engineDelete = 1e9;
    for (auto _ : state) {
        for (int r = 0; r < kRuns; ++r) {
            e->grd->SetCurrentCell(RowOfLine(e, 1), 1);
            auto t = Clock::now();
            e->cmdAdd_Click();
            PaintAll();
            bestAdd = std::min(bestAdd, Ms(t));
            t = Clock::now();
            e->cmdDelete_Click();
            PaintAll();
            bestDelete = std::min(bestDelete, Ms(t));

            const Currency line = Currency::FromInt(1);
            t = Clock::now();
            {
                db::Transaction tx(Db());
                AddALine(3, line);
                tx.Commit();
            }
            engineAdd = std::min(engineAdd, Ms(t));
            t = Clock::now();
            {
                db::Transaction tx(Db());
                DeleteALine(3, Currency::FromScaled(10100));
                tx.Commit();
            }
            engineDelete = std::min(engineDelete, Ms(t));
        }
    }
    Figures(state, "add", bestAdd, "engine_add", engineAdd);
    Figures(state, "delete", bestDelete, "engine_delete", engineDelete);
}

// Add Column in E-1's editor, the picker answering at once with a cost centre
// that has no column yet; beside it the engine's add on another such centre.
void EOneAddColumn(benchmark::State& state, int scale) {
    Session s(scale);
    if (!s.ok) return state.SkipWithError("the sample report did not open");
    auto* e = dynamic_cast<gui::EditForm*>(s.Open("edit", "E1"));
    if (!e) return state.SkipWithError("no editor of E-1");
    PaintAll();
    int next = 0;
    auto free = [&] { return Currency::FromScaled(290000 + 5000 + 100 * next++); };
    gui::SetCCChooser([&](const std::string&) { return std::optional<Currency>(free()); });
    double best = 1e9, engine = 1e9;
    for (auto _ : state) {
        for (int r = 0; r < kRuns; ++r) {
            const int columns = e->grd->ColumnCount();
            auto t = Clock::now();
            e->cmdAdd_Click();
            PaintAll();
            best = std::min(best, Ms(t));
            e = dynamic_cast<gui::EditForm*>(s.Open("edit", "E1"));
            // The engine's own adds below widen the sheet too: at least this one is there.
            if (!e || e->grd->ColumnCount() <= columns) return state.SkipWithError("no column was added");

            const Currency cc = free();
            t = Clock::now();
            {
                db::Transaction tx(Db());
                AddChosenCCColumn("E1", cc);
                tx.Commit();
            }
            engine = std::min(engine, Ms(t));
        }
    }
    Figures(state, "window", best, "engine", engine);
}

// Calculate from the menu with every viewer open, then with no window open;
// and Calc_All by itself.
void Calculation(benchmark::State& state, int scale) {
    Session s(scale);
    if (!s.ok) return state.SkipWithError("the sample report did not open");
    double withViewers = 1e9, alone = 1e9, engine = 1e9;
    for (auto _ : state) {
        for (int r = 0; r < kRuns; ++r) {
            s.OpenEveryViewer();
            auto t = Clock::now();
            s.main->mnuReportCalculate_Click();
            PaintAll();
            withViewers = std::min(withViewers, Ms(t));
            s.CloseAll();

            t = Clock::now();
            s.main->mnuReportCalculate_Click();
            PaintAll();
            alone = std::min(alone, Ms(t));
            s.CloseAll();

            t = Clock::now();
            Calc_All();
            engine = std::min(engine, Ms(t));
            s.CloseAll();
        }
    }
    Figures(state, "viewers", withViewers, "no_window", alone);
    Figures(state, "viewers", withViewers, "engine", engine);
}

// Print Entire CRF from the menu, with no printer: the report to a PDF.
void PrintToPdf(benchmark::State& state, int scale) {
    Session s(scale);
    if (!s.ok) return state.SkipWithError("the sample report did not open");
    double window = 1e9, engine = 1e9;
    for (auto _ : state) {
        auto t = Clock::now();
        s.main->mnuReportPrint_Click();
        window = std::min(window, Ms(t));
        t = Clock::now();
        Print_All();
        engine = std::min(engine, Ms(t));
    }
    if (s.printer.LastOutput().empty() || !fs::exists(s.printer.LastOutput()))
        return state.SkipWithError("no PDF was written");
    Figures(state, "window", window, "engine", engine);
}

// Each scale whole before the next, each window by name.
const bool registered = [] {
    for (int scale : {1, 2}) {
        const std::string at = "/scale:" + std::to_string(scale);
        for (const char* mode : {"view", "edit"})
            for (const auto& code : std::string(mode) == "view" ? kViewers : kEditors)
                benchmark::RegisterBenchmark(("BM_Open/" + std::string(mode) + "/" + code + at).c_str(),
                                             [mode, code, scale](benchmark::State& st) { OpenWindow(st, mode, code, scale); })
                    ->Iterations(1)
                    ->Unit(benchmark::kMillisecond);
        auto add = [&](const std::string& name, std::function<void(benchmark::State&)> f) {
            benchmark::RegisterBenchmark((name + at).c_str(), f)->Iterations(1)->Unit(benchmark::kMillisecond);
        };
        add("BM_TypedCellEveryViewerOpen", [scale](benchmark::State& st) { TypedCell(st, scale); });
        add("BM_RefreshEveryViewer", [scale](benchmark::State& st) { RefreshEveryViewer(st, scale); });
        add("BM_APartThreeAddDelete", [scale](benchmark::State& st) { APartThreeLine(st, scale, false); });
        add("BM_APartThreeAddDeleteEveryViewerOpen", [scale](benchmark::State& st) { APartThreeLine(st, scale, true); });
        add("BM_EOneAddColumn", [scale](benchmark::State& st) { EOneAddColumn(st, scale); });
        add("BM_CalculateEveryViewerOpen", [scale](benchmark::State& st) { Calculation(st, scale); });
        add("BM_PrintEntireCrfToPdf", [scale](benchmark::State& st) { PrintToPdf(st, scale); });
    }
    return true;
}();

}  // namespace
#endif
