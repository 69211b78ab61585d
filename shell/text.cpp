#include "shell/text.h"

#include <cctype>

namespace vt::gui {

std::string Mid(const std::string& s, size_t from) { return from < s.size() ? s.substr(from) : ""; }
std::string Left(const std::string& s, size_t n) { return s.substr(0, n); }

}  // namespace vt::gui
