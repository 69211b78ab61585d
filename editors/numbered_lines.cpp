#include "editors/numbered_lines.h"

#include "store/services.h"

namespace vt::gui {

NumberedLinesForm::NumberedLinesForm(const std::string& code) : EditForm(code) {}

void NumberedLinesForm::FormSetup() {
    EditForm::FormSetup();
    // An empty worksheet has no current line, and still takes its first one.
    if (grd->Row() < 0) grd_RowColChange(-1, -1);
}

void NumberedLinesForm::grd_RowColChange(int, int) {
    cmdDelete->setEnabled(grd->Row() >= 0 && Nz_Num(Current("SeqNum")).ToCurrency() >= Currency::FromInt(1));
    cmdAdd->setEnabled(NumberedLineAddable(Code()));
}

void NumberedLinesForm::grd_AfterColUpdate(int col) {
    if (col < 0) {
        RefreshOtherWindows();
        return;
    }
    RefreshOwnViewer();
}

void NumberedLinesForm::AddLine() {
    const std::optional<Currency> current =
        grd->Row() >= 0 ? std::optional(Current("SeqNum").ToCurrency()) : std::nullopt;
    RunLineChange("SeqNum", [&] { return AddNumberedLine(Code(), current); }, {db::FindOp::Eq, {}, false, 1, true});
}

void NumberedLinesForm::DeleteLine() {
    if (grd->Row() < 0) return;
    const Currency line = Current("SeqNum").ToCurrency();
    RunLineChange("SeqNum", [&] { return DeleteNumberedLine(Code(), line); }, {db::FindOp::Le, {}, true, 1});
}

}  // namespace vt::gui
