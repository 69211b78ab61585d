#include "editors/numbered_lines.h"

#include "engine/general/renumber.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {
const Currency kSubStep = Currency::FromScaled(Currency::kScale / 100);
const Currency kWholeStep = Currency::FromInt(1);
const Currency kOffset = Currency::FromInt(1000);
}  // namespace

NumberedLinesForm::NumberedLinesForm(const std::string& code, std::string table, int lastWhole, std::string insert)
    : EditForm(code), table_(std::move(table)), lastWhole_(Currency::FromInt(lastWhole)), insert_(std::move(insert)) {}

void NumberedLinesForm::FormSetup() {
    EditForm::FormSetup();
    // An empty worksheet has no current line, and still takes its first one.
    if (grd->Row() < 0) grd_RowColChange(-1, -1);
}

void NumberedLinesForm::grd_RowColChange(int, int) {
    const Currency highest =
        Nz_Num(Db().Scalar("SELECT Max(SeqNum) FROM " + table_ + " WHERE SeqNum < ?",
                           {Value(lastWhole_ + kWholeStep)}))
            .ToCurrency();
    const bool none = highest == Currency{};
    cmdDelete->setEnabled(!none && grd->Row() >= 0);
    cmdAdd->setEnabled(none || highest < lastWhole_ + kWholeStep - kSubStep);
}

void NumberedLinesForm::grd_AfterColUpdate(int col) {
    if (col < 0) {
        RefreshOtherWindows();
        return;
    }
    RefreshOwnViewer();
}

void NumberedLinesForm::AddLine() {
    ChangeLines("SeqNum", [this]() -> std::optional<Landing> {
        Currency n = kWholeStep;
        if (grd->Row() >= 0) {
            const Currency s = Current("SeqNum").ToCurrency();
            n = s + (s >= lastWhole_ ? kSubStep : kWholeStep);
        }
        const Value last(lastWhole_), next(lastWhole_ + kWholeStep);
        // The sub-lines move first, so that the last whole line finds its .01 free.
        Shift_Lines(table_, {"SeqNum"}, "SeqNum >= ? AND SeqNum >= ? AND SeqNum < ?", {Value(n), last, next},
                    kSubStep, kOffset);
        Shift_Lines(table_, {"SeqNum"}, "SeqNum >= ? AND SeqNum < ?", {Value(n), last}, kWholeStep, kOffset);
        Db().Execute(insert_, {Value(n)});
        return Landing{db::FindOp::Eq, Value(n), false, 1, true};
    });
}

void NumberedLinesForm::DeleteLine() {
    if (grd->Row() < 0) return;
    ChangeLines("SeqNum", [this]() -> std::optional<Landing> {
        const Value d = Current("SeqNum");
        Delete_Numbered_Line(table_, lastWhole_, d);
        return Landing{db::FindOp::Le, d, true, 1};
    });
}

void Delete_Numbered_Line(const std::string& table, Currency lastWhole, const Value& line) {
    const Value last(lastWhole), next(lastWhole + kWholeStep);
    Db().Execute("DELETE FROM " + table + " WHERE SeqNum = ?", {line});
    // The whole lines first: the last one frees its number for its .01.
    Shift_Lines(table, {"SeqNum"}, "SeqNum > ? AND SeqNum <= ?", {line, last}, -kWholeStep, kOffset);
    Shift_Lines(table, {"SeqNum"}, "SeqNum > ? AND SeqNum > ? AND SeqNum < ?", {line, last, next}, -kSubStep,
                kOffset);
}

}  // namespace vt::gui
