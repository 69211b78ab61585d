#include "tests/shell/dialog_fixture.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include "shell/forms.h"
#include "shell/frmCreateNewCRF.h"
#include "shell/frmViewError.h"
#include "shell/version.h"
#include "store/report.h"

namespace vt::test {

WindowUi::WindowUi() { ui::InstallUi(this); }
WindowUi::~WindowUi() { ui::InstallUi(nullptr); }

void WindowUi::SetStatus(const std::string& text, bool visible) {
    script.SetStatus(text, visible);
    QtUi::SetStatus(text, visible);
    if (onStatus) onStatus(text, visible);
}

void DialogTest::SetUp() {
    env = std::make_unique<GuiEnvironment>(folder);
    gui::StartOptions options;
    options.splashTime = std::chrono::milliseconds(0);
    options.instanceKey = "vt-dialogs-" + std::to_string(::getpid());
    options.quit = [] {};
    main = new gui::frmMain(options);
    ASSERT_TRUE(main->Form_Load());
    main->show();
}

void DialogTest::TearDown() {
    env.reset();
    CloseReport();
}

std::string DialogTest::PathOf(const std::string& name) const { return temp_.PathOf(name); }

QAction* DialogTest::Action(const char* name) const {
    auto* a = main->findChild<QAction*>(name);
    if (!a) ADD_FAILURE() << "no item " << name;
    return a;
}

void DialogTest::RunNew(const std::function<void(gui::frmCreateNewCRF&)>& drive) {
    bool driven = false;
    QTimer::singleShot(0, main, [&] {
        auto* dialog = qobject_cast<gui::frmCreateNewCRF*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "New showed no dialog";
            return;
        }
        EXPECT_TRUE(WaitActive(dialog));
        drive(*dialog);
        driven = true;
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog->done(0);
        }
    });
    Action("mnuReportNew")->trigger();
    EXPECT_TRUE(driven);
}

void DialogTest::MakeReport(const std::string& name, const NewCrfEntries& entries) {
    ui.script.QueueSaveFile(ui::FileChoice{PathOf(name), name});
    ASSERT_TRUE(NewReport(entries));
    ui.script.ClearRecords();
}

bool DialogTest::WaitActive(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

void DialogTest::Type(QLineEdit* box, const std::string& text) {
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    if (text.empty()) QTest::keyClick(box, Qt::Key_Delete);
    else QTest::keyClicks(box, QString::fromStdString(text));
}

gui::frmViewError* DialogTest::Findings() {
    QWidget* w = nullptr;
    return gui::Is_Form_Loaded("frmViewError", &w) ? dynamic_cast<gui::frmViewError*>(w) : nullptr;
}

void DialogTest::ExpectNoReport() const {
    EXPECT_FALSE(Report().CRF_Database && Report().CRF_Database->IsOpen());
    EXPECT_EQ(main->windowTitle().toStdString(), gui::NoCRFCaption());
    EXPECT_FALSE(main->fraWelcome->isHidden());
    EXPECT_TRUE(main->lblCRFName->isHidden());
    EXPECT_FALSE(Action("mnuReportClose")->isEnabled());
    EXPECT_FALSE(Action("mnuReportCalculate")->isEnabled());
    EXPECT_FALSE(Action("mnuEdit")->isEnabled());
    EXPECT_TRUE(Action("mnuReportNew")->isEnabled());
    EXPECT_TRUE(Action("mnuReportOpen")->isEnabled());
    EXPECT_EQ(gui::FormCount(), 1);
}

}  // namespace vt::test
