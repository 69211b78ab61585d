#include "report/provider_info.h"

#include <array>
#include <optional>
#include <utility>

#include "platform/db/db.h"
#include "platform/ui/ui.h"
#include "report/report_file.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

// The identity, already checked, into the open report: all three places or
// none. False when the file or the machine stopped it (told).
bool WriteIdentity(const IdentityEntries& e) {
    const DateTime start = ParseDate(e.txtFYStart)->DateOnly();
    const DateTime end = ParseDate(e.txtFYEnd)->DateOnly();
    auto& db = Db();
    const bool saved = SavedOrTold("The provider's identity", [&] {
        db::Transaction tx(db);
        // A report without worksheet A Part I gets the lines when the sheet is
        // rebuilt, from the state written below.
        if (db.TableExists("Ap1")) {
            const std::array<std::pair<std::int64_t, const std::string*>, 4> lines{{
                {10000, &e.txtFacilityName},
                {20200, &e.txtProviderNum},
                {60100, &e.txtFYStart},
                {60200, &e.txtFYEnd},
            }};
            for (const auto& [seq, info] : lines)
                db.ExecuteStrict("UPDATE Ap1 SET Info = ? WHERE SeqNum = ?;",
                                 {Value(*info), Value(Currency::FromScaled(seq))});
        }
        db.ExecuteStrict(
            "UPDATE Master SET BuildDate = ?, ProviderNumber = ?, FYStart = ?, FYEnd = ?, ProviderName = ?;",
            {Value(DateTime::Now()), Value(e.txtProviderNum), Value(start), Value(end), Value(e.txtFacilityName)});
        tx.Commit();
    });
    if (!saved) return false;
    auto& r = Report();
    r.CRF_FormNum = "0287";
    r.CRF_FYStart = start;
    r.CRF_FYEnd = end;
    r.CRF_ProviderNumber = e.txtProviderNum;
    r.CRF_ProviderName = e.txtFacilityName;
    return true;
}

}  // namespace

IdentityEntries CurrentIdentity() {
    const auto& r = Report();
    return {r.CRF_ProviderNumber, Format(Value(r.CRF_FYStart), "mm/dd/yyyy"),
            Format(Value(r.CRF_FYEnd), "mm/dd/yyyy"), r.CRF_ProviderName};
}

SaveIdentityResult SaveIdentity(IdentityEntries& entries) {
    SaveIdentityResult result;
    result.refused = ValidateIdentity(entries, IdentityDialog::EditKey);
    if (result.refused != IdentityField::None) return result;
    result.saved = WriteIdentity(entries);
    return result;
}

SaveIdentityResult SaveIdentityAs(IdentityEntries& entries) {
    SaveIdentityResult result;
    result.refused = ValidateIdentity(entries, IdentityDialog::EditKey);
    if (result.refused != IdentityField::None) return result;

    const ui::FileRequest request = CRFFileRequest("Save Cost Report File As ...", true, true);
    if (std::optional<ui::FileChoice> choice = ui::Ui().ChooseSaveFile(request)) SaveCRFTo(*choice);

    // The entries were checked above; asking the span question a second time
    // would tell the user nothing new.
    result.saved = WriteIdentity(entries);
    return result;
}

}  // namespace vt
