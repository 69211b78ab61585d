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
    if (pages.empty() || documentClosed_) pages.push_back({orientation, {}});
    documentClosed_ = false;
    pages.back().lines.push_back(text);
}

void RecordingPrinter::NewPage() {
    log.push_back("NewPage");
    pages.push_back({orientation, {}});
    documentClosed_ = false;
}

void RecordingPrinter::EndDoc() {
    log.push_back("EndDoc");
    ++endDocs;
    documentClosed_ = true;
    if (refuse) throw std::runtime_error("The printer did not take the pages");
}

void RecordingPrinter::BeginDocument(const std::string& printFilePath) {
    log.push_back("BeginDocument");
    documents.push_back(printFilePath);
}

std::string RecordingPrinter::FallbackOutput() {
    if (!toPdf || documents.empty()) return "";
    const std::string& prt = documents.back();
    return prt.substr(0, prt.find_last_of('.')) + ".pdf";
}

void RecordingPrinter::Abort() {
    log.push_back("Abort");
    ++aborts;
    documentClosed_ = true;
}

}  // namespace vt::test
