// Worksheet J's editor: the balance sheet per books, one amount per account
// line. The lines follow the balance-sheet cost centres (the cost-centre
// editor adds and removes them, and sets this window up again), so Add and
// Delete stay disabled. It has J's own reduced window: no stepping to other
// worksheets, no whole-report calculation, and no SetGrd, so the general
// refresh passes it by and it shows what it last read until it is set up
// again. Each amount is stored as the one field typed, so a row shown stale
// here never overwrites what the calculation or another window wrote since.
#pragma once

#include <QPushButton>

#include "shell/j_form.h"

namespace vt::gui {

class frmEditJ : public JForm {
    Q_OBJECT
public:
    frmEditJ();
    void Form_Load() override { FormSetup(); }
    void FormSetup() override;
    bool HasSetGrd() const override { return false; }

    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdOpenView;
    QPushButton* cmdClose;

public slots:
    void cmdOpenView_Click();
    void cmdClose_Click();
};

}  // namespace vt::gui
