// frmHeaderLines' work: the three custom lines under every page header,
// stored in table HeaderLines and held in the open-report state so that the
// next print uses a change at once.
#pragma once

#include <string>

namespace vt {

inline constexpr int kHeaderLineMaximum = 60;

// One edited line (1 to 3). A text over 60 characters, or holding a control
// character, is refused (beep and message) and nothing changes; an empty text
// clears the line.
bool SaveHeaderLine(int lineNum, const std::string& text);

}  // namespace vt
