// Printing against a real print server: scripts/test starts a private cupsd
// with a PDF queue and names it in the environment (CUPS_SERVER, the
// server's process VT_CUPSD_PID, the queue VT_CUPS_QUEUE and the folder its
// PDFs go to, VT_CUPS_PDF_OUT; the policy of a queue that asks for a login,
// VT_CUPS_LOGIN_POLICY, with the one login it takes, VT_CUPS_LOGIN_USER and
// VT_CUPS_LOGIN_PASSWORD). Without one these tests skip. The tests' data is
// where the build found it, or where the environment's VT_TESTS_DIR says (a
// copy for a user who cannot read the build's).
#include <gtest/gtest.h>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>
#include <sys/types.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/printer/print_server.h"
#include "platform/printer/qt_printer.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui_qt.h"
#include "print/print.h"
#include "tests/platform_qt/answer_dialog.h"
#include "tests/support/print_files.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

namespace vt::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Words = std::vector<std::string>;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The words of a text; control characters (a page feed's orientation mark)
// part words as blanks do.
Words WordsOf(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < ' ') c = ' ';
    Words words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Each page's words, the way a reader of the page takes them in.
std::vector<Words> PdfPages(const std::string& pdf) {
    std::vector<Words> pages;
    const auto text = RunCommand("pdftotext -layout " + Quote(pdf) + " -");
    EXPECT_TRUE(text) << "pdftotext (poppler-utils) is needed";
    if (!text) return pages;
    std::string page;
    for (char c : *text + '\f') {
        if (c != '\f') {
            page += c;
            continue;
        }
        pages.push_back(WordsOf(page));
        page.clear();
    }
    while (!pages.empty() && pages.back().empty()) pages.pop_back();
    return pages;
}

std::vector<Words> PrintFilePages(const std::string& path) {
    std::vector<Words> pages;
    for (const auto& page : PrintPages(ReadBytes(path))) pages.push_back(WordsOf(page));
    return pages;
}

std::string Joined(const Words& words) {
    std::string text;
    for (const auto& w : words) text += (text.empty() ? "" : " ") + w;
    return text;
}

// The PDF holds the print file's pages, page for page, word for word.
void ExpectPagesOf(const std::string& pdf, const std::string& printFile) {
    const auto printed = PdfPages(pdf);
    const auto expected = PrintFilePages(printFile);
    ASSERT_EQ(printed.size(), expected.size()) << pdf;
    for (std::size_t i = 0; i < printed.size(); ++i)
        EXPECT_EQ(Joined(printed[i]), Joined(expected[i])) << "page " << i + 1 << " of " << pdf;
}

class PrintServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Env("VT_CUPSD_PID").empty()) GTEST_SKIP() << "no private print server (scripts/test starts one)";
        queue_ = Env("VT_CUPS_QUEUE");
        queueOut_ = Env("VT_CUPS_PDF_OUT");
        settings_ = std::make_unique<settings::IniSettings>(folder_.PathOf("settings"));
        settings::InstallSettings(settings_.get());
        printer::InstallPrinter(&printer_);
        const std::string data = Env("VT_TESTS_DIR");
        fs::copy_file(fs::path(data.empty() ? VT_TESTS_DIR : data) / "print/golden/three_sheets.prt", Path("SHEETS.prt"));
        before_ = QueuedPdfs();
    }
    void TearDown() override {
        if (Env("VT_CUPSD_PID").empty()) return;
        printer::InstallPrinter(nullptr);
        settings::InstallSettings(nullptr);
        printer::SetChosenPdfFile("");
        printer::SetChosenPrinterName("");
    }

    std::string Path(const std::string& name) const { return folder_.PathOf(name); }

    // The queue's PDFs and when each was written.
    std::map<std::string, fs::file_time_type> QueuedPdfs() const {
        std::map<std::string, fs::file_time_type> pdfs;
        for (const auto& entry : fs::directory_iterator(queueOut_))
            pdfs[entry.path().string()] = entry.last_write_time();
        return pdfs;
    }
    // A PDF the queue wrote since the test began; "" when none came in time.
    std::string NewQueuedPdf(std::chrono::seconds wait = 30s) const {
        for (auto end = std::chrono::steady_clock::now() + wait; std::chrono::steady_clock::now() < end;) {
            for (const auto& [pdf, written] : QueuedPdfs()) {
                const auto old = before_.find(pdf);
                if ((old == before_.end() || old->second != written) && Complete(pdf)) return pdf;
            }
            std::this_thread::sleep_for(200ms);
        }
        return "";
    }
    static bool Complete(const std::string& pdf) { return RunCommand("pdfinfo " + Quote(pdf)).has_value(); }

    bool SetPolicy(const std::string& name) const {
        return RunCommand("lpadmin -p " + Quote(queue_) + " -o printer-op-policy=" + name).has_value();
    }
    // The queue asks who prints while the object returned lives; none when it
    // could not be made to.
    struct LoginAsked {
        const PrintServerTest* test;
        ~LoginAsked() { test->SetPolicy("default"); }
    };
    std::unique_ptr<LoginAsked> AskingForALogin() const {
        if (!SetPolicy(Env("VT_CUPS_LOGIN_POLICY"))) return nullptr;
        return std::unique_ptr<LoginAsked>(new LoginAsked{this});
    }

    int Print(const std::string& name = "SHEETS.prt") {
        int orientation = 1;
        return print::Print_File(Path(name), orientation);
    }

    TempFolder folder_{"vt-printing"};
    std::unique_ptr<settings::IniSettings> settings_;
    printer::QtPrinter printer_;  // as the program installs it
    ScriptedUi ui_;
    std::string queue_, queueOut_;
    std::map<std::string, fs::file_time_type> before_;
};

