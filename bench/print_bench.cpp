// Printing a long report: writing its print file, and sending it to a PDF
// through the Qt printer. Until a large sample report exists the file is
// synthetic: 60 landscape pages of 70 lines in the worksheets' column layout.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/settings/settings.h"
#include "print/print.h"

#ifdef VT_HAVE_QT
#include <QApplication>

#include "platform/printer/qt_printer.h"
#endif

namespace {

namespace fs = std::filesystem;
using namespace vt;

constexpr int kPages = 60;
constexpr int kLinesPerPage = 70;

fs::path BenchFolder() {
    static const fs::path folder = [] {
        auto f = fs::temp_directory_path() / ("vt-print-bench-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

void WriteLargePrintFile(const std::string& path) {
    const int fn = print::Open_Print_File(path);
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
    print::Close_Print_File(fn);
}

void BM_WritePrintFile(benchmark::State& state) {
    const std::string path = (BenchFolder() / "write.prt").string();
    for (auto _ : state) WriteLargePrintFile(path);
    state.SetLabel(std::to_string(kPages) + " landscape pages of " + std::to_string(kLinesPerPage) + " lines");
}
BENCHMARK(BM_WritePrintFile)->Unit(benchmark::kMillisecond);

#ifdef VT_HAVE_QT
void BM_PrintFileToPdf(benchmark::State& state) {
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
                   " lines -> " + pdf.LastOutput());
    printer::InstallPrinter(nullptr);
    settings::InstallSettings(nullptr);
}
BENCHMARK(BM_PrintFileToPdf)->Unit(benchmark::kMillisecond)->Iterations(5);
#endif

}  // namespace

// The Qt printer needs an application object, so the timing program has its
// own main; it runs on the offscreen platform unless told otherwise.
int main(int argc, char** argv) {
#ifdef VT_HAVE_QT
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(BenchFolder(), ec);
    return 0;
}
