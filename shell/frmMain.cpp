#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/settings/settings.h"
#include "platform/ui/twips_qt.h"
#include "print/print.h"
#include "report/report_file.h"
#include "report/whole_report.h"
#include "report/worksheet_catalogue.h"
#include "shell/calculation.h"
#include "shell/forms.h"
#include "shell/frmCreateNewCRF.h"
#include "shell/frmHeaderLines.h"
#include "shell/frmReBuild_A_Worksheet.h"
#include "shell/frmSelectivePrints.h"
#include "shell/frmHelpAbout.h"
#include "shell/frmSplash.h"
#include "shell/frmViewError.h"
#include "shell/guard.h"
#include "shell/logo.h"
#include "shell/single_copy.h"
#include "shell/text.h"
#include "shell/version.h"
#include "shell/worksheet_window.h"
#include "shell/worksheet_windows.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {
namespace {

const char* const kHelpText =
    "Use the menus at the top of the form to manipulate Vantrel.  Use the Edit menu to edit worksheet "
    "information.  Use View to review worksheets and use Report File to perform all generalized operations.";

bool ReportOpen() { return Report().CRF_Database && Report().CRF_Database->IsOpen(); }

void SetMenuEnabled(QMenu* menu, bool on) {
    menu->menuAction()->setEnabled(on);
    for (QAction* a : menu->actions()) {
        a->setEnabled(on);
        if (a->menu()) SetMenuEnabled(a->menu(), on);
    }
}

void AllActions(QMenu* menu, std::vector<QAction*>& out) {
    out.push_back(menu->menuAction());
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu()) AllActions(a->menu(), out);
        else out.push_back(a);
    }
}

// The Edit menu was designed with these two named by their codes.
bool EditMenuSpelling(const std::string& code) { return code == "B2" || code == "E1"; }

// The leaf names keep the one spelling the menu was designed with.
std::string LeafName(const std::string& prefix, const std::string& code) {
    if (prefix == "mnuViewOpen" && code == "DpB") return prefix + "Dpb";
    return prefix + code;
}

}  // namespace

frmMain* FindMainWindow() { return dynamic_cast<frmMain*>(MainForm()); }

void EnableMainMenus(bool enable) {
    if (frmMain* main = FindMainWindow()) main->EnableMainMenus(enable);
}

frmMain::frmMain(StartOptions options) : QMainWindow(nullptr), options_(std::move(options)) {
    setObjectName("frmMain");
    MainFormLoaded(this);
    setWindowIcon(ProgramIcon());
    QApplication::setWindowIcon(windowIcon());
    setWindowTitle("Quelldorn System Inc.'s Vantrel 287");
    lock_ = std::make_unique<SingleCopyLock>(options_.instanceKey);
    BuildControls();
    BuildMenus();
    if (auto* qtUi = dynamic_cast<ui::QtUi*>(&ui::Ui())) qtUi->SetMainWindow(this);
}

frmMain::~frmMain() {
    if (auto* qtUi = dynamic_cast<ui::QtUi*>(&ui::Ui()); qtUi && qtUi->MainWindow() == this)
        qtUi->SetMainWindow(nullptr);
    if (MainForm() == this) MainFormLoaded(nullptr);
}

// ---- Building ----

