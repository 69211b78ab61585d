// Worksheet J's two windows, viewer and editor, are built alike and apart
// from the rest of the family: a fixed title, no stepping to other
// worksheets, the grid above a strip of four buttons laid out by
// Resize_J_Form, and J's three headings made once when the grid is bound.
#pragma once

#include <QPushButton>

#include <array>
#include <string>

#include "shell/worksheet_window.h"

namespace vt::gui {

class JForm : public WorksheetWindow {
    Q_OBJECT
protected:
    JForm(const std::string& formName, const std::string& caption);

    // Widths (twips) of the line number, the account name and the amount.
    static constexpr double kLineWidth = 600, kNameWidth = 4300, kAmountWidth = 1250;

    // The strip's button at `place` (0 to 3, left to right).
    QPushButton* JButton(const char* name, const char* caption, int place);
    // The headings of the line, name and amount columns (by their grid index).
    void CaptionJColumns(int lineCol, int nameCol, int amountCol);
    void Form_Resize() override;

private:
    std::array<QPushButton*, 4> strip_{};
};

}  // namespace vt::gui
