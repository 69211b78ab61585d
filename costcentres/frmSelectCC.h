// The cost-centre picker of the E-1 and F-1 Part II column commands: the
// expense cost centres from 10 up to 200 that are not yet a column of the
// sheet.
#pragma once

#include <optional>
#include <string>

#include "costcentres/cc_list_dialog.h"

namespace vt::gui {

class frmSelectCC : public CcListDialog {
    Q_OBJECT
public:
    explicit frmSelectCC(QWidget* parent = nullptr);
    // The sheet ("E1" or "F1p2") whose columns are to be extended; set before Form_Load.
    std::string SheetName;
    void Form_Load();
};

// Shows the picker for `sheet` modally over the active window: the cost
// centre chosen, or nothing when the user cancelled.
std::optional<Currency> SelectCC(const std::string& sheet);

}  // namespace vt::gui
