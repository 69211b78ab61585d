#include "engine/chain/component_sheet.h"

#include "engine/chain/component_rows.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <utility>

#include "platform/value/text.h"
#include "store/builder.h"
#include "store/report.h"
#include "store/services.h"

namespace vt {

namespace {

constexpr Currency Cents(std::int64_t cents) { return Currency{cents * 100}; }

// The rows of one part of worksheet A in every component sheet.
struct Band {
    Currency first, last, offset;
};

Band BandOf(int part) {
    for (const auto& b : kComponentBands)
        if (b.part == part) return {RowAt(b.first), RowAt(b.lastUser), Currency::FromInt(b.offset)};
    throw db::DbError("Worksheet A has no part " + std::to_string(part) + " with component lines");
}

// Bounds of the band as the renumbering statements select it: above first - 1
// and up to last + .005, so every two-decimal line of the band is caught.
Value Below(const Band& b) { return Value(b.first - Cents(100)); }
Value Above(const Band& b) { return Value(b.last + Currency{50}); }

Currency NzCur(const Value& v) { return Nz_Num(v).ToCurrency(); }

// A value as the field of the given type stores it exactly.
Value AsFieldType(const Value& v, db::FieldType type) {
    if (v.IsNull() || v.IsEmpty()) return Value::Null();
    switch (type) {
    case db::FieldType::Currency: return Value(v.ToCurrency());
    case db::FieldType::Double: return Value(v.ToDouble());
    default: return v;
    }
}

// The sheets that follow worksheet A's lines: every registered worksheet from
// "E" on but Gp1 (no component rows), I and J.
std::vector<std::string> ComponentSheetWalk() {
    auto rs = Db().OpenRecordset(
        "SELECT Item FROM Worksheets WHERE Item >= 'E' AND Item NOT IN ('Gp1','I','J') "
        "AND Calc_Lvl < 900 ORDER BY ItemName;");
    std::vector<std::string> items;
    for (; !rs.Eof(); rs.MoveNext()) items.push_back(PlainName(rs["Item"].ToText()));
    return items;
}

// The shape of a sheet, whichever way its name is spelt; null for a sheet
// the table does not describe.
const ComponentSheetShape* FindShape(const std::string& sheet) {
    for (const auto& s : kComponentSheetShapes)
        if (EqualsNoCase(sheet, s.code)) return &s;
    return nullptr;
}

// First field that a new component row sets to 0.
int FirstNewRowField(const std::string& sheet) {
    const auto* s = FindShape(sheet);
    return s ? s->firstAmountField : 4;
}

// First value column, as the cost-centre column operations count it.
int FirstCCField(const std::string& sheet) {
    const auto* s = FindShape(sheet);
    if (!s || s->firstCCField < 0) throw db::DbError("Worksheet " + sheet + " has no cost-centre columns");
    return s->firstCCField;
}

// The sheets whose columns the E-1 and F-1 editors choose: value columns from
// this field, the last one the row total.
constexpr int ChosenFirstField() {
    for (const auto& s : kComponentSheetShapes)
        if (s.chosenColumns) return s.firstCCField;
    return -1;
}
constexpr int kChosenFirstField = ChosenFirstField();

bool HasCostRows(const std::string& sheet) {
    const auto* s = FindShape(sheet);
    return s && s->costRows;
}

db::FieldType NewColumnType(const std::string& sheet) {
    return HasCostRows(sheet) ? db::FieldType::Double : db::FieldType::Currency;
}

std::optional<std::vector<Value>> Row0IfAny(const std::string& sheet) {
    auto rs = Db().OpenRecordset(SelectSheet(sheet, "WHERE SeqNum = 0;"));
    if (rs.Eof()) return std::nullopt;
    std::vector<Value> row;
    for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Field(i));
    return row;
}

std::vector<Value> Row0(const std::string& sheet) {
    auto row = Row0IfAny(sheet);
    if (!row) throw db::DbError("Worksheet " + sheet + " has no row 0");
    return *row;
}

// Makes room for a value column at field index pos: a new last field is
// appended and the values of pos and every later column move one field right.
// Returns the fields after the change.
std::vector<db::FieldDef> OpenColumnAt(const std::string& sheet, int pos, int firstValueField,
                                       db::FieldType type) {
    auto& db = Db();
    auto fields = db.Fields(sheet);
    const int count = static_cast<int>(fields.size()) - firstValueField + 1;
    db.AppendField(sheet, db::FieldDef{"Col_" + std::to_string(count), type});
    fields = db.Fields(sheet);
    const int last = static_cast<int>(fields.size()) - 1;
    std::string set;
    for (int j = last; j > pos; --j) {
        if (!set.empty()) set += ", ";
        set += fields[j].name + " = " + fields[j - 1].name;
    }
    if (!set.empty()) db.Execute("UPDATE " + sheet + " SET " + set + ";");
    return fields;
}

// Removes the value column at field index pos: the later values move one field
// left and the last field is dropped.
void CloseColumnAt(const std::string& sheet, int pos) {
    auto& db = Db();
    const auto fields = db.Fields(sheet);
    const int last = static_cast<int>(fields.size()) - 1;
    std::string set;
    for (int i = pos; i < last; ++i) {
        if (!set.empty()) set += ", ";
        set += fields[i].name + " = " + fields[i + 1].name;
    }
    if (!set.empty()) db.Execute("UPDATE " + sheet + " SET " + set + ";");
    db.DropField(sheet, fields[last].name);
}

// Writes row-0 values by field index.
void WriteRow0(const std::string& sheet, const std::vector<db::FieldDef>& fields,
               const std::vector<std::pair<int, Currency>>& values) {
    if (values.empty()) return;
    std::string set;
    std::vector<Value> params;
    for (const auto& [i, c] : values) {
        if (!set.empty()) set += ", ";
        set += fields[i].name + " = ?";
        params.push_back(AsFieldType(Value(c), fields[i].type));
    }
    Db().Execute("UPDATE " + sheet + " SET " + set + " WHERE SeqNum = 0;", params);
}

// Cost-centre numbers of the chosen columns (all value columns but the total).
std::vector<Currency> ChosenColumns(const std::string& sheet) {
    const auto row = Row0(sheet);
    std::vector<Currency> numbers;
    for (int i = kChosenFirstField; i + 1 < static_cast<int>(row.size()); ++i)
        if (!row[i].IsNull()) numbers.push_back(row[i].ToCurrency());
    return numbers;
}

// ---- Repair ----

// Which part's band a row of the sheet belongs to, and its line there. Row 27
// may carry the line 27 that older builds gave it when A Part IV lacked line 9.
std::pair<int, Currency> RowKey(Currency seq, Currency line) {
    const int band = kComponentBands[BandIndexOf(seq)].part;
    const std::int64_t s = line.scaled;
    Currency rounded{(s >= 0 ? (s + 5) / 10 : (s - 5) / 10) * 10};  // 3 decimals
    const Currency fixedRow = Currency::FromInt(kFixedLineRow);
    if (seq == fixedRow && rounded == fixedRow) rounded = Currency::FromInt(kFixedLine);
    return {band, rounded};
}

struct SheetRow {
    Currency seq;
    std::vector<Value> values;
};

std::vector<SheetRow> ReadRows(const std::string& table, const std::string& where) {
    auto rs = Db().OpenRecordset(SelectSheet(table, "WHERE " + where + " ORDER BY SeqNum;"));
    std::vector<SheetRow> rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        SheetRow r{NzCur(rs["SeqNum"]), {}};
        for (int i = 0; i < rs.FieldCount(); ++i) r.values.push_back(rs.Field(i));
        rows.push_back(std::move(r));
    }
    return rows;
}

