// The grid and its data control over a small table: model consistency, the
// cell path with its events, cancels and refused writes, the open cell, the
// cursor and finds, panes and their layouts.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include "platform/grid/grid_qt.h"
#include "platform/ui/twips_qt.h"
#include "store/services.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

namespace vt::test {
namespace {

using grid::Grid;

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::SetTwipsPerPixel(15);
        db = db::Database::Create(dir.PathOf("grid.db"));
        db->CreateTable("T", {db::CurrencyField("LineNum"), db::TextField("Name", 10, true),
                              db::CurrencyField("Amount"), db::DateField("Since")});
        db->Execute("CREATE UNIQUE INDEX ndx ON T (LineNum)");
        for (int i = 1; i <= 30; ++i)
            db->Execute("INSERT INTO T VALUES (?, ?, ?, '2006-01-01')",
                        {Value(i), Value("Line " + std::to_string(i)), Value(i * 100)});
        grd = std::make_unique<Grid>();
        grd->resize(600, 300);
        grd->Bind(*db, "SELECT * FROM T WHERE LineNum < 100 ORDER BY LineNum;");
    }
    void TearDown() override {
        grd.reset();
        db->Close();
        ui::SetTwipsPerPixel(0);
    }
    Value Stored(int line, const std::string& field) {
        return db->Scalar("SELECT " + field + " FROM T WHERE LineNum = ?", {Value(line)});
    }

    TempFolder dir{"vt-grid"};
    std::unique_ptr<db::Database> db;
    std::unique_ptr<Grid> grd;
    ScriptedUi ui;
};

TEST_F(GridTest, ModelStaysConsistentThroughRebindsRefreshesAndStores) {
    QAbstractItemModelTester tester(&grd->Data(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(std::tuple(grd->Data().RecordCount(), grd->ColumnCount(), grd->Data().Updatable()),
              std::tuple(30, 4, true));
    EXPECT_TRUE(grd->Data().StoreCell(2, 1, Value("Changed")));
    grd->Refresh();
    grd->Bind(*db, "SELECT LineNum, Name FROM T WHERE LineNum > 25 ORDER BY LineNum DESC;");
    EXPECT_EQ(std::tuple(grd->Data().RecordCount(), grd->ColumnCount(), grd->Data().FieldValue(0, "LineNum")),
              std::tuple(5, 2, Value(Currency::FromInt(30))));
}

TEST_F(GridTest, AStoredCellRaisesItsEventsInOrderAndReachesTheTable) {
    std::vector<std::string> events;
    auto& dat = grd->Data();
    dat.BeforeColUpdate = [&](grid::CellUpdate& u) {
        events.push_back("BeforeColUpdate " + std::to_string(u.column) + " old " + u.oldValue.ToText() + " new " +
                         u.newValue.ToText());
        // A handler may rewrite what was typed: amounts are whole dollars here.
        u.newValue = Value(RoundDouble(u.newValue.ToDouble(), 0));
    };
    dat.BeforeUpdate = [&](int row, bool&) { events.push_back("BeforeUpdate " + std::to_string(row)); };
    dat.AfterUpdate = [&](int row) { events.push_back("AfterUpdate " + std::to_string(row)); };
    dat.AfterColUpdate = [&](int, int col, const Value& old) {
        events.push_back("AfterColUpdate " + std::to_string(col) + " old " + old.ToText());
    };

    EXPECT_TRUE(grd->TypeIntoCell(4, 2, "1234.6"));
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeColUpdate 2 old 500 new 1234.6", "BeforeUpdate 4",
                                                "AfterUpdate 4", "AfterColUpdate 2 old 500"}));
    // Only the changed field is written.
    EXPECT_EQ(std::tuple(Stored(5, "Amount"), dat.FieldValue(4, 2), Stored(5, "Name")),
              std::tuple(Value(Currency::FromInt(1235)), Value(Currency::FromInt(1235)), Value("Line 5")));
}

