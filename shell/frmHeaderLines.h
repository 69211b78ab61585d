// The three custom lines under every printed page's header: a small grid of
// table HeaderLines in which each change is stored at once and used by the
// next print without reopening the report.
#pragma once

#include "shell/worksheet_window.h"

class QLabel;
class QPushButton;

namespace vt::gui {

class frmHeaderLines : public WorksheetWindow {
    Q_OBJECT
public:
    frmHeaderLines();

    void Form_Load() override;
    void FormSetup() override;
    void SetGrd() override;

    grid::Grid* grdHeaderLines;
    QLabel* lblHeaderLines;
    QPushButton* cmdClose;

public slots:
    void cmdClose_Click();

private:
    void grdHeaderLines_BeforeColUpdate(grid::CellUpdate& update);
};

// Shows the window, loading it when it is not open.
void ShowHeaderLines();

}  // namespace vt::gui
