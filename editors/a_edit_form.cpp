#include "editors/a_edit_form.h"

#include "shell/text.h"

namespace vt::gui {

// ---- Worksheet A ----

void AEditForm::grd_BeforeColUpdate(grid::CellUpdate& u) {
    const AChange change = StoreField(u.row, u.column, u.newValue.IsNull() ? std::string() : u.newValue.ToText());
    if (!change.done) {
        u.cancel = true;
        return;
    }
    u.newValue = change.stored;
    u.storedByHandler = true;
}

void AEditForm::ChangeLinesBy(const std::function<AChange()>& operation, int col, bool edit) {
    ChangeLines(
        key_,
        [&]() -> std::optional<Landing> {
            const AChange change = operation();
            if (!change.done) return std::nullopt;
            return Landing{db::FindOp::Eq, change.line ? Value(*change.line) : Value::Null(), false, col, edit};
        },
        /*ownTransaction=*/true);
}

// ---- Parts III, IV and V ----

namespace {

AColumn Date(const char* colNum, const char* headText) { return {colNum, headText, 1300, true}; }
AColumn YesNo(const char* colNum, const char* headText, double width) {
    return {colNum, headText, width, false, true};
}

}  // namespace

const ComponentDesign kEditAp3{
    "Ap3",
    3,
    {
        {"0", "", 600},
        {"1", "Component Name Health Care Facilities", 3400},
        {"2", "Medicare No.", 1000},
        Date("3", "Periods Ending in Fiscal Year From:"),
        Date("4", "Periods Ending in Fiscal Year To:"),
        Date("5", "Date Acquired"),
        Date("6", "Date Sold or Closed"),
        YesNo("7", "Medicaid Partic.", 1000),
        YesNo("8", "Component Cost Reimburse -ment", 1100),
        {"9", "Medicare Intermediary", 2700},
        {"10", "Medicaid", 2700},
    },
    true,
};

const ComponentDesign kEditAp4{
    "Ap4",
    4,
    {
        {"0", "", 600},
        {"1", "Component Name Other Components", 4300},
        Date("2", "Periods Ending in Fiscal Year From:"),
        Date("3", "Periods Ending in Fiscal Year To:"),
        Date("4", "Date Acquired"),
        Date("5", "Date Sold or Closed"),
    },
};

const ComponentDesign kEditAp5{
    "Ap5",
    5,
    {
        {"", "", 600},
        {"1", "Name", 3500},
        {"2", "City", 2100},
        {"3", "State", 800},
        {"4", "Costs Incl. Amount", 1300, false, false, true},
        {"5", "Sep. Stmt: Yes", 800},
        {"6", "Sep. Stmt: No", 800},
        {"7", "Designated intermediary", 2100},
    },
};

ComponentEditForm::ComponentEditForm(const ComponentDesign& design)
    : AEditForm(design.code, "LineNum"), d_(design) {
    for (const AColumn& c : d_.columns)
        if (c.yesNo) mnuYesNo = AddYesNoMenu();
    grd->ButtonClick = [this](int col) {
        if (mnuYesNo && col >= 0 && col < static_cast<int>(d_.columns.size()) &&
            d_.columns[static_cast<size_t>(col)].yesNo)
            PopupMenu(mnuYesNo);
    };
}

void ComponentEditForm::FillHeadings() {
    for (const AColumn& c : d_.columns) ColHeadings.emplace_back(c.colNum, c.headText);
}

std::string ComponentEditForm::RecordSource() const { return "SELECT * FROM " + d_.code + " ORDER BY LineNum;"; }

void ComponentEditForm::LayoutGrid() {
    if (d_.frozenNameColumns) {
        grd->AddSplit();
        grd->Splits(1).SetRecordSelectors(false);
    }
    for (int col = 0; col < grd->ColumnCount() && col < static_cast<int>(d_.columns.size()); ++col) {
        const AColumn& c = d_.columns[static_cast<size_t>(col)];
        grid::Column all = grd->Columns(col);
        all.SetWidth(c.width).SetVisible(!c.hidden);
        if (c.date) all.SetNumberFormat("mm/dd/yyyy");
        if (c.yesNo) all.SetAlignment(grid::kAlignCenter).SetButton(true);
        if (d_.frozenNameColumns) {
            grd->Splits(0).Columns(col).SetVisible(col < 2);
            grd->Splits(1).Columns(col).SetVisible(col >= 2);
        }
    }
    grd->Columns(0).SetLocked(true);
    grd->SetHeadLines(5);
}

void ComponentEditForm::FormSetup() {
    EditForm::FormSetup();
    SetButtons();  // an empty part too: Add makes its first line
}

bool ComponentEditForm::CellLocked(int row, int col) const {
    return !A_Field_Editable(d_.part, Line(row), grd->Data().FieldName(col));
}

void ComponentEditForm::SetButtons() {
    const std::optional<Currency> current = HasCurrentLine() ? std::optional(Line(grd->Row())) : std::nullopt;
    const ALineOffer offer = A_Line_Offer(d_.part, current);
    cmdAdd->setEnabled(offer.allowed);
    cmdAdd->setToolTip(Q(offer.reason));
    cmdDelete->setEnabled(current && A_Line_Deletable(d_.part, *current));
}

void ComponentEditForm::grd_RowColChange(int, int) { SetButtons(); }

void ComponentEditForm::AddLine() {
    const std::optional<Currency> current = HasCurrentLine() ? std::optional(Line(grd->Row())) : std::nullopt;
    ChangeLinesBy([&] { return Add_A_Line(d_.part, current); }, 1, true);
}

void ComponentEditForm::DeleteLine() {
    if (!HasCurrentLine()) return;
    const Currency line = Line(grd->Row());
    ChangeLinesBy([&] { return Delete_A_Line(d_.part, line); }, 1, false);
}

AChange ComponentEditForm::StoreField(int row, int col, const std::string& text) {
    return Set_A_Field(d_.part, Line(row), grd->Data().FieldName(col), text);
}

}  // namespace vt::gui
