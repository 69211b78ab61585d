#include "tests/report/report_file_fixture.h"

#include <filesystem>

#include "report/report_file.h"
#include "store/report.h"
#include "tests/support/db_checks.h"

namespace vt::test {

namespace fs = std::filesystem;

std::string ReportFileUi::LastState() const {
    for (auto e = events.rbegin(); e != events.rend(); ++e)
        if (*e == "opened" || *e == "closed") return *e;
    return "";
}

NewCrfEntries ReportFileTest::ValidEntries() {
    return {"0287", "12-3456", "01/01/2006", "12/31/2006", "Test Home Office"};
}

void ReportFileTest::SetUp() {
    userSettings = std::make_unique<settings::IniSettings>(PathOf("settings"));
    settings::InstallSettings(userSettings.get());
    CloseReport();
}

void ReportFileTest::TearDown() {
    if (Report().CRF_Database && Report().CRF_Database->IsOpen()) ExpectAllCurrencyExact(Db());
    CloseReport();
    Report().Message_Mode.clear();
    settings::InstallSettings(nullptr);
}

void ReportFileTest::MakeReport(const std::string& name, NewCrfEntries entries) {
    ui.QueueSaveFile(ui::FileChoice{PathOf(name), fs::path(name).filename().string()});
    const CreateResult made = CreateNewCRF(entries);
    ASSERT_TRUE(made.created) << "the report " << name << " could not be made";
}

bool ReportFileTest::OpenReport(const std::string& name) {
    ui.QueueOpenFile(ui::FileChoice{PathOf(name), fs::path(name).filename().string()});
    return OpenCRF();
}

void ReportFileTest::MakeReportWith(const std::string& name, const std::string& sql,
                                    const std::vector<Value>& params) {
    MakeReport(name);
    Db().Execute(sql, params);
    CloseCRF();
    ClearUi();
}

std::string ReportFileTest::Setting() const {
    return settings::UserSettings().Get("Vantrel 287", "Startup", "CRFLoc", "None");
}

void ReportFileTest::ClearUi() {
    ui.ClearRecords();
    ui.events.clear();
    ui.closedCaption.clear();
}

}  // namespace vt::test
