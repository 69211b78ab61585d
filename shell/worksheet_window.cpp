#include "shell/worksheet_window.h"

#include <QCloseEvent>

#include "shell/forms.h"
#include "shell/guard.h"
#include "shell/text.h"
#include "shell/worksheet_windows.h"

namespace vt::gui {

WorksheetWindow::WorksheetWindow(const std::string& formName, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(Q(formName));
    setAttribute(Qt::WA_DeleteOnClose);
    if (QWidget* main = MainForm()) setWindowIcon(main->windowIcon());
    FormLoaded(this);
}

WorksheetWindow::~WorksheetWindow() { FormUnloaded(this); }

std::string WorksheetWindow::FormName() const { return S(objectName()); }
std::string WorksheetWindow::Caption() const { return S(windowTitle()); }
void WorksheetWindow::SetCaption(const std::string& caption) { setWindowTitle(Q(caption)); }

void WorksheetWindow::Form_QueryUnload(bool& cancel) {
    if (grd) Save_Grid_Row(*grd, cancel);
}

void WorksheetWindow::Form_Deactivate() {
    if (grd && grd->DataChanged()) RunGuarded([this] { grd->UpdateRecord(); });
}

void WorksheetWindow::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    RunGuarded([&] { Form_QueryUnload(cancel); });
    if (cancel) {
        event->ignore();
        return;
    }
    FormUnloaded(this);
    event->accept();
}

void WorksheetWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!isMinimized()) RunGuarded([this] { Form_Resize(); });
}

void WorksheetWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) Form_Deactivate();
}

}  // namespace vt::gui