using FieldMap = std::vector<std::pair<int, int>>;  // old field index -> new field index

void CopyRow(const std::string& sheet, const std::vector<db::FieldDef>& fields, const FieldMap& map,
             const SheetRow& from, Currency toSeq) {
    if (map.empty()) return;
    std::string set;
    std::vector<Value> params;
    for (const auto& [o, n] : map) {
        if (!set.empty()) set += ", ";
        set += fields[n].name + " = ?";
        params.push_back(AsFieldType(from.values[o], fields[n].type));
    }
    params.push_back(Value(toSeq));
    Db().Execute("UPDATE " + sheet + " SET " + set + " WHERE SeqNum = ?;", params);
}

// The fields a repair carries over: by place from the sheet's first copied
// field; in sheets with chosen columns, each column by its cost centre.
FieldMap RepairFieldMap(const std::string& sheet, const std::string& backup, bool chosenColumns) {
    const int oldLast = static_cast<int>(Db().Fields(backup).size()) - 1;
    const int newLast = static_cast<int>(Db().Fields(sheet).size()) - 1;
    FieldMap map;
    if (!chosenColumns) {
        const int first = LeadingFields(ShapeOf(sheet));
        for (int i = first; i <= std::min(oldLast, newLast); ++i) map.emplace_back(i, i);
        return map;
    }
    const auto oldRow0 = Row0IfAny(backup);
    const auto newRow0 = Row0(sheet);
    if (oldRow0) {
        for (int i = kChosenFirstField; i < oldLast; ++i) {
            if ((*oldRow0)[i].IsNull()) continue;
            const Currency cc = (*oldRow0)[i].ToCurrency();
            for (int j = kChosenFirstField; j < newLast; ++j)
                if (!newRow0[j].IsNull() && newRow0[j].ToCurrency() == cc) { map.emplace_back(i, j); break; }
        }
    }
    if (oldLast >= kChosenFirstField && newLast >= kChosenFirstField) map.emplace_back(oldLast, newLast);
    return map;
}

