#include "print/print.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <system_error>
#include <utility>

#include "platform/db/db.h"
#include "platform/printer/replaced_file.h"
#include "print/codepage.h"
#include "store/report.h"

namespace vt::print {
namespace {

struct OpenFile {
    // Put in the place of the file at `path` only when closed whole; given up
    // with the print that fails, leaving the earlier file as it was.
    printer::ReplacedFile file;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out{nullptr, &std::fclose};
    std::string path;
    std::string line;  // the line being built, already in the file's code page
    // The wrapped texts' pieces still to come, by column, in the code page.
    std::vector<std::pair<int, std::vector<std::string>>> more;
    int broken = 0;  // lines ended by a tab to the left since the last line end
    // The rest of a row pushed past the page's width: the lines carrying it on.
    std::vector<std::string> spill;
    bool keep = true;  // false: a scratch file, whose lines are only counted
};

std::map<int, OpenFile>& Files() {
    static std::map<int, OpenFile> files;
    return files;
}

OpenFile& FileOf(int fileNum) {
    auto it = Files().find(fileNum);
    if (it == Files().end()) throw PrintFileError("Bad file number " + std::to_string(fileNum));
    return it->second;
}

// Gives an open file the first free number.
int AddFile(OpenFile f) {
    int fn = 1;
    while (Files().count(fn)) ++fn;
    Files().emplace(fn, std::move(f));
    return fn;
}

OpenFile ScratchFile() {
    OpenFile f;
    f.keep = false;
    return f;
}

// Why the system refused the print file (the error of the call just made), in
// the words of the report's own files.
std::string Because(int error, const std::string& path) {
    return error ? ": " + db::SystemReason(std::error_code(error, std::generic_category()), path) + "." : "";
}

void WriteRaw(OpenFile& f, const std::string& bytes) {
    if (!f.keep) return;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.out.get()) != bytes.size())
        throw PrintFileError("Unable to write the print file " + f.path + Because(errno, f.path));
}

void EndLine(OpenFile& f) {
    f.line += "\r\n";
    WriteRaw(f, f.line);
    f.line.clear();
}

std::string Blanks(int n) { return std::string(n > 0 ? static_cast<std::size_t>(n) : 0, ' '); }

// Ends the line, then writes the continuation lines of the texts wrapped on
// it, each piece under its own column; returns the lines written.
int FinishLine(OpenFile& f) {
    EndLine(f);
    int written = 1;
    for (auto& carried : std::exchange(f.spill, {})) {
        f.line = std::move(carried);
        EndLine(f);
        ++written;
    }
    auto more = std::move(f.more);
    f.more.clear();
    std::sort(more.begin(), more.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t k = 0;; ++k) {
        bool any = false;
        for (const auto& [col, pieces] : more) {
            if (k >= pieces.size()) continue;
            any = true;
            const auto at = static_cast<std::size_t>(col - 1);
            f.line += f.line.size() < at ? Blanks(static_cast<int>(at - f.line.size())) : (f.line.empty() ? "" : " ");
            f.line += pieces[k];
        }
        if (!any) break;
        EndLine(f);
        ++written;
    }
    return written;
}

// The column of the line's last character that is not a blank; 0 for none.
int LastFilledColumn(const std::string& line) {
    const auto at = line.find_last_not_of(' ');
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

// Text as the file holds it: control characters as blanks, in the code page.
std::string Printable(const std::string& utf8) {
    std::string plain = utf8;
    for (char& c : plain)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
    return Utf8ToCp1252(plain);
}

// WrapText over text already in the code page: one character a byte.
std::vector<std::string> WrapBytes(std::string rest, std::size_t width) {
    std::vector<std::string> pieces;
    if (width < 1) width = 1;
    while (rest.size() > width) {
        std::size_t cut = rest.rfind(' ', width);
        std::string piece;
        if (cut != std::string::npos) {
            piece = rest.substr(0, cut);
            piece.erase(piece.find_last_not_of(' ') + 1);
        }
        if (piece.empty()) cut = width, piece = rest.substr(0, width);
        pieces.push_back(piece);
        const auto next = rest.find_first_not_of(' ', cut);
        rest = next == std::string::npos ? std::string() : rest.substr(next);
    }
    if (!rest.empty() || pieces.empty()) pieces.push_back(rest);
    return pieces;
}

// The pieces a text prints as: wrapped as the file will hold it, so that a
// count taken beforehand agrees with the lines written.
std::vector<std::string> WrapPrintable(const std::string& text, int width) {
    return WrapBytes(Printable(text), static_cast<std::size_t>(std::max(width, 1)));
}

std::function<DateTime()>& Clock() {
    static std::function<DateTime()> clock;
    return clock;
}

// Upper case as the code page knows it; the text is written in it anyway.
std::string UpperCase(const std::string& utf8) {
    std::string s = Utf8ToCp1252(utf8);
    for (char& c : s) {
        auto b = static_cast<unsigned char>(c);
        if (b >= 'a' && b <= 'z') b -= 0x20;
        else if (b >= 0xE0 && b <= 0xFE && b != 0xF7) b -= 0x20;
        else if (b == 0x9A || b == 0x9C || b == 0x9E) b -= 0x10;
        else if (b == 0xFF) b = 0x9F;
        c = static_cast<char>(b);
    }
    return Cp1252ToUtf8(s);
}

}  // namespace

