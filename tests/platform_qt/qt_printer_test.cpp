// The Qt printer, writing PDFs that poppler's tools read back.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QSpinBox>

#include "platform/printer/qt_printer.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui_qt.h"
#include "print/print.h"
#include "tests/platform_qt/answer_dialog.h"
#include "tests/support/plain_user.h"
#include "tests/support/print_files.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines SplitLines(const std::string& text) {
    Lines lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string TrimRight(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// The printed text of each page: lines without their trailing blanks, and
// without the blank lines, whose height the PDF text cannot tell exactly.
using Pages = std::vector<Lines>;

Pages PagesOfPrintFile(const Lines& file) {
    Pages pages;
    for (const auto& line : file) {
        if (!line.empty() && line[0] == '\f') {
            pages.emplace_back();
            continue;
        }
        if (!TrimRight(line).empty()) pages.back().push_back(TrimRight(line));
    }
    return pages;
}

Pages PagesOfPdfText(const std::string& text) {
    Pages pages(1);
    for (const auto& line : SplitLines(text)) {
        std::string rest = line;
        while (!rest.empty() && rest[0] == '\f') {
            pages.emplace_back();
            rest.erase(0, 1);
        }
        if (!TrimRight(rest).empty()) pages.back().push_back(TrimRight(rest));
    }
    while (!pages.empty() && pages.back().empty()) pages.pop_back();
    return pages;
}

// Every page's lines moved left by the same amount, as the PDF text starts at
// the leftmost character printed.
Pages WithoutCommonIndent(Pages pages) {
    for (auto& page : pages) {
        std::size_t indent = std::string::npos;
        for (const auto& l : page) indent = std::min(indent, l.find_first_not_of(' '));
        for (auto& l : page) l.erase(0, indent);
    }
    return pages;
}

class QtPrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_ = std::make_unique<settings::IniSettings>(folder_.PathOf("settings"));
        settings::InstallSettings(settings_.get());
        printer::InstallPrinter(&printer_);
    }
    void TearDown() override {
        printer::InstallPrinter(nullptr);
        settings::InstallSettings(nullptr);
    }

    std::string Path(const std::string& name) const { return folder_.PathOf(name); }

    // Writes a print file through the print engine's own writer.
    std::string WritePrintFile(const std::string& name, const Lines& lines) {
        const std::string path = Path(name);
        const int fn = print::OpenPrintFile(path);
        for (const auto& l : lines) {
            if (!l.empty() && l[0] == '\f') print::Out(fn).PageFeed(l.size() > 1 ? l[1] : 0).Line();
            else print::Out(fn).Line(l);
        }
        print::ClosePrintFile(fn);
        return path;
    }

    static std::vector<std::string> PageSizes(const std::string& pdf) {
        auto info = RunCommand("pdfinfo -f 1 -l 999 " + Quote(pdf));
        EXPECT_TRUE(info) << "pdfinfo (poppler-utils) is needed";
        std::vector<std::string> sizes;
        const std::regex size(R"(Page +\d+ size: +([\d.]+) x ([\d.]+) pts)");
        for (std::sregex_iterator it(info->begin(), info->end(), size), end; it != end; ++it)
            sizes.push_back((*it)[1].str() + "x" + (*it)[2].str());
        return sizes;
    }

    // Width of one character on the first page, from the first two words of
    // the first line ("L1 row").
    static double CharacterPitch(const std::string& pdf) {
        auto boxes = RunCommand("pdftotext -bbox -f 1 -l 1 " + Quote(pdf) + " -");
        EXPECT_TRUE(boxes);
        if (!boxes) return 0;
        const std::regex word(R"re(<word xMin="([\d.]+)")re");
        std::vector<double> x;
        for (std::sregex_iterator it(boxes->begin(), boxes->end(), word), end; it != end && x.size() < 2; ++it)
            x.push_back(std::stod((*it)[1].str()));
        EXPECT_EQ(x.size(), 2u);
        return x.size() == 2 ? (x[1] - x[0]) / 3 : 0;
    }

    TempFolder folder_{"vt-qtprint"};
    std::unique_ptr<settings::IniSettings> settings_;
    printer::QtPrinter printer_{printer::QtPrinter::Target::Pdf};
    ScriptedUi ui_;
};

// A full page of numbered rows reaching the last column of the layout.
Lines FullPage(const std::string& feed, const std::string& tag, int rows, int width) {
    Lines page{feed};
    for (int r = 1; r <= rows; ++r) {
        std::string row = tag + " row " + std::to_string(r) + " |";
        std::string amount = std::to_string(r * 1234) + ".50";
        row += std::string(static_cast<std::size_t>(width) - row.size() - amount.size(), ' ') + amount;
        page.push_back(row);
    }
    return page;
}

