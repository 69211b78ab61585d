#include "shell/worksheet_windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QStyle>
#include <QTableView>
#include <QWidget>

#include <algorithm>
#include <initializer_list>
#include <cmath>
#include <vector>

#include "platform/grid/grid_qt.h"
#include "platform/ui/twips_qt.h"
#include "report/worksheet_catalogue.h"
#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/open_form.h"
#include "shell/text.h"
#include "shell/worksheet_window.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::gui {

using ui::Px;
using ui::Twips;

namespace {

double WidthOf(const QWidget* w) { return Twips(w->width()); }
double HeightOf(const QWidget* w) { return Twips(w->height()); }
long HalfEven(double x) { return std::lrint(x); }

// The top of a worksheet window of that mode: below the main window's top.
double TopFor(bool edit) {
    double mainTop = 0;
    if (QWidget* main = MainForm()) mainTop = std::max(Twips(main->frameGeometry().top()), 0.0);
    return mainTop + (edit ? 700 : 1100);
}

void Place(QAbstractButton* b, double left, double width) {
    if (b) b->setGeometry(Px(left), b->y(), Px(width), b->height());
}

bool ReportOpen() { return Report().CRF_Database && Report().CRF_Database->IsOpen(); }

bool FrameKnown(const QWidget* w) { return w->isVisible() && w->frameGeometry() != w->geometry(); }

// The frame the window manager puts around a window: its own once it has
// one, before that the main window's (every window gets the same), else none.
QMargins FrameMargins(const QWidget* w) {
    for (const QWidget* framed : {w, static_cast<const QWidget*>(MainForm())}) {
        if (!framed || !FrameKnown(framed)) continue;
        const QRect f = framed->frameGeometry(), g = framed->geometry();
        return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
    }
    return {};
}

QScreen* ScreenOf(const QWidget* w) {
    if (w && w->screen()) return w->screen();
    if (QWidget* main = MainForm(); main && main->screen()) return main->screen();
    return QGuiApplication::primaryScreen();
}

// A window, frame included, narrowed and lowered as far as the screen's
// working area needs, then moved onto it. Before it is shown its frame is
// reckoned as the main window's; a shown window is moved only once the
// window manager has framed it, as a move before would put the inside of
// the window where its frame belongs and its title bar off the screen.
void KeepOnWorkingArea(QWidget* w) {
    QScreen* screen = ScreenOf(w);
    if (!screen || w->isMaximized() || w->isMinimized() || (w->isVisible() && !FrameKnown(w))) return;
    // At a fractional scale factor the window's measures are rounded to
    // whole pixels both ways: a pixel to spare keeps the frame inside.
    const qreal ratio = w->devicePixelRatioF();
    const int spare = ratio == std::floor(ratio) ? 0 : 1;
    const QRect area = screen->availableGeometry().adjusted(spare, spare, -spare, -spare);
    const QMargins m = FrameMargins(w);
    const int width = std::min(w->width(), area.width() - m.left() - m.right());
    const int height = std::min(w->height(), area.height() - m.top() - m.bottom());
    if (width != w->width() || height != w->height()) w->resize(width, height);
    // A window's place is that of its frame.
    const QRect f(w->pos(), QSize(width + m.left() + m.right(), height + m.top() + m.bottom()));
    const int x = std::clamp(f.x(), area.left(), std::max(area.left(), area.right() + 1 - f.width()));
    const int y = std::clamp(f.y(), area.top(), std::max(area.top(), area.bottom() + 1 - f.height()));
    if (x != f.x() || y != f.y()) w->move(x, y);
}

// Once the window manager has framed a shown window (a moment after it
// shows), the whole frame is brought onto the working area: until then the
// frame is only reckoned, and may be unknown altogether.
void KeepOnWorkingAreaOnceFramed(QWidget* w, int tries = 100) {
    if (FrameKnown(w) || !w->isVisible() || tries == 0) {
        KeepOnWorkingArea(w);
        return;
    }
    QTimer::singleShot(20, w, [w, tries] { KeepOnWorkingAreaOnceFramed(w, tries - 1); });
}

// The window's own layout at the size it now has: a hidden window receives
// its resize events only when it is shown, and it is measured before.
void LayOutNow(QWidget* w) {
    QResizeEvent e(w->size(), w->size());
    QCoreApplication::sendEvent(w, &e);
}

// The grid above the button strip; the strip along the bottom edge.
void FitGridAndStrip(grid::Grid* grd, QWidget* strip, double scaleHeight, double scaleWidth) {
    const int width = Px(scaleWidth);
    const double stripHeight = strip ? HeightOf(strip) : 0;
    if (strip) strip->setGeometry(0, Px(scaleHeight - stripHeight), width, strip->height());
    if (grd) grd->setGeometry(0, 0, width, Px(std::max(scaleHeight - stripHeight - 160, 0.0)));
}

}  // namespace

