// frmCRFEditKey's work: the open report's identity changed in the three
// places that must agree, table Master, worksheet A Part I lines 1, 2.02,
// 6.01 and 6.02, and the open-report state.
#pragma once

#include "report/identity_checks.h"

namespace vt {

// Form_Load: the four boxes filled from the open report.
IdentityEntries CurrentIdentity();

// The box that holds what line `seq` of worksheet A Part I shows (lines 1,
// 2.02, 6.01 and 6.02); None for every other line.
IdentityField Ap1IdentityField(Currency seq);

// What a Save ended in: saved, or refused with the box to go back to.
struct SaveIdentityResult {
    bool saved = false;
    IdentityField refused = IdentityField::None;
};

// Save: the identity checks of this dialog (the boxes are rewritten in place),
// then Master, the Ap1 lines and the state, all or nothing. The caller then
// refreshes the A Part I windows that are open.
SaveIdentityResult SaveIdentity(IdentityEntries& entries);

// Save As: the checks, then the open report copied to a file the user names
// (starting in the last report folder) and made the open report, then the
// identity saved into whichever report is open now: the copy, or the old
// file when the chooser was cancelled or the copy failed (told).
SaveIdentityResult SaveIdentityAs(IdentityEntries& entries);

}  // namespace vt
