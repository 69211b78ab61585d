// The program's version information and the main window's captions.
#pragma once

#include <string>

#include "print/print.h"

namespace vt::gui {

inline constexpr int kVersionMajor = print::kVersionMajor;
inline constexpr int kVersionMinor = print::kVersionMinor;
inline constexpr int kVersionRevision = 0;

inline constexpr const char* kApplicationTitle = "Vantrel 287";
inline constexpr const char* kProductName = "Vantrel 287";
inline constexpr const char* kLegalCopyright = "Copyright (c) Quelldorn Systems, Inc.  All rights reserved.";
inline constexpr const char* kLegalTrademarks = "Quelldorn Systems, Inc.";

// "<major>.<minor>.<revision>", numbers without leading zeros.
std::string App_Version();
// The main window's caption while no report is open, and with one open.
std::string No_CRF_Caption();
std::string Open_CRF_Caption(const std::string& crfTitle);

}  // namespace vt::gui
