// Print files: fixed-width text pages, each opened by a page-feed line that
// also carries the orientation, with the page header every worksheet shares.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/value/value.h"

namespace vt::db {
class Recordset;
}

namespace vt::print {

// A print file that cannot be opened or written, or a file number that is not open.
class PrintFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Layout of the pages being written; process-wide like the printer itself.
struct Layout {
    int Page_Width = 176;
    int Page_Center_Col = 88;
    int Page_Lines = 70;
    int Page_Orientation = 2;  // 1 portrait, 2 landscape
    int Last_Orientation = 0;  // orientation last written into a page feed
};
Layout& PrintLayout();
void Set_Landscape();
void Set_Portrait();

// Open print files by number. Text is written in Windows-1252 with CR LF ends.
// Opening a file starts its orientation marks afresh (Last_Orientation = 0).
// A file is written beside the one it replaces and takes its place when
// closed, whoever wrote the one before; given up, it leaves that one as it was.
int OpenPrintFile(const std::string& path);  // replaces an existing file
void ClosePrintFile(int fileNum);
// Closes a file a failed print leaves, putting nothing in the earlier one's place.
void AbandonPrintFile(int fileNum);
bool IsPrintFileOpen(int fileNum);
// Abandons every print file still open (one a failed print left behind).
void AbandonPrintFiles();

// Writes into an open print file. Columns count from 1; Tab to a column left
// of the current one continues on a new line at that column.
class Out {
public:
    explicit Out(int fileNum) : fn_(fileNum) {}
    Out& Tab(int col);
    // Text as it is to be read: a control character in it (stored text may hold
    // one) becomes a blank, so that only PageFeed starts a page.
    Out& operator<<(const std::string& text);
    // A form feed, with the orientation mark (1 portrait, 2 landscape) when
    // one is given; the line goes on after it.
    Out& PageFeed(int orientation = 0);
    // A figure right-justified in the field of `width` characters from `col`,
    // the field's blanks written as padding. A figure is never cut: one wider
    // than its field takes the blanks before the field, and where it would
    // come closer than one blank to what the line already holds it starts one
    // blank after that instead, so the row is laid out that much wider there
    // (the fields after it keep their places unless they too would touch).
    // A figure so pushed past the page's width starts the row's next line
    // instead, at its own field, and what follows on the row goes there too
    // (a line after it, when that one is pushed past the width in turn).
    Out& Figure(int col, int width, const std::string& text);
    // A text kept within the `width` characters from `col`: a longer one is
    // wrapped at its blanks (a word wider than the column is broken) and goes
    // on under the column, on continuation lines written when the line ends.
    // Where the line already reaches `col`, the text starts one blank after it.
    Out& Text(int col, int width, const std::string& text);
    // The width of a text's column from `col` to one blank before the next
    // field on the line, at `next` (a figure's whole field, the blanks a wide
    // figure may take included): a text that ends in that blank leaves a
    // figure filling its field no blank to part them.
    static constexpr int WidthBefore(int col, int next) { return next - col - 1; }
    // Ends the line and writes its continuation lines; returns the number of
    // lines written since the last line end (a tab to the left ends one too),
    // for the page's line count.
    int Line();
    int Line(const std::string& text) {
        *this << text;
        return Line();
    }
    int Column() const;  // the column the next character goes to
private:
    int fn_;
};

// A block of fixed lines (a sheet's column headings, a form's captions) as
// data: each line's items are written at their columns as Tab places them,
// then the line ends. A line without items is a blank line.
struct HeadingItem {
    int col;
    std::string text;
};
using HeadingLine = std::vector<HeadingItem>;
using Heading = std::vector<HeadingLine>;
// Returns the number of lines written, for the page's line count.
int WriteHeading(Out out, const Heading& heading);

// A text cut into pieces of at most `width` characters, at blanks where it
// has them (the blanks at a break are dropped, a word wider than `width` is
// broken); a text that fits is its one piece, unchanged. Control characters
// count as the blanks they print as, so the pieces are the lines Out::Text writes.
std::vector<std::string> WrapText(const std::string& text, int width);

// Page header; increments page, sets lines to the header's line count.
void Print_Page_Header(int fileNum, const std::string& sheetName, int& page, int& lines);
// Centred line; a centre of 0 is the page centre (and written back).
void Print_Centered(int fileNum, const std::string& text, int& center);
// Right-justified in `width` characters; a longer text is kept whole, since a
// figure cut to its field would print as another figure.
std::string Pad_Left(const Value& v, int width);
// An amount with two decimals and grouped digits; whole amounts end in three
// blanks instead of ".00", so they line up with the digits of amounts with
// cents. Null gives "".
std::string AmountText(const Value& v);
// An amount rounded to whole dollars (half away from zero), digits grouped:
// "1,235". Null gives "".
std::string WholeAmountText(const Value& v);
// AmountText right-justified in `width` characters as Pad_Left does.
std::string Format_Amount(const Value& v, int width);
std::string Format_Date(const Value& v);

// The clock the page header reads its date and time from; nullptr restores
// the real one. Tests set a fixed moment so printed pages compare exactly.
void SetPrintClock(std::function<DateTime()> clock);
// The moment that clock gives now.
DateTime PrintNow();

// The frame of every worksheet print: opens "<fileName>.prt" in the report's
// folder when the file number is below 1 (and then closes and prints it in
// Finish), else writes into the caller's open file. The line counter starts at
// 999 so the first row opens a page. The caller's variable is left as it
// was, so one variable holding 0 serves several sheet prints in a row.
class SheetPrint {
public:
    SheetPrint(int& fileNum, const std::string& fileName, const std::string& sheetName, bool landscape);
    // A print that keeps nothing: what is written to it is only counted, so
    // that the lines rows take are known before they are printed.
    struct Scratch {};
    explicit SheetPrint(Scratch);
    ~SheetPrint();  // abandons an own file an error left open
    SheetPrint(const SheetPrint&) = delete;
    SheetPrint& operator=(const SheetPrint&) = delete;

