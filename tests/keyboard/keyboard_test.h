// What the keyboard tests share: a worksheet window shown and active as a
// user sees it, keys sent to whatever widget has the keyboard (never to the
// grid's own functions), where the keyboard and the cursor are, and message
// boxes that really open, modally, and are answered by a key.
#pragma once

#include <QApplication>
#include <QTest>

#include <string>
#include <utility>

#include "tests/editors/sheet_editor_test.h"

namespace vt::test {

class KeyboardTest : public SheetEditorTest {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class Form = gui::EditForm>
    Form* Show(const std::string& code) {
        Form* e = Edit<Form>(code);
        if (e) Activate(e);
        return e;
    }
    static void Activate(QWidget* w);

    // One key, or the characters of a text one by one, each to the widget
    // that has the keyboard at that moment (an open pick list, else the focus
    // widget), with a turn of the event loop after each as between a person's
    // keys (Enter stores the cell in one).
    static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static void Type(const std::string& text);
    // Keys between cells: a text and then Enter, Tab or an arrow.
    static void Enter(const std::string& text, int then = Qt::Key_Return) {
        Type(text);
        Press(then);
    }

    // A click on a button at its place, and the event loop's turn after it.
    static void Click(QWidget* button);

    // Whether the keyboard is in the window's grid (a pane or the cell being typed into).
    static bool InGrid(const gui::WorksheetWindow* w);
    // The current cell as (value of `key` in its row, column).
    static std::pair<std::string, int> Cursor(const gui::WorksheetWindow* w, const std::string& key);
    // Puts the cursor on the row whose `key` holds `line`, in `col`, as a click there would.
    static void ClickCell(gui::WorksheetWindow* w, const std::string& key, double line, int col);

    // Message boxes shown for real, each answered by Enter (its default
    // button) once it is up; the scripted interface still records them.
    void RealMessageBoxes();

private:
    class ModalUi;
    ModalUi* modal_ = nullptr;
};

}  // namespace vt::test
