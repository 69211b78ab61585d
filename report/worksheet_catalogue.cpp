#include "report/worksheet_catalogue.h"

#include <algorithm>

#include "engine/chain/e.h"
#include "engine/chain/e1.h"
#include "engine/chain/f.h"
#include "engine/chain/f1.h"
#include "engine/chain/g.h"
#include "engine/chain/h.h"
#include "engine/general/a.h"
#include "engine/general/b.h"
#include "engine/general/b1.h"
#include "engine/general/b2.h"
#include "engine/general/c.h"
#include "engine/general/d.h"
#include "engine/general/i.h"
#include "engine/general/j.h"
#include "store/services.h"

namespace vt {

// The calculation steps put each sheet after every sheet it reads: the unit
// cost multipliers of F Part II and F-1 Part II before their Parts I, D Part B
// before C, B-1, B-2 and C before B, B before G, I and J, the component sheets
// and B before H, and H before A Part V.
const std::vector<Worksheet>& WorksheetCatalogue() {
    static const std::vector<Worksheet> sheets = {
        {.code = "Ap1", .title = "A Part I", .printCode = "A", .build = Build_Ap1, .print = Print_A},
        {.code = "Ap3", .title = "A Part III", .printCode = "A", .build = Build_Ap3, .print = Print_A,
         .refreshesWindows = true},
        {.code = "Ap4", .title = "A Part IV", .printCode = "A", .build = Build_Ap4, .print = Print_A,
         .refreshesWindows = true},
        {.code = "Ap5", .title = "A Part V", .printCode = "A", .build = Build_Ap5, .print = Print_A,
         .calc = Calc_Ap5, .calcStep = 19, .refreshesWindows = true},
        {.code = "B", .title = "B", .printCode = "B", .build = Build_B, .print = Print_B, .calc = Calc_B,
         .calcStep = 13},
        {.code = "B1", .title = "B-1", .printCode = "B1", .build = Build_B1, .print = Print_B1, .calc = Calc_B1,
         .calcStep = 1},
        {.code = "B2p1", .title = "B-2 Part I", .printCode = "B2", .build = Build_B2p1, .print = Print_B2,
         .calc = Calc_B2p1, .calcStep = 2},
        {.code = "B2p2", .title = "B-2 Part II", .printCode = "B2", .build = Build_B2p2, .print = Print_B2,
         .calc = Calc_B2p2, .calcStep = 3},
        {.code = "B2p3", .title = "B-2 Part III", .printCode = "B2", .build = Build_B2p3, .print = Print_B2,
         .calc = Calc_B2p3, .calcStep = 4},
        {.code = "C", .title = "C", .printCode = "C", .build = Build_C, .print = Print_C, .calc = Calc_C,
         .calcStep = 6},
        {.code = "DpA", .title = "D Part A", .printCode = "D", .build = Build_DpA, .print = Print_D},
        {.code = "DpB", .title = "D Part B", .printCode = "D", .build = Build_DpB, .print = Print_D,
         .calc = Calc_DpB, .calcStep = 5},
        {.code = "DpC", .title = "D Part C", .printCode = "D", .build = Build_DpC, .print = Print_D},
        {.code = "E", .title = "E", .printCode = "E", .build = Build_E, .print = Print_E, .calc = Calc_E,
         .calcStep = 7, .componentSheet = true},
        {.code = "E1", .title = "E-1", .printCode = "E1", .build = Build_E1, .print = Print_E1, .calc = Calc_E1,
         .calcStep = 8, .componentSheet = true},
        {.code = "Fp1", .title = "F Part I", .printCode = "F", .build = Build_Fp1, .print = Print_F,
         .calc = Calc_Fp1, .calcStep = 10, .editor = false, .componentSheet = true},
        {.code = "Fp2", .title = "F Part II", .printCode = "F", .build = Build_Fp2, .print = Print_F,
         .calc = Calc_Fp2, .calcStep = 9, .componentSheet = true},
        {.code = "F1p1", .title = "F-1 Part I", .printCode = "F1", .build = Build_F1p1, .print = Print_F1,
         .calc = Calc_F1p1, .calcStep = 12, .editor = false, .componentSheet = true, .builtFrom = "F1p2"},
        {.code = "F1p2", .title = "F-1 Part II", .printCode = "F1", .build = Build_F1p2, .print = Print_F1,
         .calc = Calc_F1p2, .calcStep = 11, .componentSheet = true},
        {.code = "Gp1", .title = "G Part I", .printCode = "G", .build = Build_Gp1, .print = Print_G,
         .calc = Calc_Gp1, .calcStep = 14},
        {.code = "Gp2", .title = "G Part II", .printCode = "G", .build = Build_Gp2, .print = Print_G,
         .calc = Calc_Gp2, .calcStep = 15, .componentSheet = true},
        {.code = "H", .title = "H", .printCode = "H", .build = Build_H, .print = Print_H, .calc = Calc_H,
         .calcStep = 18, .editor = false, .componentSheet = true},
        {.code = "I", .title = "I", .printCode = "I", .build = Build_I, .print = Print_I, .calc = Calc_I,
         .calcStep = 16},
        {.code = "J", .title = "J", .printCode = "J", .build = Build_J, .print = Print_J, .calc = Calc_J,
         .calcStep = 17},
    };
    return sheets;
}

const Worksheet* FindWorksheet(const std::string& code) {
    for (const auto& w : WorksheetCatalogue())
        if (code == w.code) return &w;
    return nullptr;
}

std::vector<const Worksheet*> BuiltTogether(const Worksheet& sheet) {
    std::vector<const Worksheet*> built = {&sheet};
    for (const auto& w : WorksheetCatalogue())
        if (w.builtFrom && std::string(w.builtFrom) == sheet.code) built.push_back(&w);
    return built;
}

std::vector<const Worksheet*> SheetPrints() {
    std::vector<const Worksheet*> prints;
    for (const auto& w : WorksheetCatalogue())
        if (prints.empty() || std::string(prints.back()->printCode) != w.printCode) prints.push_back(&w);
    return prints;
}

std::string SheetPrintName(const std::string& printCode) { return Get_Worksheet_Name(printCode); }

std::vector<const Worksheet*> BuildOrder() {
    std::vector<const Worksheet*> order;
    for (const auto& w : WorksheetCatalogue()) {
        if (w.builtFrom) continue;
        for (const Worksheet* built : BuiltTogether(w)) order.push_back(built);
    }
    return order;
}

std::vector<const Worksheet*> CalculationOrder() {
    std::vector<const Worksheet*> order;
    for (const auto& w : WorksheetCatalogue())
        if (w.calc) order.push_back(&w);
    std::stable_sort(order.begin(), order.end(),
                     [](const Worksheet* a, const Worksheet* b) { return a->calcStep < b->calcStep; });
    return order;
}

}  // namespace vt