Layout& PrintLayout() {
    static Layout layout;
    return layout;
}

void Set_Landscape() {
    auto& l = PrintLayout();
    l.Page_Width = 176;
    l.Page_Center_Col = 88;
    l.Page_Lines = 70;
    l.Page_Orientation = 2;
}

void Set_Portrait() {
    auto& l = PrintLayout();
    l.Page_Width = 138;
    l.Page_Center_Col = 69;
    l.Page_Lines = 100;
    l.Page_Orientation = 1;
}

int OpenPrintFile(const std::string& path) {
    OpenFile f;
    f.path = path;
    errno = 0;
    const int fd = f.file.Open(path);
    if (fd >= 0) f.out.reset(::fdopen(fd, "wb"));
    if (!f.out) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        throw PrintFileError("Unable to create the print file " + path + Because(error, path));
    }
    const int fn = AddFile(std::move(f));
    // A file begun after a failed one must still carry its first orientation mark.
    PrintLayout().Last_Orientation = 0;
    return fn;
}

void ClosePrintFile(int fileNum) {
    auto it = Files().find(fileNum);
    if (it == Files().end()) return;
    OpenFile f = std::move(it->second);
    Files().erase(it);
    if (!f.keep) return;
    if (!f.line.empty()) WriteRaw(f, f.line);
    errno = 0;
    if (std::fclose(f.out.release()) != 0 || !f.file.Publish())
        throw PrintFileError("Unable to write the print file " + f.path + Because(errno, f.path));
}

void AbandonPrintFile(int fileNum) { Files().erase(fileNum); }

bool IsPrintFileOpen(int fileNum) { return Files().count(fileNum) > 0; }

void AbandonPrintFiles() { Files().clear(); }

Out& Out::Tab(int col) {
    auto& f = FileOf(fn_);
    if (col < 1) col = 1;
    const int current = static_cast<int>(f.line.size()) + 1;
    if (col < current) {
        f.broken += FinishLine(f);
        f.line = Blanks(col - 1);
    } else {
        f.line += Blanks(col - current);
    }
    return *this;
}

// Stored text may hold control characters (typed before they were refused, or
// written by another program); in a print file a form feed or an orientation
// mark would start pages of its own.
Out& Out::operator<<(const std::string& text) {
    FileOf(fn_).line += Printable(text);
    return *this;
}

Out& Out::Figure(int col, int width, const std::string& text) {
    auto& f = FileOf(fn_);
    auto& line = f.spill.empty() ? f.line : f.spill.back();
    std::string figure = Printable(text);
    figure.erase(0, std::min(figure.find_first_not_of(' '), figure.size()));
    const int end = std::max(col, 1) + std::max(width, 0) - 1;  // the field's last column
    const int length = static_cast<int>(figure.size());
    if (length == 0) {
        line += Blanks(end - static_cast<int>(line.size()));
        return *this;
    }
    const int last = LastFilledColumn(line);
    const int start = std::max(end - length + 1, last == 0 ? 1 : last + 2);
    // A row pushed past the page's width would lose the figure at the paper's
    // edge: it and what follows go on the next line, at their own columns.
    if (start > end - length + 1 && start + length - 1 > std::max(end, PrintLayout().Page_Width)) {
        f.spill.push_back(Blanks(end - length) + figure);
        return *this;
    }
    // Only blanks follow the last filled column, so the figure may take them.
    line.resize(std::min(line.size(), static_cast<std::size_t>(start - 1)));
    line += Blanks(start - 1 - static_cast<int>(line.size())) + figure;
    return *this;
}