// Copies the old values into the rebuilt sheet, matching rows by band and line.
// Returns true when some row of either table found no partner.
bool CopyBack(const std::string& sheet, const std::string& backup, const FieldMap& map) {
    const std::string rows = "SeqNum NOT IN (0," + std::to_string(kComponentBands[0].totalRow) + "," +
                             std::to_string(kComponentBands[1].totalRow) + ") AND SeqNum < " +
                             std::to_string(kComponentBands[2].totalRow);
    const auto olds = ReadRows(backup, rows);
    const auto news = ReadRows(sheet, rows);
    const auto fields = Db().Fields(sheet);
    constexpr int kLine = 1;  // LineNum is field 1 in every sheet

    std::map<std::pair<int, Currency>, size_t> byKey;
    bool unmatched = false;
    for (size_t i = 0; i < olds.size(); ++i)
        if (!byKey.emplace(RowKey(olds[i].seq, NzCur(olds[i].values[kLine])), i).second) unmatched = true;
    std::vector<bool> used(olds.size(), false);
    for (const auto& n : news) {
        const auto it = byKey.find(RowKey(n.seq, NzCur(n.values[kLine])));
        if (it == byKey.end() || used[it->second]) { unmatched = true; continue; }
        used[it->second] = true;
        CopyRow(sheet, fields, map, olds[it->second], n.seq);
    }
    if (std::find(used.begin(), used.end(), false) != used.end()) unmatched = true;

    // The cost to be allocated is typed by the user: it survives the rebuild.
    if (HasCostRows(sheet)) {
        const auto oldCost = ReadRows(backup, "SeqNum = " + std::to_string(kCostRow));
        if (!oldCost.empty()) CopyRow(sheet, fields, map, oldCost.front(), Currency::FromInt(kCostRow));
    }
    return unmatched;
}

