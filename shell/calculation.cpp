#include "shell/calculation.h"

#include "platform/ui/ui.h"
#include "report/calc_all.h"
#include "shell/frmMain.h"
#include "shell/guard.h"
#include "store/report.h"

namespace vt::gui {
namespace {

bool running = false;

std::function<void()>& Calculation() {
    static std::function<void()> calc;
    return calc;
}

void CalcWholeReport() { Calc_All(); }

}  // namespace

bool CalculationRunning() { return running; }

void SetCalculation(std::function<void()> calculation) { Calculation() = std::move(calculation); }

void RunCalculation() {
    if (running) return;
    if (!Report().CRF_Database || !Report().CRF_Database->IsOpen()) {
        Show_Message("Please open a Cost Report File before calculating it.", ui::kInformation);
        return;
    }
    running = true;
    struct Done {
        ~Done() {
            running = false;
            EnableMainMenus(true);
        }
    } done;
    EnableMainMenus(false);
    const std::function<void()> calc = Calculation() ? Calculation() : std::function<void()>(CalcWholeReport);
    RunGuarded(calc);
}

}  // namespace vt::gui
