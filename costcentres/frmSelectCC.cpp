#include "costcentres/frmSelectCC.h"

#include <QApplication>

#include "shell/guard.h"

namespace vt::gui {

frmSelectCC::frmSelectCC(QWidget* parent) : CcListDialog("frmSelectCC", "Select Cost Center", parent) {}

void frmSelectCC::Form_Load() { Fill(Selectable_CC_Entries(SheetName)); }

Currency Select_CC(const std::string& sheet, QWidget* parent) {
    frmSelectCC picker(parent ? parent : QApplication::activeWindow());
    picker.SheetName = sheet;
    bool loaded = false;
    Run_Guarded([&] {
        picker.Form_Load();
        loaded = true;
    });
    if (!loaded) return Currency::FromInt(-1);
    picker.exec();
    return picker.SelectedCCNum;
}

}  // namespace vt::gui
