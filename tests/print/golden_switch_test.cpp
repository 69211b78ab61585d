// The switch that rewrites the golden files: a test run with it set is
// reported as skipped, never as a comparison that passed.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/print_files.h"
#include "tests/support/temp_folder.h"

namespace vt::test {
namespace {

TEST(GoldenSwitch, RewritingSkipsTheTestInsteadOfPassingIt) {
    TempFolder temp("vt-golden");
    // An absolute name takes the place of the tests folder.
    const std::string golden = temp.PathOf("page.prt");
    const std::string printed = "\f\x02\r\nfirst page\r\n";
    WriteBytes(golden, "\f\x02\r\nan older page\r\n");
    ::testing::TestPartResultArray results;
    ::setenv("VT_WRITE_GOLDEN", "1", 1);
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        ExpectGolden(printed, golden);
    }
    ::unsetenv("VT_WRITE_GOLDEN");
    ASSERT_EQ(results.size(), 1);
    EXPECT_TRUE(results.GetTestPartResult(0).skipped());
    EXPECT_EQ(ReadBytes(golden), printed);
    // Without the switch the same print is compared, and passes.
    ExpectGolden(printed, golden);
}

}  // namespace
}  // namespace vt::test
