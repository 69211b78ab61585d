// The whole-report calculation: every dependent worksheet of the open report
// in one fixed order, each after the sheets it reads, then the edit checks.
#pragma once

namespace vt {

// The check of the component sheets comes first; each repair it makes is
// stored as it is told, and nothing is calculated when one was needed. The
// calculation then runs as one user action (one transaction). A calculation
// that stops with its own message, or fails with an error of its own (told to
// the user, its half-done changes undone), does not stop the ones after it. A
// failure of the file or the machine (disk full, file in use, read-only, I/O)
// stops the run at once: nothing of it is kept and one message says why. The
// menus and the pointer are restored whatever happens. A call made while a
// calculation runs (from an event let in by its status updates) returns at once.
void Calc_All();

}  // namespace vt