FormMetrics& CurrentFormMetrics() {
    static FormMetrics m;
    return m;
}

double Get_Max_Form_Size(QWidget* form) {
    QScreen* screen = ScreenOf(form);
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    // The window's frame is not part of its inner size.
    const QMargins m = form ? FrameMargins(form) : QMargins();
    CurrentFormMetrics().Max_Form_Height = Twips(area.height() - m.top() - m.bottom());
    return Twips(area.width() - m.left() - m.right());
}

void ShowOnWorkingArea(QWidget* w) {
    if (!w->isVisible()) {
        // Placed by the program, not left to the window manager: centred on
        // the main window, or on the working area without one.
        if (!w->testAttribute(Qt::WA_Moved)) {
            QWidget* main = MainForm();
            const QRect over = main && main != w && main->isVisible() ? main->frameGeometry()
                                                                       : ScreenOf(w)->availableGeometry();
            const QMargins m = FrameMargins(w);
            w->move(over.center() - QPoint((w->width() + m.left() + m.right()) / 2,
                                           (w->height() + m.top() + m.bottom()) / 2));
        }
        KeepOnWorkingArea(w);
    }
    w->show();
    KeepOnWorkingAreaOnceFramed(w);
}

int Find_Worksheet_Form(std::string& mode, const std::string& code) {
    mode = Upper(mode);
    for (int i = FormCount() - 1; i >= 0; --i) {
        const QWidget* w = FormAt(i);
        if (!w) continue;
        const std::string caption = S(w->windowTitle());
        const std::string name = S(w->objectName());
        if (Upper(Left(caption, 4)) == mode && (Upper(Mid(caption, 15)) == Upper(code) || Mid(name, 7) == code))
            return i;
        if (Upper(name) == Upper(code)) return i;
    }
    return 0;
}

