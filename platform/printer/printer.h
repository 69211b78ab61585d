// What printing needs of a printer. The program installs the real one; tests
// install a recording one.
#pragma once

#include <string>

namespace vt::printer {

class Printer {
public:
    virtual ~Printer() = default;
    // Below 1: no usable printer.
    virtual int Orientation() = 0;
    virtual void SetOrientation(int orientation) = 0;  // 1 portrait, 2 landscape
    virtual std::string FontName() = 0;
    virtual void SetFontName(const std::string& name) = 0;
    virtual int FontCount() = 0;
    virtual std::string Font(int index) = 0;
    virtual void SetFontSize(double points) = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual void SetPrintQuality(int quality) = 0;  // -4 high
    virtual void PrintLine(const std::string& text) = 0;  // UTF-8
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    // The document being printed comes from this print file; called once
    // before its first line, so a printer without paper can put its pages
    // beside the file.
    virtual void BeginDocument(const std::string& printFilePath) { (void)printFilePath; }
    // The page about to start holds this many lines of the print file; a
    // printer closes up its line pitch so that all of them fit on one sheet.
    virtual void SetPageLines(int lines) { (void)lines; }
    // Drops the document begun so far, so the next print starts afresh.
    virtual void Abort() {}
    // Where the printed document went (a PDF path when there is no printer).
    virtual std::string LastOutput() { return ""; }
    // The printer that took the last document; "" when it went to a file.
    virtual std::string PrinterReached() { return ""; }
    // The file the last document went to for want of a printer; "" when it
    // reached a printer (or was meant to be a file all along).
    virtual std::string FallbackOutput() { return ""; }
    // The printer the last document was meant for when it went to that file
    // instead; "" when none was known.
    virtual std::string PrinterMissed() { return ""; }
    // Why the last document went to that file for want of a printer.
    virtual std::string NoPrinterReason() { return "No printer is available"; }
    // Between BeginBatch and EndBatch the documents that go to the file chosen
    // for every print follow one another in it, each from a new page, so a
    // batch leaves one file as a single print does. EndBatch finishes that
    // file, raising why when it could not be written; none of the batch's
    // pages is then in it.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
    // The last document ended is kept open for the batch's next one.
    virtual bool DocumentHeld() { return false; }
};

// The installed printer; before anything is installed, one with no usable
// printer (Orientation() == 0).
Printer& ThePrinter();
void InstallPrinter(Printer* p);  // not owned; nullptr restores the default

}  // namespace vt::printer
