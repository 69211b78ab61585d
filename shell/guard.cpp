#include "shell/guard.h"

#include <QPointer>
#include <QWidget>

#include <exception>
#include <string>

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
    if (window_) window_->setEnabled(false);
    ui::Ui().SetBusy(true);
}

BusyFrame::~BusyFrame() {
    ui::Ui().SetBusy(false);
    if (window_ && wasEnabled_) window_->setEnabled(true);
}

}  // namespace vt::gui
