#include "tests/support/recording_printer.h"

#include <stdexcept>

namespace vt::test {

RecordingPrinter::RecordingPrinter() { printer::InstallPrinter(this); }
RecordingPrinter::~RecordingPrinter() { printer::InstallPrinter(nullptr); }

void RecordingPrinter::SetOrientation(int o) {
    orientation = o;
    log.push_back("Orientation " + std::to_string(o));
    if (!pages.empty() && pages.back().lines.empty()) pages.back().orientation = o;
}

void RecordingPrinter::PrintLine(const std::string& text) {
    if (failAtLine >= 0 && linesPrinted == failAtLine) throw std::runtime_error("Printer out of paper");
    ++linesPrinted;
    if (pages.empty()) pages.push_back({orientation, {}});
    pages.back().lines.push_back(text);
}

void RecordingPrinter::NewPage() {
    log.push_back("NewPage");
    pages.push_back({orientation, {}});
}

void RecordingPrinter::EndDoc() {
    log.push_back("EndDoc");
    ++endDocs;
}

}  // namespace vt::test
