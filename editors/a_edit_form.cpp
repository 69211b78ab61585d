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

// The period ends, acquisition and sale dates, numbered from `first`.
std::vector<AColumn> Dates(int first) {
    std::vector<AColumn> dates;
    for (const char* heading : {"Periods Ending in Fiscal Year From:", "Periods Ending in Fiscal Year To:",
                                "Date Acquired", "Date Sold or Closed"})
        dates.push_back({std::to_string(first++), heading, 1300, true});
    return dates;
}

std::vector<AColumn> Join(std::initializer_list<std::vector<AColumn>> parts) {
    std::vector<AColumn> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

}  // namespace

const ComponentDesign kEditAp3{
    "Ap3",
    3,
    Join({{{"0", "", 600}, {"1", "Component Name Health Care Facilities", 3400}, {"2", "Medicare No.", 1000}},
          Dates(3),
          {{"7", "Medicaid Partic.", 1000, false, true},
           {"8", "Component Cost Reimburse -ment", 1100, false, true},
           {"9", "Medicare Intermediary", 2700},
           {"10", "Medicaid", 2700}}}),
    true,
};

const ComponentDesign kEditAp4{
    "Ap4",
    4,
    Join({{{"0", "", 600}, {"1", "Component Name Other Components", 4300}}, Dates(2)}),
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
    return !AFieldEditable(d_.part, Line(row), grd->Data().FieldName(col));
}

void ComponentEditForm::SetButtons() {
    const std::optional<Currency> current = CurrentLine();
    const ALineOffer offer = OfferALine(d_.part, current);
    cmdAdd->setEnabled(offer.allowed);
    cmdAdd->setToolTip(Q(offer.reason));
    cmdDelete->setEnabled(current && ALineDeletable(d_.part, *current));
}

void ComponentEditForm::grd_RowColChange(int, int) { SetButtons(); }

void ComponentEditForm::AddLine() {
    const std::optional<Currency> current = CurrentLine();
    ChangeLinesBy([&] { return AddALine(d_.part, current); }, 1, true);
}

void ComponentEditForm::DeleteLine() {
    if (const std::optional<Currency> line = CurrentLine())
        ChangeLinesBy([&] { return DeleteALine(d_.part, *line); }, 1, false);
}

AChange ComponentEditForm::StoreField(int row, int col, const std::string& text) {
    return SetAField(d_.part, Line(row), grd->Data().FieldName(col), text);
}

}  // namespace vt::gui
