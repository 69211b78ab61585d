// Null-safe values, rounding and the cost-centre lookups.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "store/report.h"
#include "store/services.h"
#include "tests/support/crf_fixture.h"

namespace vt {
namespace {

TEST(NullSafeValues, FallBackOnlyForNullAndBlank) {
    // Each result by type and text; a number is kept as it is.
    const auto typed = [](const Value& v) { return std::pair(v.Type(), v.ToText()); };
    for (const auto& [got, want] : {std::pair{Nz_Str(Value::Null()), Value("")},
                                    {Nz_Str(Value(""), Value("x")), Value("x")}, {Nz_Str(Value(), Value("x")), Value("x")},
                                    {Nz_Str(Value("  "), Value("x")), Value("  ")}, {Nz_Str(Value(0), Value("x")), Value(0)},
                                    {Nz_Num(Value("   ")), Value::Integer(0)}, {Nz_Num(Value("abc")), Value("abc")},
                                    {Nz_Num(Value::Null(), Value(5)), Value(5)}, {Nz_Num(Value::Cur(1.25)), Value::Cur(1.25)}})
        EXPECT_EQ(typed(got), typed(want));

    for (const Value& v : {Value::Null(), Value(), Value(""), Value("   ")}) EXPECT_TRUE(Is_Blank(v)) << v.ToText();
    for (const Value& v : {Value("x"), Value(0), Value(" x ")}) EXPECT_FALSE(Is_Blank(v)) << v.ToText();
    for (const Value& v : {Value::Null(), Value(""), Value("  "), Value(0), Value("0"), Value::Cur(0)})
        EXPECT_TRUE(Is_Zero(v)) << v.ToText();
    for (const Value& v : {Value("abc"), Value(5), Value::Cur(0.0001)}) EXPECT_FALSE(Is_Zero(v)) << v.ToText();
}

TEST(NullSafeValues, MaxAndMinSkipNullAndKeepTheFirstOnTies) {
    // Each case: a, b, Max_Var, Min_Var, by type and text; numeric text compares by value.
    const auto typed = [](const Value& v) { return std::pair(v.Type(), v.ToText()); };
    for (const auto& [a, b, max, min] :
         {std::array{Value::Null(), Value(3), Value(3), Value(3)}, {Value(3), Value::Null(), Value(3), Value(3)},
          {Value::Null(), Value::Null(), Value::Null(), Value::Null()}, {Value(-4), Value(0), Value(0), Value(-4)},
          {Value(2), Value::Cur(2), Value(2), Value(2)}, {Value("10"), Value(9), Value("10"), Value(9)}}) {
        EXPECT_EQ(typed(Max_Var(a, b)), typed(max)) << a.ToText() << ", " << b.ToText();
        EXPECT_EQ(typed(Min_Var(a, b)), typed(min)) << a.ToText() << ", " << b.ToText();
    }
}

TEST(NullSafeValues, ToDateGivesTheSmallestDateForNoDate) {
    EXPECT_EQ(To_Date(Value("12/31/2005")), *DateTime::FromParts(2005, 12, 31));
    for (const Value& v : {Value::Null(), Value("abc"), Value("2/30/2005")})
        EXPECT_EQ(To_Date(v), DateTime::Smallest()) << v.ToText();
}

TEST(RoundValue, HalvesGoAwayFromZeroWithinOneMillionth) {
    struct Case { Value v; int places; double want; };
    const Case cases[] = {
        {Value(2.5), 0, 3},        {Value(-2.5), 0, -3},
        {Value(1.005), 2, 1.01},   // 100.49999999999999 is within a millionth of 100.5
        {Value(2.4999995), 0, 3},  {Value(-2.4999995), 0, -3},
        {Value(2.4999985), 0, 2},  // just outside the millionth
        {Value(-2.4), 0, -2},      {Value(-2.6), 0, -3},
        {Value(0.1234565), 6, 0.123457},
        {Value("12.345"), 2, 12.35},
        {Value::Cur(-7.5), 0, -8}, {Value(0), 2, 0},
    };
    for (const auto& c : cases) {
        Value r = Round_Value(c.v, c.places);
        ASSERT_EQ(r.Type(), VType::Double) << c.v.ToText();
        EXPECT_DOUBLE_EQ(r.ToDouble(), c.want) << c.v.ToText() << " to " << c.places;
        EXPECT_DOUBLE_EQ(RoundDouble(c.v.ToDouble(), c.places), c.want) << c.v.ToText();
    }
    EXPECT_TRUE(Round_Value(Value("x"), 2).IsNull());
    EXPECT_TRUE(Round_Value(Value::Null(), 2).IsNull());
}

class CostCentreLookup : public test::CrfTest {};

TEST_F(CostCentreLookup, NamesByNumber) {
    struct Case { Value number; const char* want; };
    const Case cases[] = {
        {Value::Cur(30.01), "Interest Income"}, {Value("201"), "Cash - On Hand & In Bank"},
        {Value(2.01), "Int. Exp.-Old Capital Movable Equip."}, {Value(1), "Old Cap. Rel Costs - Bldgs and Fixtures"},
        {Value("abc"), "< Invalid CCNum >"}, {Value::Null(), "< Invalid CCNum >"},
        {Value(3), "< Invalid CCNum >"},    {Value(1.00001), "< Invalid CCNum >"},
    };
    for (const auto& c : cases) EXPECT_EQ(Get_CC_Name(c.number), c.want) << c.number.ToText();
}

TEST_F(CostCentreLookup, LabelsArePickedJoinedAndCentred) {
    struct Case { double cc; int part, width; const char* want; };
    const Case cases[] = {
        {7, 0, 0, "Insurance Premiums "},  // a Null third label leaves its blank
        {19, 0, 0, "Utilities  "},
        {7, 2, 20, "      Premiums"},      // centred by leading blanks only
        {18, 2, 0, "Accounting"},          // trimmed
        {1.01, 3, 13, "Bldg & Fixt."},     // one short of a blank
        {1, 0, 5, "Old Cap. Rel Bldgs & Fixtures"},  // wider than the width: not cut
        {7, 4, 10, "   ????"},
        {7, -1, 0, "????"},
        {3, 1, 20, "<Bad CC #>"},          // not centred
    };
    for (const auto& c : cases)
        EXPECT_EQ(Get_CC_Label(Currency::FromDouble(c.cc), c.part, c.width), c.want)
            << c.cc << " part " << c.part << " width " << c.width;
}

TEST_F(CostCentreLookup, SnapshotSeesChangesOnlyAfterItIsClosed) {
    EXPECT_EQ(Get_CC_Name(Value(7)), "Insurance Premiums");
    db().Execute("UPDATE CostCenters SET CCName = 'Premiums' WHERE CCNum = 7");
    EXPECT_EQ(Get_CC_Name(Value(7)), "Insurance Premiums");
    Close_CC_Recordset();
    EXPECT_EQ(Get_CC_Name(Value(7)), "Premiums");

    // A report opened after CloseReport is read afresh.
    std::string path = Db().Path();
    CloseReport();
    {
        auto other = db::Database::Open(path);
        other->Execute("UPDATE CostCenters SET CCName = 'Cover' WHERE CCNum = 7");
    }
    Report().CRF_Database = db::Database::Open(path);
    EXPECT_EQ(Get_CC_Name(Value(7)), "Cover");
}

TEST_F(CostCentreLookup, EmptyListFindsNothing) {
    db().Execute("DELETE FROM CostCenters");
    Close_CC_Recordset();
    EXPECT_EQ(Get_CC_Name(Value(7)), "< Invalid CCNum >");
    EXPECT_EQ(Get_CC_Label(Currency::FromInt(7), 0, 0), "<Bad CC #>");
}

}  // namespace
}  // namespace vt
