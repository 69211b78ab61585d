#include "shell/guard.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <exception>
#include <string>

#include "platform/grid/grid_qt.h"
#include "platform/ui/ui.h"
#include "store/report.h"

namespace vt::gui {
namespace {

std::string Plain(QString text) { return text.remove('&').trimmed().toStdString(); }

// The command the user gave that led to an event: the button or menu item by
// its caption, anything else by the title of its window.
std::string CommandName(QObject* receiver) {
    if (auto* button = qobject_cast<QAbstractButton*>(receiver)) return Plain(button->text());
    if (auto* action = qobject_cast<QAction*>(receiver)) return Plain(action->text());
    if (auto* menu = qobject_cast<QMenu*>(receiver); menu && menu->activeAction())
        return Plain(menu->activeAction()->text());
    if (auto* widget = qobject_cast<QWidget*>(receiver); widget && widget->window())
        return Plain(widget->window()->windowTitle());
    return "";
}

// Told straight to the user: a failure is never only logged.
void TellCommandFailed(const std::string& command, const std::string& why) {
    try {
        ui::Ui().Beep();
        ui::Ui().MessageBox((command.empty() ? std::string("The command") : "The command \"" + command + "\"") +
                                " could not be completed:\n\n" + why,
                            ui::kCritical, "Error");
    } catch (...) {
        // Nothing is left to tell it with; the program goes on.
    }
}

}  // namespace

void RunGuarded(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        ui::Ui().Beep();
        Show_Message(e.what(), ui::kCritical, "Error");
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        TellCommandFailed(CommandName(receiver), e.what());
    } catch (...) {
        TellCommandFailed(CommandName(receiver), "Unknown error");
    }
    return false;
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