Out& Out::Text(int col, int width, const std::string& text) {
    auto& f = FileOf(fn_);
    auto& line = f.spill.empty() ? f.line : f.spill.back();
    const int last = LastFilledColumn(line);
    const int start = std::max({col, 1, last == 0 ? 1 : last + 2});
    auto pieces = WrapPrintable(text, width);
    line.resize(std::min(line.size(), static_cast<std::size_t>(std::max(start - 1, last))));
    line += Blanks(start - 1 - static_cast<int>(line.size())) + pieces.front();
    if (pieces.size() > 1) f.more.emplace_back(start, std::vector<std::string>(pieces.begin() + 1, pieces.end()));
    return *this;
}

Out& Out::PageFeed(int orientation) {
    auto& line = FileOf(fn_).line;
    line += '\f';
    if (orientation == 1 || orientation == 2) line += static_cast<char>(orientation);
    return *this;
}

int Out::Line() {
    auto& f = FileOf(fn_);
    return FinishLine(f) + std::exchange(f.broken, 0);
}

int Out::Column() const { return static_cast<int>(FileOf(fn_).line.size()) + 1; }

int WriteHeading(Out out, const Heading& heading) {
    int lines = 0;
    for (const HeadingLine& line : heading) {
        for (const HeadingItem& item : line) out.Tab(item.col) << item.text;
        lines += out.Line();
    }
    return lines;
}

std::vector<std::string> WrapText(const std::string& text, int width) {
    auto pieces = WrapPrintable(text, width);
    for (auto& piece : pieces) piece = Cp1252ToUtf8(piece);
    return pieces;
}

void Print_Centered(int fileNum, const std::string& text, int& center) {
    if (center == 0) center = PrintLayout().Page_Center_Col;
    const int length = static_cast<int>(Utf8Length(text));
    Out(fileNum).Tab(center - length / 2) << text;
    Out(fileNum).Line();
}

void Print_Page_Header(int fileNum, const std::string& sheetName, int& page, int& lines) {
    auto& layout = PrintLayout();
    const auto& r = Report();
    Out out(fileNum);
    lines = 0;
    ++page;

    int mark = 0;
    if (layout.Page_Orientation != layout.Last_Orientation) {
        mark = layout.Page_Orientation;
        layout.Last_Orientation = layout.Page_Orientation;
    }
    out.PageFeed(mark).Line();
    out.Line();

    auto centred = [&](const std::string& text) {
        int center = 0;
        Print_Centered(fileNum, text, center);
    };
    centred("The Quelldorn Systems, Inc. Vantrel " + r.CRF_FormNum + " System [Version: " +
            std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "]");
    centred("In lieu of Form CMS-" + r.CRF_FormNum + "-05 " + (page > 1 ? ", continued" : ""));
    out.Line();
    centred(UpperCase(r.CRF_ProviderName));
    centred("Provider number: " + r.CRF_ProviderNumber);
    centred("Period from  " + Format(Value(r.CRF_FYStart), "mm/dd/yyyy") + "  to  " +
            Format(Value(r.CRF_FYEnd), "mm/dd/yyyy"));
    // The page-feed line counts twice: the header has always been nine lines.
    lines = 9;

    bool first = true;
    for (const auto& extra : r.CRF_HeaderLines) {
        if (extra.empty()) continue;
        if (first) {
            out.Line();
            ++lines;
            first = false;
        }
        centred(extra);
        ++lines;
    }

    const DateTime now = Clock() ? Clock()() : DateTime::Now();
    const std::string stamp = Format(Value(now), "mmmm d, yyyy") + " at " + Format(Value(now), "hh:mm AM/PM");
    out.Line();
    out << "Worksheet " + sheetName;
    out.Tab(layout.Page_Width - static_cast<int>(Utf8Length(stamp))) << stamp;
    out.Line();
    out.Line();
    lines += 3;
}

std::string Pad_Left(const Value& v, int width) {
    const std::string text = v.ToText();
    return Blanks(width - static_cast<int>(Utf8Length(text))) + text;
}

