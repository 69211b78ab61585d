#include <gtest/gtest.h>

#include "platform/settings/settings.h"
#include "tests/support/temp_folder.h"

TEST(Settings, KeepsValuesPerApplicationSectionAndKey) {
    const vt::test::TempFolder dir("vt-settings");
    vt::settings::IniSettings s(dir.PathOf("ini"));
    EXPECT_EQ(s.Get("Vantrel 287", "Startup", "CRFLoc", "None"), "None");
    s.Save("Vantrel 287", "Startup", "CRFLoc", "/home/a b/reports");
    s.Save("Vantrel", "Printing", "PrintQuality", "False");
    vt::settings::IniSettings again(dir.PathOf("ini"));
    EXPECT_EQ(again.Get("Vantrel 287", "Startup", "CRFLoc", "None"), "/home/a b/reports");
    EXPECT_EQ(again.Get("Vantrel", "Printing", "PrintQuality", "True"), "False");
    EXPECT_EQ(again.Get("Vantrel", "Startup", "CRFLoc", "None"), "None");
    s.Save("Vantrel", "Printing", "PrintQuality", "True");
    EXPECT_EQ(again.Get("Vantrel", "Printing", "PrintQuality", "x"), "True");
}
