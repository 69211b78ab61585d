#include "shell/j_form.h"

#include "platform/ui/twips_qt.h"
#include "shell/headings.h"
#include "shell/sheet_form.h"
#include "shell/worksheet_windows.h"

namespace vt::gui {

using ui::Px;

namespace {
constexpr double kStripHeight = 600;
}  // namespace

JForm::JForm(const std::string& formName, const std::string& caption) : WorksheetWindow(formName) {
    SetCaption(caption);
    grd = new grid::Grid(this);
    picButtons = new QWidget(this);
    picButtons->setObjectName("picButtons");
    resize(Px(8040), Px(4000));
}

QPushButton* JForm::JButton(const char* name, const char* caption, int place) {
    QPushButton* b =
        MakeStripButton(picButtons, name, caption, QRect(Px(240 + place * 2040), Px(150), Px(1572), Px(300)));
    b->setAutoDefault(false);
    strip_.at(static_cast<size_t>(place)) = b;
    return b;
}

void JForm::CaptionJColumns(int lineCol, int nameCol, int amountCol) {
    struct Heading {
        int col;
        int colNum;
        std::string text;
        double width;
    };
    for (Heading h : {Heading{lineCol, 0, " ", kLineWidth}, Heading{nameCol, 0, "Assets", kNameWidth},
                      Heading{amountCol, 1, "Balance Sheet per Books", kAmountWidth}})
        grd->Columns(h.col).SetCaption(Wrap_Text(Value(h.colNum), h.text, h.width));
}

// The grid above the strip of the four buttons; the strip follows the grid.
void JForm::Form_Resize() {
    Resize_J_Form(this, grd, strip_[0], strip_[1], strip_[2], strip_[3]);
    grd->resize(width(), grd->height());
    picButtons->setGeometry(0, grd->height(), width(), Px(kStripHeight));
}

}  // namespace vt::gui
