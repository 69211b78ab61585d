// What the identity dialogs' text boxes do as the focus comes and goes: the
// whole text is selected on arrival, so typing replaces it, and a rule runs
// when the user leaves the box for another control of the same window.
// Switching to another window (a message box among them) is no leaving.
// Also the pieces the small dialogs are laid out from.
#pragma once

#include <functional>
#include <initializer_list>

class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

namespace vt::gui {

void SelectAllOnFocus(QLineEdit* box);
// Gives a box the keyboard as if the user had typed `typed` into it: its
// text replaced by it, the cursor after it (nothing selected on arrival). With
// nothing typed, the box simply takes the keyboard with its text selected.
void ArriveTyping(QLineEdit* box, const QString& typed);
void OnLostFocus(QLineEdit* box, std::function<void()> rule);

// One row of an identity dialog: its caption, right-aligned, and the text box
// the caption's access key leads to; the box selects its text on arrival.
// Leaving an identity dialog's FY Start box: the start is checked and
// rewritten, and the end may be proposed from it.
void LeaveFYStartBoxes(QLineEdit* txtFYStart, QLineEdit* txtFYEnd);

QLineEdit* AddEntryRow(QGridLayout* grid, QWidget* owner, int row, QLabel*& label, const char* labelName,
                         const char* caption, const char* boxName);

// A dialog's push button, named as its control.
QPushButton* DialogButton(QWidget* owner, const char* name, const char* caption);
// A button wide enough for its whole caption in the font in use, with the
// style's button margin clear on either side of the text.
void FitButtonText(QPushButton* button);
// A dialog's body above one right-aligned row of its buttons.
void LayOutDialog(QWidget* dialog, QLayout* body, std::initializer_list<QPushButton*> buttons);
// A dialog at least as wide as its caption needs in the title bar: the
// caption in bold beside the window's icon and its buttons, so the window
// manager shows it whole.
void WideEnoughForCaption(QWidget* dialog);

}  // namespace vt::gui
