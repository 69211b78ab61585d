#include "shell/core/calc_all.h"

#include <exception>
#include <string>

#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "print/print.h"
#include "shell/core/edit_checks.h"
#include "shell/core/whole_report.h"
#include "shell/core/worksheet_catalogue.h"
#include "store/report.h"

namespace vt {

namespace {

const char* const kErrorTitle = "Error: Calculation";

std::string Reason(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

// Runs one part of the calculation inside a subtransaction: when it fails, its
// half-done changes are undone, the user is told what failed, and the
// calculation goes on. Returns false after a failure.
template <class F>
bool RunPart(const std::string& what, F&& part) {
    std::exception_ptr failure;
    {
        db::Subtransaction sp(Db());
        try {
            part();
            sp.Release();
        } catch (...) {
            failure = std::current_exception();
            try {
                sp.Rollback();
            } catch (...) {
            }
        }
    }
    if (!failure) return true;
    Show_Message("The following error occurred " + what + ":\n\n" + Reason(failure), ui::kCritical, kErrorTitle);
    return false;
}

// The hourglass and the disabled menus for as long as the calculation runs,
// and the guard against a second calculation started from a let-in event.
class RunningCalculation {
public:
    RunningCalculation() {
        running_ = true;
        ui::Ui().SetBusy(true);
        ui::Ui().SetMenusEnabled(false);
    }
    ~RunningCalculation() {
        ui::Ui().SetMenusEnabled(true);
        ui::Ui().SetBusy(false);
        running_ = false;
    }
    RunningCalculation(const RunningCalculation&) = delete;
    RunningCalculation& operator=(const RunningCalculation&) = delete;
    static bool Running() { return running_; }

private:
    static inline bool running_ = false;
};

void CalculateSheets() {
    auto& ui = ui::Ui();
    for (const Worksheet* step : Calculation_Order()) {
        ui.SetStatus(std::string(" Calculating Worksheet ") + step->title + " ", true);
        ui.DoEvents();
        RunPart(std::string("while calculating Worksheet ") + step->title, step->calc);
    }
    ui.RefreshWorksheetWindows();
    // A step that failed in the middle of a print may have left its file open.
    try {
        print::Close_All_Print_Files();
    } catch (const std::exception&) {
    }
    ui.SetStatus(" Calculations completed.", true);
    ui.DoEvents();
    ui.SetStatus("", false);
    RunPart("during the edit checks", Run_Edit_Checks);
}

}  // namespace

void Calc_All() {
    if (RunningCalculation::Running()) return;
    RunningCalculation running;
    try {
        db::Transaction tx(Db());
        bool consistent = false;
        if (RunPart("while checking the component sheets", [&] { consistent = Check_Component_Sheets(); })) {
            if (consistent)
                CalculateSheets();
            else
                Show_Message("Errors were detected in the database!\r\nNo calculations were performed.  Please check "
                             "your data before recalculating");
        }
        tx.Commit();
    } catch (const std::exception& e) {
        Show_Message("The following error occurred while calculating the report:\n\n" + std::string(e.what()),
                     ui::kCritical, kErrorTitle);
    }
}

}  // namespace vt
