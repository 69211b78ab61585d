#include "tests/keyboard/keyboard_test.h"

#include <QMessageBox>
#include <QTableView>
#include <QTimer>

#include "platform/ui/ui_qt.h"

namespace vt::test {

// Records through the scripted interface, then shows the box modally over
// the window the program shows its boxes over and answers it with Enter from
// inside its event loop.
class KeyboardTest::ModalUi : public ui::UserInterface {
public:
    explicit ModalUi(ScriptedUi& scripted) : s_(scripted) { ui::InstallUi(this); }
    ~ModalUi() override { ui::InstallUi(&s_); }

    int MessageBox(const std::string& prompt, int style, const std::string& title) override {
        const int answer = s_.MessageBox(prompt, style, title);
        auto box = ui::BuildMessageBox(prompt, style, title, ui::MessageOwner());
        QTimer::singleShot(0, box.get(), [b = box.get()] { AnswerWhenUp(b); });
        ui::Ask(*box);
        return answer;
    }
    void Beep() override { s_.Beep(); }
    void SetStatus(const std::string& text, bool visible) override { s_.SetStatus(text, visible); }
    void SetBusy(bool busy) override { s_.SetBusy(busy); }
    void DoEvents() override { s_.DoEvents(); }
    std::optional<ui::FileChoice> ChooseSaveFile(const ui::FileRequest& r) override { return s_.ChooseSaveFile(r); }
    std::optional<ui::FileChoice> ChooseOpenFile(const ui::FileRequest& r) override { return s_.ChooseOpenFile(r); }
    void RefreshWorksheetWindows() override { s_.RefreshWorksheetWindows(); }
    void ShowReportOpened(const std::string& caption, const std::string& path) override {
        s_.ShowReportOpened(caption, path);
    }
    void HideNewReportDialog() override { s_.HideNewReportDialog(); }

private:
    // A window manager activates the box a moment after it shows.
    static void AnswerWhenUp(QMessageBox* box) {
        QWidget* f = QApplication::focusWidget();
        if (!f || f->window() != box) {
            QTimer::singleShot(10, box, [box] { AnswerWhenUp(box); });
            return;
        }
        QTest::keyClick(f, Qt::Key_Return);
    }
    ScriptedUi& s_;
};

namespace {

// The event loop until nothing is left to do, as between two of a person's
// keys: a store queued by Enter, a window activated again after a message box.
void Idle() {
    for (int i = 0; i < 3; ++i) Settle();
}

}  // namespace

void KeyboardTest::SetUp() { SheetEditorTest::SetUp(); }

void KeyboardTest::TearDown() {
    delete modal_;
    modal_ = nullptr;
    SheetEditorTest::TearDown();
}

void KeyboardTest::RealMessageBoxes() {
    if (!modal_) modal_ = new ModalUi(ui);
}

void KeyboardTest::Activate(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w)) << w->objectName().toStdString();
}

namespace {

// An open pick list has grabbed the keyboard; otherwise the focus widget has it.
QWidget* KeyboardWidget() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    return QApplication::focusWidget();
}

}  // namespace

void KeyboardTest::Press(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* f = KeyboardWidget();
    ASSERT_NE(f, nullptr) << "no widget has the keyboard";
    QTest::keyClick(f, static_cast<Qt::Key>(key), modifiers);
    Idle();
}

void KeyboardTest::Type(const std::string& text) {
    for (char c : text) {
        QWidget* f = KeyboardWidget();
        ASSERT_NE(f, nullptr) << "no widget has the keyboard before '" << c << "' of " << text;
        QTest::keyClick(f, c);
        Idle();
    }
}

void KeyboardTest::Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    Idle();
}

bool KeyboardTest::InGrid(const gui::WorksheetWindow* w) {
    const QWidget* f = QApplication::focusWidget();
    return f && w->grd->isAncestorOf(f);
}

std::pair<std::string, int> KeyboardTest::Cursor(const gui::WorksheetWindow* w, const std::string& key) {
    const grid::Grid& g = *w->grd;
    return {g.Row() < 0 ? "none" : g.Data().FieldValue(g.Row(), key).ToText(), g.Col()};
}

void KeyboardTest::ClickCell(gui::WorksheetWindow* w, const std::string& key, double line, int col) {
    grid::Grid& g = *w->grd;
    const int row = g.Data().FindFirst(key, db::FindOp::Eq, Value(Currency::FromDouble(line)));
    ASSERT_GE(row, 0) << key << " " << line;
    for (int s = 0; s < g.SplitCount(); ++s) {
        if (!g.Splits(s).Columns(col).Visible()) continue;
        QTableView* pane = g.Pane(s);
        const QModelIndex index = pane->model()->index(row, col);
        pane->scrollTo(index);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, pane->visualRect(index).center());
        Idle();
        return;
    }
    FAIL() << "column " << col << " is shown in no pane";
}

}  // namespace vt::test
