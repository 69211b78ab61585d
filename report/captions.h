// The program's version and the main window's captions, which the report-file
// commands set and quote in their messages.
#pragma once

#include <string>

#include "print/print.h"

namespace vt {

inline constexpr int kVersionMajor = print::kVersionMajor;
inline constexpr int kVersionMinor = print::kVersionMinor;
inline constexpr int kVersionRevision = 0;

// "<major>.<minor>.<revision>", numbers without leading zeros.
std::string App_Version();
// The main window's caption while no report is open, and with one open.
std::string NoCRFCaption();
std::string OpenCRFCaption(const std::string& crfTitle);

}  // namespace vt
