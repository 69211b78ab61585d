#include "report/report_file.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include "engine/chain/e.h"
#include "engine/chain/f1.h"
#include "platform/db/db.h"
#include "platform/db/working_files.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui.h"
#include "report/captions.h"
#include "report/whole_report.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace fs = std::filesystem;

namespace {

constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);
const char* const kApp = "Vantrel 287";
const char* const kSection = "Startup";
const char* const kKey = "CRFLoc";
const char* const kNoFolder = "None";

const char* const kSaveAsFailed =
    "PROBLEM Encountered: Your Save As request failed and was not able to be accomplished.  Your original CRF "
    "file has not been altered.  Hit OK to continue running Vantrel.";
const char* const kMoveFailed =
    "PROBLEM Encountered: Your Move/ReName request failed and was not able to be accomplished.  Your original "
    "CRF file has not been altered.  Hit OK to continue running Vantrel.";

std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of(kSeparator);
    return cut == std::string::npos ? "" : path.substr(0, cut);
}

std::string TitleOf(const ui::FileChoice& choice) {
    if (!choice.title.empty()) return choice.title;
    const size_t cut = choice.path.find_last_of(kSeparator);
    return cut == std::string::npos ? choice.path : choice.path.substr(cut + 1);
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// The open report's connection and its windows, told of a report that ends
// here: nothing is left open, and the main window shows no report.
void AbandonOpen() {
    ui::Ui().CloseReportWindows();
    CloseReport();
    ui::Ui().ShowReportClosed(NoCRFCaption());
    // What the status line said ("Printed to ...") was about that report.
    ui::Ui().SetStatus("", false);
}

const char* const kOpenFailedTitle = "Error opening CRF";

// A file that is no report, or a damaged one; `reason` says what was found.
void TellOpenFailed(const std::string& reason = "") {
    AbandonOpen();
    Show_Message("Invalid CRF, please rebuild this CRF or contact Quelldorn Systems, Inc. for further advice." +
                     (reason.empty() ? std::string() : "\r\n\r\n[ " + reason + " ]"),
                 ui::kCritical, kOpenFailedTitle);
}

// A file in use by another program, read-only or not readable is no damaged
// report: the user is told what stands in the way, not to rebuild it. The
// path is a copy: closing clears the report's own.
void TellOpenFailed(const std::exception& e, std::string path) {
    const int code = db::EnvironmentalCode(e);
    if (!code || db::IsDamage(code)) {
        TellOpenFailed(e.what());
        return;
    }
    AbandonOpen();
    Show_Message("The Cost Report File " + path + " cannot be opened: " + db::EnvironmentReason(code) +
                     ".\r\n\r\n[ " + e.what() + " ]",
                 ui::kCritical, kOpenFailedTitle);
}

// A database of another program, or an empty one: nothing to rebuild.
void TellNotAReport(std::string path) {
    AbandonOpen();
    Show_Message("The file " + path + " is not a Cost Report File: it holds no report, so it cannot be opened.",
                 ui::kCritical, kOpenFailedTitle);
}

// Why a file could not be written: in words where the database has them
// ("the disk is full"), else as raised.
std::string FailureWords(const std::exception& e) {
    const int code = db::EnvironmentalCode(e);
    return code ? db::EnvironmentReason(code) : e.what();
}

// A date of Master, or nullopt when it is missing or no date.
std::optional<DateTime> StoredDate(const Value& v) {
    if (v.IsNull()) return std::nullopt;
    try {
        return v.ToDate();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void RefuseOpen(const std::string& prompt, int buttons, const std::string& title) {
    ui::Ui().Beep();
    Show_Message(prompt, buttons, title);
    CloseCRF();
}

// The three header lines, "" for a Null line or a missing row.
void LoadHeaderLines() {
    auto& lines = Report().CRF_HeaderLines;
    lines = {"", "", ""};
    auto rs = Db().OpenRecordset("SELECT * FROM HeaderLines ORDER BY LineNum;");
    for (auto& line : lines) {
        if (rs.Eof()) break;
        line = Nz_Str(rs["Line"]).ToText();
        rs.MoveNext();
    }
}

// The report now lives in `next` at `path`. The old database object is closed
// first and freed only after the windows were told, so a window that still
// holds it meets a closed database rather than freed memory.
void SwitchDatabase(std::unique_ptr<db::Database> next, const std::string& path, const std::string& title) {
    auto& r = Report();
    Close_CC_Recordset();
    std::unique_ptr<db::Database> old = std::move(r.CRF_Database);
    if (old) old->Close();
    r.CRF_Database = std::move(next);
    r.CRF_Path = path;
    r.CRF_Title = title;
    ui::Ui().ShowReportOpened(OpenCRFCaption(title), path);
    ui::Ui().ReportFileReplaced();
}

bool Writable(const std::string& path) {
    std::error_code ec;
    return !fs::exists(path, ec) || ::access(path.c_str(), W_OK) == 0;
}

// Why a copy of `from` to `to` failed. A copy that ran out of room may say
// so only as a short write (an input/output error): the room left beside the
// target, the partial copy removed, tells a full disk.
std::string CopyFailure(std::error_code ec, const std::string& from, const std::string& to) {
    std::error_code ignored;
    fs::remove(to, ignored);
    const auto size = fs::file_size(from, ignored);
    if (ignored) return db::SystemReason(ec, to);
    const fs::path folder = fs::path(to).parent_path();
    const fs::space_info room = fs::space(folder.empty() ? fs::path(".") : folder, ignored);
    if (!ignored && room.available < size) ec = std::make_error_code(std::errc::no_space_on_device);
    return db::SystemReason(ec, to);
}

// A file moved, never onto an existing one; across file systems by copy and
// delete. "" when moved, else why the file is where it was.
std::string MoveFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (fs::exists(to, ec)) return "a file of that name exists already";
    if (!fs::exists(from, ec)) return "the report's file is no longer where it was opened from";
    fs::rename(from, to, ec);
    if (ec == std::errc::cross_device_link) {
        ec.clear();
        if (!fs::copy_file(from, to, ec) || ec) return CopyFailure(ec, from, to);
        if (!fs::remove(from, ec) || ec) {
            const std::string why = db::SystemReason(ec, from);
            fs::remove(to, ec);
            return why;
        }
    }
    // The target is a name not yet taken: a refusal is its folder's, or the
    // report's own file's where a shared folder keeps it for its owner.
    if (ec) return db::SystemReason(ec, from);
    return fs::exists(to, ec) && !fs::exists(from, ec) ? "" : "the file could not be moved";
}

}  // namespace

std::string ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return fs::current_path(ec).string();
    return exe.parent_path().string();
}

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir) return user->pw_dir;
    return ProgramFolder();
}

