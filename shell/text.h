// Small text helpers of the windows.
#pragma once

#include <QString>

#include <string>

namespace vt::gui {

inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string S(const QString& s) { return s.toUtf8().toStdString(); }
std::string Upper(std::string s);
std::string Lower(std::string s);
std::string Trim(const std::string& s);  // blanks at both ends
// Characters from position `from` (0-based) on; "" past the end.
std::string Mid(const std::string& s, size_t from);
std::string Left(const std::string& s, size_t n);

}  // namespace vt::gui
