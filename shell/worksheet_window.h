// What every worksheet editor and viewer is to the rest of the program: a
// window named "frmEdit"/"frmView" and the worksheet code, captioned "Edit
// Worksheet <code>" / "View Worksheet <code>", with the public FormSetup and
// SetGrd that other parts call to refresh it, its grid `grd` and its button
// strip `picButtons`. The shared behaviour of closing, deactivating and
// resizing lives here; the editor and viewer families add their buttons.
#pragma once

#include <QWidget>

#include <string>

#include "platform/grid/grid_qt.h"

namespace vt::gui {

class WorksheetWindow : public QWidget {
    Q_OBJECT
public:
    ~WorksheetWindow() override;

    std::string FormName() const;
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // Loading: the window fills its headings and sets itself up.
    virtual void Form_Load() = 0;
    // Caption, grid and buttons; may run any number of times.
    virtual void FormSetup() = 0;
    // Binds and lays out the grid again. Windows without it say so (the J
    // windows), and the general refresh passes them by.
    virtual bool HasSetGrd() const { return true; }
    virtual void SetGrd() {}

    grid::Grid* grd = nullptr;
    QWidget* picButtons = nullptr;

protected:
    explicit WorksheetWindow(const std::string& formName, QWidget* parent = nullptr);

    // Before the window goes: the open cell is stored; cancel keeps it open.
    virtual void Form_QueryUnload(bool& cancel);
    // The open cell is stored when the window loses activation.
    virtual void Form_Deactivate();
    virtual void Form_Resize() {}

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
};

}  // namespace vt::gui
