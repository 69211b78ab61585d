// The print server, asked so that a print never hangs on it: each question
// runs on a thread of its own while the caller waits a bounded time, letting
// its window paint meanwhile. A server that leaves a question unanswered is
// not asked again until it has answered, so a hung one costs one wait, not
// one per question.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vt::printer {

struct ServerPrinters {
    std::vector<std::string> names;
    std::string defaultName;  // "" when the server names none
};

class PrintServer {
public:
    // Run every few milliseconds while a question waits for its answer.
    using WhileWaiting = std::function<void()>;
    // The patience is for all the questions of this object together.
    PrintServer(std::chrono::milliseconds patience, WhileWaiting whileWaiting);

    // The printers the server offers; none when there is no server at all.
    // nullopt when it did not answer in time.
    std::optional<ServerPrinters> Printers();
    // Sends a PDF to a printer as one job. "" when the printer took it, else
    // what the server said against it. A job given up on for want of an
    // answer is cancelled once the server answers after all, so that its pages
    // do not come out beside the file the user was given instead.
    std::string PrintPdf(const std::string& printer, const std::string& pdfPath, const std::string& title);
    // The answer PrintPdf gives when the server stays silent.
    std::string SilenceText() const;

private:
    std::chrono::milliseconds patience_;
    std::chrono::milliseconds left_;
    WhileWaiting whileWaiting_;
};

}  // namespace vt::printer
