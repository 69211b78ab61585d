// The print server, asked so that a print never hangs on it: each question
// runs on a thread of its own while the caller waits a bounded time, letting
// its window paint meanwhile. The bound is for the server's answers: pages
// still flowing to it, and a login the user is typing, do not count. A server
// that leaves a question unanswered is not asked again until it has answered,
// so a hung one costs one wait, not one per question.
// A server that asks who prints gets a name and password from the user
// through the installed user interface (ui::UserInterface::AskLogin), shown
// on the caller's thread. The time the server takes to check a login (a
// system's login check delays each refusal, and a login is tried twice) is
// not its silence either, up to kLoginCheck.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace vt::printer {

struct ServerPrinters {
    std::vector<std::string> names;
    std::string defaultName;  // "" when the server names none
};

// What the server and the user said of a login during one print command, so
// that its documents ask the user at most once: the login the server
// accepted serves the rest, and a Cancel ends the asking for the rest.
// Forgotten with the command.
struct CommandLogin {
    std::optional<ui::Login> accepted;
    bool declined = false;
};

class PrintServer {
public:
    // The longest a login's check is not counted as the server's silence.
    static constexpr std::chrono::seconds kLoginCheck{20};

    // Run every few milliseconds while a question waits for its answer.
    using WhileWaiting = std::function<void()>;
    // The patience is for all the questions of this object together.
    PrintServer(std::chrono::milliseconds patience, WhileWaiting whileWaiting);

    // The printers the server offers; none when there is no server at all.
    // nullopt when it did not answer in time (SilenceText() says how).
    std::optional<ServerPrinters> Printers();
    // Sends a PDF to a printer as one job of `copies` copies. "" when the
    // printer took it, else what the server said against it. A job given up
    // on for want of an answer is cancelled once the server answers after
    // all, so that its pages do not come out beside the file the user was
    // given instead.
    std::string PrintPdf(const std::string& printer, const std::string& pdfPath, const std::string& title,
                         int copies = 1);
    // Why the last question went unanswered: the server silent for the
    // patience, the pages stopped on their way, or an earlier question of
    // the program's still waiting for the server's answer.
    std::string SilenceText() const;
    // The command whose login this object's questions share; not owned.
    void ShareLogin(CommandLogin* login) { login_ = login; }

private:
    template <class Answer, class Question, class Late>
    std::optional<Answer> Ask(Question question, Late late);
    std::string Seconds() const;  // the patience in words
    std::string NoAnswerText() const;

    std::chrono::milliseconds patience_;
    std::chrono::milliseconds left_;
    WhileWaiting whileWaiting_;
    std::string silence_;
    CommandLogin* login_ = nullptr;
};

}  // namespace vt::printer