TEST_F(QtPrinterTest, PdfPagesMatchThePrintFile) {
    ASSERT_TRUE(RunCommand("pdftotext -v")) << "pdftotext (poppler-utils) is needed";
    Lines file;
    for (const auto& page : {FullPage("\f\x02", "L1", 71, 176), FullPage("\f", "L2", 71, 176),
                             FullPage("\f\x01", "P3", 101, 138)})
        file.insert(file.end(), page.begin(), page.end());
    const std::string path = WritePrintFile("SHEET.prt", file);

    int orientation = 2;
    ASSERT_EQ(print::Print_File(path, orientation), 0);
    const std::string pdf = Path("SHEET.pdf");
    EXPECT_EQ(printer_.LastOutput(), pdf);
    ASSERT_TRUE(fs::exists(pdf));

    EXPECT_EQ(PageSizes(pdf), (std::vector<std::string>{"792x612", "792x612", "612x792"}));
    // The text comes back column for column when read at the font's own pitch.
    const double pitch = CharacterPitch(pdf);
    EXPECT_NEAR(pitch, 7 * 0.6, 0.05);
    const auto text = RunCommand("pdftotext -layout -fixed " + std::to_string(pitch) + " " + Quote(pdf) + " -");
    ASSERT_TRUE(text);
    const Pages printed = PagesOfPdfText(*text);
    const Pages expected = PagesOfPrintFile(file);
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(WithoutCommonIndent(printed), expected);

    const auto fonts = RunCommand("pdffonts " + Quote(pdf));
    ASSERT_TRUE(fonts);
    EXPECT_NE(fonts->find("LiberationMono-Bold"), std::string::npos) << *fonts;
}

// Pages longer than a sheet holds at the usual pitch (a findings print's 110
// lines, J's long sub-account lists) close up; none runs onto a page of its own.
TEST_F(QtPrinterTest, EveryPageOfThePrintFileIsOneSheetWhateverItsLength) {
    Lines file;
    for (const auto& page : {FullPage("\f\x01", "P1", 150, 100), FullPage("\f\x02", "L2", 120, 100),
                             FullPage("\f", "L3", 3, 100)})
        file.insert(file.end(), page.begin(), page.end());
    int orientation = 1;
    ASSERT_EQ(print::Print_File(WritePrintFile("LONG.prt", file), orientation), 0);
    EXPECT_EQ(PageSizes(Path("LONG.pdf")), (std::vector<std::string>{"612x792", "792x612", "792x612"}));
    const auto text = RunCommand("pdftotext -layout " + Quote(Path("LONG.pdf")) + " -");
    ASSERT_TRUE(text);
    const Pages printed = PagesOfPdfText(*text);
    ASSERT_EQ(printed.size(), 3u);
    for (const auto& [page, first, last] : {std::tuple{0, "P1 row 1 ", "P1 row 150 "},
                                            std::tuple{1, "L2 row 1 ", "L2 row 120 "},
                                            std::tuple{2, "L3 row 1 ", "L3 row 3 "}}) {
        EXPECT_EQ(printed[page].front().find(first), 0u) << printed[page].front();
        EXPECT_EQ(printed[page].back().find(last), 0u) << printed[page].back();
    }
}

TEST_F(QtPrinterTest, DefaultFontIsFixedPitch) {
    EXPECT_EQ(printer_.FontName(), "Liberation Mono");
    bool listed = false;
    for (int i = 0; i < printer_.FontCount(); ++i) listed = listed || printer_.Font(i) == "Liberation Mono";
    EXPECT_TRUE(listed) << "fonts-liberation is needed";
}

TEST_F(QtPrinterTest, AbortLeavesNoHalfDocument) {
    const std::string path = WritePrintFile("A.prt", {"\f\x02", "first page"});
    printer_.BeginDocument(path);
    printer_.SetOrientation(2);
    printer_.PrintLine("half a page");
    printer_.Abort();
    EXPECT_FALSE(fs::exists(Path("A.pdf")));

    int orientation = 1;
    ASSERT_EQ(print::Print_File(path, orientation), 0);
    EXPECT_EQ(PageSizes(Path("A.pdf")), std::vector<std::string>{"792x612"});
    const auto text = RunCommand("pdftotext -layout " + Quote(Path("A.pdf")) + " -");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->find("half a page"), std::string::npos);
    EXPECT_NE(text->find("first page"), std::string::npos);

    // Aborted over a whole PDF, that one stays as it was, nothing beside it.
    const auto whole = std::pair(ReadBytes(Path("A.pdf")), NamesIn(folder_.Path()));
    printer_.BeginDocument(path);
    printer_.PrintLine("half a page");
    printer_.Abort();
    EXPECT_EQ(std::pair(ReadBytes(Path("A.pdf")), NamesIn(folder_.Path())), whole);
}

