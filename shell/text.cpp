#include "shell/text.h"

#include <cctype>

namespace vt::gui {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string Mid(const std::string& s, size_t from) { return from < s.size() ? s.substr(from) : ""; }
std::string Left(const std::string& s, size_t n) { return s.substr(0, n); }

}  // namespace vt::gui