void frmMain::BuildControls() {
    auto* central = new QWidget(this);
    auto* box = new QVBoxLayout(central);

    fraWelcome = new QGroupBox("Welcome to Quelldorn System's Vantrel 287 Program!", central);
    fraWelcome->setObjectName("fraWelcome");
    auto* welcome = new QGridLayout(fraWelcome);
    auto row = [&](int r, QPushButton*& button, const char* name, const char* caption, QLabel*& label,
                   const char* labelName, const char* text) {
        button = new QPushButton(caption, fraWelcome);
        button->setObjectName(name);
        button->setFixedWidth(ui::Px(1500));
        label = new QLabel(text, fraWelcome);
        label->setObjectName(labelName);
        welcome->addWidget(label, r, 0);
        welcome->addWidget(button, r, 1);
    };
    row(0, cmdNew, "cmdNew", "&New", lblWelcomeNew, "lblWelcomeNew",
        "To create a new Cost Report File, select ...");
    row(1, cmdOpen, "cmdOpen", "&Open", lblWelcomeOpen, "lblWelcomeOpen",
        "To open an existing Cost Report File, select ...");
    row(2, cmdExit, "cmdExit", "E&xit", lblWelcomeExit, "lblWelcomeExit",
        "To close and leave the Vantrel program, select ...");
    connect(cmdNew, &QPushButton::clicked, this, [this] { RunGuarded([this] { mnuReportNew_Click(); }); });
    connect(cmdOpen, &QPushButton::clicked, this, [this] { RunGuarded([this] { mnuReportOpen_Click(); }); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { mnuReportExit_Click(); });

    lblCRFName = new QLabel(central);
    lblCRFName->setObjectName("lblCRFName");
    lblCRFName->setWordWrap(true);
    imgQuelldorn = new QLabel(central);
    imgQuelldorn->setObjectName("imgQuelldorn");
    imgQuelldorn->setPixmap(QuelldornLogo(72));
    imgQuelldorn->setAlignment(Qt::AlignCenter);
    helpText_ = kHelpText;
    lblHelp = new QLabel(helpText_, central);
    lblHelp->setObjectName("lblHelp");
    lblHelp->setWordWrap(true);
    lblHelp->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    lblHelp->setFixedHeight(lblHelp->fontMetrics().lineSpacing() * 4);
    txtCalcMsg = new QLineEdit(central);
    txtCalcMsg->setObjectName("txtCalcMsg");
    txtCalcMsg->setReadOnly(true);
    txtCalcMsg->hide();
    tmrMain = new QTimer(this);
    tmrMain->setObjectName("tmrMain");
    connect(tmrMain, &QTimer::timeout, this, &frmMain::tmrMain_Timer);

    box->addWidget(fraWelcome);
    box->addWidget(lblCRFName);
    box->addWidget(imgQuelldorn);
    box->addWidget(lblHelp);
    box->addStretch(1);
    box->addWidget(txtCalcMsg);
    setCentralWidget(central);
    resize(ui::Px(9000), ui::Px(5400));
}

QAction* frmMain::Item(QMenu* menu, const char* name, const char* caption, void (frmMain::*slot)(),
                       const QKeySequence& key) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, [this, slot] { RunGuarded([this, slot] { (this->*slot)(); }); });
    return a;
}

void frmMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [this](QMenu* parent, QMenuBar* b, const char* name, const char* caption) {
        QMenu* m = parent ? parent->addMenu(caption) : b->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };

    mnuReport = menu(nullptr, bar, "mnuReport", "&Report File");
    mnuReportNew = Item(mnuReport, "mnuReportNew", "&New ...", &frmMain::mnuReportNew_Click);
    mnuReportOpen = Item(mnuReport, "mnuReportOpen", "&Open ...", &frmMain::mnuReportOpen_Click);
    mnuReportClose = Item(mnuReport, "mnuReportClose", "&Close", &frmMain::mnuReportClose_Click);
    mnuReportSaveAs = Item(mnuReport, "mnuReportSaveAs", "Save &As ...", &frmMain::mnuReportSaveAs_Click);
    mnuReportCalculate = Item(mnuReport, "mnuReportCalculate", "Ca&lculate Entire CRF",
                              &frmMain::mnuReportCalculate_Click, QKeySequence(Qt::Key_F4));
    mnuReport->addSeparator()->setObjectName("mnuReportLine1");
    mnuReportPrinterSetup =
        Item(mnuReport, "mnuReportPrinterSetup", "Prin&ter Setup ...", &frmMain::mnuReportPrinterSetup_Click);
    mnuReportPrintSelect =
        Item(mnuReport, "mnuReportPrintSelect", "Print Select Worksheets", &frmMain::mnuReportPrintSelect_Click);
    mnuReportPrint = Item(mnuReport, "mnuReportPrint", "&Print Entire CRF", &frmMain::mnuReportPrint_Click,
                          QKeySequence(Qt::Key_F7));
    mnuReport->addSeparator()->setObjectName("mnuReportLine3");
    mnuReportUtilities = menu(mnuReport, nullptr, "mnuReportUtilities", "Vantrel &Utilities ...");
    mnuReportUtilitiesReBuild =
        Item(mnuReportUtilities, "mnuReportUtilitiesReBuild", "&ReBuild A Worksheet",
             &frmMain::mnuReportUtilitiesReBuild_Click, QKeySequence(Qt::CTRL | Qt::Key_F1));
    mnuReportUtilitiesHQ =
        Item(mnuReportUtilities, "mnuReportUtilitiesHQ", "&Turn High Quality Printing Off",
             &frmMain::mnuReportUtilitiesHQ_Click, QKeySequence(Qt::CTRL | Qt::Key_F2));
    mnuReportUtilitiesValidate =
        Item(mnuReportUtilities, "mnuReportUtilitiesValidate", "&Validate the Database",
             &frmMain::mnuReportUtilitiesValidate_Click, QKeySequence(Qt::CTRL | Qt::Key_F3));
    mnuReportUtilitiesMove =
        Item(mnuReportUtilities, "mnuReportUtilitiesMove", "&Move/ReName the CRF Database",
             &frmMain::mnuReportUtilitiesMove_Click, QKeySequence(Qt::CTRL | Qt::Key_F4));
    mnuHeaderLines = Item(mnuReport, "mnuHeaderLines", "&Edit Custom Header Lines",
                          &frmMain::mnuHeaderLines_Click, QKeySequence(Qt::CTRL | Qt::Key_F5));
    mnuReport->addSeparator()->setObjectName("mnuReportLine4");
    mnuReportExit = Item(mnuReport, "mnuReportExit", "E&xit", &frmMain::mnuReportExit_Click);

    mnuEdit = menu(nullptr, bar, "mnuEdit", "&Edit");
    mnuEditOpen = menu(mnuEdit, nullptr, "mnuEditOpen", "&Open ...");
    mnuEditCloseAll = Item(mnuEdit, "mnuEditCloseAll", "Close &All Edits", &frmMain::mnuEditCloseAll_Click);
    mnuView = menu(nullptr, bar, "mnuView", "&View");
    mnuViewOpen = menu(mnuView, nullptr, "mnuViewOpen", "&Open A View ...");
    mnuViewCloseAll = Item(mnuView, "mnuViewCloseAll", "Close &All Views", &frmMain::mnuViewCloseAll_Click);
    BuildOpenMenus();
    mnuViewOpenEditChecks =
        Item(mnuViewOpen, "mnuViewOpenEditChecks", "Edit Checks", &frmMain::mnuViewOpenEditChecks_Click);

    mnuHelp = menu(nullptr, bar, "mnuHelp", "&Help");
    mnuHelpReference =
        Item(mnuHelp, "mnuHelpReference", "Instructions and Reference", &frmMain::mnuHelpReference_Click);
    mnuHelpAbout = Item(mnuHelp, "mnuHelpAbout", "&About Vantrel ", &frmMain::mnuHelpAbout_Click);

    // Off as designed; the menu states switch them on.
    for (QAction* a : {mnuReportClose, mnuReportSaveAs, mnuReportCalculate, mnuReportPrint, mnuReportUtilitiesMove,
                       mnuViewCloseAll})
        a->setEnabled(false);
}

// The Open submenus follow the catalogue: a sheet print of several worksheets
// is a group of their titles, one of a single worksheet a leaf; the cost-centre
// list follows C. The Edit menu passes over the worksheets without an editor.
void frmMain::BuildOpenMenus() {
    auto build = [this](QMenu* parent, const std::string& prefix, const std::string& mode) {
        const bool edit = mode == "edit";
        auto leaf = [&](QMenu* into, const std::string& caption, const std::string& code) {
            QAction* a = into->addAction(Q(caption));
            a->setObjectName(Q(LeafName(prefix, code)));
            connect(a, &QAction::triggered, this,
                    [mode, code] { RunGuarded([&] { Open_Worksheet_Form(mode, code); }); });
        };
        auto caption = [&](const std::string& code, const std::string& name) {
            return edit && EditMenuSpelling(code) ? code : name;
        };
        for (const Worksheet* print : SheetPrints()) {
            const std::string group = print->printCode;
            std::vector<const Worksheet*> members;
            for (const Worksheet& w : WorksheetCatalogue())
                if (w.printCode == group && (!edit || w.editor)) members.push_back(&w);
            if (members.size() == 1) {
                leaf(parent, caption(members[0]->code, members[0]->title), members[0]->code);
            } else if (members.size() > 1) {
                QMenu* into = parent->addMenu(Q(caption(group, SheetPrintName(group))));
                into->setObjectName(Q(prefix + group));
                into->menuAction()->setObjectName(Q(prefix + group));
                for (const Worksheet* w : members) leaf(into, w->title, w->code);
            }
            if (group == "C") leaf(parent, "Cost Centers", "CCs");
        }
    };
    build(mnuEditOpen, "mnuEditOpen", "edit");
    build(mnuViewOpen, "mnuViewOpen", "View");
}

