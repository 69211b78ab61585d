#include "report/whole_report.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "engine/chain/component_sheet.h"
#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "print/print.h"
#include "report/components.h"
#include "report/worksheet_catalogue.h"
#include "store/report.h"

namespace vt {

namespace {

// Runs f; what went wrong when it failed.
template <class F>
std::optional<std::string> FailureOf(F&& f) {
    try {
        f();
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string(e.what());
    } catch (...) {
        return std::string("Unknown error");
    }
}

// One print at a time: Message_Mode and the print files are shared.
class PrintRun {
public:
    PrintRun() { running_ = true; }
    ~PrintRun() { running_ = false; }
    PrintRun(const PrintRun&) = delete;
    PrintRun& operator=(const PrintRun&) = delete;
    static bool Running() { return running_; }

private:
    static inline bool running_ = false;
};

// Messages go into table Error while it lives; shown again afterwards.
class LoggedMessages {
public:
    LoggedMessages() : saved_(std::exchange(Report().Message_Mode, "P")) {}
    ~LoggedMessages() { Report().Message_Mode = saved_; }
    LoggedMessages(const LoggedMessages&) = delete;
    LoggedMessages& operator=(const LoggedMessages&) = delete;

private:
    std::string saved_;
};

}  // namespace

// ---- A new report ----

void BuildWorksheetTables() {
    const auto order = BuildOrder();
    for (size_t i = 0; i < order.size(); ++i) {
        order[i]->build();
        const bool lastOfPrint = i + 1 == order.size() || std::string(order[i + 1]->printCode) != order[i]->printCode;
        if (lastOfPrint) ui::Ui().DoEvents();
    }
}

bool NewReport(const NewCrfEntries& entries, const std::string& startFolder) {
    return New_CRF(entries, BuildWorksheetTables, startFolder);
}

// ---- Component sheets ----

bool Check_Component_Sheets() {
    // A sheet repaired from damaged lines would spread the damage to every sheet.
    RequireSoundALines();
    bool all = true;
    for (const Worksheet* w : BuildOrder())
        if (w->componentSheet) all = Check_Component_Sheet(w->code, w->build) && all;
    return all;
}

// ---- Printing ----

bool Printing() { return PrintRun::Running(); }

void Print_All() {
    if (PrintRun::Running()) return;
    PrintRun run;
    std::optional<std::string> failure;
    {
        ui::BusyPointer busy;
        int fn = 0;
        failure = FailureOf([&] {
            const std::string path = print::WholeReportPath();
            fn = print::OpenPrintFile(path);
            // Each sheet print writes its pages into fn, in the form's order.
            for (const Worksheet* w : SheetPrints()) w->print(fn);
            print::ClosePrintFile(std::exchange(fn, 0));
            int orientation = 1;
            print::Print_File(path, orientation);
        });
        // A half-written report is neither sent to the printer nor put in
        // the place of the last whole one.
        if (fn > 0) print::AbandonPrintFile(fn);
    }
    if (failure) {
        print::TellPrintFailed(*failure);
        Show_Message("The following error occurred during print of the report:\n\r\r" + *failure, ui::kCritical,
                     "Printing Error");
    }
}

void PrintWorksheets(const std::vector<std::string>& printCodes) {
    if (PrintRun::Running()) return;
    PrintRun run;
    // Where the pages went is told once, for every file, and not logged;
    // so are the sheets that were not printed, whose reasons are.
    print::PrintedToFiles written;
    std::vector<std::string> notPrinted, joined;
    {
        LoggedMessages logged;
        const auto prints = SheetPrints();
        for (const auto& code : printCodes) {
            for (const Worksheet* w : prints) {
                if (code != w->printCode) continue;
                int own = 0;
                const int failed = written.Failures();
                const auto failure = FailureOf([&] { w->print(own); });
                if (failure)
                    Show_Message("Worksheet " + SheetPrintName(code) + " could not be printed:\n\r\r" + *failure,
                                 ui::kCritical, "Printing Error");
                if (failure || written.Failures() > failed) notPrinted.push_back(code);
                else if (written.LastJoined()) joined.push_back(code);
            }
        }
        // The sheets joined into one file are printed when that file is.
        if (!written.End()) notPrinted.insert(notPrinted.end(), joined.begin(), joined.end());
    }
    std::vector<std::string> names;
    for (const auto& code : printCodes)
        if (std::find(notPrinted.begin(), notPrinted.end(), code) != notPrinted.end())
            names.push_back(SheetPrintName(code));
    written.Tell(names);
}

// ---- Rebuilding one worksheet ----

std::function<void(const std::string& code)>& RebuildTestHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

RebuildResult RebuildWorksheet(const std::string& code) {
    const Worksheet* sheet = FindWorksheet(code);
    if (!sheet) throw db::DbError("Worksheet " + code + " is not a worksheet of this report");
    auto& db = Db();
    RebuildResult result = RebuildResult::Rebuilt;
    std::string reason;
    {
        db::Transaction tx(db);
        {
            // Undone as a whole unless every step succeeds: a builder that
            // fails leaves the old table with its rows.
            db::Subtransaction sp(db);
            const auto drop = [&] {
                if (db.TableExists(code)) db.DropTable(code);
            };
            const auto build = [&] {
                for (const Worksheet* w : BuiltTogether(*sheet)) {
                    w->build();
                    if (RebuildTestHook()) RebuildTestHook()(w->code);
                }
            };
            if (FailureOf(drop)) {
                result = RebuildResult::NotDropped;
            } else if (const auto failure = FailureOf(build)) {
                result = RebuildResult::Failed;
                reason = *failure;
            } else {
                sp.Release();
            }
        }
        tx.Commit();
    }

    switch (result) {
    case RebuildResult::NotDropped:
        Show_Message("Unable to drop worksheet " + code +
                         ".  Please restart Vantrel 287 and try to rebuild this worksheet again.",
                     ui::kCritical, "Sharing Violation");
        break;
    case RebuildResult::Failed:
        Show_Message("Worksheet \"" + code + "\" could not be rebuilt and has been left as it was.\r\n\r\n" + reason,
                     ui::kCritical, "Error: ReBuild A Worksheet");
        break;
    case RebuildResult::Rebuilt:
        if (sheet->refreshesWindows) ui::Ui().RefreshWorksheetWindows();
        Show_Message("Worksheet \"" + code + "\" has been successfully rebuilt.", ui::kExclamation,
                     "Worksheet Rebuilt");
        break;
    }
    return result;
}

}  // namespace vt