TEST_F(PrintServerTest, ASheetReachesTheQueueWithThePagesOfItsPrintFile) {
    ASSERT_EQ(Print(), 0);
    EXPECT_TRUE(ui_.Prompts().empty());
    EXPECT_EQ(ui_.StatusTexts().back(), " Sent to " + queue_);
    EXPECT_FALSE(fs::exists(Path("SHEETS.pdf")));

    const std::string pdf = NewQueuedPdf();
    ASSERT_FALSE(pdf.empty()) << "no PDF came out of the queue";
    ExpectPagesOf(pdf, Path("SHEETS.prt"));
}

TEST_F(PrintServerTest, ARefusedJobIsToldAndItsPagesWrittenToAPdf) {
    ASSERT_TRUE(RunCommand("cupsreject " + Quote(queue_)));
    struct Accept {
        std::string queue;
        ~Accept() { RunCommand("cupsaccept " + Quote(queue)); }
    } accept{queue_};

    ui_.ExpectMessage();
    EXPECT_EQ(Print(), print::kPrinterError);
    ASSERT_EQ(ui_.Messages().size(), 1u);
    const ShownMessage told = ui_.Messages().front();
    EXPECT_EQ(told.title, "Printing Error");
    EXPECT_EQ(told.style, ui::kCritical);
    EXPECT_EQ(told.prompt.rfind("The following error occurred during print of document:\n\r\rThe printer \"" +
                                    queue_ + "\" did not take the pages: ",
                                0),
              0u)
        << told.prompt;
    EXPECT_NE(told.prompt.find("not accepting jobs"), std::string::npos) << told.prompt;
    EXPECT_NE(told.prompt.find("The pages were written to the file \"" + Path("SHEETS.pdf") + "\"."),
              std::string::npos)
        << told.prompt;
    EXPECT_EQ(ui_.StatusUnderMessages(), std::vector<std::string>{" Not sent to " + queue_ + ": written to " + Path("SHEETS.pdf")});
    ExpectPagesOf(Path("SHEETS.pdf"), Path("SHEETS.prt"));
    EXPECT_EQ(NewQueuedPdf(2s), "");

    // A batch of prints names the file among the others it wrote, at its
    // end, with the cause a single print tells.
    print::PrintedToFiles batch;
    ui_.ExpectMessage();
    EXPECT_EQ(Print(), print::kPrinterError);
    EXPECT_EQ(batch.Files(), std::vector<std::string>{Path("SHEETS.pdf")});
    ui_.ExpectMessage();
    batch.Tell();
    EXPECT_EQ("The following error occurred during print of document:\n\r\r" + ui_.Prompts().back(), told.prompt);
}

