#include "costcentres/frmSelectCC.h"

#include <QApplication>

#include "shell/guard.h"

namespace vt::gui {

frmSelectCC::frmSelectCC(QWidget* parent) : CcListDialog("frmSelectCC", "Select Cost Center", parent) {}

void frmSelectCC::Form_Load() { Fill(Selectable_CC_Entries(SheetName)); }

std::optional<Currency> Select_CC(const std::string& sheet) {
    frmSelectCC picker(QApplication::activeWindow());
    picker.SheetName = sheet;
    bool loaded = false;
    Run_Guarded([&] {
        picker.Form_Load();
        loaded = true;
    });
    if (!loaded) return std::nullopt;
    picker.exec();
    if (picker.SelectedCCNum < Currency{}) return std::nullopt;
    return picker.SelectedCCNum;
}

}  // namespace vt::gui