// The finding of the line comparison and the count tests, or "" when the sheet
// mirrors worksheet A.
std::string FindMismatch(const std::string& sheet) {
    auto& db = Db();
    auto rows = db.OpenRecordset("SELECT SeqNum, LineNum, Component FROM " + sheet +
                                 " WHERE LineNum > 0 AND LineNum < " +
                                 std::to_string(kComponentBands[0].totalRow) + " ORDER BY SeqNum;");
    auto a3 = db.OpenRecordset("SELECT LineNum, Component, PeriodFrom FROM Ap3 ORDER BY LineNum;");
    for (; !a3.Eof(); a3.MoveNext(), rows.MoveNext()) {
        const Currency aLine = NzCur(a3["LineNum"]);
        const std::string aName = Nz_Str(a3["Component"]).ToText();
        if (rows.Eof())
            return "Inconsistant Components: worksheet " + sheet + " has no line for " + aName + "(" +
                   aLine.ToText() + ") in worksheet A Part III";
        const Currency line = NzCur(rows["LineNum"]);
        if (line != aLine)
            return "Inconsistant Components at line " + NzCur(rows["SeqNum"]).ToText() + ":  '" +
                   Nz_Str(rows["Component"]).ToText() + "' (" + line.ToText() + ") in worksheet " + sheet +
                   " and " + aName + "(" + aLine.ToText() + ") in worksheet A Part III";
    }
    struct CountTest { std::string table, key, part, band; };
    std::vector<CountTest> tests;
    for (const auto& b : kComponentBands) {
        const std::string table = "Ap" + std::to_string(b.part);
        const std::string key = b.offset == 0 ? table + ".LineNum"
                                              : "CCur(" + table + ".LineNum+" + std::to_string(b.offset) + ")";
        std::string band = BandWhere(b);
        // Row 27 is the sheet's own when A Part IV lacks its line 9.
        if (kFixedLineRow > b.after && kFixedLineRow < b.totalRow) band += " AND SeqNum <> " + std::to_string(kFixedLineRow);
        tests.push_back({table, key, b.partName, band});
    }
    for (const auto& t : tests) {
        const Value cnt = db.Scalar(std::string("SELECT Count(") + t.table + ".LineNum) AS Cnt FROM " + t.table +
                                    " LEFT JOIN " + sheet + " ON " + t.key + " = " + sheet + ".SeqNum WHERE " +
                                    sheet + ".SeqNum IS NULL;");
        if (Nz_Num(cnt).ToDouble() > 0)
            return std::string("Unmatched A Part ") + t.part + " record(s) in " + sheet;
    }
    // The other way round: a row with no line in A (one past the end of a
    // band, say) would stop the calculations that look its line up.
    for (const auto& t : tests) {
        const Value cnt = db.Scalar("SELECT Count(*) AS Cnt FROM " + sheet + " WHERE " + t.band + " AND SeqNum NOT IN (SELECT " +
                                    t.key + " FROM " + t.table + ");");
        if (Nz_Num(cnt).ToDouble() > 0)
            return "Unmatched " + sheet + " record(s) in worksheet A Part " + t.part;
    }
    return "";
}

}  // namespace

// ---- Component lines ----

void Insert_Component_Line(Currency line, int part) {
    const Band b = BandOf(part);
    auto& db = Db();
    // Each line from the new one on moves up by .01; the band's last line
    // would land on its total row. Refused before anything moves.
    const std::string partName = part == 3 ? "III" : part == 4 ? "IV" : "V";
    const std::string full = "Worksheet A Part " + partName + " has no room for line " + line.ToText() + ": ";
    if (line < b.first - b.offset || line > b.last - b.offset)
        throw db::DbError(full + "its lines run from " + (b.first - b.offset).ToText() + " to " +
                          (b.last - b.offset).ToText() + ".");
    for (const auto& t : ComponentSheetWalk())
        if (Nz_Num(db.Scalar("SELECT Count(*) FROM " + t + " WHERE SeqNum >= ? AND SeqNum <= ? AND LineNum >= ?;",
                             {Value(b.last), Above(b), Value(line)}))
                .ToDouble() > 0)
            throw db::DbError(full + "line " + (b.last - b.offset).ToText() +
                              " would be pushed past the end of the part.");
    db::Transaction tx(db);
    for (const auto& t : ComponentSheetWalk()) {
        db.Execute("UPDATE " + t + " SET SeqNum = CCur(SeqNum+100), LineNum = CCur(LineNum+100) "
                   "WHERE SeqNum > ? AND SeqNum <= ? AND LineNum >= ?;",
                   {Below(b), Above(b), Value(line)});
        db.Execute("UPDATE " + t + " SET SeqNum = CCur(SeqNum-99.99), LineNum = CCur(LineNum-99.99) "
                   "WHERE LineNum >= 100;");
        db.Execute("INSERT INTO " + t + " (SeqNum, LineNum) VALUES(?, ?);", {Value(line + b.offset), Value(line)});

        const auto fields = db.Fields(t);
        std::string set;
        std::vector<Value> params;
        for (size_t i = FirstNewRowField(t); i < fields.size(); ++i) {
            if (!set.empty()) set += ", ";
            set += fields[i].name + " = ?";
            params.push_back(AsFieldType(Value(Currency{0}), fields[i].type));
        }
        if (set.empty()) continue;
        params.insert(params.end(), {Below(b), Above(b), Value(line)});
        db.Execute("UPDATE " + t + " SET " + set + " WHERE SeqNum > ? AND SeqNum <= ? AND LineNum = ?;", params);
    }
    tx.Commit();
}

