#include "store/report.h"

#include "platform/ui/ui.h"
#include "store/services.h"

namespace vt {

ReportState& Report() {
    static ReportState state;
    return state;
}

db::Database& Db() {
    auto& db = Report().CRF_Database;
    if (!db || !db->IsOpen()) throw db::DbError("No Cost Report File is open.");
    return *db;
}

void CloseReport() {
    // The snapshot belongs to the database being closed; it must go first.
    Close_CC_Recordset();
    auto& r = Report();
    if (r.CRF_Database) r.CRF_Database->Close();
    std::string mode = std::move(r.Message_Mode);
    r = ReportState{};
    r.Message_Mode = std::move(mode);
}

int Show_Message(const std::string& prompt, int buttons, const std::string& title) {
    if (Report().Message_Mode.empty()) return ui::Ui().MessageBox(prompt, buttons, title);

    // A batch print logs into Error; the edit checks normally make that table,
    // but a print can run before they ever have, and the message must not be lost.
    auto& db = Db();
    if (!db.TableExists("Error"))
        db.CreateTable("Error", {db::TextField("Level", 16, true), db::MemoField("Message", true)});
    db.Execute("INSERT INTO Error (Message) VALUES (?)", {Value(prompt)});
    return 0;
}

}  // namespace vt
