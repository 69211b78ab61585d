#include "store/new_crf.h"

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/db/db.h"
#include "platform/db/working_files.h"
#include "platform/ui/ui.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace fs = std::filesystem;

namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);

// SQLite keeps a journal beside the file; a stale one would be played back
// into the new report, so it goes together with the file it belonged to.
void RemoveReportFile(const std::string& path) {
    std::error_code ignored;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(path + suffix, ignored);
}

// The finished file takes the place of the one at `path`. The old file's
// journal goes first: played back into the new file it would damage it.
void ReplaceReportFile(const std::string& built, const std::string& path) {
    std::error_code ec;
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        fs::remove(path + suffix, ec);
        if (ec) throw std::runtime_error("Cannot remove " + path + suffix + ": " + ec.message());
    }
    fs::rename(built, path, ec);
    if (ec) throw db::DbError("Cannot replace " + path + ": " + ec.message(), db::SystemCode(ec, path));
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, ec);
}

// Why a new report was not made, in words where the failure is the file's or
// the machine's (a full disk), else as raised.
std::string NotCreatedMessage(const std::string& path, const std::exception& e) {
    const int code = db::EnvironmentalCode(e);
    if (!code) return std::string("The new Cost Report File could not be created:\n") + e.what();
    return "The new Cost Report File " + path + " was not created: " + db::EnvironmentReason(code) +
           ". Nothing has been saved, and every report is as it was.";
}

DateTime EntryDate(const std::string& text) {
    if (auto d = ParseDate(text)) return *d;
    throw std::runtime_error("\"" + text + "\" is not a date.");
}

}  // namespace

std::string UnfinishedReportPath(const std::string& path, long pid, const std::string& host) {
    return db::WorkingFileName(path, db::kNewReport, pid, host);
}

bool New_CRF(const NewCrfEntries& entries, const std::function<void()>& buildWorksheets,
             const std::string& startFolder) {
    auto& ui = ui::Ui();
    ui.SetStatus(" Building New CRF file ", true);
    ui.DoEvents();

    ui::FileRequest request;
    request.title = "Name New Cost Report File (CRF)";
    request.defaultExt = ".CRF";
    request.filter = "Cost Report Files (*.CRF)|*.CRF";
    request.confirmOverwrite = true;
    request.initialDir = startFolder;
    std::optional<ui::FileChoice> choice = ui.ChooseSaveFile(request);
    if (!choice) {
        ui.SetStatus("", false);
        return false;
    }
    ui.HideNewReportDialog();

    db::RemoveLeftoverWorkingFiles(fs::path(choice->path).parent_path().string());

    // The report open now stays aside, untouched, until the new one is built:
    // a failure puts it back as it was.
    ReportState previous = std::move(Report());
    Report() = ReportState{};
    Report().Message_Mode = previous.Message_Mode;
    Close_CC_Recordset();

    const std::string path = choice->path;
    // Built under a name of its own beside the chosen file, and put in its
    // place only when complete: a build that fails (a full disk) leaves the
    // file that was there as it was.
    const std::string building = UnfinishedReportPath(path);
    try {
        // The entries are checked before anything on disk changes.
        const DateTime fyEnd = EntryDate(entries.txtFYEnd);
        const DateTime fyStart = EntryDate(entries.txtFYStart);
        if (db::NameTooLong(building)) throw std::runtime_error(path + ": the file name is too long.");
        // Replacing the open report's own file would destroy it with no way back.
        if (previous.CRF_Database && SameFile(path, previous.CRF_Path))
            throw std::runtime_error(path + " is the Cost Report File that is open now.");

        auto& r = Report();
        r.CRF_Path = path;
        size_t cut = path.find_last_of(kSeparator);
        r.CRF_Folder = cut == std::string::npos ? "" : path.substr(0, cut);
        r.CRF_Title = !choice->title.empty() ? choice->title
                                               : (cut == std::string::npos ? path : path.substr(cut + 1));
        r.CRF_FYEnd = fyEnd;
        r.CRF_FYStart = fyStart;
        r.CRF_FormNum = entries.txtFormNum;
        r.CRF_ProviderName = entries.txtFacilityName;
        r.CRF_ProviderNumber = entries.txtProviderNum;
        r.CRF_HeaderLines = {"", "", ""};

        RemoveReportFile(building);
        r.CRF_Database = db::Database::Create(building);
        ui.DoEvents();

        {
            // One transaction for the whole build: one write to disk, and
            // nothing half-built inside the file if a builder fails.
            db::Transaction tx(Db());
            Build_Worksheets();
            Build_Master(entries);
            Build_HeaderLines();
            // B and J copy their lines from the cost-centre list.
            Build_CostCenters();
            buildWorksheets();
            tx.Commit();
        }
        ui.SetStatus("", false);
        ui.DoEvents();

        Close_CC_Recordset();
        r.CRF_Database->Close();
        ReplaceReportFile(building, path);
        r.CRF_Database = db::Database::Open(path);
    } catch (const std::exception& e) {
        Close_CC_Recordset();
        Report().CRF_Database.reset();
        RemoveReportFile(building);
        Report() = std::move(previous);
        ui.SetStatus("", false);
        Show_Message(NotCreatedMessage(path, e), ui::kCritical, "Error: New CRF");
        return false;
    }

    if (previous.CRF_Database) previous.CRF_Database->Close();
    ui.ShowReportOpened("Quelldorn System Inc.'s Vantrel 287 -- " + Report().CRF_Title, Report().CRF_Path);
    ui.SetStatus("", false);
    return true;
}

}  // namespace vt