void Delete_Component_Line(Currency line, int part) {
    const Band b = BandOf(part);
    auto& db = Db();
    db::Transaction tx(db);
    for (const auto& t : ComponentSheetWalk()) {
        db.Execute("DELETE FROM " + t + " WHERE SeqNum > ? AND SeqNum < ? AND LineNum = ?;",
                   {Below(b), Above(b), Value(line)});
        db.Execute("UPDATE " + t + " SET SeqNum = CCur(SeqNum+100), LineNum = CCur(LineNum+100) "
                   "WHERE SeqNum > ? AND SeqNum <= ? AND LineNum >= ?;",
                   {Below(b), Above(b), Value(line)});
        db.Execute("UPDATE " + t + " SET SeqNum = CCur(SeqNum-100.01), LineNum = CCur(LineNum-100.01) "
                   "WHERE LineNum >= 100;");
    }
    tx.Commit();
}

void Set_Component_Field(const std::string& sheet, Currency line, int part, const std::string& field,
                         const std::string& value) {
    Band b = BandOf(part);
    // A Part IV's own line 9 sits on row 27, outside the band of user lines;
    // its name and period end must reach the sheets all the same.
    if (part == 4) b.last = Currency::FromInt(kFixedLineRow);

    auto& db = Db();
    Value v = Is_Blank(Value(value)) ? Value::Null() : Value(value);
    if (!v.IsNull()) {
        for (const auto& f : db.Fields(PlainName(sheet))) {
            if (EqualsNoCase(f.name, field) && f.type == db::FieldType::Date) {
                // A date that cannot be read is refused; the stored one stays.
                const auto d = ParseDate(value);
                if (!d) throw db::DbError("\"" + value + "\" is not a date.");
                v = Value(*d);
            }
        }
    }
    db::Transaction tx(db);
    db.Execute("UPDATE " + sheet + " SET " + PlainName(field) + " = ? WHERE LineNum = ? AND SeqNum >= ? AND SeqNum <= ?;",
               {v, Value(line), Value(b.first), Value(b.last)});
    tx.Commit();
}

void Propagate_Component_Field(Currency line, int part, const std::string& field, const std::string& value) {
    // The sheets with a Medicare number first, as they always were.
    std::vector<std::string> sheets;
    for (const bool medicare : {true, false})
        for (const auto& s : kComponentSheetShapes)
            if (s.componentRows && s.medicareNo == medicare && (medicare || field != "MedicareNo"))
                sheets.push_back(s.code);
    db::Transaction tx(Db());
    for (const auto& s : sheets)
        if (Table_Exists(s)) Set_Component_Field(s, line, part, field, value);
    tx.Commit();
}

void Clear_Component_Band(int part) {
    const Band b = BandOf(part);
    auto& db = Db();
    db::Transaction tx(db);
    for (const auto& shape : kComponentSheetShapes) {
        const std::string s = shape.code;
        if (!shape.componentRows || !Table_Exists(s)) continue;
        db.Execute(std::string("DELETE FROM ") + s + " WHERE SeqNum >= ? AND SeqNum <= ?;",
                   {Value(b.first), Value(b.last)});
    }
    tx.Commit();
}

void Sync_Component_Line(const std::string& sheet, Currency line, bool /*startsBeforeYear*/) {
    auto& db = Db();
    auto rs = db.OpenRecordset("SELECT SeqNum, LineNum, Component FROM " + PlainName(sheet) +
                               " WHERE LineNum = ? AND SeqNum < " + std::to_string(kComponentBands[0].totalRow) +
                                   " ORDER BY SeqNum;",
                               {Value(line)});
    if (rs.Eof()) return;
    db::Transaction tx(db);
    const Currency seq = NzCur(rs["SeqNum"]);
    const std::string name = Nz_Str(rs["Component"]).ToText();
    if (name.compare(0, 2, "a ") == 0) {
        // Two decimals, halves to even.
        const std::int64_t s = seq.scaled, q = s / 100, r = s % 100;
        std::int64_t to = q;
        if (r > 50 || (r == 50 && q % 2 != 0)) ++to;
        else if (r < -50 || (r == -50 && q % 2 != 0)) --to;
        db.Execute("UPDATE " + sheet + " SET SeqNum = ? WHERE SeqNum = ?;", {Value(Currency{to * 100}), Value(seq)});
    }
    rs.MoveNext();
    if (!rs.Eof() && NzCur(rs["LineNum"]) == line)
        db.Execute("DELETE FROM " + sheet + " WHERE SeqNum = ?;", {Value(NzCur(rs["SeqNum"]))});
    tx.Commit();
}