void Open_Worksheet_Form(const std::string& mode, const std::string& code) {
    if (!ReportOpen()) return;  // worksheet windows show an open report only
    std::string m = mode;
    int i = Find_Worksheet_Form(m, code);
    if (i != 0) {
        QWidget* w = FormAt(i);
        if (w->isMinimized()) w->showNormal();
        else {
            w->raise();
            w->activateWindow();
        }
        if (auto* ww = dynamic_cast<WorksheetWindow*>(w); ww && ww->HasSetGrd()) {
            try {
                ww->SetGrd();
            } catch (const std::exception&) {
                // Refreshing an open window is a courtesy; it stays as it was.
            }
        }
        QCoreApplication::processEvents();
        return;
    }

    // Sized and placed before it first shows: a window manager frames and
    // places a window as it is mapped, and a size or place given while it
    // does so may be lost, or put the window's title bar off the screen.
    WorksheetWindow* ww = LoadWorksheetFormHidden(mode, code);
    if (!ww) return;
    QPointer<WorksheetWindow> w = ww;
    auto& metrics = CurrentFormMetrics();
    if (metrics.Max_Form_Width == 0) metrics.Max_Form_Width = Get_Max_Form_Size(w);
    const bool edit = Lower(mode) == "edit";
    const double top = TopFor(edit);
    LayOutNow(ww);
    const auto show = [&] {
        KeepOnWorkingArea(ww);
        ShowLoadedWorksheetForm(ww, mode, code);
        QCoreApplication::processEvents();
        if (w) KeepOnWorkingAreaOnceFramed(w);
    };
    if (!ww->grd) {
        ww->move(Px(std::max(metrics.Max_Form_Width - WidthOf(ww), 0.0) / 2), Px(top));
        show();
        return;
    }
    grid::Grid& grd = *ww->grd;
    Fit_Form_Height(*ww, grd.HeadLines(), grd.Data().RecordCount());
    if (ww->picButtons && HeightOf(ww->picButtons) < 375)
        ww->picButtons->resize(ww->picButtons->width(), Px(375));
    double width = 800 + 42.0 * (grd.SplitCount() - 1);
    for (int s = 0; s < grd.SplitCount(); ++s)
        for (int c = 0; c < grd.ColumnCount(); ++c)
            if (grd.Splits(s).Columns(c).Visible()) width += grd.Splits(s).Columns(c).Width();
    width = std::min(width, metrics.Max_Form_Width);
    double left = std::max(metrics.Max_Form_Width - width, 0.0) / 2;
    ww->resize(Px(width), ww->height());
    LayOutNow(ww);  // its resize handler may hold it to its smallest size
    if (std::abs(WidthOf(ww) - width) > 1) left = std::max(metrics.Max_Form_Width - WidthOf(ww), 0.0) / 2;
    ww->move(Px(left), Px(top));
    show();
}

std::string Open_Adjacent_Worksheet(const std::string& caption, bool previous, bool open) {
    const std::string code = Mid(caption, 15);
    const std::string name = Get_Worksheet_Name(code);
    const std::string sql = std::string("SELECT Item FROM Worksheets WHERE Calc_Lvl < 900 AND ItemName ") +
                            (previous ? "<" : ">") + " ? ORDER BY ItemName" + (previous ? " DESC" : "");
    auto rs = Db().OpenRecordset(sql, {Value(name)});
    const bool edit = Lower(Left(caption, 4)) == "edit";
    std::string found;
    if (rs.RecordCount() > 0) rs.MoveFirst();
    for (; rs.RecordCount() > 0 && !rs.Eof(); rs.MoveNext()) {
        const std::string item = rs.Field(0).ToText();
        const Worksheet* sheet = FindWorksheet(item);
        if (edit && sheet && !sheet->editor) continue;
        found = item;
        break;
    }
    rs.Close();
    if (!found.empty() && open) Open_Worksheet_Form(Left(caption, 4), found);
    return found;
}

void Refresh_Grids(int skip) {
    std::vector<QPointer<QWidget>> forms;
    for (int i = 0; i < FormCount(); ++i) forms.emplace_back(i == skip ? nullptr : FormAt(i));
    for (const auto& w : forms) {
        if (!w) continue;
        const std::string name = Upper(S(w->objectName()));
        if (name.rfind("FRMVIEW", 0) != 0 && name.rfind("FRMEDIT", 0) != 0) continue;
        auto* ww = dynamic_cast<WorksheetWindow*>(w.data());
        if (!ww || !ww->HasSetGrd()) continue;
        try {
            ww->SetGrd();
        } catch (const std::exception&) {
            // One window that cannot rebind does not keep the others stale.
        }
    }
}

bool CloseWorksheetWindows(const std::vector<std::string>& codes) {
    for (const std::string& code : codes)
        for (const char* prefix : {"frmEdit", "frmView"}) {
            QWidget* w = nullptr;
            if (Is_Form_Loaded(prefix + code, &w) && !UnloadForm(w)) return false;
        }
    return true;
}

