// Column headings of the editors and viewers: the heading record, the text
// widths they are measured with, and the wrapping of a heading into the
// grid's heading lines (words broken at blanks, each line centred with
// blanks, the text pushed down to just above the column number).
#pragma once

#include <QFont>

#include <string>

#include "platform/value/value.h"

namespace vt::grid {
class Grid;
}

namespace vt::gui {

// One grid column's heading. Stored texts are cut to the record's sizes.
struct ColHeading {
    ColHeading() = default;
    ColHeading(std::string colNum, std::string headText);
    std::string ColNum;    // at most 10 characters: the number on the form, or ""
    std::string HeadText;  // at most 100 characters
};

// Widths of texts in twips.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual double TextWidth(const std::string& text) const = 0;
};

// In a font, on the screen.
class FontMeasurer : public TextMeasurer {
public:
    explicit FontMeasurer(const QFont& font) : font_(font) {}
    double TextWidth(const std::string& text) const override;

private:
    QFont font_;
};

// Every character the same width: tests wrap the same on every machine.
class FixedMeasurer : public TextMeasurer {
public:
    explicit FixedMeasurer(double twipsPerCharacter) : perChar_(twipsPerCharacter) {}
    double TextWidth(const std::string& text) const override;

private:
    double perChar_;
};

// The measurer headings are wrapped with: by default the font of the grids'
// headings. Tests install a fixed one (not owned; nullptr restores the default).
const TextMeasurer& HeadingMeasurer();
void InstallHeadingMeasurer(const TextMeasurer* measurer);

// The caption of a column `width` twips wide with `headLines` heading lines;
// a right-aligned column puts its centring blanks after the text.
std::string WrapHeading(const std::string& colNum, const std::string& headText, double width, int headLines,
                         bool rightAligned);
// A column at least wide enough for the longest word of its heading, so that
// the heading breaks between words only.
void FitColumnToHeadingWords(grid::Grid& grid, int col, const std::string& headText);
// Sets the caption of a grid column from a heading; the text is trimmed in
// the caller's variable. The width is that of the first pane showing the column.
void Set_Column_Caption(grid::Grid& grid, int col, const std::string& colNum, std::string& headText);
// The grid's heading row as tall as its tallest shown caption, and never
// lower than its heading lines: a heading wrapped into more lines than those
// shows whole instead of losing its top.
void FitHeadingHeight(grid::Grid& grid);
// The caption text for a column `width` twips wide in `lines` heading lines;
// a column number of 0 (or none) has no number line.
std::string Wrap_Text(const Value& colNum, std::string& headText, double width, int lines = 4);

}  // namespace vt::gui
