#include "costcentres/frmSelectCC.h"

#include <QApplication>

#include "shell/guard.h"

namespace vt::gui {

frmSelectCC::frmSelectCC(QWidget* parent) : CcListDialog("frmSelectCC", "Select Cost Center", parent) {}

void frmSelectCC::Form_Load() { Fill(SelectableCCEntries(SheetName)); }

std::optional<Currency> SelectCC(const std::string& sheet) {
    frmSelectCC picker(QApplication::activeWindow());
    picker.SheetName = sheet;
    bool loaded = false;
    RunGuarded([&] {
        picker.Form_Load();
        loaded = true;
    });
    if (!loaded) return std::nullopt;
    picker.exec();
    if (picker.SelectedCCNum < Currency{}) return std::nullopt;
    return picker.SelectedCCNum;
}

}  // namespace vt::gui
