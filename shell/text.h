// Small text helpers of the windows.
#pragma once

#include <QString>

#include <string>

#include "platform/value/text.h"

namespace vt::gui {

inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string S(const QString& s) { return s.toUtf8().toStdString(); }
// Characters from position `from` (0-based) on; "" past the end.
std::string Mid(const std::string& s, size_t from);
std::string Left(const std::string& s, size_t n);

}  // namespace vt::gui