// Every report of a folder prints worksheet F to the same F.prt and F.pdf: a
// print replaces another user's files where the folder lets it, and else says
// whether the file or its folder refused it.
TEST_F(QtPrinterTest, TwoOwnersOfOnePrintFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "another user's file takes root to make";
    const std::string createPrt = "Unable to create the print file ", startPdf =
        "The following error occurred during print of document:\n\r\rUnable to start printing to ";
    const std::string folderReason = "there is no permission to write in its folder",
                      fileReason = "there is no permission to write the file";
    const struct {
        const char* folder;
        unsigned mode;
        bool prt, pdf;      // the first user's F.prt and F.pdf are there
        const char* after;  // whose F.prt and F.pdf are there after the second user's print
        std::string told, refused, reason;  // the message's start, the file it names, the reason
    } cases[] = {
        {"shared", 0777, true, true, "second second", "", "", ""},
        {"closed", 0755, false, false, "none none", createPrt, "F.prt", folderReason},
        {"sticky", 01777, true, true, "first first", createPrt, "F.prt", fileReason},
        {"sticky PDF", 01777, false, true, "second first", startPdf, "F.pdf", fileReason},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string dir = Path(c.folder), prt = dir + "/F.prt";
        fs::create_directory(dir);
        for (const auto& [name, there] : {std::pair{"/F.prt", c.prt}, {"/F.pdf", c.pdf}}) {
            if (!there) continue;
            WriteBytes(dir + name, "the first user's");
            fs::permissions(dir + name, fs::perms(0644));
        }
        fs::permissions(dir, fs::perms(c.mode));
        const std::string told = AsPlainUser([&] {
            ::umask(022);
            ui_.AllowMessages();
            try {
                const int fn = print::OpenPrintFile(prt);
                print::Out(fn).Line("the second user's");
                print::ClosePrintFile(fn);
                int orientation = 2;
                print::Print_File(prt, orientation);
            } catch (const std::exception& e) {
                return std::string(e.what());
            }
            return ui_.Prompts().empty() ? std::string() : ui_.Prompts().back();
        });
        EXPECT_EQ(told, c.told.empty() ? "" : c.told + dir + "/" + c.refused + ": " + c.reason + ".");
        // A file of the second user's has the permissions of any other (not a
        // temporary file's 0600).
        const auto whose = [&](const std::string& name, const std::string& written) -> std::string {
            struct stat st {};
            if (::stat((dir + name).c_str(), &st) != 0) return "none";
            const std::string bytes = ReadBytes(dir + name);
            if (st.st_uid == 0 && bytes == "the first user's") return "first";
            const bool second = st.st_uid == 65534 && (st.st_mode & 0777) == 0644 && bytes.starts_with(written);
            return second ? "second" : "neither";
        };
        EXPECT_EQ(whose("/F.prt", "the second user's\r\n") + " " + whose("/F.pdf", "%PDF"), c.after);
        // Nothing half-written is left beside them.
        EXPECT_EQ(NamesIn(dir).size(), std::string(c.after) == "none none" ? 0u : 2u);
    }
}

// The chosen printer while the system has it, else the system's default,
// else none, which means a PDF.
TEST(PrinterToUseTest, ChosenElseDefaultElseNone) {
    using Printers = std::vector<std::string>;
    for (const auto& [chosen, present, fallback, used] :
         {std::tuple{"Office", Printers{"Lab", "Office"}, "Lab", "Office"}, {"Office", {"Office"}, "", "Office"},
          {"", {"Lab", "Office"}, "Lab", "Lab"}, {"Removed", {"Lab"}, "Lab", "Lab"}, {"Removed", {}, "", ""},
          {"", {}, "", ""}})
        EXPECT_EQ(printer::PrinterToUse(chosen, present, fallback), used) << chosen;
}

// The real printer, as the program installs it, with a choice this machine
// cannot honour.
class ChosenPrinterTest : public QtPrinterTest {
protected:
    void SetUp() override {
        QtPrinterTest::SetUp();
        printer::InstallPrinter(&system_);
    }
    void TearDown() override {
        printer::SetChosenPrinterName("");
        printer::SetChosenPdfFile("");
        QtPrinterTest::TearDown();
    }
    printer::QtPrinter system_;
};

