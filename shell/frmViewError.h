// The findings of the last edit checks (or the messages logged while
// printing selected worksheets): the rows of table Error, level and message,
// each row as high as the longest message needs at the window's width, and
// a print of the list.
#pragma once

#include "shell/worksheet_window.h"

class QPushButton;

namespace vt::gui {

class frmViewError : public WorksheetWindow {
    Q_OBJECT
public:
    frmViewError();

    // Reads the findings afresh: the longest message, the rows, the layout.
    void Form_Load() override;
    void FormSetup() override { Form_Load(); }
    void SetGrd() override { Form_Load(); }

    grid::Grid* grdError;
    QPushButton* cmdPrint;
    QPushButton* cmdClose;

    // What the layout worked out last: characters in a line of the message
    // column, and text lines in each row.
    int CharsPerLine() const { return charsPerLine_; }
    int LinesPerRow() const { return linesPerRow_; }

public slots:
    void cmdPrint_Click();
    void cmdClose_Click();

protected:
    void Form_Resize() override;

private:
    int longestMessage_ = 0;
    double baseRowHeight_ = 0;
    int charsPerLine_ = 0;
    int linesPerRow_ = 0;
};

// Brings up the findings window with the rows table Error holds now, loading
// it when it is not open.
void ShowEditCheckViewer();

}  // namespace vt::gui
