#include "shell/headings.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/grid/grid_qt.h"
#include "platform/ui/twips_qt.h"
#include "shell/text.h"
#include "store/services.h"

namespace vt::gui {
namespace {

const TextMeasurer* installed = nullptr;

// Whole numbers as the forms' Integer variables took them: halves to even.
long ToInteger(double x) { return std::lrint(x); }

std::string Blanks(long n) { return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string(); }

struct Metrics {
    double c = 0;  // width of one blank, as two blanks less one
    double q = 0;  // a quarter blank, the step widths are taken in
    double u = 0;  // room for text
};

Metrics MetricsFor(const TextMeasurer& m, double width) {
    Metrics k;
    k.c = static_cast<double>(ToInteger(m.TextWidth("  ") - m.TextWidth(" ")));
    k.q = std::max(static_cast<double>(ToInteger(k.c / 4)), 1.0);
    k.u = std::floor(width / k.q) * k.q - 2 * k.c;
    return k;
}

// The text broken into trimmed lines that fit the room: at the last blank
// before the room is reached, at a carriage return, or inside a word wider
// than the room (after the character that reaches it). Every character lands
// in some line. maxLines < 0: no limit.
std::vector<std::string> BreakLines(const TextMeasurer& m, const std::string& text, double room, int maxLines) {
    std::vector<std::string> lines;
    if (room <= 0) return lines;  // no room for a single character
    const int n = static_cast<int>(text.size());
    int p = 0;
    while (p < n && (maxLines < 0 || static_cast<int>(lines.size()) < maxLines)) {
        while (p < n && text[static_cast<size_t>(p)] == ' ') ++p;
        if (p >= n) break;
        int brk = -1;
        bool marked = false;
        for (int i = p;; ++i) {
            if (i >= n) {
                brk = n - 1;
                break;
            }
            const char ch = text[static_cast<size_t>(i)];
            if (ch == '\r') {
                brk = i - 1;
                break;
            }
            if (ch == ' ') {
                brk = i - 1;
                marked = true;
            }
            if (m.TextWidth(text.substr(static_cast<size_t>(p), static_cast<size_t>(i - p + 1))) >= room) {
                if (!marked) brk = i;
                break;
            }
        }
        lines.push_back(brk >= p ? Trim(text.substr(static_cast<size_t>(p), static_cast<size_t>(brk - p + 1))) : "");
        p = brk + 1;
        while (p < n && text[static_cast<size_t>(p)] == '\r') ++p;
    }
    return lines;
}

// Blanks that centre a text in the room: lead before it, the rest after.
struct Centring {
    long lead = 0, trail = 0;
};

Centring CentreLine(const TextMeasurer& m, const std::string& line, const Metrics& k) {
    const double w = m.TextWidth(line);
    const long t = k.u > w && k.c > 0 ? static_cast<long>(std::floor((k.u - w) / k.c)) : 0;
    const long lead = ToInteger(t / 2.0);
    return {lead, t - lead};
}

Centring CentreNumber(const TextMeasurer& m, const std::string& number, const Metrics& k) {
    const double w = m.TextWidth(number);
    const long t = k.c > 0 ? std::max(static_cast<long>(RoundDouble((k.u - w) / k.c, 0)), 0L) : 0;
    const long lead = ToInteger(t / 2.0);
    return {lead, t - lead};
}

std::string PushedDown(const std::vector<std::string>& lines, int headLines) {
    std::string out;
    for (int k = static_cast<int>(lines.size()); k < headLines - 1; ++k) out += '\r';
    for (const auto& line : lines) out += line + '\r';
    return out;
}

}  // namespace

ColHeading::ColHeading(std::string colNum, std::string headText)
    : ColNum(std::move(colNum)), HeadText(std::move(headText)) {
    if (ColNum.size() > 10) ColNum.resize(10);
    if (HeadText.size() > 100) HeadText.resize(100);
}

double FontMeasurer::TextWidth(const std::string& text) const {
    return ui::Twips(QFontMetricsF(font_).horizontalAdvance(Q(text)));
}

double FixedMeasurer::TextWidth(const std::string& text) const {
    return perChar_ * static_cast<double>(text.size());
}

const TextMeasurer& HeadingMeasurer() {
    if (installed) return *installed;
    static std::unique_ptr<FontMeasurer> headerFont;
    if (!headerFont) headerFont = std::make_unique<FontMeasurer>(QApplication::font("QHeaderView"));
    return *headerFont;
}

// Every refresh captions every column again; measuring the words in the font
// each time cost more than reading the rows. Keyed by all that the wrap
// depends on; a new measurer starts it afresh.
namespace {
using WrapKey = std::tuple<std::string, std::string, double, int, bool>;
std::map<WrapKey, std::string>& Wrapped() {
    static std::map<WrapKey, std::string> wrapped;
    return wrapped;
}
}  // namespace

void InstallHeadingMeasurer(const TextMeasurer* measurer) {
    installed = measurer;
    Wrapped().clear();
}

std::string WrapHeading(const std::string& colNum, const std::string& headText, double width, int headLines,
                         bool rightAligned) {
    auto& wrapped = Wrapped();
    WrapKey key{colNum, headText, width, headLines, rightAligned};
    if (auto found = wrapped.find(key); found != wrapped.end()) return found->second;
    if (wrapped.size() > 20000) wrapped.clear();
    const TextMeasurer& m = HeadingMeasurer();
    const Metrics k = MetricsFor(m, width);
    std::vector<std::string> lines = BreakLines(m, Trim(headText), k.u, -1);
    for (auto& line : lines) {
        const Centring c = CentreLine(m, line, k);
        line = rightAligned ? line + Blanks(c.lead + c.trail) : Blanks(c.lead) + line;
    }
    std::string caption = PushedDown(lines, headLines);
    const std::string number = Trim(colNum);
    if (!number.empty()) {
        const Centring c = CentreNumber(m, number, k);
        caption += rightAligned ? number + Blanks(c.lead + c.trail) : Blanks(c.lead) + number;
    } else if (static_cast<int>(std::count(caption.begin(), caption.end(), '\r')) >= headLines) {
        // No number line below a heading that fills every line: the empty
        // line would push the text out of the heading.
        caption.pop_back();
    }
    return wrapped[std::move(key)] = caption;
}

void FitColumnToHeadingWords(grid::Grid& grid, int col, const std::string& headText) {
    const TextMeasurer& m = HeadingMeasurer();
    double widest = 0;
    size_t p = 0;
    while (p < headText.size()) {
        const size_t end = std::min(headText.find_first_of(" \r", p), headText.size());
        if (end > p) widest = std::max(widest, m.TextWidth(headText.substr(p, end - p)));
        p = end + 1;
    }
    if (widest <= 0) return;
    // The wrap breaks inside a word whose width reaches the room it leaves:
    // the width in whole quarter blanks less a blank on either side.
    const Metrics k = MetricsFor(m, 0);
    const double needed = (std::floor((widest + 2 * k.c) / k.q) + 1) * k.q;
    if (needed > grid.Columns(col).Width()) grid.Columns(col).SetWidth(needed);
}

void Set_Column_Caption(grid::Grid& grid, int col, const std::string& colNum, std::string& headText) {
    headText = Trim(headText);
    auto column = grid.Columns(col);
    column.SetCaption(WrapHeading(colNum, headText, column.Width(), grid.HeadLines(),
                                   column.Alignment() == grid::kAlignRight));
}

void FitHeadingHeight(grid::Grid& grid) {
    int lines = grid.HeadLines();
    for (int s = 0; s < grid.SplitCount(); ++s)
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            if (!grid.Splits(s).Columns(c).Visible()) continue;
            const std::string caption = grid.Columns(c).Caption();
            lines = std::max(lines, static_cast<int>(std::count(caption.begin(), caption.end(), '\r')) + 1);
        }
    // As the grid sizes its heading row for its heading lines.
    for (int s = 0; s < grid.SplitCount(); ++s) {
        QHeaderView* header = grid.Pane(s)->horizontalHeader();
        header->setFixedHeight(QFontMetrics(header->font()).lineSpacing() * lines + 8);
    }
}

std::string Wrap_Text(const Value& colNum, std::string& headText, double width, int lines) {
    headText = Trim(headText);
    const std::string number = Trim(colNum.ToText());
    const bool hasNumber = !number.empty() && !(IsNumeric(colNum) && colNum.ToDouble() == 0);
    if (!hasNumber && headText.empty()) return " ";
    const TextMeasurer& m = HeadingMeasurer();
    const Metrics k = MetricsFor(m, width);
    std::vector<std::string> wrapped = BreakLines(m, headText, k.u, hasNumber ? lines - 1 : lines);
    for (auto& line : wrapped) {
        const Centring c = CentreLine(m, line, k);
        line = Blanks(c.lead) + line + Blanks(c.trail);
    }
    std::string caption = PushedDown(wrapped, lines);
    if (hasNumber) {
        const Centring c = CentreNumber(m, number, k);
        caption += Blanks(c.lead) + number + Blanks(c.trail);
    }
    return caption;
}

}  // namespace vt::gui
