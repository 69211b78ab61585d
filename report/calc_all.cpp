#include "report/calc_all.h"

#include <exception>
#include <optional>
#include <string>

#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "print/print.h"
#include "report/edit_checks.h"
#include "report/whole_report.h"
#include "report/worksheet_catalogue.h"
#include "store/report.h"

namespace vt {

namespace {

const char* const kErrorTitle = "Error: Calculation";

// A failure of the file or the machine (disk full, file in use, read-only,
// I/O): the run stops there and keeps nothing of itself.
struct Stopped {
    std::string where;  // " while ..." or ""
    std::string why;
};

// The plain words and the database's own for a failure that ends the run, or
// nothing for a failure of one step alone.
std::optional<std::string> EnvironmentalWhy(const std::exception& e) {
    const int code = db::EnvironmentalCode(e);
    if (!code) return std::nullopt;
    return db::EnvironmentReason(code) + " (" + e.what() + ")";
}

// Runs one part of the calculation, inside a subtransaction when `undoAlone`:
// when it fails, its half-done changes are undone, the user is told what
// failed, and the calculation goes on. Returns false after such a failure. A
// failure of the file or the machine is not told here: it stops the run.
template <class F>
bool RunPart(const std::string& what, F&& part, bool undoAlone = true) {
    std::string failure;
    try {
        if (undoAlone) {
            db::Subtransaction sp(Db());
            part();
            sp.Release();
        } else {
            part();
        }
        return true;
    } catch (const std::exception& e) {
        if (auto why = EnvironmentalWhy(e)) throw Stopped{" " + what, *why};
        failure = e.what();
    } catch (...) {
        failure = "Unknown error";
    }
    Show_Message("The following error occurred " + what + ":\n\n" + failure, ui::kCritical, kErrorTitle);
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
    for (const Worksheet* step : CalculationOrder()) {
        ui.SetStatus(std::string(" Calculating Worksheet ") + step->title + " ", true);
        ui.DoEvents();
        RunPart(std::string("while calculating Worksheet ") + step->title, step->calc);
    }
    ui.RefreshWorksheetWindows();
    // A step that failed in the middle of a print may have left its file open.
    print::AbandonPrintFiles();
    ui.SetStatus(" Calculations completed.", true);
    ui.DoEvents();
    ui.SetStatus("", false);
    RunPart("during the edit checks", Run_Edit_Checks);
}

}  // namespace

void Calc_All() {
    if (RunningCalculation::Running()) return;
    RunningCalculation running;
    std::optional<Stopped> stopped;
    try {
        // Outside the calculation's transaction: each repair is stored before
        // the user is told of it, and stays made whatever follows.
        bool consistent = false;
        if (!RunPart("while checking the component sheets", [&] { consistent = Check_Component_Sheets(); }, false))
            return;
        if (!consistent) {
            Show_Message("Errors were detected in the database!\r\nNo calculations were performed.  Please check "
                         "your data before recalculating");
            return;
        }
        db::Transaction tx(Db());
        CalculateSheets();
        tx.Commit();
    } catch (const Stopped& s) {
        stopped = s;
    } catch (const std::exception& e) {
        // Left here, the transaction is undone, whatever the cause.
        stopped = Stopped{"", EnvironmentalWhy(e).value_or(e.what())};
    }
    if (!stopped) return;
    ui::Ui().SetStatus("", false);
    Show_Message("The calculation was stopped" + stopped->where + ": " + stopped->why +
                     ".\r\n\r\nNothing of this calculation has been kept; the report is as it was before it began.",
                 ui::kCritical, kErrorTitle);
}

}  // namespace vt
