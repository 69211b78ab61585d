// The whole-report calculation as the Calculate menu item and every
// ReCalculate button start it. One runs at a time: a second start while one
// runs (a shortcut, another window's button) returns at once. While it runs
// the main window's menus are off, shortcuts included.
#pragma once

#include <functional>

namespace vt::gui {

void RunCalculation();
bool CalculationRunning();

// The calculation that RunCalculation runs on the open report: the
// whole-report calculation unless another is set (empty restores it).
void SetCalculation(std::function<void()> calculation);

}  // namespace vt::gui
