#include "shell/guard.h"

#include <QPointer>
#include <QWidget>

#include <exception>
#include <string>

#include "platform/grid/grid_qt.h"
#include "platform/ui/ui.h"
#include "store/report.h"

namespace vt::gui {

void Run_Guarded(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        ui::Ui().Beep();
        Show_Message(e.what(), ui::kCritical, "Error");
    }
}

BusyFrame::BusyFrame(QWidget* window) : window_(window), wasEnabled_(window && window->isEnabled()) {
    if (window_ && wasEnabled_) {
        focus_ = window_->focusWidget();
        for (QWidget* w = focus_; w && w != window_; w = w->parentWidget())
            if (auto* g = qobject_cast<grid::Grid*>(w)) grid_ = g;
    }
    if (window_) window_->setEnabled(false);
    ui::Ui().SetBusy(true);
}

BusyFrame::~BusyFrame() {
    ui::Ui().SetBusy(false);
    if (!window_ || !wasEnabled_) return;
    window_->setEnabled(true);
    if (grid_ && grid_->isVisible()) grid_->TakeKeyboard();
    else if (focus_ && focus_->isVisible() && focus_->isEnabled()) focus_->setFocus(Qt::OtherFocusReason);
}

}  // namespace vt::gui
