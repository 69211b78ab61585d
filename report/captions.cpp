#include "report/captions.h"

namespace vt {

std::string App_Version() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::string No_CRF_Caption() { return "Quelldorn System Inc.'s Vantrel 287 (version " + App_Version() + ")"; }

std::string Open_CRF_Caption(const std::string& crfTitle) { return No_CRF_Caption() + " -- " + crfTitle; }

}  // namespace vt
