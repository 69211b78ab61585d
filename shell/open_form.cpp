#include "shell/open_form.h"

#include <QPointer>

#include "platform/ui/ui.h"
#include "report/worksheet_catalogue.h"
#include "shell/forms.h"
#include "shell/text.h"
#include "shell/worksheet_window.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

std::map<std::string, WorksheetWindowKind> DesignTable() {
    std::map<std::string, WorksheetWindowKind> t;
    for (const Worksheet& w : WorksheetCatalogue()) t[w.code].table = w.code;
    t["CCs"].table = "CostCenters";
    return t;
}

}  // namespace

std::map<std::string, WorksheetWindowKind>& WorksheetWindowTable() {
    static std::map<std::string, WorksheetWindowKind> table = DesignTable();
    return table;
}

int Load_Worksheet_Form(const std::string& mode, const std::string& code) {
    WorksheetWindow* form = LoadWorksheetFormHidden(mode, code);
    return form ? ShowLoadedWorksheetForm(form, mode, code) : 0;
}

WorksheetWindow* LoadWorksheetFormHidden(const std::string& mode, const std::string& code) {
    const auto& table = WorksheetWindowTable();
    const auto kind = table.find(code);
    const std::string tableName = code == "CCs" ? "CostCenters" : code;
    if (!Table_Exists(tableName)) {
        Show_Message("Unable to open " + mode + " of " + code + " because the table does not exist.", ui::kCritical,
                     "Error");
        return nullptr;
    }
    const bool edit = Lower(mode) == "edit";
    const FormFactory* factory = nullptr;
    if (kind != table.end()) factory = edit ? &kind->second.editor : &kind->second.viewer;
    if (!factory || !*factory) {
        Show_Message("Unknown worksheet requested (" + code + ") for " + mode + ".", ui::kCritical);
        return nullptr;
    }

    QPointer<WorksheetWindow> form = (*factory)();
    try {
        form->Form_Load();
    } catch (...) {
        // A window that cannot set itself up is not left half-made.
        if (form) {
            FormUnloaded(form);
            delete form.data();
        }
        throw;
    }
    return form;
}

int ShowLoadedWorksheetForm(WorksheetWindow* form, const std::string& mode, const std::string& code) {
    form->show();
    // Found by the mode it was opened in, whatever text asked for the viewer.
    std::string m = Lower(mode) == "edit" ? "edit" : "view";
    const int index = Find_Worksheet_Form(m, code);
    QWidget* found = FormAt(index);
    if (index != 0 && found != MainForm() && MainForm()) found->setWindowIcon(MainForm()->windowIcon());
    return index;
}

void Refresh_Worksheet_Form(const std::string& mode, const std::string& code) {
    std::string m = mode;
    const int index = Find_Worksheet_Form(m, code);
    if (index == 0) return;
    if (auto* w = dynamic_cast<WorksheetWindow*>(FormAt(index)); w && w->HasSetGrd()) w->SetGrd();
}

}  // namespace vt::gui