// ---- Cost-centre columns ----

void Add_CC_Column(const std::string& sheet, Currency ccnum) {
    auto& db = Db();
    db::Transaction tx(db);
    const int first = FirstCCField(PlainName(sheet));
    const auto row0 = Row0(sheet);
    const int last = static_cast<int>(row0.size()) - 1;

    // The column whose row-0 number is 0 (G's non-capital column) belongs after
    // the cost centres below 6.
    int pos = last + 1;
    bool exists = false;
    for (int i = first; i <= last; ++i) {
        Currency v = NzCur(row0[i]);
        if (v == Currency{}) v = Currency::FromInt(6);
        if (v >= ccnum) {
            pos = i;
            exists = v == ccnum;
            break;
        }
    }
    const auto fields = OpenColumnAt(sheet, pos, first, NewColumnType(sheet));

    std::vector<std::pair<int, Currency>> numbers = {{pos, ccnum}};
    if (exists) {
        const Currency groupEnd = ccnum.Floor() + Currency::FromInt(1);
        for (int j = pos + 1; j < static_cast<int>(fields.size()); ++j) {
            const Value& before = row0[j - 1];  // what the shift moved into field j
            if (before.IsNull()) break;
            const Currency v = before.ToCurrency();
            if (v < ccnum || v >= groupEnd) break;
            numbers.emplace_back(j, v + Cents(1));
        }
    }
    WriteRow0(sheet, fields, numbers);

    // Computed sheets (Fp1 and G) get their new cells from the next calculation.
    if (!ShapeOf(sheet).computedColumns) {
        std::string where = "LineNum > 0";
        if (HasCostRows(sheet)) where += " OR SeqNum = " + std::to_string(kCostRow);
        db.Execute("UPDATE " + sheet + " SET " + fields[pos].name + " = 0 WHERE " + where + ";");
    }
    tx.Commit();
}

void Delete_CC_Column(const std::string& sheet, Currency ccnum) {
    auto& db = Db();
    const int first = FirstCCField(PlainName(sheet));
    const auto row0 = Row0(sheet);
    const int last = static_cast<int>(row0.size()) - 1;
    int found = -1;
    for (int i = first; i <= last && found < 0; ++i)
        if (NzCur(row0[i]) == ccnum) found = i;
    if (found < 0) {
        Show_Message("Failed to delete the " + ccnum.ToText() + "column from sheet " + sheet +
                     ". The column wasn't found.");
        return;
    }
    db::Transaction tx(db);
    const auto fields = db.Fields(sheet);
    std::vector<std::pair<int, Currency>> numbers;
    for (int i = found; i < last; ++i) {
        const Value& moved = row0[i + 1];
        if (!moved.IsNull() && moved.ToCurrency().Floor() == ccnum.Floor())
            numbers.emplace_back(i, moved.ToCurrency() - Cents(1));
    }
    CloseColumnAt(sheet, found);
    WriteRow0(sheet, fields, numbers);
    tx.Commit();
}

void AddChosenCCColumn(const std::string& sheet, Currency ccnum) {
    auto& db = Db();
    db::Transaction tx(db);
    const auto row0 = Row0(PlainName(sheet));
    const int last = static_cast<int>(row0.size()) - 1;
    int pos = std::max(last, kChosenFirstField);  // before the total column
    for (int i = kChosenFirstField; i < last; ++i) {
        if (NzCur(row0[i]) >= ccnum) {
            pos = i;
            break;
        }
    }
    const auto fields = OpenColumnAt(sheet, pos, kChosenFirstField, NewColumnType(sheet));
    WriteRow0(sheet, fields, {{pos, ccnum}});
    db.Execute("UPDATE " + sheet + " SET " + fields[pos].name + " = 0 WHERE SeqNum > 0;");
    tx.Commit();
}

