#include "shell/frmSelectivePrints.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTimer>

#include <vector>

#include "platform/ui/twips_qt.h"
#include "report/whole_report.h"
#include "report/worksheet_catalogue.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"

namespace vt::gui {

// ---- The parent ----

frmImportMDI::frmImportMDI() : QMainWindow(nullptr) {
    setObjectName("frmImportMDI");
    setAttribute(Qt::WA_DeleteOnClose);
    FormLoaded(this);
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());
    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName("mdiArea");
    setCentralWidget(mdiArea);
    tmrMDIClose = new QTimer(this);
    tmrMDIClose->setObjectName("tmrMDIClose");
    tmrMDIClose->setSingleShot(true);
    tmrMDIClose->setInterval(500);
    connect(tmrMDIClose, &QTimer::timeout, this, &frmImportMDI::tmrMDIClose_Timer);
    resize(ui::Px(7200), ui::Px(6000));
}

frmImportMDI::~frmImportMDI() { FormUnloaded(this); }

void frmImportMDI::ChildClosed() { tmrMDIClose->start(); }

void frmImportMDI::ChildOpened() { tmrMDIClose->stop(); }

void frmImportMDI::tmrMDIClose_Timer() {
    if (mdiArea->subWindowList().isEmpty()) UnloadForm(this);
}

void frmImportMDI::closeEvent(QCloseEvent* event) {
    mdiArea->closeAllSubWindows();
    tmrMDIClose->stop();
    FormUnloaded(this);
    event->accept();
}

// ---- The picking window ----

frmSelectivePrints::frmSelectivePrints(frmImportMDI* parent) : parent_(parent) {
    setObjectName("frmSelectivePrints");
    setAttribute(Qt::WA_DeleteOnClose);
    FormLoaded(this);
    setWindowTitle("Select Worksheets To Be Printed");
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());

    auto* body = new QWidget(this);
    Label2 = new QLabel("Select the worksheets to be printed", body);
    Label2->setObjectName("Label2");
    lbWorksheets = new QListWidget(body);
    lbWorksheets->setObjectName("lbWorksheets");
    lbWorksheets->setSelectionMode(QAbstractItemView::MultiSelection);
    auto button = [&](QPushButton*& b, const char* name, const char* caption, const char* tip,
                      void (frmSelectivePrints::*slot)()) {
        b = new QPushButton(caption, body);
        b->setObjectName(name);
        b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, [this, slot] { RunGuarded([this, slot] { (this->*slot)(); }); });
    };
    button(cmdSelectAll, "cmdSelectAll", "&Select All", "Mark all worksheets for printing",
           &frmSelectivePrints::cmdSelectAll_Click);
    button(cmdClearAll, "cmdClearAll", "&Clear All", "Mark no worksheets for printing",
           &frmSelectivePrints::cmdClearAll_Click);
    button(cmdPrint, "cmdPrint", "&Print", "Print the select worksheets", &frmSelectivePrints::cmdPrint_Click);
    auto* grid = new QGridLayout(body);
    grid->addWidget(Label2, 0, 0, 1, 2);
    grid->addWidget(lbWorksheets, 1, 0, 4, 1);
    grid->addWidget(cmdSelectAll, 1, 1);
    grid->addWidget(cmdClearAll, 2, 1);
    grid->addWidget(cmdPrint, 3, 1);
    setWidget(body);

    for (const Worksheet* w : SheetPrints())
        lbWorksheets->addItem(Q(SheetPrintName(w->printCode) + " (" + w->printCode + ")"));
    parent_->setWindowTitle("Print Worksheets");
    parent_->mdiArea->addSubWindow(this);
    parent_->ChildOpened();
    resize(ui::Px(5400), ui::Px(4600));
}

frmSelectivePrints::~frmSelectivePrints() { FormUnloaded(this); }

// Closing always succeeds; the parent follows unless a new child comes.
void frmSelectivePrints::closeEvent(QCloseEvent* event) {
    QMdiSubWindow::closeEvent(event);
    event->accept();
    FormUnloaded(this);
    parent_->ChildClosed();
}

std::string frmSelectivePrints::PrintCode(const std::string& entry) {
    const size_t open = entry.rfind('(');
    if (open == std::string::npos || entry.size() < open + 2) return "";
    return entry.substr(open + 1, entry.size() - open - 2);
}

void frmSelectivePrints::MarkAll(bool selected) {
    for (int i = 0; i < lbWorksheets->count(); ++i) lbWorksheets->item(i)->setSelected(selected);
    lbWorksheets->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void frmSelectivePrints::cmdSelectAll_Click() { MarkAll(true); }

void frmSelectivePrints::cmdClearAll_Click() { MarkAll(false); }

// In the list's order, whatever order the entries were marked in.
void frmSelectivePrints::cmdPrint_Click() {
    std::vector<std::string> codes;
    for (int i = 0; i < lbWorksheets->count(); ++i)
        if (lbWorksheets->item(i)->isSelected()) codes.push_back(PrintCode(S(lbWorksheets->item(i)->text())));
    BusyFrame busy(this);
    PrintWorksheets(codes);
}

void ShowSelectivePrints() {
    QWidget* w = nullptr;
    if (Is_Form_Loaded("frmSelectivePrints", &w)) {
        w->setFocus();
        if (QWidget* parent = w->window()) {
            parent->show();
            parent->raise();
        }
        return;
    }
    frmImportMDI* parent = nullptr;
    if (Is_Form_Loaded("frmImportMDI", &w)) parent = qobject_cast<frmImportMDI*>(w);
    if (!parent) parent = new frmImportMDI();
    auto* child = new frmSelectivePrints(parent);
    ShowOnWorkingArea(parent);
    child->show();
    parent->raise();
    parent->activateWindow();
}

}  // namespace vt::gui
