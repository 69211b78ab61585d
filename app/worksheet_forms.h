// Which editor and viewer each worksheet code has: the one place that knows
// every window class. The window kit opens windows by code through the table
// this fills (shell/open_form.h) and so knows none of them; every program
// that shows worksheet windows calls this once at start-up.
#pragma once

namespace vt::gui {

void RegisterWorksheetForms();

}  // namespace vt::gui
