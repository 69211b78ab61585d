#include "editors/frmEditB1.h"

#include "platform/ui/ui.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

const Currency kTotalLine = Currency::FromInt(100);

}  // namespace

void frmEditB1::FillHeadings() {
    ColHeadings = {
        {"", ""},
        {"", "Explanation"},
        {"1", "Code"},
        {"2", "Increase Cost Center"},
        {"3", "Incr Line #"},
        {"4", "Increase Amount"},
        {"5", "Decrease Cost Center"},
        {"6", "Decr Line #"},
        {"7", "Decrease Amount"},
    };
}

void frmEditB1::LayoutGrid() {
    const double widths[] = {600, 3500, 600, 3500, 700, 1000, 3500, 700, 1000};
    for (int c = 0; c < 9; ++c) grd->Columns(c).SetWidth(widths[c]);
    grd->Columns(0).SetLocked(true);
    grd->Columns(3).SetVisible(false);
    grd->Columns(6).SetVisible(false);
}

void frmEditB1::grd_BeforeColUpdate(grid::CellUpdate& u) {
    switch (u.column) {
    case 1:
        CheckTextCell(u, {40, "explanation", "The explanation cannot be more than 40 characters in length",
                          "The explanation cannot contain double quote characters"});
        break;
    case 2: {
        static const std::set<std::string> letters = [] {
            std::set<std::string> s;
            for (char c = 'A'; c <= 'Z'; ++c) s.insert(std::string(1, c));
            return s;
        }();
        CheckCodeCell(u, letters,
                      "A valid CODE [any letter from 'A' through 'Z'] must be entered.  Select OK to continue.",
                      ui::kCritical, "Error: Invalid CODE Entry");
        break;
    }
    case 4:
    case 7:
        CheckSideCell(u);
        break;
    case 5:
    case 8:
        // The row is written at once with the cell; a refused amount writes nothing.
        CheckAmountCell(u, 1);
        break;
    default:
        break;
    }
}

void frmEditB1::CheckSideCell(grid::CellUpdate& u) {
    const bool up = u.column == 4;
    const std::string number = up ? "UpCCNum" : "DnCCNum";
    const std::string name = up ? "UpCCName" : "DnCCName";
    const std::string amount = up ? "UpAmount" : "DnAmount";
    const CostCentreEntry cc = ReadCostCentreCell(u.newValue);
    grid::FieldValues side;
    if (cc.kind == CostCentreEntry::None) {
        // No cost centre: the side is cleared, its amount too.
        u.newValue = Value::Null();
        side = {{number, Value::Null()}, {name, Value::Null()}, {amount, Value::Null()}};
    } else if (cc.kind == CostCentreEntry::Found && cc.number < Currency::FromInt(200)) {
        u.newValue = Value(cc.number);
        side = {{number, u.newValue}, {name, Value(FitToField(cc.name, 40))}};
    } else {
        // Only an expense cost centre of the list can take a reclassification.
        Show_Message("Invalid Cost Center number", ui::kCritical);
        u.cancel = true;
        return;
    }
    if (!grd->Data().SetFields(u.row, side)) u.cancel = true;
}

void frmEditB1::FormSetup() {
    EditForm::FormSetup();
    // An empty sheet has no current cell, yet takes its first line.
    if (grd->Row() < 0) grd_RowColChange(-1, -1);
}

void frmEditB1::grd_RowColChange(int, int) {
    cmdAdd->setEnabled(NumberedLineAddable("B1"));
    // The total line, 100, stays.
    const Currency line = Nz_Num(Current("SeqNum")).ToCurrency();
    cmdDelete->setEnabled(grd->Row() >= 0 && line > Currency() && line < kTotalLine);
}

void frmEditB1::AddLine() {
    RunLineChange("SeqNum", [] { return AddNumberedLine("B1", std::nullopt); },
                  {db::FindOp::Eq, {}, false, 1, true});
}

void frmEditB1::DeleteLine() {
    if (grd->Row() < 0) return;
    const Currency n = Nz_Num(Current("SeqNum")).ToCurrency();
    RunLineChange("SeqNum", [n] { return DeleteNumberedLine("B1", n); }, {db::FindOp::Le, {}, true});
}

}  // namespace vt::gui
