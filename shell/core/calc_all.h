// The whole-report calculation: every dependent worksheet of the open report
// in one fixed order, each after the sheets it reads, then the edit checks.
#pragma once

namespace vt {

// Runs on the open report as one user action (one transaction). Nothing is
// calculated when the component sheets had to be repaired. A calculation
// that stops with its own message, or fails with an error (told to the user,
// its half-done changes undone), does not stop the ones after it. The menus
// and the pointer are restored whatever happens. A call made while a
// calculation runs (from an event let in by its status updates) returns at once.
void Calc_All();

}  // namespace vt
