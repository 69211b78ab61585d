// Print files are read by printers and by the older tools users keep next to
// their reports, so they stay in the Western Windows code page while the
// program itself works in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vt::print {

// A character the code page cannot hold, or a broken UTF-8 sequence, becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);
// The five bytes the code page leaves undefined map to the control characters
// of the same number, so every byte survives a round trip.
std::string Cp1252ToUtf8(std::string_view cp1252);
// Characters (not bytes) in a UTF-8 text; a broken byte counts as one.
std::size_t Utf8Length(std::string_view utf8);
// The first / last n characters of a UTF-8 text (all of it when shorter).
std::string Utf8Left(std::string_view utf8, std::size_t n);
std::string Utf8Right(std::string_view utf8, std::size_t n);

}  // namespace vt::print
