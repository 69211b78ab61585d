// The editors of worksheet A. Every write to A goes through worksheet A's
// operations (report/components.h), which check the value and carry it
// into the component sheets in one transaction; the grid never stores a cell
// of A itself, it shows what the operation stored. Parts III, IV and V differ
// only in data (their designs); Part I is a window of its own (frmEditAp1).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editors/edit_form.h"
#include "report/components.h"

namespace vt::gui {

class AEditForm : public EditForm {
    Q_OBJECT
protected:
    AEditForm(const std::string& code, std::string keyField) : EditForm(code), key_(std::move(keyField)) {}

    // The operation behind text typed into a cell (or picked from a list);
    // it tells the user itself why it refused.
    virtual AChange StoreField(int row, int col, const std::string& text) = 0;

    // The line number of a shown row, and of the current row (none when no row is shown).
    Currency Line(int row) const { return Field(row, key_).ToCurrency(); }
    std::optional<Currency> CurrentLine() const {
        return grd->Row() >= 0 ? std::optional(Line(grd->Row())) : std::nullopt;
    }

    // Adds or deletes a line through an operation; the cursor lands on the
    // line the operation names, in column `col` (typing into it after an add).
    void ChangeLinesBy(const std::function<AChange()>& operation, int col, bool edit);

    // The Yes/No pick list: its choice is stored as if typed.
    QMenu* AddYesNoMenu() { return AddPopupMenu("mnuYesNo", {"Yes", "No"}); }

private:
    void grd_BeforeColUpdate(grid::CellUpdate& u) final;
    std::string key_;
};

// ---- Parts III, IV and V: the component lines ----

struct AColumn {
    std::string colNum, headText;
    double width = -1;
    bool date = false;   // shown "mm/dd/yyyy"
    bool yesNo = false;  // centred, with the Yes/No pick list on its cell button
    bool hidden = false;
};

struct ComponentDesign {
    std::string code;
    int part;
    std::vector<AColumn> columns;  // every field of the part's table, in order
    bool frozenNameColumns = false;  // line number and name in a pane of their own
};

class ComponentEditForm : public AEditForm {
    Q_OBJECT
public:
    explicit ComponentEditForm(const ComponentDesign& design);
    void FormSetup() override;

protected:
    void FillHeadings() override;
    std::string RecordSource() const override;
    void LayoutGrid() override;
    bool CellLocked(int row, int col) const override;
    void grd_RowColChange(int lastRow, int lastCol) override;
    void AddLine() override;
    void DeleteLine() override;
    AChange StoreField(int row, int col, const std::string& text) override;

private:
    // Add where OfferALine allows it (its reason as the tooltip where not);
    // Delete on every line but Part IV's line 9.
    void SetButtons();
    const ComponentDesign& d_;
    QMenu* mnuYesNo = nullptr;
};

extern const ComponentDesign kEditAp3, kEditAp4, kEditAp5;

template <const ComponentDesign& Design>
class DesignedComponentEditor : public ComponentEditForm {
public:
    DesignedComponentEditor() : ComponentEditForm(Design) {}
};

using frmEditAp3 = DesignedComponentEditor<kEditAp3>;
using frmEditAp4 = DesignedComponentEditor<kEditAp4>;
using frmEditAp5 = DesignedComponentEditor<kEditAp5>;

}  // namespace vt::gui
