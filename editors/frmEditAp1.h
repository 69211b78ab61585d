// Worksheet A Part I's editor: the home office's answers, one line each, and
// its key officers from line 9 on (added and deleted here). The lines that
// carry the report's identity are changed only in the provider information
// dialog, which trying to edit them opens; lines 7 and 8 answer from pick
// lists; 8.01 is answered only for the three "other" types of organisation.
#pragma once

#include "editors/a_edit_form.h"

namespace vt::gui {

class frmEditAp1 : public AEditForm {
    Q_OBJECT
public:
    frmEditAp1();
    void FormSetup() override;
    void SetGrd() override;

    QMenu* mnuYesNo;
    QMenu* mnuType;

protected:
    void FillHeadings() override { ColHeadings.assign(3, ColHeading()); }
    std::string RecordSource() const override { return "SELECT * FROM Ap1 ORDER BY SeqNum;"; }
    void LayoutGrid() override;
    bool HasPrevious() const override { return false; }
    bool CellLocked(int row, int col) const override;
    void grd_RowColChange(int lastRow, int lastCol) override;
    void grd_AfterColUpdate(int col) override;
    void AddLine() override;
    void DeleteLine() override;
    AChange StoreField(int row, int col, const std::string& text) override;

private:
    void grd_BeforeColEdit(int col, int key, bool& cancel);
    QMenu* PickList(Currency seq) const;
    // The dialog opened on the box of identity line `seq`, holding `key`
    // (0: none), the first key typed there.
    void OpenProviderInformation(Currency seq, int key);
};

}  // namespace vt::gui