// ---- Start-up ----

bool frmMain::Form_Load() {
    move(0, 0);
    lblHelp->hide();
    lblCRFName->hide();
    imgQuelldorn->hide();
    SetMenuState(0);

    auto* splash = new frmSplash();
    splash->show();
    WaitForSplash();
    UnloadForm(splash);

    fraWelcome->show();
    setWindowTitle(Q(NoCRFCaption()));
    const bool high = settings::UserSettings().Get("Vantrel", "Printing", "PrintQuality", "True") == "True";
    mnuReportUtilitiesHQ->setText(high ? "Turn High Quality Printing Off" : "Turn High Quality Printing On");

    if (!lock_->Acquire()) {
        const std::string product = kProductName;
        Show_Message("A copy of " + product +
                         " is already running.  Only one copy may be run at a time.  After leaving this message "
                         "box, this copy of " +
                         product +
                         " will shut down.  Then, you may [1] use the already running copy, [2] shut down the "
                         "already running copy and then restart it, or [3] call Quelldorn Systems for additional "
                         "assistance.",
                     ui::kCritical, "Attempt to Run Multiple Copies of " + product);
        return false;
    }
    return true;
}

void frmMain::WaitForSplash() {
    using Clock = std::chrono::steady_clock;
    const auto now = options_.clock ? options_.clock : [] { return Clock::now(); };
    const auto start = now();
    for (;;) {
        const auto elapsed = now() - start;
        if (elapsed >= options_.splashTime) break;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(options_.splashTime - elapsed);
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(std::min<long long>(left.count(), 50)), &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// ---- States ----

void frmMain::SetMenuState(int state) {
    if (state == 1) {
        for (QAction* a : {mnuReportNew, mnuReportOpen, mnuReportClose, mnuReportSaveAs, mnuReportCalculate,
                           mnuReportPrint, mnuReportUtilitiesMove, mnuViewCloseAll})
            a->setEnabled(true);
        SetMenuEnabled(mnuEdit, true);
        SetMenuEnabled(mnuView, true);
    } else if (state == 0) {
        mnuReportNew->setEnabled(true);
        mnuReportOpen->setEnabled(true);
        for (QAction* a :
             {mnuReportClose, mnuReportSaveAs, mnuReportCalculate, mnuReportPrint, mnuReportUtilitiesMove})
            a->setEnabled(false);
        SetMenuEnabled(mnuEdit, false);
        SetMenuEnabled(mnuView, false);
    }
}

void frmMain::EnableMainMenus(bool enable) {
    if (!enable) {
        if (menusOff_++ > 0) return;
        std::vector<QAction*> all;
        for (QMenu* m : {mnuReport, mnuEdit, mnuView, mnuHelp}) AllActions(m, all);
        savedMenus_.clear();
        for (QAction* a : all) {
            savedMenus_.emplace_back(a, a->isEnabled());
            a->setEnabled(false);
        }
        return;
    }
    if (menusOff_ == 0 || --menusOff_ > 0) return;
    for (auto& [a, on] : savedMenus_) a->setEnabled(on);
    savedMenus_.clear();
}

void frmMain::ShowNoReport() {
    tmrMain->stop();
    tmrMainTag.clear();
    lblHelp->setText(helpText_);
    setWindowTitle(Q(NoCRFCaption()));
    fraWelcome->show();
    lblHelp->hide();
    lblCRFName->hide();
    imgQuelldorn->hide();
    SetMenuState(0);
}

void frmMain::ShowReportOpened(const std::string& path) {
    setWindowTitle(Q(OpenCRFCaption(Report().CRF_Title)));
    lblCRFName->setText(Q(path));
    lblCRFName->show();
    imgQuelldorn->show();
    fraWelcome->hide();
    SetMenuState(1);
    tmrMain->start(100);
}

void frmMain::ShowStatus(const std::string& text, bool visible) {
    txtCalcMsg->setText(Q(text));
    txtCalcMsg->setVisible(visible);
    txtCalcMsg->repaint();
}

void frmMain::RefreshWorksheetWindows() { Refresh_Grids(-1); }

void frmMain::ShowEditCheckResults() { ShowEditCheckViewer(); }

void frmMain::HideNewReportDialog() {
    QWidget* dialog = nullptr;
    if (Is_Form_Loaded("frmCreateNewCRF", &dialog)) dialog->hide();
    // The build's progress shows in the status line.
    show();
}

bool frmMain::UnloadOtherForms() {
    for (int i = FormCount() - 1; i >= 1; --i) {
        QWidget* w = FormAt(i);
        if (w && w != this && !UnloadForm(w)) return false;
    }
    return true;
}

bool frmMain::CloseDatabaseAndForms() {
    if (!UnloadOtherForms()) return false;
    try {
        CloseReport();
    } catch (const std::exception&) {
        // Closing never fails the user; the handle is gone either way.
    }
    return true;
}

void frmMain::ReportFileReplaced() {
    // Every window bound to the old file binds to the new one, or goes.
    std::vector<QPointer<QWidget>> forms;
    for (int i = 1; i < FormCount(); ++i) forms.emplace_back(FormAt(i));
    for (const auto& w : forms) {
        auto* sheet = dynamic_cast<WorksheetWindow*>(w.data());
        if (!sheet) continue;
        if (sheet->HasSetGrd()) RunGuarded([sheet] { sheet->SetGrd(); });
        else UnloadForm(sheet);
    }
}

bool frmMain::Hooked() const {
    auto* qtUi = dynamic_cast<ui::QtUi*>(&ui::Ui());
    return qtUi && qtUi->MainWindow() == this;
}

void frmMain::StoreOpenRows() {
    for (int i = 1; i < FormCount(); ++i)
        if (auto* sheet = dynamic_cast<WorksheetWindow*>(FormAt(i)); sheet && sheet->grd)
            RunGuarded([sheet] { sheet->grd->UpdateRecord(); });
}

// The window's state after a report command, for when the command's own
// hooks have not drawn it already.
void frmMain::ShowReportState() {
    if (Hooked()) return;
    if (ReportOpen()) ShowReportOpened(Report().CRF_Path);
    else ShowNoReport();
}

void frmMain::CloseWindowsNamed(const char* prefix) {
    for (int i = FormCount() - 1; i >= 1; --i) {
        QWidget* w = FormAt(i);
        if (w && Upper(S(w->objectName())).rfind(prefix, 0) == 0) UnloadForm(w);
    }
    show();
    raise();
}

bool frmMain::ExitProgram() {
    if (exiting_) return true;
    if (!CloseDatabaseAndForms()) return false;
    exiting_ = true;
    hide();
    if (options_.quit) options_.quit();
    else QCoreApplication::quit();
    return true;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (exiting_ || ExitProgram()) event->accept();
    else event->ignore();
}

bool frmMain::RequireReport() {
    if (ReportOpen()) return true;
    Show_Message("Please open a Cost Report File first.", ui::kInformation);
    return false;
}

// ---- Commands ----

void frmMain::mnuReportNew_Click() {
    if (!UnloadOtherForms()) return;
    CloseCRF();
    ShowReportState();
    {
        frmCreateNewCRF dialog(this);
        dialog.exec();
    }
    show();
    ShowReportState();
    if (!lblCRFName->isHidden()) {
        SetMenuState(1);
        return;
    }
    // Cancelled, refused or failed: the program starts over without a report.
    if (!Form_Load()) ExitProgram();
}

void frmMain::mnuReportOpen_Click() {
    if (!UnloadOtherForms()) return;
    fraWelcome->hide();
    OpenCRF();
    ShowReportState();
}

void frmMain::mnuReportClose_Click() {
    if (!UnloadOtherForms()) return;
    CloseCRF();
    ShowReportState();
}

void frmMain::mnuReportSaveAs_Click() {
    if (!RequireReport()) return;
    StoreOpenRows();
    const bool welcome = fraWelcome->isVisible();
    fraWelcome->hide();
    const bool saved = SaveCRFAs();
    fraWelcome->setVisible(welcome);
    if (saved && !Hooked()) {
        ShowReportOpened(Report().CRF_Path);
        ReportFileReplaced();
    }
}

void frmMain::mnuReportUtilitiesMove_Click() {
    if (!RequireReport()) return;
    StoreOpenRows();
    const bool welcome = fraWelcome->isVisible();
    fraWelcome->hide();
    MoveCRF();
    fraWelcome->setVisible(welcome);
    if (!Hooked()) {
        ShowReportOpened(Report().CRF_Path);
        ReportFileReplaced();
    }
}

void frmMain::mnuReportCalculate_Click() { RunCalculation(); }

void frmMain::mnuReportPrinterSetup_Click() {
    const bool welcome = fraWelcome->isVisible();
    fraWelcome->hide();
    ui::Ui().PrinterSetup("Printer Setup");
    fraWelcome->setVisible(welcome);
}

void frmMain::mnuReportPrintSelect_Click() {
    if (RequireReport()) ShowSelectivePrints();
}

void frmMain::mnuReportPrint_Click() {
    if (RequireReport()) Print_All();
}

void frmMain::mnuReportUtilitiesReBuild_Click() {
    if (RequireReport()) ShowReBuildAWorksheet();
}

void frmMain::mnuReportUtilitiesHQ_Click() {
    auto& s = settings::UserSettings();
    if (s.Get("Vantrel", "Printing", "PrintQuality", "True") != "True") {
        s.Save("Vantrel", "Printing", "PrintQuality", "True");
        mnuReportUtilitiesHQ->setText("Turn High Quality Printing Off");
    } else {
        s.Save("Vantrel", "Printing", "PrintQuality", "False");
        mnuReportUtilitiesHQ->setText("Turn High Quality Printing On");
    }
}

void frmMain::mnuReportUtilitiesValidate_Click() {
    if (!RequireReport()) return;
    bool passed = false;
    {
        BusyFrame busy(nullptr);
        db::Transaction tx(Db());
        passed = Check_Component_Sheets();
        tx.Commit();
    }
    // A sheet that failed was reported and repaired by the check itself.
    if (passed) Show_Message("No errors were detected in the database", ui::kOkOnly);
}

void frmMain::mnuHeaderLines_Click() {
    if (RequireReport()) ShowHeaderLines();
}

void frmMain::mnuReportExit_Click() { close(); }

void frmMain::mnuEditCloseAll_Click() { CloseWindowsNamed("FRMEDIT"); }

void frmMain::mnuViewCloseAll_Click() { CloseWindowsNamed("FRMVIEW"); }

void frmMain::mnuViewOpenEditChecks_Click() {
    if (!RequireReport()) return;
    if (Table_Exists("Error")) ShowEditCheckViewer();
    else Show_Message("Please run a \"Calculate Entire CRF\".", ui::kInformation, "Calc All Must Be Run");
}

void frmMain::mnuHelpReference_Click() {
    Show_Message("Help is not available in this version of " + std::string(kProductName) + ".", ui::kInformation);
}

void frmMain::mnuHelpAbout_Click() {
    QWidget* about = nullptr;
    if (!Is_Form_Loaded("frmHelpAbout", &about)) about = new frmHelpAbout();
    about->show();
    about->raise();
}

void frmMain::tmrMain_Timer() {
    if (tmrMainTag != "Running") {
        tmrMainTag = "Running";
        lblHelp->setText(QString(14, '\n') + lblHelp->text());
    } else if (lblHelp->text().startsWith('\n')) {
        lblHelp->setText(lblHelp->text().mid(1));
        lblHelp->show();
    } else {
        tmrMainTag.clear();
        tmrMain->stop();
    }
}

}  // namespace vt::gui
