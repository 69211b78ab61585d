// Printing a long print file: writing it, and sending it to a PDF through the
// Qt printer. The file is synthetic, 60 landscape pages of 70 lines in the
// worksheets' column layout, so the printer's cost shows apart from the
// worksheets'; the large sample report's own file is printed in
// whole_report_bench.cpp.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/settings/settings.h"
#include "print/print.h"

#ifdef VT_HAVE_QT
#include "bench/qt_application.h"
#include "platform/printer/qt_printer.h"
#endif

namespace {

namespace fs = std::filesystem;
using namespace vt;

constexpr int kPages = 60;
constexpr int kLinesPerPage = 70;

fs::path BenchFolder() {
    const auto folder = fs::temp_directory_path() / ("vt-print-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

void WriteLargePrintFile(const std::string& path) {
    const int fn = print::OpenPrintFile(path);
    print::Set_Landscape();
    print::Out out(fn);
    for (int page = 0; page < kPages; ++page) {
        out.Line(page == 0 ? "\f\x02" : "\f");
        for (int line = 1; line < kLinesPerPage; ++line) {
            out.Tab(1) << print::Format_Amount(Value(line), 5);
            out.Tab(8) << "Component " + std::to_string(page * kLinesPerPage + line);
            for (int col = 0; col < 9; ++col)
                out.Tab(50 + 13 * col) << print::Format_Amount(Value::Cur(line * 1234.5 + col), 13);
            out.Line();
        }
    }
    print::ClosePrintFile(fn);
}

void BM_WritePrintFile(benchmark::State& state) {
    const std::string path = (BenchFolder() / "write.prt").string();
    for (auto _ : state) WriteLargePrintFile(path);
    fs::remove(path);
    state.SetLabel(std::to_string(kPages) + " landscape pages of " + std::to_string(kLinesPerPage) + " lines");
}
BENCHMARK(BM_WritePrintFile)->Unit(benchmark::kMillisecond);

#ifdef VT_HAVE_QT
void BM_PrintFileToPdf(benchmark::State& state) {
    bench::EnsureQtApplication();
    const std::string path = (BenchFolder() / "REPORT.PRT").string();
    WriteLargePrintFile(path);
    settings::IniSettings store((BenchFolder() / "settings").string());
    settings::InstallSettings(&store);
    printer::QtPrinter pdf(printer::QtPrinter::Target::Pdf);
    printer::InstallPrinter(&pdf);
    for (auto _ : state) {
        int orientation = 1;
        if (print::Print_File(path, orientation) != 0) state.SkipWithError("printing failed");
    }
    state.SetLabel(std::to_string(kPages) + " landscape pages of " + std::to_string(kLinesPerPage) +
                   " lines to PDF");
    printer::InstallPrinter(nullptr);
    settings::InstallSettings(nullptr);
    std::error_code ec;
    fs::remove_all(BenchFolder(), ec);
}
BENCHMARK(BM_PrintFileToPdf)->Unit(benchmark::kMillisecond)->Iterations(5);
#endif

}  // namespace
