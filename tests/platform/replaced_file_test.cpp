// The files a print writes, put in the place of the earlier ones only once whole.
#include "platform/printer/replaced_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/print_files.h"
#include "tests/support/temp_folder.h"

namespace vt::test {

// A link (to a device, to the user's own file) is no print's file to replace:
// it is written through, in place, and stays a link.
TEST(ReplacedFile, ALinkIsWrittenThroughInPlace) {
    TempFolder folder("vt-replaced");
    WriteBytes(folder.PathOf("mine"), "earlier");
    std::filesystem::create_symlink(folder.PathOf("mine"), folder.PathOf("F.prt"));
    printer::ReplacedFile file;
    const int fd = file.Open(folder.PathOf("F.prt"));
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, "new", 3), 3);
    ::close(fd);
    EXPECT_TRUE(file.InPlace() && file.Publish());
    EXPECT_TRUE(std::filesystem::is_symlink(folder.PathOf("F.prt")));
    EXPECT_EQ(ReadBytes(folder.PathOf("mine")), "new");
}

}  // namespace vt::test