TEST_F(GridTest, ACancelOrAHandlersOwnStoreShowsWhatTheTableHolds) {
    auto& dat = grd->Data();
    int after = 0;
    dat.AfterColUpdate = [&](int, int, const Value&) { ++after; };
    dat.AfterUpdate = [&](int) { ++after; };
    // The handler empties the stored field before it refuses the entry.
    dat.BeforeColUpdate = [&](grid::CellUpdate& u) {
        db->Execute("UPDATE T SET Name = Null WHERE LineNum = 3");
        u.cancel = true;
    };
    EXPECT_FALSE(grd->TypeIntoCell(2, 1, "Refused"));
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(dat.FieldValue(2, 1).IsNull());
    EXPECT_TRUE(Stored(3, "Name").IsNull());

    // A row-level cancel refuses too.
    dat.BeforeColUpdate = nullptr;
    dat.BeforeUpdate = [](int, bool& cancel) { cancel = true; };
    EXPECT_FALSE(dat.StoreCell(3, 1, Value("No")));
    EXPECT_EQ(Stored(4, "Name"), Value("Line 4"));
    EXPECT_EQ(after, 0);

    // A handler that stores the entry itself: the grid shows what it stored,
    // writes nothing of its own, and the after-events follow.
    dat.BeforeColUpdate = [&](grid::CellUpdate& u) {
        db->Execute("UPDATE T SET Name = 'Stored' WHERE LineNum = 5");
        u.newValue = Value("Typed");
        u.storedByHandler = true;
    };
    EXPECT_TRUE(grd->TypeIntoCell(4, 1, "Typed"));
    EXPECT_EQ(dat.FieldValue(4, 1), Value("Stored"));
    EXPECT_EQ(Stored(5, "Name"), Value("Stored"));
    EXPECT_EQ(after, 2);
}

TEST_F(GridTest, AWriteTheTableRefusesIsToldAndTheCellKeepsTheStoredValue) {
    auto& dat = grd->Data();
    int after = 0;
    dat.AfterColUpdate = [&](int, int, const Value&) { ++after; };
    const struct {
        int col;
        const char* text;
    } refused[] = {{2, "abc"}, {2, "1,234"}, {1, "far too long a name"}, {0, "2"}, {3, "2/30/2006"}};
    for (const auto& r : refused) {
        ui.ExpectMessage();
        EXPECT_FALSE(grd->TypeIntoCell(0, r.col, r.text)) << r.text;
    }
    ASSERT_EQ(ui.Messages().size(), 5u);
    for (const auto& m : ui.Messages()) EXPECT_EQ(m.style, ui::kCritical) << m.prompt;
    EXPECT_EQ(after, 0);
    EXPECT_EQ(std::tuple(Stored(1, "Amount"), dat.FieldValue(0, 1), dat.FieldValue(0, 0)),
              std::tuple(Value(Currency::FromInt(100)), Value("Line 1"), Value(Currency::FromInt(1))));

    // Emptied cells store Null (numbers, dates) or "" where the field allows it.
    EXPECT_TRUE(grd->TypeIntoCell(0, 2, " "));
    EXPECT_TRUE(Stored(1, "Amount").IsNull());
    EXPECT_TRUE(grd->TypeIntoCell(0, 1, ""));
    EXPECT_EQ(Stored(1, "Name"), Value(""));
    EXPECT_TRUE(grd->TypeIntoCell(0, 3, "12/31/2006"));
    EXPECT_EQ(Stored(1, "Since").ToText(), "12/31/2006");

    // A full disk: the user reads what was not saved and that the report is
    // as it was, not the database's words. The column is named by its
    // heading's words, not by the blanks and breaks that centre a wrapped one.
    for (auto [caption, named] : {std::pair{"Amount\rPaid", "Amount Paid"},
                                  {"  Expenses\r  per Home\r   Books\r     2", "Expenses per Home Books 2"}}) {
        SCOPED_TRACE(named);
        dat.SetCaption(2, caption);
        db::testing::SetWriteFailure(SQLITE_FULL);
        ui.ClearRecords();
        ui.ExpectMessage();
        EXPECT_FALSE(grd->TypeIntoCell(1, 2, "12345"));
        db::testing::SetWriteFailure(0);
        EXPECT_EQ(ui.Messages(), (Shown{{"The value entered in column \"" + std::string(named) +
                                             "\" was not saved: the disk is full. The report is unchanged.",
                                         ui::kCritical, "Error: Not Saved"}}));
        EXPECT_EQ(std::pair(Stored(2, "Amount"), dat.FieldValue(1, 2)),
                  std::pair(Value(Currency::FromInt(200)), Value(Currency::FromInt(200))));
    }
}

