#include "report/header_lines.h"

#include <stdexcept>

#include "platform/ui/ui.h"
#include "print/codepage.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

bool SaveHeaderLine(int lineNum, const std::string& text) {
    if (lineNum < 1 || lineNum > 3) throw std::out_of_range("Header line " + std::to_string(lineNum));
    if (static_cast<int>(print::Utf8Length(text)) > kHeaderLineMaximum) {
        ui::Ui().Beep();
        Show_Message("The maximum length of a custom OldHeader line is 60 characters");
        return false;
    }
    if (!CheckText(text, std::string::npos, "custom header line")) return false;
    if (!SavedOrTold("Header line " + std::to_string(lineNum), [&] {
            Db().ExecuteStrict("UPDATE HeaderLines SET Line = ? WHERE LineNum = ?;", {Value(text), Value(lineNum)});
        }))
        return false;
    Report().CRF_HeaderLines[static_cast<size_t>(lineNum - 1)] = text;
    return true;
}

}  // namespace vt
