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

void Whole_Report() { Calc_All(); }

}  // namespace

bool Calculation_Running() { return running; }

void Set_Calculation(std::function<void()> calculation) { Calculation() = std::move(calculation); }

void Run_Calculation() {
    if (running) return;
    if (!Report().CRF_Database || !Report().CRF_Database->IsOpen()) {
        Show_Message("Please open a Cost Report File before calculating it.", ui::kInformation);
        return;
    }
    running = true;
    struct Done {
        ~Done() {
            running = false;
            Enable_Main_Menus(true);
        }
    } done;
    Enable_Main_Menus(false);
    const std::function<void()> calc = Calculation() ? Calculation() : std::function<void()>(Whole_Report);
    Run_Guarded(calc);
}

}  // namespace vt::gui
