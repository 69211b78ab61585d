#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "platform/printer/printer.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui.h"
#include "platform/value/text.h"
#include "print/codepage.h"
#include "print/print.h"
#include "store/report.h"

namespace vt::print {
namespace {

// Lines end in CR LF; a bare CR or LF ends one too, so a file touched by
// another editor still prints line by line.
bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(Cp1252ToUtf8(line));
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(Cp1252ToUtf8(line));
    return true;
}

void ChooseFixedPitchFont(printer::Printer& p) {
    const std::string wanted = "COURIER NEW";
    if (Upper(p.FontName()).find(wanted) != std::string::npos) return;
    const int count = p.FontCount();
    for (int i = 0; i < count; ++i) {
        const std::string name = p.Font(i);
        if (Upper(name).find(wanted) != std::string::npos) {
            p.SetFontName(name);
            return;
        }
    }
}

// A printer that refuses one setting still prints with the others.
template <class F>
void Try(F&& setting) {
    try {
        setting();
    } catch (...) {
    }
}

PrintedToFiles* collecting = nullptr;

// The status line alone hides behind the windows: a message says it too.
// Pages of a printer that did not take them are told apart from those of no
// printer at all: the user may look at the printer rather than install one.
void TellWhereThePagesWent(const std::vector<std::string>& files, const std::vector<std::string>& notTaken) {
    std::vector<std::string> noPrinter;
    for (const auto& f : files)
        if (std::find(notTaken.begin(), notTaken.end(), f) == notTaken.end()) noPrinter.push_back(f);
    std::string text;
    const auto tell = [&text](const std::string& opening, const std::vector<std::string>& group) {
        if (group.empty()) return;
        std::string names;
        for (const auto& f : group) names += (names.empty() ? "" : ",\n") + ("\"" + f + "\"");
        text += (text.empty() ? "" : "\n") + opening + (group.size() > 1 ? "files\n" : "file ") + names + ".";
    };
    tell(printer::ThePrinter().NoPrinterReason() + ": the pages were written to the ", noPrinter);
    tell("The printer did not take the pages: they were written to the ", notTaken);
    if (!text.empty()) Show_Message(text, ui::kInformation, "Printing");
}

}  // namespace

int Print_File(const std::string& path, int& orientation) {
    auto& p = printer::ThePrinter();
    bool firstPage = true;

    if (p.Orientation() < 1) {
        Show_Message("Unable to print " + path + " because no printer is available.", ui::kExclamation,
                     "Printing Error");
        return 1;
    }
    if (orientation != 1 && orientation != 2) orientation = 2;
    ChooseFixedPitchFont(p);

    std::vector<std::string> lines;
    if (!ReadLines(path, lines)) {
        Show_Message("Unable to print " + path + " because the file could not be read.", ui::kCritical,
                     "Printing Error");
        return 2;
    }

    const bool high = settings::UserSettings().Get("Vantrel", "Printing", "PrintQuality", "True") == "True";
    const bool listing = path.size() >= 4 && path.compare(path.size() - 4, 4, ".LST") == 0;
    Try([&] { p.SetOrientation(orientation); });
    Try([&] { p.SetFontSize(7); });
    if (high) Try([&] { p.SetPrintQuality(-4); });
    Try([&] { p.SetFontBold(true); });
    if (listing) Try([&] { p.SetFontSize(9.5); });

    // Each page's length, known before it starts, so that a long page is
    // closed up to fit its sheet rather than run over onto a headless one.
    std::vector<int> pageLines{0};
    for (bool first = true; const auto& line : lines) {
        const bool feed = !line.empty() && line[0] == '\f';
        if (feed && !first) pageLines.push_back(0);
        if (!feed) first = false;
        ++pageLines.back();
    }

    int result = 0;
    std::optional<std::string> failure;
    bool drawn = false;  // every line reached the printer; a failure came with the document's end
    {
        ui::BusyPointer busy;
        try {
            p.BeginDocument(path);
            std::size_t page = 0;
            p.SetPageLines(pageLines[page]);
            for (const auto& line : lines) {
                if (!line.empty() && line[0] == '\f') {
                    if (!firstPage) {
                        p.NewPage();
                        p.SetPageLines(pageLines[++page]);
                    }
                    if (line.size() > 1 && (line[1] == '\x01' || line[1] == '\x02')) {
                        p.SetOrientation(line[1]);
                        p.PrintLine(line.substr(2));
                    } else {
                        p.PrintLine(line.substr(1));
                    }
                } else {
                    p.PrintLine(line);
                    firstPage = false;
                }
            }
            drawn = true;
            p.EndDoc();
        } catch (const std::exception& e) {
            failure = e.what();
        } catch (...) {
            failure = "Printer error";
        }
        if (failure) {
            // Never leave a half document for the next print to append to.
            result = kPrinterError;
            Try([&] { p.Abort(); });
        }
    }
    PrintLayout().Last_Orientation = 0;
    if (failure)
        Show_Message("The following error occurred during print of document:\n\r\r" + *failure, ui::kCritical,
                     "Printing Error");
    // Each print says where it went, so that no earlier one's word stays.
    const std::string pdf = failure && !drawn ? "" : p.FallbackOutput();
    if (!pdf.empty()) {
        ui::Ui().SetStatus(" Printed to " + pdf, true);
        // A batch names all its files at its end, those of a printer that
        // failed too (its messages go to the log); alone, a failure's message
        // has already said where the pages are.
        if (collecting) {
            collecting->files_.push_back(pdf);
            if (failure) collecting->notTaken_.push_back(pdf);
        } else if (!failure) {
            TellWhereThePagesWent({pdf}, {});
        }
    } else if (!failure) {
        if (const std::string printer = p.PrinterReached(); !printer.empty())
            ui::Ui().SetStatus(" Sent to " + printer, true);
        else if (const std::string file = p.LastOutput(); !file.empty())
            ui::Ui().SetStatus(" Printed to " + file, true);
    }
    return result;
}

PrintedToFiles::PrintedToFiles() : outer_(std::exchange(collecting, this)) {}

PrintedToFiles::~PrintedToFiles() { collecting = outer_; }

void PrintedToFiles::Tell() const { TellWhereThePagesWent(files_, notTaken_); }

std::string WholeReportPath() {
    std::string name = Report().CRF_ProviderNumber;
    for (char bad : std::string("\\/:*?\"<>|")) std::erase(name, bad);
    return Report().CRF_Folder + "/" + name + ".PRT";
}

}  // namespace vt::print