TEST_F(ChosenPrinterTest, AChosenPrinterTheSystemLacksFallsBackToAPdf) {
    // Where the system has printers the document would reach one of them.
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        GTEST_SKIP() << "this machine has printers";
    }
    printer::SetChosenPrinterName("No Such Printer");
    const std::string path = WritePrintFile("CHOSEN.prt", {"\f\x01", "on the chosen printer"});
    int orientation = 1;
    const std::string told = "No printer is available: the pages were written to the file \"" + Path("CHOSEN.pdf") + "\".";
    ui_.ExpectMessage();
    ASSERT_EQ(print::Print_File(path, orientation), 0);
    EXPECT_EQ(system_.LastOutput(), Path("CHOSEN.pdf"));
    EXPECT_TRUE(fs::exists(Path("CHOSEN.pdf")));
    EXPECT_EQ(ui_.Prompts(), std::vector<std::string>{told});
    EXPECT_EQ(ui_.StatusUnderMessages(),
              std::vector<std::string>{" Not sent to No Such Printer: written to " + Path("CHOSEN.pdf")});

    // A file chosen in Printer Setup takes the pages, the user's own choice:
    // no printer is asked for, and the status line says where they went.
    printer::SetChosenPdfFile(Path("chosen output.pdf"));
    ASSERT_EQ(print::Print_File(path, orientation), 0);
    EXPECT_TRUE(fs::exists(Path("chosen output.pdf")));
    EXPECT_EQ(ui_.Prompts(), std::vector<std::string>{told});
    EXPECT_EQ(ui_.StatusTexts().back(), " Printed to " + Path("chosen output.pdf"));
}

// A batch that fails part way keeps no file that lacks its first documents.
TEST_F(ChosenPrinterTest, ABatchThatFailsPartWayLeavesNoFileCutShort) {
    printer::SetChosenPdfFile(Path("mine.pdf"));
    system_.BeginBatch();
    for (const char* sheet : {"A.prt", "C.prt"}) {
        system_.BeginDocument(Path(sheet));  // A's document is held for C's
        system_.PrintLine(sheet);
    }
    system_.Abort();
    system_.BeginDocument(Path("J.prt"));
    EXPECT_THROW(system_.PrintLine("J.prt"), std::runtime_error);
    EXPECT_THROW(system_.EndBatch(), std::runtime_error);
    EXPECT_FALSE(fs::exists(Path("mine.pdf")));
}

// Printer Setup offers what printing honours: a file takes one copy and
// needs a name; a chosen printer the system no longer has is not offered.
TEST_F(ChosenPrinterTest, PrinterSetupWritesWhereThePrinterLooks) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has printers";
    printer::SetChosenPrinterName("No Such Printer");
    ui::QtUi qt;
    EXPECT_EQ(qt.ChosenPrinter(), "No Such Printer");
    const QString chosen = QString::fromStdString(Path("chosen.pdf"));
    AnswerDialog("PrinterSetup", [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Printer Setup");
        auto* printers = dialog.findChild<QComboBox*>("printers");
        auto* file = dialog.findChild<QLineEdit*>("filename");
        auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        ASSERT_TRUE(printers && file);
        EXPECT_EQ(printers->count(), 1);
        EXPECT_EQ(printers->currentText(), "Print to File (PDF)");
        EXPECT_FALSE(dialog.findChild<QSpinBox*>("copies")->isEnabled());
        EXPECT_FALSE(ok->isEnabled());
        for (auto* label : dialog.findChildren<QLabel*>())  // every accelerator leads to its field
            if (label->text().contains('&')) {
                EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
            }
        ui_.QueueSaveFile(ui::FileChoice{chosen.toStdString(), "chosen.pdf"});
        QTest::mouseClick(dialog.findChild<QPushButton*>("browse"), Qt::LeftButton);
        EXPECT_EQ(file->text(), chosen);
        EXPECT_TRUE(ok->isEnabled());
    });
    ASSERT_TRUE(qt.PrinterSetup("Printer Setup"));
    EXPECT_EQ(printer::ChosenPrinterName(), "");
    EXPECT_EQ(qt.ChosenPrinter(), printer::ChosenPrinterName());
    EXPECT_EQ(printer::ChosenPdfFile(), chosen.toStdString());
}

}  // namespace
}  // namespace vt::test
