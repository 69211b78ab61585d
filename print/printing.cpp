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

// "worksheet A was not printed", "worksheets A, C and J were not printed".
std::string NotPrintedText(const std::vector<std::string>& names) {
    std::string text = names.size() > 1 ? "worksheets " : "worksheet ";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text + (names.size() > 1 ? " were" : " was") + " not printed";
}

// The first line of why a print failed: the cause, without where the pages went.
std::string CauseOf(const std::string& why) { return why.substr(0, why.find('\n')); }

// Pages of a printer that did not take them are told apart from those of no
// printer at all, each with its cause, as a single print tells it: the user
// may look at the printer rather than install one.
std::string WhereThePagesWent(const std::vector<std::string>& files,
                              const std::vector<std::pair<std::string, std::string>>& causes,
                              const std::string& joined, const std::vector<std::string>& notPrinted) {
    std::vector<std::string> noPrinter;
    std::vector<std::pair<std::string, std::vector<std::string>>> failed;  // by cause, in order
    for (const auto& f : files) {
        const auto cause = std::find_if(causes.begin(), causes.end(), [&f](const auto& c) { return c.first == f; });
        if (cause == causes.end()) {
            noPrinter.push_back(f);
            continue;
        }
        auto group = std::find_if(failed.begin(), failed.end(), [&](const auto& g) { return g.first == cause->second; });
        if (group == failed.end()) group = failed.insert(failed.end(), {cause->second, {}});
        group->second.push_back(f);
    }
    std::string text;
    const auto tell = [&text](const std::string& opening, const std::vector<std::string>& group) {
        if (group.empty()) return;
        std::string names;
        for (const auto& f : group) names += (names.empty() ? "" : ",\n") + ("\"" + f + "\"");
        text += (text.empty() ? "" : "\n") + opening + (group.size() > 1 ? "files\n" : "file ") + names + ".";
    };
    tell(printer::ThePrinter().NoPrinterReason() + ": the pages were written to the ", noPrinter);
    for (const auto& [cause, group] : failed)
        tell(cause + (cause.empty() || cause.back() == '.' ? "" : ".") + "\nThe pages were written to the ", group);
    if (!joined.empty() && std::find(files.begin(), files.end(), joined) == files.end())
        tell("The worksheets were printed to the ", {joined});
    if (!notPrinted.empty())
        text += (text.empty() ? "W" : "\nW") + NotPrintedText(notPrinted).substr(1) +
                "; the findings (View, Open A View, Edit Checks) say why.";
    return text;
}

// The status line alone hides behind the windows: a message says it too.
void TellWhereThePagesWent(const std::string& text, bool failed) {
    if (!text.empty()) Show_Message(text, failed ? ui::kExclamation : ui::kInformation, "Printing");
}

// " Not sent to P: written to F": pages a printer was to have and a file kept.
// Several files are named by their folder and count.
std::string NotSentText(const std::string& printer, const std::vector<std::string>& files) {
    std::string where = files.empty() ? "" : files.front();
    if (files.size() > 1) {
        const auto folderOf = [](const std::string& f) { return f.substr(0, f.find_last_of('/') + 1); };
        const std::string folder = folderOf(files.front());
        const bool oneFolder = std::all_of(files.begin(), files.end(), [&](const auto& f) { return folderOf(f) == folder; });
        if (oneFolder && folder.size() > 1) {
            where = std::to_string(files.size()) + " files in " + folder.substr(0, folder.size() - 1);
        } else {
            where.clear();
            for (const auto& f : files) where += (where.empty() ? "" : ", ") + f;
        }
    }
    return " Not sent to " + (printer.empty() ? std::string("a printer") : printer) + ": written to " + where;
}

}  // namespace