// The folder of the last report opened; kNoFolder before the first.
std::string LastReportFolder() { return settings::UserSettings().Get(kApp, kSection, kKey, kNoFolder); }

}  // namespace

std::string CRFStartFolder() {
    std::string folder = LastReportFolder();
    return folder == kNoFolder ? ProgramFolder() : folder;
}

std::string CRFDialogFolder() {
    const auto& r = Report();
    if (r.CRF_Database && r.CRF_Database->IsOpen() && !r.CRF_Path.empty())
        return fs::path(r.CRF_Path).parent_path().string();
    if (std::string folder = LastReportFolder(); folder != kNoFolder) return folder;
    // Before any report folder was used: the program's folder, unless it is
    // the system's and the user could save nothing there.
    const std::string program = ProgramFolder();
    return ::access(program.c_str(), W_OK) == 0 ? program : HomeFolder();
}

ui::FileRequest CRFFileRequest(const std::string& title, bool save, bool fromLastFolder) {
    ui::FileRequest r;
    r.title = title;
    r.defaultExt = ".CRF";
    r.filter = kCrfFilter;
    r.confirmOverwrite = save;
    r.initialDir = save ? CRFDialogFolder() : CRFStartFolder();
    if (fromLastFolder) r.fileName = r.initialDir + kSeparator + "*.CRF";
    return r;
}

void CloseCRF() { AbandonOpen(); }

CreateResult CreateNewCRF(NewCrfEntries& entries) {
    CreateResult result;
    // Leaving the provider box for the Create button runs its rule; it
    // changes nothing a second time.
    entries.txtProviderNum = LeaveProviderNumber(entries.txtProviderNum);
    IdentityEntries identity{entries.txtProviderNum, entries.txtFYStart, entries.txtFYEnd, entries.txtFacilityName};
    result.refused = ValidateIdentity(identity, IdentityDialog::NewCrf);
    entries.txtFYStart = identity.txtFYStart;
    entries.txtFYEnd = identity.txtFYEnd;
    if (result.refused != IdentityField::None) return result;

    result.created = NewReport(entries, CRFDialogFolder());
    if (result.created) ui::Ui().ShowReportOpened(OpenCRFCaption(Report().CRF_Title), Report().CRF_Path);
    return result;
}

