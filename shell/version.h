// The program's version information as the windows show it; the version
// numbers and the main window's captions are the report-file commands' own.
#pragma once

#include "report/captions.h"

namespace vt::gui {

using vt::App_Version;
using vt::NoCRFCaption;
using vt::OpenCRFCaption;

inline constexpr const char* kApplicationTitle = "Vantrel 287";
inline constexpr const char* kProductName = "Vantrel 287";
inline constexpr const char* kLegalCopyright = "Copyright (c) Quelldorn Systems, Inc.  All rights reserved.";
inline constexpr const char* kLegalTrademarks = "Quelldorn Systems, Inc.";

}  // namespace vt::gui