// A stopped server takes the connection and never answers.
class StoppedServerTest : public PrintServerTest {
protected:
    void Stop() {
        pid_ = static_cast<pid_t>(std::stol(Env("VT_CUPSD_PID")));
        ASSERT_EQ(::kill(pid_, SIGSTOP), 0);
    }
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGCONT);
            // Later tests find the server answering again.
            bool answers = false;
            for (int i = 0; i < 100 && !answers; ++i) {
                printer::PrintServer server(1s, nullptr);
                answers = server.Printers().has_value();
                if (!answers) std::this_thread::sleep_for(100ms);
            }
            EXPECT_TRUE(answers);
        }
        PrintServerTest::TearDown();
    }
    // Counts from now on the timer ticks a window paints at while the print waits.
    void CountPainting() {
        QObject::connect(&painting_, &QTimer::timeout, [this] { ++ticks_; });
        painting_.start(50);
    }
    pid_t pid_ = 0;
    QTimer painting_;
    int ticks_ = 0;
};

TEST_F(StoppedServerTest, IsGivenUpWithinTheLimitWhileTheWindowPaints) {
    Stop();
    CountPainting();

    QElapsedTimer clock;
    clock.start();
    ui_.ExpectMessage();
    EXPECT_EQ(Print(), print::kPrinterError);
    const qint64 took = clock.elapsed();
    std::printf("[ timing ] a print on the stopped server took %lld ms\n", static_cast<long long>(took));
    EXPECT_LT(took, printer::QtPrinter::kServerPatience.count() + 1000);
    EXPECT_GT(ticks_, 20) << "the window was not painted while the print waited";
    ASSERT_EQ(ui_.Prompts().size(), 1u);
    EXPECT_EQ(ui_.Prompts().front(),
              "The following error occurred during print of document:\n\r\rThe print server did not answer within 4 "
              "seconds.\nThe pages were written to the file \"" + Path("SHEETS.pdf") + "\".");
    EXPECT_EQ(ui_.StatusUnderMessages(), std::vector<std::string>{" Not sent to a printer: written to " + Path("SHEETS.pdf")});
    ExpectPagesOf(Path("SHEETS.pdf"), Path("SHEETS.prt"));

    // The next print of the same batch does not wait on the silent server
    // again while it owes the answer, and says so.
    fs::copy_file(Path("SHEETS.prt"), Path("NEXT.prt"));
    clock.restart();
    ui_.ExpectMessage();
    EXPECT_EQ(Print("NEXT.prt"), print::kPrinterError);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(fs::exists(Path("NEXT.pdf")));
    EXPECT_EQ(ui_.Prompts().back(),
              "The following error occurred during print of document:\n\r\rThe print server has not yet answered an "
              "earlier request, so it was not asked again.\nThe pages were written to the file \"" +
                  Path("NEXT.pdf") + "\".");
}

// A print to the file chosen in Printer Setup asks the server nothing.
TEST_F(StoppedServerTest, APrintToTheChosenFileAsksTheServerNothing) {
    printer::SetChosenPdfFile(Path("chosen.pdf"));
    Stop();
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(Print(), 0);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(ui_.StatusTexts().back(), " Printed to " + Path("chosen.pdf"));
}

