#include "tests/gui_support/gui_test.h"

#include <QApplication>
#include <QWidget>

#include "platform/settings/settings.h"
#include "platform/ui/twips_qt.h"
#include "shell/calculation.h"
#include "shell/forms.h"
#include "shell/worksheet_windows.h"
#include "store/new_crf.h"
#include "store/report.h"

namespace vt::test {

GuiEnvironment::GuiEnvironment(const std::string& folder)
    : settings_(std::make_unique<settings::QtSettings>(folder)) {
    gui::InstallHeadingMeasurer(&measurer_);
    settings::InstallSettings(settings_.get());
    ui::SetTwipsPerPixel(15);
    gui::CurrentFormMetrics() = {12000, 9000};
}

GuiEnvironment::~GuiEnvironment() {
    UnloadAllForms();
    gui::SetCalculation(nullptr);
    settings::InstallSettings(nullptr);
    gui::InstallHeadingMeasurer(nullptr);
    ui::SetTwipsPerPixel(0);
}

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void UnloadAllForms() {
    for (int i = gui::FormCount() - 1; i >= 0; --i) {
        if (QWidget* w = gui::FormAt(i)) {
            gui::FormUnloaded(w);
            delete w;
        }
    }
    Settle();
}

void RegisterAllWorksheets() {
    db::Transaction tx(Db());
    for (const char* code : {"Ap1", "Ap3", "Ap4", "Ap5", "B", "B1", "B2p1", "B2p2", "B2p3", "C", "DpA", "DpB",
                             "DpC", "E", "E1", "Fp1", "Fp2", "F1p1", "F1p2", "Gp1", "Gp2", "H", "I", "J"})
        RegisterWorksheet(code);
    tx.Commit();
}

void WindowTest::SetUp() {
    CrfTest::SetUp();
    env = std::make_unique<GuiEnvironment>(folder);
}

void WindowTest::TearDown() {
    env.reset();
    CrfTest::TearDown();
}

void NoReportTest::SetUp() { env = std::make_unique<GuiEnvironment>(folder); }

void NoReportTest::TearDown() {
    env.reset();
    CloseReport();
}

}  // namespace vt::test

namespace vt::test {

TestSheetWindow::TestSheetWindow(const std::string& formName, const std::string& caption, std::string source,
                                 bool hasSetGrd)
    : WorksheetWindow(formName), caption_(caption), source_(std::move(source)), hasSetGrd_(hasSetGrd) {
    if (!source_.empty()) grd = new grid::Grid(this);
    resize(400, 300);
}

void TestSheetWindow::FormSetup() {
    SetCaption(caption_);
    if (hasSetGrd_) SetGrd();
    else if (grd) grd->Bind(Db(), source_);
}

void TestSheetWindow::SetGrd() {
    ++setGrdCalls;
    if (grd) grd->Bind(Db(), source_);
}

}  // namespace vt::test