bool DeleteChosenCCColumn(const std::string& sheet, Currency ccnum) {
    const auto row0 = Row0(PlainName(sheet));
    for (int i = kChosenFirstField; i + 1 < static_cast<int>(row0.size()); ++i) {
        if (!row0[i].IsNull() && row0[i].ToCurrency() == ccnum) {
            db::Transaction tx(Db());
            CloseColumnAt(sheet, i);
            tx.Commit();
            return true;
        }
    }
    return false;
}

void MatchChosenCCColumns(const std::string& sheet, const std::string& model) {
    db::Transaction tx(Db());
    const auto wanted = ChosenColumns(PlainName(model));
    const auto held = ChosenColumns(PlainName(sheet));
    for (const Currency c : held)
        if (std::find(wanted.begin(), wanted.end(), c) == wanted.end()) DeleteChosenCCColumn(sheet, c);
    for (const Currency c : wanted)
        if (std::find(held.begin(), held.end(), c) == held.end()) AddChosenCCColumn(sheet, c);
    tx.Commit();
}

// ---- Checks and repair ----

bool Check_Component_Sheet(const std::string& sheet, void (*build)()) {
    const std::string finding = FindMismatch(PlainName(sheet));
    if (finding.empty()) return true;
    Repair_Component_Sheet(sheet, build, finding);
    return false;
}

void Repair_Component_Sheet(const std::string& sheet, void (*build)(), const std::string& reason) {
    if (!build) throw db::DbError("Worksheet " + sheet + " cannot be rebuilt");
    const std::string backup = "Bad_" + sheet;
    const bool chosenColumns = ShapeOf(sheet).chosenColumns;
    auto& db = Db();
    bool unmatched = false;
    try {
        // The old table and the last backup stay as they were unless the whole
        // repair succeeds.
        db::Transaction tx(db);
        if (db.TableExists(backup)) db.DropTable(backup);
        db.RenameTable(sheet, backup);
        build();
        if (chosenColumns) {
            if (const auto oldRow0 = Row0IfAny(backup)) {
                for (int i = kChosenFirstField; i + 1 < static_cast<int>(oldRow0->size()); ++i) {
                    if ((*oldRow0)[i].IsNull()) continue;
                    const Currency cc = (*oldRow0)[i].ToCurrency();
                    const auto held = ChosenColumns(sheet);
                    if (std::find(held.begin(), held.end(), cc) == held.end()) AddChosenCCColumn(sheet, cc);
                }
            }
        }
        unmatched = CopyBack(sheet, backup, RepairFieldMap(sheet, backup, chosenColumns));
        if (sheet == "F1p2" && db.TableExists("F1p1")) MatchChosenCCColumns("F1p1", "F1p2");
        tx.Commit();
    } catch (const db::DamagedValue& e) {
        // A damaged value is read from the old table under the name it is kept
        // under for the repair; the user knows it by the sheet's own.
        throw e.Renamed(backup, sheet);
    }
    if (unmatched)
        Show_Message("Errors were found in table " + sheet +
                     ".  The table has been repaired.  Please check that all data in the table is still correct."
                     "\r\n\r\n[ " + reason + " ]");
}

// ---- Reading ----

const std::string& PlainName(const std::string& name) {
    const bool ok = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
    if (!ok) throw db::DbError("Not a table or field name: " + name);
    return name;
}

std::string SelectSheet(const std::string& sheet, const std::string& tail) {
    std::string names;
    for (const auto& f : Db().Fields(PlainName(sheet))) names += (names.empty() ? "" : ", ") + f.name;
    return "SELECT " + names + " FROM " + sheet + " " + tail;
}

// ---- Total rows ----

void FixBandTotalLabels(const std::string& sheet) {
    auto& db = Db();
    db::Transaction tx(db);
    const std::string set = "UPDATE " + PlainName(sheet) + " SET Component = ? WHERE SeqNum = ?;";
    for (const auto& b : kComponentBands)
        if (b.after != kRow0) db.Execute(set, {Value(b.totalCaption), Value(Currency::FromInt(b.totalRow))});
    tx.Commit();
}

// ---- Building ----

