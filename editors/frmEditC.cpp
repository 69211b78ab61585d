#include "editors/frmEditC.h"

#include "engine/general/renumber.h"
#include "platform/ui/ui.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

const Currency kOne = Currency::FromInt(1);
const Currency kCent = Currency::FromScaled(100);
const Currency kOutOfTheWay = Currency::FromInt(1000);

// A band of user lines: the lines above `first` and below `end` are the
// user's, at most `limit` of them.
struct Band {
    int first;
    int end;
    int limit;
};
const Band kOther13{13, 14, 99};
const Band kOther21{21, 28, 105};  // 22-27, then 27.01-27.99

std::optional<Band> BandOf(Currency line) {
    if (line.Floor() == Currency::FromInt(13)) return kOther13;
    if (line >= Currency::FromInt(21) && line < Currency::FromInt(28)) return kOther21;
    return std::nullopt;
}

int UserLines(const Band& b) {
    return static_cast<int>(
        Db().Scalar("Select Count(LineNum) as Cnt From C Where LineNum>? and LineNum<?;", {Value(b.first), Value(b.end)})
            .ToLong());
}

}  // namespace

void frmEditC::FillHeadings() {
    ColHeadings = {
        {"", ""}, {"1", "Description"}, {"2", "Basis"}, {"3", "Amount"}, {"4", "Line #"}, {},
    };
}

void frmEditC::LayoutGrid() {
    grd->SetHeadLines(2);
    grd->Columns(0).SetWidth(600).SetLocked(true);
    grd->Columns(1).SetWidth(4300);
    Fit_Column_To_Text(*grd, 1);
    grd->Columns(2).SetWidth(600);
    grd->Columns(4).SetWidth(800);
    grd->Columns(5).SetVisible(false);
}

bool frmEditC::CellLocked(int row, int col) const {
    // Only the "Other" lines take a description of the user's.
    return col == 1 && !BandOf(Field(row, "LineNum").ToCurrency());
}

void frmEditC::grd_RowColChange(int, int) {
    cmdAdd->setEnabled(false);
    cmdDelete->setEnabled(false);
    if (grd->Row() < 0) return;
    if (const auto band = BandOf(Current("LineNum").ToCurrency())) {
        const int lines = UserLines(*band);
        cmdDelete->setEnabled(lines >= 1);
        cmdAdd->setEnabled(lines < band->limit);
    }
}

void frmEditC::grd_BeforeColUpdate(grid::CellUpdate& u) {
    switch (u.column) {
    case 1:
        CheckTextCell(u, {40, "description",
                          "The description cannot be more than 40 characters in length. The description has been "
                          "truncated.",
                          "The description cannot contain double quote characters", true, true});
        break;
    case 2: {
        const std::string typed = u.newValue.IsNull() ? std::string() : u.newValue.ToText();
        u.newValue = Value(typed.substr(0, 1));
        CheckCodeCell(u, {"", " ", "A", "B"}, "This field may only contain the letters 'A' or 'B\"", ui::kOkOnly);
        break;
    }
    case 4:
        // Any cost centre of the list may be adjusted; none leaves a blank name.
        CheckCostCentreCell(u, "CCNum", "CCName", " ");
        break;
    default:
        CheckAmountCell(u);
        break;
    }
}

void frmEditC::AddLine() {
    if (grd->Row() < 0) return;
    const Currency at = Current("LineNum").ToCurrency();
    ChangeLines("LineNum", [at]() -> std::optional<Landing> {
        const auto band = BandOf(at);
        if (!band || UserLines(*band) >= band->limit) return std::nullopt;
        Currency line;
        if (band->first == 13) {
            Shift_Lines("C", {"LineNum"}, "LineNum > ? AND LineNum < 14", {Value(at)}, kCent, kOutOfTheWay);
            line = at + kCent;
        } else {
            // 27 and its sub-lines move up by .01 first, so that a line 26
            // moving up by one finds 27 free.
            Shift_Lines("C", {"LineNum"}, "LineNum >= 27 AND LineNum > ? AND LineNum < 28", {Value(at)}, kCent,
                        kOutOfTheWay);
            Shift_Lines("C", {"LineNum"}, "LineNum >= 22 AND LineNum > ? AND LineNum < 27", {Value(at)}, kOne,
                        kOutOfTheWay);
            line = at + (at < Currency::FromInt(27) ? kOne : kCent);
        }
        Db().Execute("INSERT INTO C (LineNum, Description, Amount) VALUES (?, 'Other', 0);", {Value(line)});
        return Landing{db::FindOp::Eq, Value(line), false, 1, true};
    });
}

void frmEditC::DeleteLine() {
    if (grd->Row() < 0) return;
    const Currency at = Current("LineNum").ToCurrency();
    ChangeLines("LineNum", [at]() -> std::optional<Landing> {
        const auto band = BandOf(at);
        if (!band || UserLines(*band) < 1) return std::nullopt;
        Db().Execute("DELETE FROM C WHERE LineNum = ?;", {Value(at)});
        if (band->first == 13) {
            Shift_Lines("C", {"LineNum"}, "LineNum > ? AND LineNum < 14", {Value(at)}, -kCent, kOutOfTheWay);
        } else {
            // Whole lines up to 27 come down by one, then 27.01 and up by .01.
            Shift_Lines("C", {"LineNum"}, "LineNum >= 21 AND LineNum > ? AND LineNum <= 27", {Value(at)}, -kOne,
                        kOutOfTheWay);
            Shift_Lines("C", {"LineNum"}, "LineNum >= 27 AND LineNum > ? AND LineNum < 28", {Value(at)}, -kCent,
                        kOutOfTheWay);
        }
        return Landing{db::FindOp::Le, Value(at), true};
    });
}

}  // namespace vt::gui
