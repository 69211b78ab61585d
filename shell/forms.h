// The program's list of loaded windows, in load order, as the window
// bookkeeping walks it: index 0 is the main window (empty while there is
// none), then every other window as it loads. A window leaves the list when
// it is unloaded, and the later ones move up.
#pragma once

#include <string>

class QWidget;

namespace vt::gui {

int FormCount();
QWidget* FormAt(int index);          // nullptr outside the list or for an empty slot 0
int FormIndex(const QWidget* form);  // -1 when not loaded
QWidget* MainForm();

// Windows call these as they load and unload; the main window takes slot 0.
void FormLoaded(QWidget* form);
void MainFormLoaded(QWidget* form);
void FormUnloaded(QWidget* form);

// Closes a window through its own close path (which may store a row or
// refuse); true when it is gone.
bool UnloadForm(QWidget* form);

// True when a loaded window's name equals the name (case ignored); the
// window is given back through `form`.
bool Is_Form_Loaded(const std::string& name, QWidget** form = nullptr);

}  // namespace vt::gui
