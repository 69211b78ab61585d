// Time to make a new report, file written and reopened, as far as its builders exist.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "platform/ui/ui.h"
#include "report/whole_report.h"
#include "store/report.h"

namespace {

namespace fs = std::filesystem;

// Chooses the same file every time and keeps quiet otherwise.
class BenchUi : public vt::ui::UserInterface {
public:
    explicit BenchUi(std::string path) : path_(std::move(path)) {}
    int MessageBox(const std::string&, int, const std::string&) override { return vt::ui::kOk; }
    void Beep() override {}
    void SetStatus(const std::string&, bool) override {}
    void SetBusy(bool) override {}
    void DoEvents() override {}
    std::optional<vt::ui::FileChoice> ChooseSaveFile(const vt::ui::FileRequest&) override {
        return vt::ui::FileChoice{path_, fs::path(path_).filename().string()};
    }
    std::optional<vt::ui::FileChoice> ChooseOpenFile(const vt::ui::FileRequest&) override { return std::nullopt; }
    void RefreshWorksheetWindows() override {}
    void ShowReportOpened(const std::string&, const std::string&) override {}
    void HideNewReportDialog() override {}

private:
    std::string path_;
};

void BM_NewCrf(benchmark::State& state) {
    fs::path dir = fs::temp_directory_path() / ("vt-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    BenchUi ui((dir / "BENCH.CRF").string());
    vt::ui::InstallUi(&ui);
    const vt::NewCrfEntries entries{"0287", "123456", "01/01/2006", "12/31/2006", "Bench Home Office"};
    for (auto _ : state) {
        if (!vt::NewReport(entries)) {
            state.SkipWithError("New_CRF failed");
            break;
        }
        state.PauseTiming();
        vt::CloseReport();
        state.ResumeTiming();
    }
    vt::ui::InstallUi(nullptr);
    fs::remove_all(dir);
}
BENCHMARK(BM_NewCrf)->Unit(benchmark::kMillisecond);

}  // namespace