// A job given up on while the server was stopped never prints once it
// resumes: the user already has its pages in a file. (The queue holds its
// jobs meanwhile, so that only a cancel keeps the pages from coming out.)
TEST_F(StoppedServerTest, AJobGivenUpOnIsCancelledWhenTheServerAnswersAfterAll) {
    printer::QtPrinter toPdf(printer::QtPrinter::Target::Pdf);
    printer::InstallPrinter(&toPdf);
    ASSERT_EQ(Print(), 0);
    printer::InstallPrinter(&printer_);
    ASSERT_TRUE(RunCommand("cupsdisable " + Quote(queue_)));
    struct Enable {
        std::string queue;
        ~Enable() { RunCommand("cupsenable " + Quote(queue)); }
    } enable{queue_};

    printer::PrintServer server(2s, nullptr);
    ASSERT_TRUE(server.Printers());
    Stop();
    EXPECT_EQ(server.PrintPdf(queue_, Path("SHEETS.pdf"), "given up"), server.SilenceText());
    ::kill(pid_, SIGCONT);

    std::optional<std::string> waiting, done;
    for (int i = 0; i < 100; ++i) {
        waiting = RunCommand("lpstat -W not-completed -o " + Quote(queue_));
        done = RunCommand("lpstat -W completed -o " + Quote(queue_));
        if (waiting && waiting->empty() && done && !done->empty()) break;
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_EQ(waiting, "") << "the job given up on still waits to print";
    EXPECT_NE(done.value_or(""), "");
    EXPECT_EQ(NewQueuedPdf(2s), "");
}

// Printer Setup's dialog, answered the way a user does it: "Print to File
// (PDF)" picked in its printer list and a file name typed.
void AnswerPrinterSetup(std::function<void(QComboBox*, QLineEdit*)> answer) {
    AnswerDialog("PrinterSetup", [answer](QDialog& dialog) {
        answer(dialog.findChild<QComboBox*>("printers"), dialog.findChild<QLineEdit*>("filename"));
    });
}

TEST_F(PrintServerTest, PrintToFileChosenInPrinterSetupIsHonouredWithAPrinterPresent) {
    ui::QtUi qt;
    const std::string chosen = Path("chosen output.pdf");
    AnswerPrinterSetup([&](QComboBox* printers, QLineEdit* file) {
        ASSERT_TRUE(printers && file);
        EXPECT_EQ(printers->currentText().toStdString(), queue_);
        printers->setCurrentIndex(printers->findText("Print to File (PDF)"));
        file->setText(QString::fromStdString(chosen));
    });
    ASSERT_TRUE(qt.PrinterSetup("Printer Setup"));
    EXPECT_EQ(printer::ChosenPdfFile(), chosen);

    // Reopened, the dialog shows the choice as it was left.
    std::string shown, shownFile;
    AnswerPrinterSetup([&](QComboBox* printers, QLineEdit* file) {
        ASSERT_TRUE(printers && file);
        shown = printers->currentText().toStdString();
        shownFile = file->text().toStdString();
    });
    ASSERT_TRUE(qt.PrinterSetup("Printer Setup"));
    EXPECT_EQ(shown, "Print to File (PDF)");
    EXPECT_EQ(shownFile, chosen);
    EXPECT_EQ(printer::ChosenPdfFile(), chosen);

    ASSERT_EQ(Print(), 0);
    EXPECT_TRUE(ui_.Prompts().empty());
    EXPECT_EQ(ui_.StatusTexts().back(), " Printed to " + chosen);
    ExpectPagesOf(chosen, Path("SHEETS.prt"));
    EXPECT_FALSE(fs::exists(Path("SHEETS.pdf")));

    // The printer chosen again takes the next print, and the status line says so.
    AnswerPrinterSetup([&](QComboBox* printers, QLineEdit*) {
        printers->setCurrentIndex(printers->findText(QString::fromStdString(queue_)));
    });
    ASSERT_TRUE(qt.PrinterSetup("Printer Setup"));
    EXPECT_EQ(printer::ChosenPdfFile(), "");
    ASSERT_EQ(Print(), 0);
    EXPECT_EQ(ui_.StatusTexts().back(), " Sent to " + queue_);
    EXPECT_NE(NewQueuedPdf(), "");
}

// Printer Setup keeps a print's limit: with the server stopped the dialog
// comes within it, the window painting meanwhile, offering the printer known
// before and the file, with a word that the printers could not be listed.
TEST_F(StoppedServerTest, PrinterSetupComesWithinTheLimitWithWhatIsKnown) {
    ui::QtUi qt;
    AnswerPrinterSetup([&](QComboBox* printers, QLineEdit*) { printers->setCurrentText(QString::fromStdString(queue_)); });
    ASSERT_TRUE(qt.PrinterSetup("Printer Setup"));
    Stop();
    CountPainting();
    QElapsedTimer clock;
    qint64 shown = -1;
    QStringList offered;
    AnswerDialog("PrinterSetup", [&](QDialog& dialog) {
        shown = clock.elapsed();
        auto* printers = dialog.findChild<QComboBox*>("printers");
        for (int i = 0; i < printers->count(); ++i) offered << printers->itemText(i);
        offered << dialog.findChild<QLabel*>("word")->text();
    });
    clock.start();
    ASSERT_TRUE(qt.PrinterSetup("Printer Setup"));
    std::printf("[ timing ] Printer Setup on the stopped server showed after %lld ms\n", static_cast<long long>(shown));
    EXPECT_LT(shown, printer::QtPrinter::kServerPatience.count() + 1000);
    EXPECT_GT(ticks_, 20) << "the window was not painted while Printer Setup waited";
    EXPECT_EQ(offered, (QStringList{QString::fromStdString(queue_), "Print to File (PDF)",
                                    "The printers could not be listed. The print server did not answer within 4 seconds."}));
    EXPECT_EQ(printer::ChosenPrinterName(), queue_);
}

// A user who takes longer to type a first login than the server's answers may.
class TypingUi : public ScriptedUi {
    std::optional<ui::Login> AskLogin(const ui::LoginRequest& request) override {
        if (LoginRequests().empty()) std::this_thread::sleep_for(printer::QtPrinter::kServerPatience + 200ms);
        return ScriptedUi::AskLogin(request);
    }
};

// A queue whose server asks who prints: the login is asked of the user (the
// time taken typing is not the server's silence); a cancelled or refused one
// is told, the pages kept in a PDF readable as the print files are; the next
// print is not harmed.
TEST_F(PrintServerTest, ALoginTheServerAsksForIsAskedOfTheUser) {
    if (Env("VT_CUPS_LOGIN_POLICY").empty()) GTEST_SKIP() << "the print server has no login check (VT_LOGIN_CHECK)";
    const auto restore = AskingForALogin();
    ASSERT_TRUE(restore);
    std::ofstream(Path("made here")) << "x";
    TypingUi user;
    const std::pair<std::vector<std::optional<ui::Login>>, std::string> cases[] = {
        {{std::nullopt}, "the print server asked for a login and none was given."},
        {{ui::Login{"vantrel-nobody", "wrong"}, std::nullopt}, "the print server did not accept the name and password given."},
    };
    for (const auto& [answers, told] : cases) {
        user.ClearRecords();
        for (const auto& answer : answers) user.QueueLogin(answer);
        user.ExpectMessage();
        EXPECT_EQ(Print(), print::kPrinterError);
        std::vector<ui::LoginRequest> asked;
        for (std::size_t i = 0; i < answers.size(); ++i)  // the name given last proposed again
            asked.push_back({"localhost", queue_, i > 0 ? answers[i - 1]->user : Env("VT_CUPS_LOGIN_USER"), i > 0});
        EXPECT_EQ(user.LoginRequests(), asked);
        EXPECT_EQ(user.Prompts(), std::vector<std::string>{"The following error occurred during print of document:\n\r\r"
                                                           "The printer \"" + queue_ + "\" did not take the pages: " +
                                                           told + "\nThe pages were written to the file \"" +
                                                           Path("SHEETS.pdf") + "\"."});
        ExpectPagesOf(Path("SHEETS.pdf"), Path("SHEETS.prt"));
        EXPECT_EQ(fs::status(Path("SHEETS.pdf")).permissions(), fs::status(Path("made here")).permissions());
    }
    ASSERT_TRUE(SetPolicy("default"));
    user.ClearRecords();
    EXPECT_EQ(Print(), 0);
    EXPECT_EQ(user.StatusTexts().back(), " Sent to " + queue_);
    EXPECT_NE(NewQueuedPdf(), "");
}

// One print command asks for a login at most once, and the time the server
// takes to refuse a wrong one (the login check delays each refusal) is not its
// silence. A print the program tells as not sent leaves no job on the server.
TEST_F(PrintServerTest, APrintCommandAsksForTheLoginOnceAndLeavesNoJobItDidNotSend) {
    const std::string user = Env("VT_CUPS_LOGIN_USER"), password = Env("VT_CUPS_LOGIN_PASSWORD");
    if (user.empty() || password.empty()) GTEST_SKIP() << "the print server checks no login of the tests'";
    const auto restore = AskingForALogin();
    ASSERT_TRUE(restore);
    for (const char* name : {"B.prt", "C.prt"}) fs::copy_file(Path("SHEETS.prt"), Path(name));
    const ui::Login right{user, password}, wrong{user, "not " + password};
    const std::string cancelled = "The printer \"" + queue_ + "\" did not take the pages: the print server asked for "
                                  "a login and none was given.";
    struct Case {
        std::vector<std::string> sheets;  // more than one: a batch, as Print Select makes
        std::vector<std::optional<ui::Login>> answers;
        std::size_t sent;
        std::vector<std::string> told, status;  // the messages, and the status line as each opened
        std::string statusAfter;
    };
    const std::string notSent = " Not sent to " + queue_ + ": written to ";
    const auto failed = [&](const std::string& sheet) {
        return "The following error occurred during print of document:\n\r\r" + cancelled +
               "\nThe pages were written to the file \"" + Path(sheet) + "\".";
    };
    const Case cases[] = {
        {{"SHEETS.prt"}, {wrong, right}, 1, {}, {}, " Sent to " + queue_},
        {{"SHEETS.prt", "B.prt", "C.prt"}, {right}, 3, {}, {}, " Sent to " + queue_},
        {{"SHEETS.prt", "B.prt", "C.prt"},
         {std::nullopt},
         0,
         {failed("SHEETS.pdf"), failed("B.pdf"), failed("C.pdf"),
          cancelled + "\nThe pages were written to the files\n\"" + Path("SHEETS.pdf") + "\",\n\"" + Path("B.pdf") +
              "\",\n\"" + Path("C.pdf") + "\"."},
         {notSent + Path("SHEETS.pdf"), notSent + Path("B.pdf"), notSent + Path("C.pdf"),
          notSent + "3 files in " + folder_.Path()},
         notSent + "3 files in " + folder_.Path()},
    };
    ui_.AllowMessages();
    for (const auto& c : cases) {
        ui_.ClearRecords();
        for (const auto& answer : c.answers) ui_.QueueLogin(answer);
        const auto before = QueuedPdfs();
        {
            std::optional<print::PrintedToFiles> batch;
            if (c.sheets.size() > 1) batch.emplace();
            for (const auto& sheet : c.sheets) {
                int orientation = 1;
                print::Print_File(Path(sheet), orientation);
            }
            if (batch) {
                batch->End();
                batch->Tell();
            }
        }
        std::vector<ui::LoginRequest> asked;
        for (std::size_t i = 0; i < c.answers.size(); ++i)  // the name given last proposed again
            asked.push_back({"localhost", queue_, i > 0 ? c.answers[i - 1]->user : ::getpwuid(::geteuid())->pw_name, i > 0});
        EXPECT_EQ(ui_.LoginRequests(), asked) << c.sheets.size() << " sheet(s)";
        EXPECT_EQ(ui_.Prompts(), c.told);
        EXPECT_EQ(ui_.StatusUnderMessages(), c.status);
        EXPECT_EQ(ui_.StatusTexts().back(), c.statusAfter);
        // Every job the server has is one the program sent, and it prints.
        std::optional<std::string> waiting;
        for (int i = 0; i < 150 && waiting != ""; ++i, std::this_thread::sleep_for(100ms))
            waiting = RunCommand("lpstat -W not-completed -o " + Quote(queue_));
        EXPECT_EQ(waiting, "") << "jobs left on the server";
        std::size_t sent = 0;
        for (const auto& [pdf, written] : QueuedPdfs()) sent += !before.count(pdf) && Complete(pdf);
        EXPECT_EQ(sent, c.sent);
    }
}

// With printers and none of them the default, the pages are kept in a PDF
// and the user pointed to Printer Setup. (A second queue; the default taken
// away by making a class the default and removing the class.)
TEST_F(PrintServerTest, PrintersWithoutADefaultPointToPrinterSetup) {
    struct Restore {
        std::string queue;
        ~Restore() { RunCommand("lpadmin -d " + Quote(queue) + "; lpadmin -x VantrelSecond; lpadmin -x VantrelClass"); }
    } restore{queue_};
    ASSERT_TRUE(RunCommand("lpadmin -p VantrelSecond -v \"$(lpstat -v " + Quote(queue_) + " | sed 's/^[^:]*: //')\" -E"
                           " && lpadmin -p VantrelSecond -c VantrelClass && lpadmin -d VantrelClass && lpadmin -x VantrelClass"));
    ASSERT_EQ(RunCommand("lpstat -a | wc -l; lpstat -d"), "2\nno system default destination\n");
    ui_.ExpectMessage();
    ASSERT_EQ(Print(), 0);
    EXPECT_EQ(ui_.Prompts(), std::vector<std::string>{"No default printer is chosen (choose one in Report > Printer Setup): "
                                                      "the pages were written to the file \"" + Path("SHEETS.pdf") + "\"."});
    EXPECT_EQ(ui_.StatusUnderMessages(), std::vector<std::string>{" Not sent to a printer: written to " + Path("SHEETS.pdf")});
    ExpectPagesOf(Path("SHEETS.pdf"), Path("SHEETS.prt"));
}

// The copies chosen in Printer Setup go with the job: the server counts the
// pages of each (its page log: "<queue> <user> <job> [<time>] total <pages> ...").
TEST_F(PrintServerTest, TheCopiesChosenInPrinterSetupGoWithTheJob) {
    struct OneCopy {
        ~OneCopy() { printer::SetChosenCopies(1); }
    } oneCopy;
    const fs::path pageLog = fs::path(queueOut_).parent_path() / "log" / "page_log";
    const auto logged = fs::exists(pageLog) ? fs::file_size(pageLog) : 0;
    ui::QtUi qt;
    AnswerDialog("PrinterSetup", [&](QDialog& dialog) {
        dialog.findChild<QComboBox*>("printers")->setCurrentText(QString::fromStdString(queue_));
        dialog.findChild<QSpinBox*>("copies")->setValue(3);
    });
    ASSERT_TRUE(qt.PrinterSetup("Printer Setup"));
    ASSERT_EQ(Print(), 0);
    ASSERT_NE(NewQueuedPdf(), "");
    std::string counted;
    for (int i = 0; i < 100 && counted.empty(); ++i, std::this_thread::sleep_for(100ms)) {
        std::ifstream log(pageLog);
        log.seekg(static_cast<std::streamoff>(logged));
        std::getline(log, counted);
    }
    const auto pages = PrintFilePages(Path("SHEETS.prt")).size();
    EXPECT_NE(counted.find(" total " + std::to_string(3 * pages) + " "), std::string::npos) << counted;
}

// The limit is for the server's answers, not for pages on their way: pages
// the server takes in fits all go; pages it stops taking are told as that,
// and their job is cancelled once the server answers again, with the login
// it was made with where the queue asks for one. (The queue holds its jobs
// meanwhile, and they are cancelled after.)
TEST_F(StoppedServerTest, PagesOnTheirWayAreGivenUpOnlyWhenTheyStop) {
    ASSERT_TRUE(RunCommand("cupsdisable " + Quote(queue_)));
    struct Enable {
        std::string queue;
        ~Enable() { RunCommand("cancel -a " + Quote(queue) + "; cupsenable " + Quote(queue)); }
    } enable{queue_};
    pid_ = static_cast<pid_t>(std::stol(Env("VT_CUPSD_PID")));
    // The server takes a document into a file of its spool named by eight
    // hexadecimal digits (its jobs' own files start with c and d).
    const auto taking = [spool = fs::path(queueOut_).parent_path() / "spool"] {
        for (const auto& entry : fs::directory_iterator(spool))
            if (const auto name = entry.path().filename().string();
                name.size() == 8 && name.find_first_not_of("0123456789abcdef") == std::string::npos)
                return true;
        return false;
    };
    const auto login = AskingForALogin();
    const auto waiting = [this] {
        const std::string jobs = RunCommand("lpstat -W not-completed -o " + Quote(queue_)).value_or("");
        return std::count(jobs.begin(), jobs.end(), '\n');
    };
    for (const auto& [megabytes, stops, told] :
         {std::tuple{64, false, ""},
          {256, true, "The print server stopped taking the pages: none went through within 1 second."}}) {
        if (login) ui_.QueueLogin(ui::Login{Env("VT_CUPS_LOGIN_USER"), Env("VT_CUPS_LOGIN_PASSWORD")});
        const auto before = waiting();
        const std::string pdf = Path("large.pdf");  // sparse: quick to make, long to send
        std::ofstream(pdf, std::ios::binary) << "%PDF-1.4\n";
        fs::resize_file(pdf, std::uintmax_t(megabytes) << 20);
        std::atomic<bool> end{false};
        std::thread server([&, stops = stops] {
            for (; !end && !stops; std::this_thread::sleep_for(50ms)) {
                ::kill(pid_, SIGSTOP);
                std::this_thread::sleep_for(200ms);
                ::kill(pid_, SIGCONT);
            }
            while (!end && !taking()) std::this_thread::sleep_for(1ms);
            if (!end) ::kill(pid_, SIGSTOP);
        });
        QElapsedTimer clock;
        clock.start();
        const std::string said = printer::PrintServer(1s, nullptr).PrintPdf(queue_, pdf, "large");
        const qint64 took = clock.elapsed();
        end = true;
        server.join();
        ::kill(pid_, SIGCONT);
        std::printf("[ timing ] %d MB %s took %lld ms\n", megabytes, stops ? "stopped" : "in fits", static_cast<long long>(took));
        EXPECT_EQ(said, told);
        if (stops) EXPECT_LT(took, 2000);
        else EXPECT_GT(took, 1000) << "the pages went too fast to show anything";
        const auto held = before + (stops ? 0 : 1);
        for (int i = 0; i < 100 && waiting() != held; ++i) std::this_thread::sleep_for(100ms);
        EXPECT_EQ(waiting(), held) << "a job given up on still waits on the server";
    }
}

}  // namespace
}  // namespace vt::test
