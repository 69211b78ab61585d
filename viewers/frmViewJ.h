// Worksheet J read-only: the home office's balance sheet, in a window of its
// own: the line number and caption frozen at the left, the amount beside
// them, four buttons and no stepping to other worksheets. Its Recalculate
// totals J alone. The top line stays in place whenever the window reads J
// again, a whole-report calculation started elsewhere included.
#pragma once

#include <QPushButton>

#include "shell/j_form.h"

namespace vt::gui {

class frmViewJ : public JForm {
    Q_OBJECT
public:
    frmViewJ();
    void Form_Load() override { FormSetup(); }
    void FormSetup() override;
    // The general refresh reads J again like every other window's.
    void SetGrd() override { FormSetup(); }

    QPushButton* cmdCalc;
    QPushButton* cmdPrint;
    QPushButton* cmdOpenEdit;
    QPushButton* cmdClose;

public slots:
    void cmdCalc_Click();
    void cmdPrint_Click();
    void cmdOpenEdit_Click();
    void cmdClose_Click();
};

}  // namespace vt::gui
