// The printer of the desktop program: the file chosen in Printer Setup ("Print
// to File"), else the printer chosen there, else the system's default printer,
// else a PDF beside the print file (same name, ".pdf"), so printing always
// leaves something the user can open. A document the printer refuses, or one
// the print server does not take within kServerPatience, goes to that PDF too.
// Pages are US Letter in a fixed-pitch font (Liberation Mono unless a "Courier
// New" is chosen). A file that cannot be written is told with the reason in
// the words of the program's other file failures.
// Needs a running QGuiApplication.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/printer/print_server.h"
#include "platform/printer/printer.h"

namespace vt::printer {

class QtPrinter : public Printer {
public:
    enum class Target {
        DefaultPrinter,  // the chosen printer, else the system's default; a PDF when there is neither
        Pdf,             // always a PDF
    };
    explicit QtPrinter(Target target = Target::DefaultPrinter);
    ~QtPrinter() override;
    QtPrinter(const QtPrinter&) = delete;
    QtPrinter& operator=(const QtPrinter&) = delete;

    int Orientation() override;
    void SetOrientation(int orientation) override;
    std::string FontName() override;
    void SetFontName(const std::string& name) override;
    int FontCount() override;
    std::string Font(int index) override;
    void SetFontSize(double points) override;
    void SetFontBold(bool bold) override;
    void SetPrintQuality(int quality) override;
    void BeginDocument(const std::string& printFilePath) override;
    void SetPageLines(int lines) override;
    void PrintLine(const std::string& text) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    std::string LastOutput() override;
    std::string PrinterReached() override;
    std::string FallbackOutput() override;
    std::string PrinterMissed() override;
    std::string NoPrinterReason() override;
    void BeginBatch() override;
    void EndBatch() override;
    bool DocumentHeld() override;

    // The longest one document waits for the print server's answers, all its
    // questions together (pages on their way and a login being typed do not
    // count); the window keeps painting meanwhile.
    static constexpr std::chrono::milliseconds kServerPatience{4000};

    // Lines a page holds at 7 points, one more than the longest pages the
    // worksheets write; larger type holds proportionally fewer.
    static constexpr int kLandscapeLines = 74;
    static constexpr int kPortraitLines = 104;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// The printer the user chose in Printer Setup; "" for the system's default.
// Read as each document starts, so a choice applies from the next print on.
void SetChosenPrinterName(const std::string& name);
std::string ChosenPrinterName();
// The PDF file chosen in Printer Setup ("Print to File"); "" for none. While
// chosen, every document goes to it, and no print server is asked.
void SetChosenPdfFile(const std::string& path);
std::string ChosenPdfFile();
// The copies chosen in Printer Setup, each job a printer is sent.
void SetChosenCopies(int copies);
int ChosenCopies();

// The system's printers, asked as a print asks them: for no longer than
// QtPrinter::kServerPatience, the windows painting meanwhile. nullopt when
// the print server did not answer; `why` then says how.
std::optional<ServerPrinters> ListPrinters(std::string& why);

// Where a document goes, given the system's printers: the chosen one while the
// system still has it (one removed since the choice must not stop printing),
// else the default; "" when there is neither, and the document becomes a PDF.
// Apart from QtPrinter so it can be checked on a machine without printers.
std::string PrinterToUse(const std::string& chosen, const std::vector<std::string>& available,
                         const std::string& systemDefault);

}  // namespace vt::printer
