// The editors of worksheet B-2: Part I (old capital, table B2p1) and Part II
// (new capital, B2p2) take the beginning balance, purchases, donations,
// disposals and fully depreciated assets of each asset class; Part III (B2p3)
// takes the gross assets, leases, depreciation, lease and interest of the
// capital cost centres and, on its Total line, the insurance, taxes and other
// capital-related costs to spread over them. The lines are fixed and the
// engine calculates the rest, so there is no Add or Delete.
#pragma once

#include <set>
#include <vector>

#include "editors/edit_form.h"

namespace vt::gui {

// What sets the three apart.
struct B2Design {
    const char* code;
    const char* recordSource;
    std::vector<ColHeading> headings;
    std::set<int> hidden;
    int positiveColumn = -1;  // the one amount that must not be below zero
};

class frmEditB2 : public EditForm {
    Q_OBJECT
protected:
    explicit frmEditB2(const B2Design& design) : EditForm(design.code), design_(design) {}
    void FillHeadings() override { ColHeadings = design_.headings; }
    std::string RecordSource() const override { return design_.recordSource; }
    void LayoutGrid() override;
    void grd_BeforeColUpdate(grid::CellUpdate& u) override;

private:
    const B2Design& design_;
};

class frmEditB2p1 : public frmEditB2 {
    Q_OBJECT
public:
    frmEditB2p1();
};

class frmEditB2p2 : public frmEditB2 {
    Q_OBJECT
public:
    frmEditB2p2();
};

class frmEditB2p3 : public frmEditB2 {
    Q_OBJECT
public:
    frmEditB2p3();

protected:
    // The Total line takes the amounts to spread, the lines above it the
    // amounts of each cost centre.
    bool CellLocked(int row, int col) const override;
};

}  // namespace vt::gui
