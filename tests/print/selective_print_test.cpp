// While a selective print runs, what Print_File has to tell goes into the
// report's findings instead of a message box.
#include "print/print.h"
#include "store/report.h"
#include "tests/support/crf_fixture.h"

namespace vt::test {
namespace {

class SelectivePrint : public CrfTest {};

TEST_F(SelectivePrint, NoPrinterAndUnreadableFileAreLogged) {
    Report().Message_Mode = "P";
    int orientation = 2;
    printer.orientation = 0;
    EXPECT_EQ(print::Print_File(PathOf("B.prt"), orientation), 1);
    printer.orientation = 1;
    EXPECT_EQ(print::Print_File(PathOf("B.prt"), orientation), 2);
    Report().Message_Mode = "";

    EXPECT_TRUE(ui.Messages().empty());
    auto rs = db().OpenRecordset("SELECT Message FROM Error");
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_NE(rs.Field("Message").ToText().find("no printer"), std::string::npos);
    rs.MoveNext();
    EXPECT_NE(rs.Field("Message").ToText().find("could not be read"), std::string::npos);
}

}  // namespace
}  // namespace vt::test