TEST_F(GridTest, AnOpenCellIsPendingUntilStoredAndCodeMovesStoreItFirst) {
    EXPECT_FALSE(grd->DataChanged());
    EXPECT_FALSE(grd->TypeIntoCell(1, 1, "Typed", /*store=*/false));
    EXPECT_TRUE(grd->EditActive());
    EXPECT_TRUE(grd->DataChanged());
    EXPECT_EQ(grd->EditText(), "Typed");
    EXPECT_EQ(Stored(2, "Name"), Value("Line 2"));
    EXPECT_TRUE(grd->UpdateRecord());
    EXPECT_FALSE(grd->DataChanged());
    EXPECT_EQ(Stored(2, "Name"), Value("Typed"));

    grd->TypeIntoCell(5, 1, "Moved off", false);
    grd->SetCurrentCell(9, 1);
    EXPECT_EQ(Stored(6, "Name"), Value("Moved off"));
    EXPECT_EQ(grd->Row(), 9);

    // Opening a cell and typing nothing stores nothing.
    int stores = 0;
    grd->Data().BeforeColUpdate = [&](grid::CellUpdate&) { ++stores; };
    ASSERT_TRUE(grd->StartEdit());
    EXPECT_FALSE(grd->DataChanged());
    EXPECT_TRUE(grd->UpdateRecord());
    EXPECT_EQ(stores, 0);
}

TEST_F(GridTest, LockedColumnsCellRulesAndReadOnlySelectsTakeNoTyping) {
    grd->Columns(1).SetLocked(true);
    EXPECT_FALSE(grd->TypeIntoCell(0, 1, "x"));
    EXPECT_FALSE(grd->Data().flags(grd->Data().index(0, 1)) & Qt::ItemIsEditable);
    grd->CellLockRule = [](int row, int) { return row == 3; };
    EXPECT_FALSE(grd->TypeIntoCell(3, 2, "7"));
    EXPECT_TRUE(grd->TypeIntoCell(4, 2, "7"));
    // A popup choice cannot write into a locked cell either.
    grd->SetCurrentCell(0, 1);
    EXPECT_FALSE(grd->WriteCurrentCell(Value("Yes")));

    grd->Bind(*db, "SELECT Name, Count(*) AS N FROM T GROUP BY Name");
    EXPECT_FALSE(grd->Data().Updatable());
    EXPECT_FALSE(grd->TypeIntoCell(0, 0, "x"));
}

TEST_F(GridTest, BeforeColEditCanRefuseAndAfterColEditNormalisesTheText) {
    int asked = 0;
    grd->BeforeColEdit = [&](int col, int, bool& cancel) {
        ++asked;
        cancel = col == 1;
    };
    EXPECT_FALSE(grd->TypeIntoCell(0, 1, "x"));
    grd->AfterColEdit = [](int, std::string& text) { text += "0"; };
    EXPECT_TRUE(grd->TypeIntoCell(0, 2, "55"));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Stored(1, "Amount"), Value(Currency::FromInt(550)));

    int changes = 0;
    grd->Change = [&] { ++changes; };
    grd->TypeIntoCell(1, 2, "66", false);
    EXPECT_EQ(changes, 1);
    grd->SetEditText("77", 0, 2);
    EXPECT_TRUE(grd->UpdateRecord());
    EXPECT_EQ(Stored(2, "Amount"), Value(Currency::FromInt(770)));
}

