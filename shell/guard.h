// Every command of a window runs inside these: an operation that fails is
// told to the user instead of ending the program, and a long one shows the
// hourglass over its disabled window until it ends, however it ends.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace vt::grid {
class Grid;
}

namespace vt::gui {

// Runs f; a failure (an exception) is reported with a critical message box.
void RunGuarded(const std::function<void()>& f);

// The program's application object. An exception that an event handler of any
// window lets escape ends at the event loop: the user is told which command
// failed and why, and the program goes on with the report as the handler's
// own undoing left it.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

// The window disabled and the hourglass shown while it lives. Disabling a
// window takes the keyboard out of it; the frame gives it back where it was
// (in a grid: the cell being typed into, or the pane of the current cell, so
// that the next key lands where the cursor is).
class BusyFrame {
public:
    explicit BusyFrame(QWidget* window);
    ~BusyFrame();
    BusyFrame(const BusyFrame&) = delete;
    BusyFrame& operator=(const BusyFrame&) = delete;

private:
    QPointer<QWidget> window_;
    bool wasEnabled_;
    QPointer<QWidget> focus_;
    QPointer<grid::Grid> grid_;
};

}  // namespace vt::gui
