// Prints to the file chosen in Printer Setup, started as a user starts them:
// Print Select Worksheets keeps every chosen sheet in that one file, in order;
// a print that cannot write it says why, and so does the status line, where no
// earlier print's word stays.
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <iterator>
#include <sstream>

#include "platform/printer/qt_printer.h"
#include "shell/forms.h"
#include "shell/frmSelectivePrints.h"
#include "tests/shell/dialog_fixture.h"
#include "tests/support/print_files.h"

namespace vt::test {
namespace {

// Each page's words (a page ends at a page feed): what a PDF's text keeps of
// a print file.
std::vector<std::vector<std::string>> PageWords(const std::string& text) {
    std::vector<std::vector<std::string>> pages;
    std::istringstream in(text);
    for (std::string page; std::getline(in, page, '\f');) {
        std::istringstream words(page.erase(0, page.find_first_not_of("\x01\x02")));
        if (std::vector<std::string> w{std::istream_iterator<std::string>(words), {}}; !w.empty()) pages.push_back(w);
    }
    return pages;
}

class PrintToFile : public DialogTest {
protected:
    void TearDown() override {
        printer::SetChosenPdfFile("");
        printer::InstallPrinter(&printer);
        DialogTest::TearDown();
    }
    printer::QtPrinter system_;
};

TEST_F(PrintToFile, EveryPrintKeepsItsPagesInTheChosenFileOrSaysWhyNot) {
    MakeReport("TEST.CRF");
    printer::InstallPrinter(&system_);
    const std::string mine = PathOf("mine.pdf"), lost = PathOf("no such folder/mine.pdf"), full = PathOf("full.pdf");
    std::filesystem::create_symlink("/dev/full", full);
    const std::string unable = "Unable to start printing to " + lost + ": the folder does not exist.";
    const std::string error = "The following error occurred during print of ";
    const struct {
        std::string file;
        bool f7;  // else Print Select Worksheets with A, C and J
        std::string told, status;
    } cases[] = {
        {mine, false, "the file \"" + mine + "\".", " Printed to " + mine},
        {lost, true, error + "document:\n\r\r" + unable, " Printing failed: " + unable},
        {lost, false, "Worksheets A, C and J were not printed; the findings (View, Open A View, Edit Checks) say why.",
         " Printing failed: worksheets A, C and J were not printed"},
        {full, true, error + "document:\n\r\rUnable to print to " + full + ": the disk is full.",
         " Printing failed: Unable to print to " + full + ": the disk is full."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        printer::SetChosenPdfFile(c.file);
        ui.SetStatus(" Printed on VantrelPDF", true);  // an earlier print's word
        ui.script.ClearRecords();
        ui.script.ExpectMessage();
        if (c.f7) {
            ASSERT_TRUE(WaitActive(main));
            QTest::keyClick(main, Qt::Key_F7);
        } else {
            Action("mnuReportPrintSelect")->trigger();
            QWidget* w = nullptr;
            ASSERT_TRUE(gui::Is_Form_Loaded("frmSelectivePrints", &w));
            auto* prints = static_cast<gui::frmSelectivePrints*>(w);
            for (const char* entry : {"A (A)", "C (C)", "J (J)"})
                prints->lbWorksheets->findItems(entry, Qt::MatchExactly).value(0)->setSelected(true);
            QTest::mouseClick(prints->cmdPrint, Qt::LeftButton);
        }
        ASSERT_EQ(ui.script.Prompts().size(), 1u);
        EXPECT_TRUE(ui.script.Prompts()[0].ends_with(c.told)) << ui.script.Prompts()[0];
        // The status line says it as the message opens, and still after.
        EXPECT_EQ(ui.script.StatusUnderMessages(), std::vector<std::string>{c.status});
        EXPECT_EQ(ui.script.StatusTexts().empty() ? "(unchanged)" : ui.script.StatusTexts().back(), c.status);
        if (c.file != mine) continue;
        const auto text = RunCommand("pdftotext -layout " + Quote(mine) + " -");
        ASSERT_TRUE(text) << "pdftotext (poppler-utils) is needed";
        EXPECT_EQ(PageWords(*text),
                  PageWords(ReadBytes(PathOf("A.prt")) + ReadBytes(PathOf("C.prt")) + ReadBytes(PathOf("J.prt"))));
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(full))) << "a file cut short is kept";
}

}  // namespace
}  // namespace vt::test