TEST_F(GridTest, FindsMakeTheRowCurrentAndMovesAreReported) {
    std::vector<std::pair<int, int>> moves;
    grd->RowColChange = [&](int lastRow, int lastCol) { moves.emplace_back(lastRow, lastCol); };
    EXPECT_TRUE(grd->FindFirst("LineNum", db::FindOp::Ge, Value(12.5)));
    EXPECT_EQ(grd->Row(), 12);
    EXPECT_TRUE(grd->FindLast("Name", db::FindOp::Eq, Value("line 7")));
    EXPECT_EQ(grd->Row(), 6);
    EXPECT_FALSE(grd->FindFirst("LineNum", db::FindOp::Gt, Value(99)));
    EXPECT_EQ(grd->Row(), 6);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 0}, {12, 0}}));

    // A rebind starts again at the first row, and says so.
    grd->Bind(*db, "SELECT * FROM T ORDER BY LineNum DESC");
    EXPECT_EQ(grd->Row(), 0);
    EXPECT_EQ(moves.size(), 3u);
}

TEST_F(GridTest, TheTopRowCanBeReadAndSetAndKeptAcrossARebind) {
    grd->show();
    QApplication::processEvents();
    grd->SetFirstRow(10);
    EXPECT_EQ(grd->FirstRow(), 10);
    const int top = grd->FirstRow();
    grd->Bind(*db, grd->Data().RecordSource());
    grd->SetFirstRow(top);
    EXPECT_EQ(grd->FirstRow(), 10);
}

TEST_F(GridTest, AGridShownTooNarrowShowsTheFirstColumnsOnceItIsWideEnough) {
    for (int c = 0; c < 4; ++c) grd->Columns(c).SetWidth(3000);
    grd->SetCurrentCell(0, 1);
    grd->resize(150, 300);
    grd->show();
    QApplication::processEvents();
    ASSERT_GT(grd->Pane(0)->horizontalScrollBar()->value(), 0);
    grd->resize(600, 300);
    QApplication::processEvents();
    EXPECT_EQ(grd->Pane(0)->horizontalScrollBar()->value(), 0);
}

