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

// Each identity line of worksheet A Part I and the box it shows.
constexpr std::array<std::pair<std::int64_t, IdentityField>, 4> kAp1IdentityLines{{
    {10000, IdentityField::FacilityName},
    {20200, IdentityField::ProviderNum},
    {60100, IdentityField::FYStart},
    {60200, IdentityField::FYEnd},
}};

const std::string& EntryOf(const IdentityEntries& e, IdentityField field) {
    switch (field) {
    case IdentityField::ProviderNum: return e.txtProviderNum;
    case IdentityField::FYStart: return e.txtFYStart;
    case IdentityField::FYEnd: return e.txtFYEnd;
    default: return e.txtFacilityName;
    }
}

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
            for (const auto& [seq, field] : kAp1IdentityLines)
                db.ExecuteStrict("UPDATE Ap1 SET Info = ? WHERE SeqNum = ?;",
                                 {Value(EntryOf(e, field)), Value(Currency::FromScaled(seq))});
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

IdentityField Ap1IdentityField(Currency seq) {
    for (const auto& [line, field] : kAp1IdentityLines)
        if (seq == Currency::FromScaled(line)) return field;
    return IdentityField::None;
}

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