int Print_File(const std::string& path, int& orientation) {
    auto& p = printer::ThePrinter();
    bool firstPage = true;

    // Refused before any page: told, counted as a failure of the batch.
    const auto refuse = [&path](const std::string& why, int buttons, int result) {
        const std::string text = "Unable to print " + path + " because " + why + ".";
        TellPrintFailed(text);
        Show_Message(text, buttons, "Printing Error");
        if (collecting) {
            ++collecting->failures_;
            collecting->lastJoined_ = false;
        }
        return result;
    };
    if (p.Orientation() < 1) return refuse("no printer is available", ui::kExclamation, 1);
    if (orientation != 1 && orientation != 2) orientation = 2;
    ChooseFixedPitchFont(p);

    std::vector<std::string> lines;
    if (!ReadLines(path, lines)) return refuse("the file could not be read", ui::kCritical, 2);

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
    // Each print says where it went, so that no earlier one's word stays, and
    // says it before any message about it opens.
    const std::string pdf = failure && !drawn ? "" : p.FallbackOutput();
    if (!pdf.empty()) {
        const std::string missed = p.PrinterMissed();
        ui::Ui().SetStatus(NotSentText(missed, {pdf}), true);
        if (collecting && collecting->missed_.empty()) collecting->missed_ = missed;
    } else if (failure) {
        TellPrintFailed(*failure);
    } else if (const std::string printer = p.PrinterReached(); !printer.empty()) {
        ui::Ui().SetStatus(" Sent to " + printer, true);
    } else if (const std::string file = p.LastOutput(); !file.empty()) {
        ui::Ui().SetStatus(" Printed to " + file, true);
    }
    if (failure)
        Show_Message("The following error occurred during print of document:\n\r\r" + *failure, ui::kCritical,
                     "Printing Error");
    if (collecting) {
        // Pages a printer did not take but a file kept are not lost.
        if (failure && pdf.empty()) ++collecting->failures_;
        collecting->lastJoined_ = !failure && p.DocumentHeld();
        if (collecting->lastJoined_) collecting->joined_ = p.LastOutput();
    }
    if (!pdf.empty()) {
        // A batch names all its files at its end, those of a printer that
        // failed too (its messages go to the log), each with its cause; alone,
        // a failure's message has already said where the pages are.
        if (collecting) {
            // A batch joined into one file names it once.
            if (std::find(collecting->files_.begin(), collecting->files_.end(), pdf) == collecting->files_.end())
                collecting->files_.push_back(pdf);
            if (failure) collecting->causes_.emplace_back(pdf, CauseOf(*failure));
        } else if (!failure) {
            TellWhereThePagesWent(WhereThePagesWent({pdf}, {}, "", {}), false);
        }
    }
    return result;
}

void TellPrintFailed(const std::string& why) { ui::Ui().SetStatus(" Printing failed: " + CauseOf(why), true); }

// The outermost batch is the printer's.
PrintedToFiles::PrintedToFiles() : outer_(std::exchange(collecting, this)) {
    if (!outer_) printer::ThePrinter().BeginBatch();
}

PrintedToFiles::~PrintedToFiles() {
    collecting = outer_;
    if (!ended_ && !outer_) Try([] { printer::ThePrinter().EndBatch(); });
}

bool PrintedToFiles::End() {
    if (std::exchange(ended_, true) || outer_) return true;
    try {
        printer::ThePrinter().EndBatch();
        return true;
    } catch (const std::exception& e) {
        TellPrintFailed(e.what());
        Show_Message("The following error occurred during print of document:\n\r\r" + std::string(e.what()),
                     ui::kCritical, "Printing Error");
    }
    std::erase(files_, joined_);
    joined_.clear();
    return false;
}

void PrintedToFiles::Tell(const std::vector<std::string>& notPrinted) const {
    // The status line first: it is what stays once the message is closed.
    if (!notPrinted.empty()) TellPrintFailed(NotPrintedText(notPrinted));
    else if (!files_.empty()) ui::Ui().SetStatus(NotSentText(missed_, files_), true);
    else if (!joined_.empty()) ui::Ui().SetStatus(" Printed to " + joined_, true);
    TellWhereThePagesWent(WhereThePagesWent(files_, causes_, joined_, notPrinted), !notPrinted.empty());
}

std::string WholeReportPath() {
    std::string name = Report().CRF_ProviderNumber;
    for (char bad : std::string("\\/:*?\"<>|")) std::erase(name, bad);
    return Report().CRF_Folder + "/" + name + ".PRT";
}

}  // namespace vt::print
