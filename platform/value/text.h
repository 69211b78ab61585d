// The string helpers every layer shares. Case changes only A-Z and a-z,
// whatever the locale, so that codes and names compare, store and print the
// same on every machine.
#pragma once

#include <string>
#include <string_view>

namespace vt {

// Blanks, tabs and line ends: what a settings file or a typed cell may carry
// around its text.
inline constexpr std::string_view kWhiteSpace = " \t\r\n";

// `s` without the characters of `blanks` at either end; by default the blank
// alone, as the form's text rules trim.
std::string Trim(const std::string& s, std::string_view blanks = " ");
std::string Upper(std::string s);
std::string Lower(std::string s);
// The same letters but for case, as table and field names compare.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vt