void BuildComponentSheet(const ComponentSheetLayout& l) {
    const std::string& t = PlainName(l.table);
    constexpr std::size_t kNameLength = 40;
    const int componentWidth = static_cast<int>(std::max(kNameLength, CharCount(l.grandTotalCaption)));
    std::vector<db::FieldDef> fields = {db::CurrencyField("SeqNum"), db::CurrencyField("LineNum"),
                                        db::TextField("Component", componentWidth, l.zeroLengthText)};
    if (l.medicareNo) fields.push_back(db::TextField("MedicareNo", 7, l.zeroLengthText));
    std::string cols, marks;
    for (size_t k = 1; k <= l.row0.size(); ++k) {
        fields.push_back(db::FieldDef{"Col_" + std::to_string(k), l.valueType});
        cols += ",Col_" + std::to_string(k);
        marks += ",?";
    }

    const std::vector<Value> starts(l.row0.size(), AsFieldType(l.componentValue, l.valueType));
    auto with = [&starts](std::vector<Value> head) {
        head.insert(head.end(), starts.begin(), starts.end());
        return head;
    };
    std::vector<Value> row0;
    for (const auto& v : l.row0) row0.push_back(AsFieldType(v, l.valueType));

    std::vector<Seed> seeds;
    seeds.emplace_back("INSERT INTO " + t + " (SeqNum, LineNum" + cols + ") VALUES (0, 0" + marks + ")", row0);
    auto a3 = Db().OpenRecordset("SELECT LineNum, Component, MedicareNo FROM Ap3 ORDER BY LineNum;");
    for (; !a3.Eof(); a3.MoveNext()) {
        const Value line(NzCur(a3["LineNum"]));
        if (l.medicareNo)
            seeds.emplace_back("INSERT INTO " + t + " (SeqNum, LineNum, Component, MedicareNo" + cols +
                                   ") VALUES (?, ?, ?, ?" + marks + ")",
                               with({line, line, Nz_Str(a3["Component"], " "), Nz_Str(a3["MedicareNo"], " ")}));
        else
            seeds.emplace_back("INSERT INTO " + t + " (SeqNum, LineNum, Component" + cols + ") VALUES (?, ?, ?" +
                                   marks + ")",
                               with({line, line, Nz_Str(a3["Component"], " ")}));
    }
    const std::string total = "INSERT INTO " + t + " (SeqNum, LineNum, Component) VALUES (?, 0, ?)";
    const auto totalRow = [&](int row, const char* caption) {
        seeds.emplace_back(total, std::vector<Value>{Value(Currency::FromInt(row)), Value(caption)});
    };
    const auto& [part3, part4, part5] = kComponentBands;
    totalRow(part3.totalRow, part3.totalCaption);
    seeds.emplace_back("INSERT INTO " + t + " (SeqNum, LineNum, Component" + cols + ") SELECT CCur(LineNum+" +
                           std::to_string(part4.offset) + "), LineNum, Component" + marks + " FROM Ap4",
                       starts);
    // A Part IV is made holding its line 9, which is row 27; only a report
    // whose Part IV lost it needs a row 27 of the sheet's own.
    const std::string fixedRow = std::to_string(kFixedLineRow);
    seeds.emplace_back("INSERT INTO " + t + " (SeqNum, LineNum, Component" + cols + ") SELECT " + fixedRow + ", " +
                           std::to_string(kFixedLine) + ", ?" + marks + " WHERE NOT EXISTS (SELECT 1 FROM " + t +
                           " WHERE SeqNum = " + fixedRow + ")",
                       with({Value(kFixedLineCaption)}));
    totalRow(part4.totalRow, part4.totalCaption);
    seeds.emplace_back("INSERT INTO " + t + " (SeqNum, LineNum, Component" + cols + ") SELECT CCur(LineNum+" +
                           std::to_string(part5.offset) + "), LineNum, Col1" + marks + " FROM Ap5",
                       starts);
    totalRow(part5.totalRow, part5.totalCaption);
    totalRow(kGrandTotalRow, l.grandTotalCaption);

    db::Transaction tx(Db());
    BuildTable(t, fields, seeds, "CREATE UNIQUE INDEX " + PlainName(l.index) + " ON " + t + " (SeqNum);");
    tx.Commit();
}

}  // namespace vt
