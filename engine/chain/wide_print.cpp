#include "engine/chain/wide_print.h"

#include <algorithm>
#include <cmath>

#include "engine/chain/component_rows.h"
#include "store/services.h"

namespace vt {

namespace {

constexpr int kBlock = 9;  // value columns per page
constexpr int kStep = 13;  // columns from one value column to the next

void Heading(print::SheetPrint& sp, const WideSheetLayout& l, int first, int last) {
    sp.NewPage();
    auto out = sp.out();
    out.Tab(1) << l.title;
    out.Line();
    out.Line();
    out.Line();
    sp.lines += 3;

    auto labels = [&](int part) {
        for (int c = first; c <= last; ++c) {
            const WideColumn& col = l.columns[c - 1];
            const int at = l.labelCol + kStep * (c - first);
            if (!col.total) out.Tab(at) << Get_CC_Label(col.ccnum, part, 11);
            else if (part == 3) out.Tab(at + 3) << "Total";
        }
        out.Line();
    };
    labels(1);
    if (l.medicareNo) out.Tab(50) << "Medicare";
    labels(2);
    out.Tab(20) << "Chain Components";
    if (l.medicareNo) out.Tab(53) << "No.";
    labels(3);

    for (int c = first; c <= last; ++c) {
        const std::string& t = l.columns[c - 1].number;
        const double at = l.numberCol + kStep * (c - first) + 1 - static_cast<double>(t.size()) / 2;
        out.Tab(static_cast<int>(std::floor(at))) << t;
    }
    out.Line();

    out.Tab(8) << std::string(40, '_');
    if (l.medicareNo) out.Tab(51) << std::string(7, '_');
    for (int c = first; c <= last; ++c) out.Tab(l.labelCol + kStep * (c - first)) << std::string(11, '_');
    out.Line();
    sp.lines += 5;
}

void Row(print::SheetPrint& sp, const WideSheetLayout& l, const db::Recordset& rs, Currency seq, int first,
         int last) {
    auto out = sp.out();
    out.Tab(1) << print::Format_Amount(rs["SeqNum"], 6);
    out.Tab(8) << Nz_Str(rs["Component"]).ToText();
    if (l.medicareNo) out.Tab(51) << Nz_Str(rs["MedicareNo"]).ToText();
    const char* fmt = seq == Currency::FromInt(kUnitCostRow) ? "0.000000" : "#,##0";
    for (int c = first; c <= last; ++c) {
        const Value v = rs.Field(l.firstValueField + c - 1);
        out.Tab(l.valueCol + kStep * (c - first)) << print::Pad_Left(Value(Format(v, fmt)), 13);
    }
    out.Line();
    sp.lines += 1;
}

}  // namespace

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
    int first = 1, last = m;  // last == m: no block open, or the last block of a group
    int groupStart = rs.Position();
    sp.lines = 999;
    for (;;) {
        if (rs.Eof()) {
            if (last == m) break;
            sp.lines = 999;  // the group's next block
        }
        if (sp.PageFull()) {
            if (last == m) {
                first = 1;
                last = std::min(kBlock, m);
                groupStart = rs.Position();
            } else {
                first = last + 1;
                last = std::min(first + kBlock - 1, m);
                rs.MoveTo(groupStart);
            }
            Heading(sp, l, first, last);
        }
        const Currency seq = Nz_Num(rs["SeqNum"]).ToCurrency();
        PrintGroupLines(sp, seq, l.labelCol, last - first + 1);
        Row(sp, l, rs, seq, first, last);
        rs.MoveNext();
    }
}

}  // namespace vt