TEST_F(GridTest, PanesHaveTheirOwnLayoutsAndTheFrozenPaneDoesNotScrollSideways) {
    grd->AddSplit();
    grd->AddSplit();  // never a third pane
    ASSERT_EQ(grd->SplitCount(), 2);
    for (int c = 2; c < 4; ++c) grd->Splits(0).Columns(c).SetVisible(false);
    for (int c = 0; c < 2; ++c) grd->Splits(1).Columns(c).SetVisible(false);
    grd->Splits(0).Columns(0).SetWidth(600);
    grd->Splits(0).Columns(1).SetWidth(1500);
    grd->Splits(1).Columns(3).SetNumberFormat("mm/dd/yyyy").SetAlignment(grid::kAlignCenter);
    grd->Splits(1).SetRecordSelectors(false);

    QTableView* frozen = grd->Pane(0);
    QTableView* scrolling = grd->Pane(1);
    EXPECT_EQ(frozen->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(std::tuple(frozen->isColumnHidden(2), frozen->isColumnHidden(1), scrolling->isColumnHidden(0),
                         frozen->columnWidth(1), scrolling->verticalHeader()->isVisible()),
              std::tuple(true, false, true, 100, false));
    // Laid out before it was shown, the frozen pane still has room for its
    // record selectors: its current cell never scrolls it sideways.
    grd->show();
    grd->SetCurrentCell(0, 1);
    QApplication::processEvents();
    EXPECT_EQ(frozen->horizontalScrollBar()->value(), 0);
    grd->SetCurrentCell(0, 3);
    EXPECT_EQ(grd->Columns(3).Text(), "01/01/2006");
    EXPECT_EQ(grd->Splits(0).Columns(3).NumberFormat(), "");
    // The grid-wide column reads the pane that shows it.
    EXPECT_EQ(grd->Columns(1).Width(), 1500);
    EXPECT_EQ(grd->Columns(3).Alignment(), grid::kAlignCenter);

    // Column selections are per pane.
    grd->Splits(1).SetSelCols(2, 3);
    EXPECT_EQ(std::tuple(grd->Splits(1).SelStartCol(), grd->Splits(1).SelEndCol(), grd->Splits(0).SelStartCol()),
              std::tuple(2, 3, -1));
}

TEST_F(GridTest, ResizingReportsAndRowsNeverGetLowerThanTheMinimum) {
    int colResizes = 0;
    bool rowResized = false;
    grd->ColResize = [&](int col, bool&) {
        ++colResizes;
        EXPECT_EQ(col, 1);
        EXPECT_EQ(grd->Columns(1).Width(), 3000);  // the new width is in the layout already
    };
    grd->RowResize = [&](bool&) { rowResized = true; };
    grd->UserResizeColumn(1, 3000);
    EXPECT_EQ(colResizes, 1);

    grd->UserResizeRows(100);
    EXPECT_TRUE(rowResized);
    EXPECT_EQ(grd->RowHeight(), grid::kMinRowHeight);
    EXPECT_EQ(grd->Pane(0)->verticalHeader()->sectionSize(5), ui::Px(grid::kMinRowHeight));
    grd->UserResizeRows(450);
    EXPECT_EQ(grd->RowHeight(), 450);
    EXPECT_EQ(grd->Pane(0)->verticalHeader()->sectionSize(29), 30);

    // A cancelled column resize puts the width back.
    grd->ColResize = [](int, bool& cancel) { cancel = true; };
    grd->UserResizeColumn(1, 900);
    EXPECT_EQ(grd->Columns(1).Width(), 3000);
}

TEST_F(GridTest, PopupChoicesAndCellButtonsGoThroughTheCellPath) {
    int before = 0, clicks = 0;
    grd->Data().BeforeColUpdate = [&](grid::CellUpdate&) { ++before; };
    grd->ButtonClick = [&](int col) {
        ++clicks;
        EXPECT_EQ(col, 1);
    };
    grd->Columns(1).SetButton(true);
    grd->SetCurrentCell(7, 2);
    EXPECT_FALSE(grd->ClickCellButton());  // no button on this column
    grd->SetCurrentCell(7, 1);
    EXPECT_TRUE(grd->ClickCellButton());
    EXPECT_TRUE(grd->WriteCurrentCell(Value("Y")));
    EXPECT_EQ(std::tuple(clicks, before, Stored(8, "Name")), std::tuple(1, 1, Value("Y")));
}

TEST_F(GridTest, CodeWritesAndAddedRowsBypassTheCellEvents) {
    int before = 0;
    grd->Data().BeforeColUpdate = [&](grid::CellUpdate&) { ++before; };
    grd->SetRow(3);
    EXPECT_TRUE(grd->Columns(2).SetValue(Value(7)));
    EXPECT_EQ(Stored(4, "Amount"), Value(Currency::FromInt(7)));
    const int row = grd->Data().AddRow({{"LineNum", Value(Currency::FromScaled(45000))}, {"Amount", Value(0)}});
    EXPECT_EQ(row, 4);  // 4.5 sorts after line 4
    EXPECT_EQ(grd->Data().FieldValue(row, "LineNum"), Value(Currency::FromScaled(45000)));
    EXPECT_EQ(before, 0);
    // A duplicate key is refused and told.
    ui.ExpectMessage();
    EXPECT_EQ(grd->Data().AddRow({{"LineNum", Value(1)}}), -1);
}

}  // namespace
}  // namespace vt::test
