// The open report: its database and identity, one set for the whole program
// (at most one report is open), and the message service every part reports through.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/db/db.h"
#include "platform/value/value.h"

namespace vt {

struct ReportState {
    std::unique_ptr<db::Database> CRF_Database;  // null while no report is open
    std::string CRF_Path;       // full path of the open ".CRF"
    std::string CRF_Folder;     // CRF_Path up to, not including, its last separator
    std::string CRF_Title;      // file name without folder
    std::string CRF_ProviderNumber;
    std::string CRF_ProviderName;
    std::string CRF_FormNum;
    DateTime CRF_FYStart{};
    DateTime CRF_FYEnd{};
    std::array<std::string, 3> CRF_HeaderLines;
    // "" = messages go to a message box; anything else = into table Error.
    std::string Message_Mode;
};

// The one open-report state, reachable from anywhere.
ReportState& Report();

// The open database; raises db::DbError when no report is open.
db::Database& Db();

// Closes the open report: drops the cost-centre snapshot, closes the database
// and clears the report's identity. Message_Mode is left as it is. Safe to
// call when no report is open. Replace CRF_Database only after this call.
void CloseReport();

// The one way the system reports a message: a message box, or while
// Message_Mode is set, a row in table Error (created when missing); returns
// the button pressed, or 0 when the message was stored.
int Show_Message(const std::string& prompt, int buttons = 0, const std::string& title = "");

}  // namespace vt