std::string WholeAmountText(const Value& v) { return Format(v, "#,##0"); }

std::string Format_Amount(const Value& v, int width) { return Pad_Left(Value(AmountText(v)), width); }

std::string AmountText(const Value& v) {
    if (v.IsNull()) return "";
    Value number;
    switch (v.Type()) {
    case VType::Empty: number = Value(0); break;
    case VType::Boolean: number = Value(static_cast<int>(v.ToLong())); break;
    case VType::Date: number = Value(v.AsDate().serial); break;
    case VType::String:
        if (!IsNumeric(v)) throw TypeMismatch("Type mismatch");
        number = Value(v.ToDouble());
        break;
    default: number = v; break;
    }
    std::string text = Format(number, "#,##0.00");
    // Whole amounts keep their place under the digits of amounts with cents.
    if (text.size() >= 3 && text.compare(text.size() - 2, 2, "00") == 0)
        text = text.substr(0, text.size() - 3) + "   ";
    return text;
}

std::string Format_Date(const Value& v) {
    if (v.IsNull()) return Blanks(10);
    Value date = v;
    if (v.IsString() && IsDate(v)) date = Value(v.ToDate());
    else if (v.IsNumberType()) date = Value(DateTime{v.ToDouble()});
    return Utf8Left(Format(date, "mm/dd/yyyy"), 10);
}

void SetPrintClock(std::function<DateTime()> clock) { Clock() = std::move(clock); }
DateTime PrintNow() { return Clock() ? Clock()() : DateTime::Now(); }

SheetPrint::SheetPrint(int& fileNum, const std::string& fileName, const std::string& sheetName, bool landscape)
    : fn_(fileNum), own_(fileNum < 1), sheetName_(sheetName) {
    if (own_) {
        path_ = Report().CRF_Folder + "/" + fileName + ".prt";
        fn_ = OpenPrintFile(path_);
    }
    if (landscape) Set_Landscape();
    else Set_Portrait();
}

SheetPrint::SheetPrint(Scratch) : fn_(AddFile(ScratchFile())), own_(true) {}

SheetPrint::~SheetPrint() {
    if (own_ && fn_ > 0) AbandonPrintFile(fn_);
}

void SheetPrint::NewPage() { Print_Page_Header(fn_, sheetName_, page, lines); }

void SheetPrint::Finish(int orientation) {
    if (!own_ || fn_ < 1) return;
    const int fn = std::exchange(fn_, 0);
    ClosePrintFile(fn);
    Print_File(path_, orientation);
}

int LinesOf(const std::function<void(SheetPrint&)>& write) {
    SheetPrint scratch{SheetPrint::Scratch{}};
    scratch.lines = 0;
    write(scratch);
    return scratch.lines;
}

void PrintColumnPages(SheetPrint& sp, db::Recordset& rs, const ColumnPages& pages) {
    const auto linesOf = [](const std::function<void(SheetPrint&, int)>& write, int b) {
        return LinesOf([&](SheetPrint& p) { write(p, b); });
    };
    while (!rs.Eof()) {
        const int first = rs.Position();
        sp.NewPage();
        std::vector<int> filled(static_cast<std::size_t>(pages.blocks));
        for (int b = 0; b < pages.blocks; ++b) filled[b] = sp.lines + linesOf(pages.heading, b);
        // The set takes each row that fits on every one of its pages; a page's
        // first row is taken even when it does not.
        for (int rows = 0; !rs.Eof(); ++rows, rs.MoveNext()) {
            std::vector<int> next(filled.size());
            bool fits = true;
            for (int b = 0; b < pages.blocks; ++b) {
                const int lines = linesOf(pages.row, b);
                next[b] = filled[b] + lines;
                fits = fits && filled[b] + lines - 1 <= PrintLayout().Page_Lines;
            }
            if (!fits && rows > 0) break;
            filled = std::move(next);
        }
        const int end = rs.Eof() ? -1 : rs.Position();
        for (int b = 0; b < pages.blocks; ++b) {
            if (b > 0) sp.NewPage();
            pages.heading(sp, b);
            for (rs.MoveTo(first); !rs.Eof() && rs.Position() != end; rs.MoveNext()) pages.row(sp, b);
        }
    }
}

}  // namespace vt::print
