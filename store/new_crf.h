// Making a new report file with its fixed tables.
#pragma once

#include <functional>
#include <string>

namespace vt {

// What the new-report dialog hands over: its five boxes as typed.
struct NewCrfEntries {
    std::string txtFormNum;
    std::string txtProviderNum;
    std::string txtFYStart;
    std::string txtFYEnd;
    std::string txtFacilityName;
};

// Asks for the file, builds the report and opens it: the fixed tables, then
// `buildWorksheets` makes every worksheet table (the worksheets are the
// engines', which sit above this layer). Returns false when the user cancelled
// or the build failed (then the partial file is removed, the open-report state
// is as before, and the user was told what failed). The file chooser starts in
// startFolder ("" for its own choice).
bool New_CRF(const NewCrfEntries& entries, const std::function<void()>& buildWorksheets,
             const std::string& startFolder = "");

// The file a New builds the report chosen at `path` under, beside it, named
// for the process that builds it: process `pid` (0: this one) of machine
// `host` ("": this one), as NAME.CRF~HOST.PID.vtnew.
std::string UnfinishedReportPath(const std::string& path, long pid = 0, const std::string& host = "");

// Builders of the fixed tables.
void Build_Worksheets();
void Build_Master(const NewCrfEntries& entries);
void Build_HeaderLines();
void Build_CostCenters();
void Build_DeletedCCs();

// The register row every worksheet builder ends with (dropped silently when
// the row exists already).
void RegisterWorksheet(const std::string& code);

}  // namespace vt
