#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/settings/settings.h"

namespace fs = std::filesystem;

TEST(Settings, KeepsValuesPerApplicationSectionAndKey) {
    auto dir = fs::temp_directory_path() / ("vt-settings-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    vt::settings::IniSettings s(dir.string());
    EXPECT_EQ(s.Get("Vantrel 287", "Startup", "CRFLoc", "None"), "None");
    s.Save("Vantrel 287", "Startup", "CRFLoc", "/home/a b/reports");
    s.Save("Vantrel", "Printing", "PrintQuality", "False");
    vt::settings::IniSettings again(dir.string());
    EXPECT_EQ(again.Get("Vantrel 287", "Startup", "CRFLoc", "None"), "/home/a b/reports");
    EXPECT_EQ(again.Get("Vantrel", "Printing", "PrintQuality", "True"), "False");
    EXPECT_EQ(again.Get("Vantrel", "Startup", "CRFLoc", "None"), "None");
    s.Save("Vantrel", "Printing", "PrintQuality", "True");
    EXPECT_EQ(again.Get("Vantrel", "Printing", "PrintQuality", "x"), "True");
    fs::remove_all(dir);
}
