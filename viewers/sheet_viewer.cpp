#include "viewers/sheet_viewer.h"

#include "engine/chain/g.h"
#include "shell/cc_headings.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {

SheetViewer::SheetViewer(const ViewerDesign& design) : ViewForm(design.code), d_(design) {}

void SheetViewer::FillHeadings() {
    for (const ViewerColumn& c : d_.columns) ColHeadings.emplace_back(c.colNum, c.headText);
    listRead_ = false;
}

void SheetViewer::SetGrd() {
    const long top = d_.keepTopLine ? TopLine(*grd, "SeqNum") : -1;
    ViewForm::SetGrd();
    if (top >= 0) ScrollToLine(*grd, "SeqNum", Value(Currency::FromInt(top)), true);
}

void SheetViewer::LayoutGrid() {
    const int n = grd->ColumnCount();
    if (d_.split) {
        grd->AddSplit();
        grd->Splits(1).SetRecordSelectors(false);
    }
    for (int c = 0; c < n; ++c)
        LayOutColumn(c, c < static_cast<int>(d_.columns.size()) ? d_.columns[static_cast<size_t>(c)] : d_.rest);
    if (d_.rowHeight > 0) grd->SetRowHeight(d_.rowHeight);
    if (d_.currentColumn1 && n > 1) grd->SetCol(1);
    grd->SetHeadLines(d_.headLines);
    HeadColumns();
}

void SheetViewer::HeadColumns() {
    const int n = grd->ColumnCount();
    ColHeadings.resize(static_cast<size_t>(n));
    switch (d_.ccHeadings) {
    case CcHeadings::None: break;
    case CcHeadings::ListOrder: HeadByListOrder(); break;
    case CcHeadings::Row0: HeadByRow0(); break;
    case CcHeadings::G: HeadG(); break;
    }
    if (d_.total && n > static_cast<int>(d_.columns.size())) ColHeadings.back() = *d_.total;
    // Rows read again may hold longer values: widened before the captions are wrapped.
    if (d_.fitColumns)
        for (int c = 0; c < n; ++c) {
            if (!grd->Columns(c).Visible()) continue;
            FitColumnToText(*grd, c);
            FitColumnToHeadingWords(*grd, c, ColHeadings[static_cast<size_t>(c)].HeadText);
        }
    for (size_t c = 0; c < d_.columns.size() && c < static_cast<size_t>(n); ++c)
        if (d_.columns[c].fitText) FitColumnToText(*grd, static_cast<int>(c));
}

void SheetViewer::LayOutColumn(int col, const ViewerColumn& c) {
    grid::Column all = grd->Columns(col);
    if (c.width >= 0) all.SetWidth(c.width);
    if (!c.numberFormat.empty()) all.SetNumberFormat(c.numberFormat);
    if (c.alignment != grid::kAlignGeneral) all.SetAlignment(c.alignment);
    if (!d_.split) {
        all.SetVisible(c.pane != Pane::Hidden);
        return;
    }
    grd->Splits(0).Columns(col).SetVisible(c.pane == Pane::Left);
    grd->Splits(1).Columns(col).SetVisible(c.pane == Pane::Right);
}

// The k-th cost centre of the range heads the k-th value column, whatever row 0 holds.
void SheetViewer::HeadByListOrder() {
    if (d_.headingsOnLoad && listRead_) return;
    listRead_ = true;
    const std::vector<ColHeading> list = CCHeadingsInListOrder(d_.ccBelow);
    const size_t end = ColHeadings.size() - (d_.total ? 1 : 0);
    for (size_t i = d_.columns.size(), k = 0; i < end && k < list.size(); ++i, ++k) ColHeadings[i] = list[k];
}

// Each value column but the total as the editor heads it.
void SheetViewer::HeadByRow0() { HeadColumnsByRow0(ColHeadings, d_.code, d_.columns.size()); }

// Worksheet G's numbering: the Non-Capital column (row-0 value 0 or empty) is
// 6. Without a row 0 nothing says which cost centre a column holds.
void SheetViewer::HeadG() {
    const std::vector<Value> row0 = SheetRow0(d_.code);
    for (size_t i = d_.columns.size(); i < ColHeadings.size(); ++i) {
        if (i >= row0.size()) {
            ColHeadings[i] = {};
            continue;
        }
        const Value v = Nz_Num(row0[i]);
        const Currency cc = IsNumeric(v) ? v.ToCurrency() : Currency{};
        ColHeadings[i] = cc == Currency{} ? ColHeading("6", "Non-Capital")
                                          : ColHeading(GColumnNumber(cc), Get_CC_Label(cc, 0, 0));
    }
}

void SheetViewer::PrintWorksheet() {
    int fileNum = 0;
    d_.print(fileNum);
}

}  // namespace vt::gui
