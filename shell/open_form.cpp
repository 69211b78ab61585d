#include "shell/open_form.h"

#include <QPointer>

#include "platform/ui/ui.h"
#include "shell/core/worksheet_catalogue.h"
#include "shell/forms.h"
#include "shell/text.h"
#include "shell/worksheet_window.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"
#include "costcentres/frmEditCCs.h"
#include "costcentres/frmViewCCs.h"
#include "editors/a_edit_form.h"
#include "editors/frmEditAp1.h"
#include "editors/chain_edit_form.h"
#include "editors/frmEditB.h"
#include "editors/frmEditDpA.h"
#include "editors/frmEditDpB.h"
#include "editors/frmEditDpC.h"
#include "editors/frmEditI.h"
#include "editors/frmEditJ.h"
#include "editors/frmEditB1.h"
#include "editors/frmEditB2.h"
#include "editors/frmEditC.h"
#include "viewers/frmViewB.h"
#include "viewers/frmViewJ.h"
#include "viewers/sheet_viewer.h"

namespace vt::gui {
namespace {

template <class Form>
FormFactory Make() {
    return [] { return new Form(); };
}

std::map<std::string, WorksheetWindowKind> DesignTable() {
    std::map<std::string, WorksheetWindowKind> t;
    for (const Worksheet& w : Worksheet_Catalogue()) t[w.code].table = w.code;
    t["CCs"].table = "CostCenters";
    t["B"].editor = Make<frmEditB>();
    t["DpA"].editor = Make<frmEditDpA>();
    t["DpB"].editor = Make<frmEditDpB>();
    t["DpC"].editor = Make<frmEditDpC>();
    t["I"].editor = Make<frmEditI>();
    t["J"].editor = Make<frmEditJ>();
    t["Ap1"].editor = Make<frmEditAp1>();
    t["Ap3"].editor = Make<frmEditAp3>();
    t["Ap4"].editor = Make<frmEditAp4>();
    t["Ap5"].editor = Make<frmEditAp5>();
    t["E"].editor = Make<frmEditE>();
    t["Fp2"].editor = Make<frmEditFp2>();
    t["E1"].editor = Make<frmEditE1>();
    t["F1p2"].editor = Make<frmEditF1p2>();
    t["Gp1"].editor = Make<frmEditGp1>();
    t["Gp2"].editor = Make<frmEditGp2>();
    t["B1"].editor = Make<frmEditB1>();
    t["B2p1"].editor = Make<frmEditB2p1>();
    t["B2p2"].editor = Make<frmEditB2p2>();
    t["B2p3"].editor = Make<frmEditB2p3>();
    t["C"].editor = Make<frmEditC>();
    t["B"].viewer = Make<frmViewB>();
    t["Ap1"].viewer = Make<frmViewAp1>();
    t["Ap3"].viewer = Make<frmViewAp3>();
    t["Ap4"].viewer = Make<frmViewAp4>();
    t["Ap5"].viewer = Make<frmViewAp5>();
    t["B1"].viewer = Make<frmViewB1>();
    t["B2p1"].viewer = Make<frmViewB2p1>();
    t["B2p2"].viewer = Make<frmViewB2p2>();
    t["B2p3"].viewer = Make<frmViewB2p3>();
    t["C"].viewer = Make<frmViewC>();
    t["DpA"].viewer = Make<frmViewDpA>();
    t["DpB"].viewer = Make<frmViewDpB>();
    t["DpC"].viewer = Make<frmViewDpC>();
    t["E"].viewer = Make<frmViewE>();
    t["E1"].viewer = Make<frmViewE1>();
    t["Fp1"].viewer = Make<frmViewFp1>();
    t["Fp2"].viewer = Make<frmViewFp2>();
    t["F1p1"].viewer = Make<frmViewF1p1>();
    t["F1p2"].viewer = Make<frmViewF1p2>();
    t["Gp1"].viewer = Make<frmViewGp1>();
    t["Gp2"].viewer = Make<frmViewGp2>();
    t["H"].viewer = Make<frmViewH>();
    t["I"].viewer = Make<frmViewI>();
    t["J"].viewer = Make<frmViewJ>();
    t["CCs"].editor = Make<frmEditCCs>();
    t["CCs"].viewer = Make<frmViewCCs>();
    return t;
}

}  // namespace

std::map<std::string, WorksheetWindowKind>& Worksheet_Window_Table() {
    static std::map<std::string, WorksheetWindowKind> table = DesignTable();
    return table;
}

int Load_Worksheet_Form(const std::string& mode, const std::string& code) {
    const auto& table = Worksheet_Window_Table();
    const auto kind = table.find(code);
    const std::string tableName = code == "CCs" ? "CostCenters" : code;
    if (!Table_Exists(tableName)) {
        Show_Message("Unable to open " + mode + " of " + code + " because the table does not exist.", ui::kCritical,
                     "Error");
        return 0;
    }
    const bool edit = Lower(mode) == "edit";
    const FormFactory* factory = nullptr;
    if (kind != table.end()) factory = edit ? &kind->second.editor : &kind->second.viewer;
    if (!factory || !*factory) {
        Show_Message("Unknown worksheet requested (" + code + ") for " + mode + ".", ui::kCritical);
        return 0;
    }

    QPointer<WorksheetWindow> form = (*factory)();
    try {
        form->Form_Load();
    } catch (...) {
        // A window that cannot set itself up is not left half-made.
        if (form) {
            Form_Unloaded(form);
            delete form.data();
        }
        throw;
    }
    form->show();

    // Found by the mode it was opened in, whatever text asked for the viewer.
    std::string m = edit ? "edit" : "view";
    const int index = Find_Worksheet_Form(m, code);
    QWidget* found = Form_At(index);
    if (index != 0 && found != Main_Form() && Main_Form()) found->setWindowIcon(Main_Form()->windowIcon());
    return index;
}

void Refresh_Worksheet_Form(const std::string& mode, const std::string& code) {
    std::string m = mode;
    const int index = Find_Worksheet_Form(m, code);
    if (index == 0) return;
    if (auto* w = dynamic_cast<WorksheetWindow*>(Form_At(index)); w && w->HasSetGrd()) w->SetGrd();
}

}  // namespace vt::gui