void SetUpWorksheetWindows(const std::vector<std::string>& codes) {
    for (const std::string& code : codes)
        for (const char* prefix : {"frmEdit", "frmView"}) {
            QWidget* w = nullptr;
            if (!Is_Form_Loaded(prefix + code, &w)) continue;
            if (auto* sheet = dynamic_cast<WorksheetWindow*>(w)) RunGuarded([sheet] { sheet->FormSetup(); });
        }
}

namespace {

// The room a cell's text leaves on either side, in pixels.
QSize CellTextMargins(const QTableView* pane) {
    const QStyle* style = pane->style();
    return {style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, pane) + 1,
            style->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, pane) + 1};
}

}  // namespace

void FitColumnToText(grid::Grid& grd, int col) {
    const QTableView* pane = grd.Pane(0);  // every pane has the grid's font
    const QFontMetrics fm(pane->font());
    int widest = 0;
    for (int r = 0; r < grd.Data().RecordCount(); ++r)
        widest = std::max(widest, fm.horizontalAdvance(Q(grd.Data().FieldValue(r, col).ToText())));
    // One pixel for the grid line.
    const double needed = Twips(widest + 2 * CellTextMargins(pane).width() + 1);
    if (needed > grd.Columns(col).Width()) grd.Columns(col).SetWidth(needed);
}

void FitRowsToWrappedText(grid::Grid& grd, int col) {
    const QTableView* pane = grd.Pane(0);  // every pane has the grid's font
    const QFontMetrics fm(pane->font());
    const QSize margins = CellTextMargins(pane);
    const int width = Px(grd.Columns(col).Width()) - 2 * margins.width() - 1;
    if (width <= 0) return;
    int highest = 0;
    for (int r = 0; r < grd.Data().RecordCount(); ++r) {
        const QRect text = fm.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap,
                                           Q(grd.Data().FieldValue(r, col).ToText()));
        highest = std::max(highest, text.height());
    }
    const double needed = Twips(highest + 2 * margins.height() + 1);
    if (needed > grd.RowHeight()) grd.SetRowHeight(needed);
}

void Fit_Form_Height(WorksheetWindow& form, int headLines, int recordCount) {
    if (form.isMinimized() || form.isMaximized() || !form.grd) return;
    const double rowHeight = form.grd->RowHeight();
    const double heading = std::max(rowHeight * headLines, form.grd->HeaderHeight());
    const double fixed = static_cast<double>(
        static_cast<long>(heading + (HeightOf(&form) - HeightOf(form.grd)) + 250));
    // Reckoned in the whole pixels the window is placed at and the grid
    // draws its rows in: the room from the window's top (a place on the
    // screen; the working area need not start at 0) to the working area's
    // bottom, cut to the rows that fit whole. A row more, or a rounded one,
    // would put the window's bottom below the screen.
    const QScreen* screen = ScreenOf(&form);
    const int areaTop = screen ? screen->availableGeometry().top() : 0;
    const int top = Px(TopFor(Lower(form.FormName()).find("edit") != std::string::npos)) - areaTop;
    const int available = Px(CurrentFormMetrics().Max_Form_Height) - top;
    const int row = std::max(Px(rowHeight), 1), chrome = Px(fixed);
    int height = row * std::max(recordCount, 4) + chrome;
    if (height > available) height = row * std::max((available - chrome) / row, 0) + chrome;
    form.resize(form.width(), height);
}