bool OpenCRF() {
    CloseCRF();
    auto& ui = ui::Ui();

    std::optional<ui::FileChoice> choice = ui.ChooseOpenFile(CRFFileRequest("Open An Existing CRF", false, true));
    if (!choice) return false;

    auto& r = Report();
    r.CRF_Title = TitleOf(*choice);
    r.CRF_Path = choice->path;
    r.CRF_Folder = FolderOf(r.CRF_Path);
    settings::UserSettings().Save(kApp, kSection, kKey, r.CRF_Folder);
    db::RemoveLeftoverWorkingFiles(r.CRF_Folder);

    std::string formNum;
    Value fyEnd, fyStart, providerName, providerNumber;
    try {
        r.CRF_Database = db::Database::Open(r.CRF_Path);
        if (!Db().TableExists("Master")) {
            TellNotAReport(r.CRF_Path);
            return false;
        }
        auto master = Db().OpenRecordset(
            "SELECT FormNum, FYEnd, FYStart, ProviderName, ProviderNumber FROM Master;");
        if (master.Eof()) throw db::DbError("Master has no row");
        formNum = Nz_Str(master["FormNum"]).ToText();
        fyEnd = master["FYEnd"];
        fyStart = master["FYStart"];
        providerName = master["ProviderName"];
        providerNumber = master["ProviderNumber"];
    } catch (const std::exception& e) {
        TellOpenFailed(e, r.CRF_Path);
        return false;
    }

    if (formNum != "0287") {
        RefuseOpen("You are presently running " + NoCRFCaption() +
                       ".  This program is for use only in producing CMS 287 Cost Reports.  You have just attempted "
                       "to open a CRF file (" + r.CRF_Title + ") containing data for a CMS " + formNum +
                       " Cost Report.  Your request is being aborted.  Select OK to proceed.",
                   ui::kCritical, "Error: Attempting to Open Invalid CRF file");
        return false;
    }
    const std::optional<DateTime> end = StoredDate(fyEnd), start = StoredDate(fyStart);
    if (!end || !start) {
        TellOpenFailed(std::string("The report's fiscal year ") +
                       (end ? "start (Master, field FYStart)" : "end (Master, field FYEnd)") +
                       " is missing or not a date.");
        return false;
    }
    if (FYEndTooEarly(*end)) {
        RefuseOpen(FYCutoffMessage(), ui::kInformation, kFYCutoffTitle);
        return false;
    }

    try {
        r.CRF_FYEnd = *end;
        r.CRF_FYStart = *start;
        r.CRF_FormNum = formNum;
        r.CRF_ProviderName = Nz_Str(providerName).ToText();
        r.CRF_ProviderNumber = Nz_Str(providerNumber).ToText();
        FixOpenedReport();
        LoadHeaderLines();
        ui.ShowReportOpened(OpenCRFCaption(r.CRF_Title), r.CRF_Path);
    } catch (const std::exception& e) {
        TellOpenFailed(e, r.CRF_Path);
        return false;
    }
    return true;
}

bool SaveCRFAs() {
    if (!Report().CRF_Database || !Report().CRF_Database->IsOpen()) return false;
    std::optional<ui::FileChoice> choice =
        ui::Ui().ChooseSaveFile(CRFFileRequest("Save Cost Report File As ...", true, false));
    return choice && SaveCRFTo(*choice);
}

bool SaveCRFTo(const ui::FileChoice& target) {
    const std::string& path = target.path;
    try {
        // Copying a file onto itself would destroy the report it copies.
        if (SameFile(path, Report().CRF_Path)) throw std::runtime_error("the target is the open report");
        if (!Writable(path)) throw std::runtime_error("the target is write-protected");
        Db().BackupTo(path);
        SwitchDatabase(db::Database::Open(path), path, TitleOf(target));
    } catch (const std::exception& e) {
        ui::Ui().Beep();
        Show_Message(std::string(kSaveAsFailed) + "\r\n\r\nReason: " + FailureWords(e) + ".", ui::kCritical,
                     "Error: Save As Request Failed");
        return false;
    }
    return true;
}

bool MoveCRF() {
    if (!Report().CRF_Database || !Report().CRF_Database->IsOpen()) return false;
    auto& ui = ui::Ui();
    std::optional<ui::FileChoice> choice =
        ui.ChooseSaveFile(CRFFileRequest("Move/Rename Cost Report File To ...", true, false));
    if (!choice) return false;

    auto& r = Report();
    const std::string from = r.CRF_Path;
    Close_CC_Recordset();
    r.CRF_Database->Close();
    const std::string why = MoveFile(from, choice->path);
    const bool moved = why.empty();
    const std::string path = moved ? choice->path : from;
    const std::string title = moved ? TitleOf(*choice) : r.CRF_Title;
    try {
        SwitchDatabase(db::Database::Open(path), path, title);
    } catch (const std::exception& e) {
        TellOpenFailed(e, path);
        return false;
    }
    if (!moved) {
        ui.Beep();
        Show_Message(std::string(kMoveFailed) + "\r\n\r\nReason: " + why + ".", ui::kCritical,
                     "Error: Move/ReName Request Failed");
    }
    return moved;
}

void AddInterestIncomeCC() {
    if (!Table_Exists("CostCenters")) return;
    // A cost centre the user deleted stays deleted: the list would otherwise
    // hold a centre that worksheet B no longer has a line for.
    if (Table_Exists("DeletedCCs") && Nz_Num(Db().Scalar("SELECT COUNT(*) FROM DeletedCCs WHERE CCNum = 30.01;"))
                                              .ToLong() > 0)
        return;
    if (Db().Execute("INSERT INTO CostCenters (LineNum,CCNum,CCName, ColLabel1,ColLabel2,ColLabel3) "
                     "VALUES (30.01,30.01,'Interest Income', 'Interest','Income',Null);") > 0)
        Close_CC_Recordset();
}

void FixOpenedReport() {
    db::Transaction tx(Db());
    AddInterestIncomeCC();
    if (Table_Exists("E")) FixETotalLabels();
    if (Table_Exists("F1p1")) FixF1p1TotalLabels();
    tx.Commit();
}

}  // namespace vt
