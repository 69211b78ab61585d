// Printing chosen worksheets: the picking window `frmSelectivePrints` lives
// inside its parent window `frmImportMDI`. The parent closes itself half a
// second after its child closed, unless a new child opened meanwhile.
#pragma once

#include <QMainWindow>
#include <QMdiSubWindow>

#include <string>

class QLabel;
class QListWidget;
class QMdiArea;
class QPushButton;
class QTimer;

namespace vt::gui {

class frmImportMDI : public QMainWindow {
    Q_OBJECT
public:
    frmImportMDI();
    ~frmImportMDI() override;

    QMdiArea* mdiArea;
    QTimer* tmrMDIClose;

    // A child closed: the parent follows in 500 ms. A child opened: it stays.
    void ChildClosed();
    void ChildOpened();

public slots:
    void tmrMDIClose_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
};

class frmSelectivePrints : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit frmSelectivePrints(frmImportMDI* parent);
    ~frmSelectivePrints() override;

    QLabel* Label2;
    QListWidget* lbWorksheets;
    QPushButton* cmdSelectAll;
    QPushButton* cmdClearAll;
    QPushButton* cmdPrint;

    // The print code of an entry: what follows its last "(", without the ")".
    static std::string PrintCode(const std::string& entry);

public slots:
    void cmdSelectAll_Click();
    void cmdClearAll_Click();
    void cmdPrint_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void MarkAll(bool selected);
    frmImportMDI* parent_;
};

// Shows the picking window in its parent, loading either when it is not open.
void ShowSelectivePrints();

}  // namespace vt::gui