namespace {

// A window below its smallest size is set to it, and laid out at that size
// at once: the resize comes back later, or never where a window manager
// keeps the window as it is, and until then the strip would stand over the
// grid with buttons out of sight.
std::pair<double, double> AtLeast(QWidget* form, double minWidth, double minHeight) {
    const double width = std::max(WidthOf(form), minWidth), height = std::max(HeightOf(form), minHeight);
    if (WidthOf(form) < minWidth - 0.5 || HeightOf(form) < minHeight - 0.5) form->resize(Px(width), Px(height));
    return {width, height};
}

// The grid above the button strip, the arrows at the strip's two ends, and
// the equal buttons between them, 120 twips apart.
void LayOutStrip(grid::Grid* grd, QWidget* picButtons, QAbstractButton* cmdPrevious,
                   QAbstractButton* cmdNext, double w0, std::initializer_list<QAbstractButton*> buttons,
                   std::pair<double, double> size) {
    const auto [scaleWidth, scaleHeight] = size;
    FitGridAndStrip(grd, picButtons, scaleHeight, scaleWidth);
    if (cmdPrevious) {
        cmdPrevious->move(0, cmdPrevious->y());
        if (cmdNext) cmdNext->move(Px(scaleWidth - WidthOf(cmdNext)), cmdNext->y());
    }
    const double n = static_cast<double>(buttons.size());
    const double b = static_cast<double>(HalfEven((scaleWidth - 480 - 2 * w0 - 120 * (n - 1)) / n));
    const double first = 240 + w0;
    int k = 0;
    for (QAbstractButton* button : buttons) Place(button, first + k++ * (b + 120), b);
}

}  // namespace

void Resize_View_Form(QWidget* form, grid::Grid* grd, QWidget* picButtons, QAbstractButton* cmdRecalculate,
                      QAbstractButton* cmdPrint, QAbstractButton* cmdOpenEdit, QAbstractButton* cmdClose,
                      QAbstractButton* cmdPrevious, QAbstractButton* cmdNext) {
    if (form->isMinimized()) return;
    const double w0 = cmdPrevious ? WidthOf(cmdPrevious) : 0;
    LayOutStrip(grd, picButtons, cmdPrevious, cmdNext, w0, {cmdRecalculate, cmdPrint, cmdOpenEdit, cmdClose},
                  AtLeast(form, 6810 + 2 * w0, 1210));
}

void Resize_Edit_Form(QWidget* form, grid::Grid* grd, QWidget* picButtons, QAbstractButton* cmdAdd,
                      QAbstractButton* cmdDelete, QAbstractButton* cmdOpenView, QAbstractButton* cmdRecalculate,
                      QAbstractButton* cmdClose, QAbstractButton* cmdPrevious, QAbstractButton* cmdNext,
                      double minHeight, double minWidth) {
    if (form->isMinimized()) return;
    const double w0 = cmdPrevious ? WidthOf(cmdPrevious) : 0;
    const double smallest = !cmdPrevious ? 0 : minWidth != 0 ? minWidth : 7620 + 2 * w0;
    LayOutStrip(grd, picButtons, cmdPrevious, cmdNext, w0,
                  {cmdAdd, cmdDelete, cmdOpenView, cmdRecalculate, cmdClose},
                  AtLeast(form, smallest, minHeight != 0 ? minHeight : 1210));
}

void Resize_J_Form(QWidget* form, grid::Grid* grd, QAbstractButton* b1, QAbstractButton* b2,
                   QAbstractButton* b3, QAbstractButton* b4) {
    if (form->isMinimized()) return;
    const double scaleWidth = WidthOf(form), scaleHeight = HeightOf(form);
    if (grd) grd->resize(grd->width(), Px(std::max(scaleHeight - 2 * (b1 ? HeightOf(b1) : 0), 0.0)));
    const double w = std::max(scaleWidth - 1700, 0.0) / 4;
    QAbstractButton* row[] = {b1, b2, b3, b4};
    for (int k = 0; k < 4; ++k) Place(row[k], 250 + k * (w + 400), w);
}

void Save_Grid_Row(grid::Grid& grd, bool& cancel) {
    if (grd.DataChanged() && !grd.UpdateRecord()) cancel = true;
}

}  // namespace vt::gui
