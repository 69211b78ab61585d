// Small services every worksheet uses: Null-safe values, rounding, lookups of
// the cost-centre list, field checks and worksheet names.
#pragma once

#include <functional>
#include <string>

#include "platform/value/value.h"

namespace vt {

// Characters, not bytes, of UTF-8 text.
std::size_t CharCount(const std::string& s);
// Text for a field of `width` characters: the blanks at either end removed,
// then cut to the field's length (whole characters).
std::string FitToField(const std::string& text, std::size_t width);
// Typed text for a field of `width` characters: the blanks at either end do
// not count towards its length, so they go when the text is longer than the
// field and are kept when it fits as typed.
std::string WithoutBlanksWhenTooLong(const std::string& text, std::size_t width);

Value Nz_Str(const Value& v, const Value& fallback = Value());  // Empty fallback = ""
Value Nz_Num(const Value& v, const Value& fallback = Value());  // Empty fallback = 0
DateTime To_Date(const Value& v);  // 1 January 100 when it is no date
bool Is_Blank(const Value& v);
bool Is_Zero(const Value& v);
Value Max_Var(const Value& a, const Value& b);
Value Min_Var(const Value& a, const Value& b);
// Halves away from zero within one millionth; Null for a non-numeric value.
Value Round_Value(const Value& v, int places);
// Convenience for engine code: Round_Value of a double, as a double.
double RoundDouble(double x, int places);
bool Table_Exists(const std::string& name);

// Cost-centre lookups over a cached snapshot of CostCenters.
std::string Get_CC_Name(const Value& ccNum);
std::string Get_CC_Label(Currency ccNum, int part, int width);
void Close_CC_Recordset();

// Scratch values the editors pass into the field checks.
extern std::string Temp_Text;
extern Value Temp_Value;

// Field checks (beep and message through Show_Message).
bool Check_Date(std::string& text);
bool Format_Date_Field(std::string& text, bool showMessage);
// False for a non-numeric value, and for one past db::kLargestAmount (an
// amount, or a statistic, the file could not keep exactly).
bool Check_Amount(Value& value, int sign = 0);
// Text typed for a field of at most maxLength characters: control characters
// (which would reach print files as page feeds) and text longer than the field
// are refused with a message naming the field.
bool CheckText(const std::string& text, std::size_t maxLength, const std::string& fieldName);
// What CheckText would say, or "" when the text is accepted, for a dialog that
// shows its refusals itself. A maxLength of std::string::npos checks no length.
std::string TextRefusal(const std::string& text, std::size_t maxLength, const std::string& fieldName);
std::string Get_Worksheet_Name(const std::string& code);

// Runs `write`, which changes the report all at once or not at all. When the
// file or the machine stops it (a full disk, a file in use, ...), the user is
// told that `what` was not saved, why, and that the report is unchanged, and
// the result is false; any other failure is thrown on.
bool SavedOrTold(const std::string& what, const std::function<void()>& write);

}  // namespace vt