    Out out() const { return Out(fn_); }
    int FileNum() const { return fn_; }
    // Whether a row of `rowLines` lines (with what it writes before itself)
    // would pass the page's length: a page is full once its count passes it.
    bool PageFull(int rowLines = 1) const { return lines + rowLines - 1 > PrintLayout().Page_Lines; }
    // Writes the page header; the caller then writes its title and headings
    // and adds their lines.
    void NewPage();
    // Closes an own file and prints it with the orientation given.
    void Finish(int orientation = 2);

    int page = 0;
    int lines = 999;

private:
    int fn_;
    bool own_;
    std::string path_, sheetName_;
};

// The lines `write` takes on a page, found on a print that keeps nothing: a
// row's figures too wide for their fields, or a wrapped name, may take more
// than one, and the group lines written before it count with it.
int LinesOf(const std::function<void(SheetPrint&)>& write);

// A sheet whose columns need several page widths prints its rows in sets, a
// page for each block of columns; every page of a set holds the same rows,
// the first of them the row after the set before. Where a set ends is decided
// once for all its pages, from the lines each row takes (with what it writes
// before itself) on whichever page it takes most: a row of figures too wide
// for their fields may go on on a further line in one block only.
struct ColumnPages {
    int blocks = 1;
    // Writes block b's headings on a page just begun, adding their lines.
    std::function<void(SheetPrint&, int block)> heading;
    // Writes the recordset's current row in block b, adding its lines.
    std::function<void(SheetPrint&, int block)> row;
};
// Prints the rows of rs from its current row to its end in sets of pages.
void PrintColumnPages(SheetPrint& sp, db::Recordset& rs, const ColumnPages& pages);

// Sends a print file to the printer. Returns 0 printed, 1 no usable printer,
// 2 the file could not be read (both told to the user, nothing printed), or
// kPrinterError when the printer failed part way (told to the user; the
// printer's document is aborted) or did not take the finished document (told,
// with the PDF its pages went to instead). The status line says where each
// print went. An orientation other than 1 or 2 becomes 2.
int Print_File(const std::string& path, int& orientation);
inline constexpr int kPrinterError = 482;
// Says in the status line that a print failed, with the first line of why, so
// that no earlier print's word stays there.
void TellPrintFailed(const std::string& why);

// Without a printer, or when the printer does not take them, the pages go to
// a file, and every print says where in a message. While one of these lives,
// Print_File keeps the files instead, for the caller to name them all in one
// message once its prints are done; and the prints are one batch for the
// printer, which joins them into the file chosen in Printer Setup.
class PrintedToFiles {
public:
    PrintedToFiles();
    ~PrintedToFiles();
    PrintedToFiles(const PrintedToFiles&) = delete;
    PrintedToFiles& operator=(const PrintedToFiles&) = delete;
    const std::vector<std::string>& Files() const { return files_; }
    // Prints that failed so far, each told on its own.
    int Failures() const { return failures_; }
    // The last print's pages wait in the file that joins the batch's
    // documents (the one chosen in Printer Setup), written out by End.
    bool LastJoined() const { return lastJoined_; }
    // Ends the batch: writes out the file that joins its documents. False,
    // with a message, when that file could not be written; none of the pages
    // joined into it is kept then.
    bool End();
    // Tells the user where the pages went, when any went to a file, and
    // whether a printer did not take them or there was none; names the
    // worksheets that were not printed. The status line says the outcome.
    void Tell(const std::vector<std::string>& notPrinted = {}) const;

private:
    friend int Print_File(const std::string&, int&);
    std::vector<std::string> files_;
    // Of files_, those a printer failed to take, with why (the failure's first line).
    std::vector<std::pair<std::string, std::string>> causes_;
    std::string missed_;  // the printer the batch's kept files were meant for; "" when none was known
    std::string joined_;                 // the file the batch's documents were joined into
    int failures_ = 0;
    bool lastJoined_ = false;
    bool ended_ = false;
    PrintedToFiles* outer_;
};
// The whole-report file: the report's folder, the provider number without the
// characters a file name cannot hold, ".PRT".
std::string WholeReportPath();

// The program's version as the page header prints it.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;

}  // namespace vt::print
