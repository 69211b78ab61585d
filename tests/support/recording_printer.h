// A printer for tests: records the pages, fonts and settings it was given.
#pragma once

#include <string>
#include <vector>

#include "platform/printer/printer.h"

namespace vt::test {

class RecordingPrinter : public printer::Printer {
public:
    struct Page {
        int orientation = 0;
        std::vector<std::string> lines;
    };

    // Installs itself for its lifetime.
    RecordingPrinter();
    ~RecordingPrinter() override;

    int Orientation() override { return orientation; }
    void SetOrientation(int o) override;
    std::string FontName() override { return fontName; }
    void SetFontName(const std::string& name) override { fontName = name; }
    int FontCount() override { return static_cast<int>(fonts.size()); }
    std::string Font(int index) override { return fonts.at(static_cast<size_t>(index)); }
    void SetFontSize(double points) override { fontSize = points; }
    void SetFontBold(bool b) override { bold = b; }
    void SetPrintQuality(int q) override { quality = q; }
    void PrintLine(const std::string& text) override;
    void NewPage() override;
    void EndDoc() override;
    void BeginDocument(const std::string& printFilePath) override;
    void Abort() override;
    std::string FallbackOutput() override;

    // Settings a test may change before printing.
    int orientation = 1;  // below 1: no usable printer
    std::string fontName = "Arial";
    std::vector<std::string> fonts = {"Arial", "Courier New", "Times New Roman"};
    int failAtLine = -1;  // PrintLine raises std::runtime_error at this line (0-based), -1 never
    bool toPdf = false;   // no printer: each document goes to a PDF beside its print file
    bool refuse = false;  // EndDoc raises as a printer that did not take the pages (with toPdf: they go to the PDF)

    // What was printed.
    double fontSize = 0;
    bool bold = false;
    int quality = 0;
    int endDocs = 0;
    int aborts = 0;
    std::vector<std::string> documents;  // the print files begun, in order
    int linesPrinted = 0;
    std::vector<Page> pages;  // of every document since the start
    std::vector<std::string> log;

private:
    bool documentClosed_ = true;  // the next line opens a page of a new document
};

}  // namespace vt::test
