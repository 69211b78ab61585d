// The bookkeeping of worksheet windows: finding an open one, opening one in
// its place and size below the main window, stepping to the next or previous
// worksheet in display-name order, asking every open one to rebind, and the
// layouts of the editor, viewer and J windows. Measures are twips.
#pragma once

#include <string>
#include <vector>

class QAbstractButton;
class QWidget;

namespace vt::grid {
class Grid;
}

namespace vt::gui {

class WorksheetWindow;

// Inner size of a maximised worksheet window; width 0 until first measured.
struct FormMetrics {
    double Max_Form_Width = 0;
    double Max_Form_Height = 0;
};
FormMetrics& CurrentFormMetrics();

// Measures the working area a maximised window of the form would have:
// returns its width and stores its height in Max_Form_Height.
double Get_Max_Form_Size(QWidget* form);

// Shows a window wholly inside its screen's working area, title bar and
// frame included: a window not yet shown is narrowed and lowered as far as
// needed and, unless the program placed it, centred on the main window.
void ShowOnWorkingArea(QWidget* w);

// Index (in the list of loaded windows) of the open window of that mode
// ("edit"/"view", upper-cased in the caller's variable) and worksheet code,
// matched by caption or by form name; a form name as the code finds that
// window. 0 when none is open.
int Find_Worksheet_Form(std::string& mode, const std::string& code);

// Brings up the open window of that mode and code and rebinds it, or loads
// one and places it below the main window, sized to its grid.
void Open_Worksheet_Form(const std::string& mode, const std::string& code);

// The worksheet before or after the one in the caption ("" when none); an
// editor's caption passes over the worksheets that have no editor. With
// `open`, opens it in the caption's mode.
std::string Open_Adjacent_Worksheet(const std::string& caption, bool previous, bool open);

// SetGrd on every open worksheet window but the one at index `skip` (-1: none).
void Refresh_Grids(int skip);

// Closes the editor and viewer of each worksheet code, before their tables
// change; false when one would not close (it has told the user why).
bool CloseWorksheetWindows(const std::vector<std::string>& codes);
// FormSetup of the open editor and viewer of each worksheet code, after their
// tables changed shape; a window that fails at it has told the user.
void SetUpWorksheetWindows(const std::vector<std::string>& codes);

// A column at least as wide as the widest text its rows show, and rows at
// least as high as a wrapped column's text needs, in the grid's font.
void FitColumnToText(grid::Grid& grd, int col);
void FitRowsToWrappedText(grid::Grid& grd, int col);

// Height for the window's rows: at least four, at most what fits below its top.
void Fit_Form_Height(WorksheetWindow& form, int headLines, int recordCount);

// Layouts on resize; nothing happens while the window is minimised. A window
// below its smallest size is set to it and laid out at that size at once. `previous`/`extra` may be null (no picture button).
void Resize_View_Form(QWidget* form, grid::Grid* grd, QWidget* picButtons, QAbstractButton* cmdRecalculate,
                      QAbstractButton* cmdPrint, QAbstractButton* cmdOpenEdit, QAbstractButton* cmdClose,
                      QAbstractButton* cmdPrevious, QAbstractButton* cmdNext);
void Resize_Edit_Form(QWidget* form, grid::Grid* grd, QWidget* picButtons, QAbstractButton* cmdAdd,
                      QAbstractButton* cmdDelete, QAbstractButton* cmdOpenView, QAbstractButton* cmdRecalculate,
                      QAbstractButton* cmdClose, QAbstractButton* cmdPrevious, QAbstractButton* cmdNext,
                      double minHeight = 0, double minWidth = 0);
void Resize_J_Form(QWidget* form, grid::Grid* grd, QAbstractButton* b1, QAbstractButton* b2,
                   QAbstractButton* b3, QAbstractButton* b4);

// Stores the grid's unsaved row; cancel is set when it cannot be stored.
void Save_Grid_Row(grid::Grid& grd, bool& cancel);

}  // namespace vt::gui
