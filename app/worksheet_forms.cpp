#include "app/worksheet_forms.h"

#include "costcentres/frmEditCCs.h"
#include "costcentres/frmViewCCs.h"
#include "editors/a_edit_form.h"
#include "editors/chain_edit_form.h"
#include "editors/frmEditAp1.h"
#include "editors/frmEditB.h"
#include "editors/frmEditB1.h"
#include "editors/frmEditB2.h"
#include "editors/frmEditC.h"
#include "editors/frmEditDpA.h"
#include "editors/frmEditDpB.h"
#include "editors/frmEditDpC.h"
#include "editors/frmEditI.h"
#include "editors/frmEditJ.h"
#include "shell/open_form.h"
#include "viewers/frmViewB.h"
#include "viewers/frmViewJ.h"
#include "viewers/sheet_viewer.h"

namespace vt::gui {
namespace {

template <class Form>
FormFactory Make() {
    return [] { return new Form(); };
}

}  // namespace

void RegisterWorksheetForms() {
    auto& t = WorksheetWindowTable();
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
}


}  // namespace vt::gui
