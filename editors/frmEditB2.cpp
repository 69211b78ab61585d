#include "editors/frmEditB2.h"

namespace vt::gui {
namespace {

const int kDisposals = 6;

std::vector<ColHeading> CapitalHeadings() {
    return {
        {"", ""},
        {"", "Description"},
        {"1", "Beginning Balance"},
        {"2", "Purchases"},
        {"3", "Donation"},
        {"4", "Total Acquisitions"},
        {"5", "Disposals and Retirements"},
        {"6", "Ending Balance"},
        {"7", "Fully Depreciated Assets"},
    };
}

// Total Acquisitions and Ending Balance are the engine's.
const B2Design kB2p1{"B2p1", "SELECT * FROM B2p1 Where SeqNum NOT IN (7,9) ORDER BY SeqNum;", CapitalHeadings(),
                     {5, 7}, kDisposals};
const B2Design kB2p2{"B2p2", "SELECT * FROM B2p2 Where SeqNum NOT IN (7,9) ORDER BY SeqNum;", CapitalHeadings(),
                     {5, 7}, kDisposals};
const B2Design kB2p3{"B2p3",
                     "SELECT SeqNum,Description,GrossAssets,CapLeases,Insurance,Taxes,CapRelated,Depreciation,"
                     "Lease,Interest FROM B2p3 ORDER BY SeqNum;",
                     {
                         {"", ""},
                         {"", "Description"},
                         {"1", "Gross Assets Balance"},
                         {"2", "Capitalized Leases"},
                         {"5", "Insurance"},
                         {"6", "Taxes"},
                         {"7", "Other Cap Related Costs"},
                         {"9", "Depreciation"},
                         {"10", "Lease"},
                         {"11", "Interest"},
                     },
                     {}};

}  // namespace

frmEditB2p1::frmEditB2p1() : frmEditB2(kB2p1) {}
frmEditB2p2::frmEditB2p2() : frmEditB2(kB2p2) {}
frmEditB2p3::frmEditB2p3() : frmEditB2(kB2p3) {}

void frmEditB2::LayoutGrid() {
    grd->Columns(0).SetWidth(600).SetLocked(true);
    grd->Columns(1).SetWidth(3500).SetLocked(true);
    for (int c = 2; c < grd->ColumnCount(); ++c) grd->Columns(c).SetWidth(1200).SetVisible(!design_.hidden.count(c));
}

void frmEditB2::grd_BeforeColUpdate(grid::CellUpdate& u) {
    if (u.column > 1) CheckAmountCell(u, u.column == design_.positiveColumn ? 1 : 0);
}

bool frmEditB2p3::CellLocked(int row, int col) const {
    if (col < 2) return false;  // the columns' own locks hold
    const bool spread = col >= 4 && col <= 6;  // Insurance, Taxes, Other Cap Related Costs
    const bool totalLine = Field(row, "SeqNum").ToCurrency() >= Currency::FromInt(5);
    return spread != totalLine;
}

}  // namespace vt::gui
