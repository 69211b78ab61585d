#include "report/captions.h"

namespace vt {

std::string App_Version() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::string NoCRFCaption() { return "Quelldorn System Inc.'s Vantrel 287 (version " + App_Version() + ")"; }

std::string OpenCRFCaption(const std::string& crfTitle) { return NoCRFCaption() + " -- " + crfTitle; }

}  // namespace vt
