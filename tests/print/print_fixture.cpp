#include "tests/print/print_fixture.h"

#include "print/print.h"
#include "store/report.h"

namespace vt::test {

void PrintTest::SetUp() {
    settings_ = std::make_unique<settings::IniSettings>(PathIn("settings"));
    settings::InstallSettings(settings_.get());

    auto& r = Report();
    r.CRF_Folder = temp_.Path();
    r.CRF_Path = PathIn("Mercy.CRF");
    r.CRF_Title = "Mercy.CRF";
    r.CRF_FormNum = "0287";
    r.CRF_ProviderName = "Mercy Home Office";
    r.CRF_ProviderNumber = "05-1234";
    r.CRF_FYStart = *DateTime::FromParts(2004, 10, 1);
    r.CRF_FYEnd = *DateTime::FromParts(2005, 9, 30);
    r.CRF_HeaderLines = {"", "", ""};
    r.Message_Mode = "";

    print::Set_Landscape();
    print::PrintLayout().Last_Orientation = 0;
}

void PrintTest::TearDown() {
    settings::InstallSettings(nullptr);
    for (int fn = 1; fn < 10; ++fn) print::ClosePrintFile(fn);
}

}  // namespace vt::test
