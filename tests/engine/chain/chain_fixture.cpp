#include "tests/engine/chain/chain_fixture.h"

#include "engine/chain/component_sheet.h"
#include "report/worksheet_catalogue.h"
#include "store/report.h"
#include "store/services.h"

namespace vt::test {

namespace {
const char* const kAllSheets[] = {"E", "E1", "Fp1", "Fp2", "F1p2", "F1p1", "Gp2", "H"};

const char* ATable(int part) { return part == 3 ? "Ap3" : part == 4 ? "Ap4" : "Ap5"; }
}  // namespace

void ChainTest::AddA(int part, double line, const std::string& name, const std::string& medicareNo) {
    if (part == 3)
        db().Execute("INSERT INTO Ap3 (LineNum, Component, MedicareNo) VALUES (?, ?, ?)",
                     {Value(C(line)), Value(name), medicareNo.empty() ? Value::Null() : Value(medicareNo)});
    else if (part == 4)
        db().Execute("INSERT INTO Ap4 (LineNum, Component) VALUES (?, ?)", {Value(C(line)), Value(name)});
    else
        db().Execute("INSERT INTO Ap5 (LineNum, Col1) VALUES (?, ?)", {Value(C(line)), Value(name)});
}

void ChainTest::SeedComponents() {
    AddA(3, 1, "Mercy North", "123456");
    AddA(3, 2, "Mercy South", "234567");
    AddA(3, 3, "Mercy East");
    AddA(3, 3.01, "Mercy West", "345678");
    AddA(3, 17, "Mercy Rehab", "456789");
    AddA(4, 1, "Laundry");
    AddA(4, 2, "Pharmacy");
    AddA(4, 8, "Supply");
    AddA(5, 1, "Region One");
    AddA(5, 2, "Region Two");
    AddA(5, 4, "Region Four");
    AddA(5, 4.01, "Region Four A");
    RebuildAll();
}

void ChainTest::EditorInsert(int part, double line) {
    const std::string t = ATable(part);
    const Value l(C(line));
    if (part == 4) {
        db().Execute("UPDATE Ap4 SET LineNum = CCur(LineNum+100) WHERE LineNum >= ? AND LineNum < 9", {l});
        db().Execute("UPDATE Ap4 SET LineNum = CCur(LineNum-99.99) WHERE LineNum > 100");
    } else {
        db().Execute("UPDATE " + t + " SET LineNum = CCur(LineNum+100) WHERE LineNum >= ?", {l});
        db().Execute("UPDATE " + t + " SET LineNum = CCur(LineNum-99.99) WHERE LineNum >= 100");
    }
    db().Execute("INSERT INTO " + t + " (LineNum) VALUES (?)", {l});
    Insert_Component_Line(C(line), part);
}

void ChainTest::EditorDelete(int part, double line) {
    const std::string t = ATable(part);
    const Value l(C(line));
    db().Execute("DELETE FROM " + t + " WHERE LineNum = ?", {l});
    const std::string below9 = part == 4 ? " AND LineNum < 9" : "";
    db().Execute("UPDATE " + t + " SET LineNum = CCur(LineNum+100) WHERE LineNum > ?" + below9, {l});
    db().Execute("UPDATE " + t + " SET LineNum = CCur(LineNum-100.01) WHERE LineNum > 100");
    Delete_Component_Line(C(line), part);
}

void ChainTest::Rebuild(const std::string& sheet) {
    if (Table_Exists(sheet)) db().DropTable(sheet);
    FindWorksheet(sheet)->build();
}

void ChainTest::RebuildAll() {
    for (const char* s : kAllSheets)
        if (Table_Exists(s) && FindWorksheet(s)) Rebuild(s);
}

std::vector<std::string> ChainTest::Sheets() {
    std::vector<std::string> sheets;
    for (const char* s : kAllSheets)
        if (Table_Exists(s)) sheets.push_back(s);
    return sheets;
}

Value ChainTest::Cell(const std::string& sheet, double seq, const std::string& field) {
    auto rs = db().OpenRecordset("SELECT " + field + " FROM " + sheet + " WHERE SeqNum = ?", {Value(C(seq))});
    EXPECT_FALSE(rs.Eof()) << sheet << " has no row " << seq;
    return rs.Eof() ? Value() : rs.Field(0);
}

void ChainTest::SetCell(const std::string& sheet, double seq, const std::string& field, const Value& v) {
    EXPECT_EQ(db().Execute("UPDATE " + sheet + " SET " + field + " = ? WHERE SeqNum = ?", {v, Value(C(seq))}), 1)
        << sheet << " row " << seq;
}

std::vector<std::string> ChainTest::FieldNames(const std::string& sheet) {
    std::vector<std::string> names;
    for (const auto& f : db().Fields(sheet)) names.push_back(f.name);
    return names;
}

std::vector<Currency> ChainTest::SeqNums(const std::string& sheet) {
    std::vector<Currency> seqs;
    auto rs = db().OpenRecordset("SELECT SeqNum FROM " + sheet + " ORDER BY SeqNum");
    for (; !rs.Eof(); rs.MoveNext()) seqs.push_back(rs.Field(0).ToCurrency());
    return seqs;
}

std::vector<Currency> ChainTest::Row0(const std::string& sheet, int first) {
    std::vector<Currency> numbers;
    auto rs = db().OpenRecordset(SelectSheet(sheet, "WHERE SeqNum = 0"));
    if (rs.Eof()) return numbers;
    for (int i = first; i < rs.FieldCount(); ++i)
        numbers.push_back(rs.Field(i).IsNull() ? Currency::FromInt(-1) : rs.Field(i).ToCurrency());
    return numbers;
}

void ChainTest::Stamp(const std::string& sheet, int first) {
    const auto names = FieldNames(sheet);
    for (size_t i = first; i < names.size(); ++i)
        db().Execute("UPDATE " + sheet + " SET " + names[i] + " = CCur(? + SeqNum) WHERE SeqNum > 0",
                     {Value(Currency::FromInt(static_cast<int>(i - first + 1) * 1000))});
}

std::vector<std::string> ChainTest::Snapshot(const std::string& sheet, const std::string& where) {
    std::vector<std::string> rows;
    for (auto rs = db().OpenRecordset(SelectSheet(sheet, where + " ORDER BY SeqNum")); !rs.Eof(); rs.MoveNext()) {
        std::string row;
        for (int i = 0; i < rs.FieldCount(); ++i) row += rs.Field(i).ToText() + "|";
        rows.push_back(row);
    }
    return rows;
}

}  // namespace vt::test
