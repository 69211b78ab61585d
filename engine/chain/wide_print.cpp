#include "engine/chain/wide_print.h"

#include <algorithm>
#include <cmath>

#include "engine/chain/component_rows.h"
#include "print/codepage.h"
#include "store/services.h"

namespace vt {

namespace {

constexpr int kBlock = 9;  // value columns per page
constexpr int kStep = 13;  // columns from one value column to the next
constexpr int kLabelWidth = kStep;  // a label's room: up to the next column's label
constexpr int kLabelCentre = 11;    // labels centre in this width
constexpr int kNameCol = 8;         // the component's name, under its rule
constexpr int kMedicareNoCol = 51;  // the Medicare number, where the sheet has one

void Heading(print::SheetPrint& sp, const WideSheetLayout& l, int first, int last) {
    print::Heading h = {{{1, l.title}}, {}, {}};
    auto labels = [&](int part, print::HeadingLine fixed) {
        std::vector<print::HeadingItem> texts;
        for (int c = first; c <= last; ++c) {
            const WideColumn& col = l.columns[c - 1];
            const int at = l.labelCol + kStep * (c - first);
            if (!col.total) texts.push_back({at, Get_CC_Label(col.ccnum, part, 0)});
            else if (part == 3) fixed.push_back({at + 3, "Total"});
        }
        for (auto& line : LabelLines(std::move(fixed), texts)) h.push_back(std::move(line));
    };
    labels(1, {});
    labels(2, l.medicareNo ? print::HeadingLine{{50, "Medicare"}} : print::HeadingLine{});
    labels(3, l.medicareNo ? print::HeadingLine{{20, "Chain Components"}, {53, "No."}}
                           : print::HeadingLine{{20, "Chain Components"}});

    print::HeadingLine numbers, rules{{kNameCol, std::string(40, '_')}};
    if (l.medicareNo) rules.push_back({kMedicareNoCol, std::string(7, '_')});
    for (int c = first; c <= last; ++c) {
        const std::string& t = l.columns[c - 1].number;
        const double at = l.numberCol + kStep * (c - first) + 1 - static_cast<double>(t.size()) / 2;
        numbers.push_back({static_cast<int>(std::floor(at)), t});
        rules.push_back({l.labelCol + kStep * (c - first), std::string(11, '_')});
    }
    h.push_back(std::move(numbers));
    h.push_back(std::move(rules));
    sp.lines += print::WriteHeading(sp.out(), h);
}

// The columns a row's component name keeps to, wrapped within them.
int NameWidth(const WideSheetLayout& l) {
    return print::Out::WidthBefore(kNameCol, l.medicareNo ? kMedicareNoCol : l.valueCol);
}

void Row(print::SheetPrint& sp, const WideSheetLayout& l, const db::Recordset& rs, Currency seq, int first,
         int last) {
    auto out = sp.out();
    out.Figure(1, 6, print::AmountText(rs["SeqNum"]));
    out.Text(kNameCol, NameWidth(l), Nz_Str(rs["Component"]).ToText());
    if (l.medicareNo)
        out.Text(kMedicareNoCol, print::Out::WidthBefore(kMedicareNoCol, l.valueCol),
                 Nz_Str(rs["MedicareNo"]).ToText());
    const char* fmt = seq == Currency::FromInt(kUnitCostRow) ? "0.000000" : "#,##0";
    for (int c = first; c <= last; ++c) {
        const Value v = rs.Field(l.firstValueField + c - 1);
        out.Figure(l.valueCol + kStep * (c - first), 13, Format(v, fmt));
    }
    sp.lines += out.Line();
}

}  // namespace

print::Heading LabelLines(print::HeadingLine fixed, const std::vector<print::HeadingItem>& labels) {
    auto centred = [](const std::string& piece) {
        const int pad = std::max(kLabelCentre - static_cast<int>(print::Utf8Length(piece)), 0) / 2;
        return std::string(static_cast<std::size_t>(pad), ' ') + piece;
    };
    // Right to left: a label may fill its 13 columns only where what starts
    // at the next column begins with a blank; else it keeps one blank free.
    // None passes the page's right edge.
    std::vector<std::vector<std::string>> pieces(labels.size());
    for (std::size_t i = labels.size(); i-- > 0;) {
        const int next = labels[i].col + kStep;
        bool tight = false;
        for (const auto& item : fixed) tight = tight || (item.col == next && item.text.rfind(' ', 0) != 0);
        if (i + 1 < labels.size() && labels[i + 1].col == next) tight = tight || centred(pieces[i + 1][0])[0] != ' ';
        const int room = std::min(kLabelWidth, print::PrintLayout().Page_Width - labels[i].col + 1);
        pieces[i] = print::WrapText(labels[i].text, tight ? room - 1 : room);
    }
    print::Heading lines{std::move(fixed)};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        for (std::size_t k = 0; k < pieces[i].size(); ++k) {
            if (lines.size() <= k) lines.emplace_back();
            lines[k].push_back({labels[i].col, centred(pieces[i][k])});
        }
    }
    for (auto& line : lines)
        std::stable_sort(line.begin(), line.end(), [](const auto& a, const auto& b) { return a.col < b.col; });
    return lines;
}

void PrintColumnRule(print::SheetPrint& sp, int at, int count) {
    auto out = sp.out();
    for (int c = 0; c < count; ++c) out.Tab(at + kStep * c) << std::string(11, '-');
    out.Line();
    sp.lines += 1;
}

void PrintGroupLines(print::SheetPrint& sp, Currency seq, int at, int count) {
    auto out = sp.out();
    auto group = [&](const char* caption, int dashes, bool blank) {
        if (blank) out.Line();
        out.Tab(11) << caption;
        out.Line();
        out.Tab(8) << std::string(dashes, '-');
        out.Line();
        sp.lines += blank ? 3 : 2;
    };
    for (const auto& b : kComponentBands) {
        if (seq == RowAt(b.first)) {
            group(b.groupCaption, b.groupDashes, b.after != kRow0);
            return;
        }
    }
    if (IsBandTotalRow(seq))
        PrintColumnRule(sp, at, count);
    else if (seq == Currency::FromInt(kGrandTotalRow)) {
        out.Line();
        sp.lines += 1;
    }
}

void PrintWideSheet(print::SheetPrint& sp, const WideSheetLayout& l, db::Recordset& rs) {
    const int m = static_cast<int>(l.columns.size());
    auto first = [](int b) { return b * kBlock + 1; };
    auto last = [&](int b) { return std::min(first(b) + kBlock - 1, m); };
    print::ColumnPages pages;
    pages.blocks = std::max((m + kBlock - 1) / kBlock, 1);
    pages.heading = [&](print::SheetPrint& p, int b) { Heading(p, l, first(b), last(b)); };
    pages.row = [&](print::SheetPrint& p, int b) {
        const Currency seq = Nz_Num(rs["SeqNum"]).ToCurrency();
        PrintGroupLines(p, seq, l.labelCol, last(b) - first(b) + 1);
        Row(p, l, rs, seq, first(b), last(b));
    };
    print::PrintColumnPages(sp, rs, pages);
}

}  // namespace vt
