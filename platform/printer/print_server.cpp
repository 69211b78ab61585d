#include "platform/printer/print_server.h"

#include <cups/cups.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace vt::printer {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Questions given up on that the server has not answered yet.
std::atomic<int> unanswered{0};

// Runs `question` on its own thread and waits for its answer at most `left`
// (less the time taken is taken off `left`). An answer that comes after the
// caller gave up goes to `late` on the question's thread.
template <class Answer>
std::optional<Answer> Ask(std::function<Answer()> question, std::function<void(const Answer&)> late,
                          std::chrono::milliseconds& left, const PrintServer::WhileWaiting& whileWaiting) {
    if (unanswered > 0 || left <= 0ms) return std::nullopt;
    struct Shared {
        std::mutex m;
        std::condition_variable answered;
        bool done = false;
        bool givenUp = false;
        std::optional<Answer> answer;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, question = std::move(question), late = std::move(late)] {
        Answer answer = question();
        bool givenUp;
        {
            std::lock_guard lock(shared->m);
            shared->done = true;
            givenUp = shared->givenUp;
            if (!givenUp) shared->answer = std::move(answer);
        }
        shared->answered.notify_all();
        if (givenUp) {
            if (late) late(answer);
            --unanswered;
        }
    }).detach();

    const auto start = Clock::now();
    const auto deadline = start + left;
    std::unique_lock lock(shared->m);
    while (!shared->done) {
        if (Clock::now() >= deadline) {
            shared->givenUp = true;
            ++unanswered;
            left = 0ms;
            return std::nullopt;
        }
        shared->answered.wait_until(lock, std::min(deadline, Clock::now() + 20ms));
        if (!shared->done && whileWaiting) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
    left -= std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    return std::move(shared->answer);
}

// A connection of the question's own thread, to the server the environment
// names (CUPS_SERVER, the client configuration), or none when nothing listens.
struct Connection {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    ~Connection() {
        if (http) httpClose(http);
    }
};

struct Job {
    int id = 0;
    std::string refusal;
};

}  // namespace

PrintServer::PrintServer(std::chrono::milliseconds patience, WhileWaiting whileWaiting)
    : patience_(patience), left_(patience), whileWaiting_(std::move(whileWaiting)) {}

std::optional<ServerPrinters> PrintServer::Printers() {
    return Ask<ServerPrinters>(
        [] {
            ServerPrinters printers;
            Connection c;
            if (!c.http) return printers;
            cups_dest_t* dests = nullptr;
            const int count = cupsGetDests2(c.http, &dests);
            for (int i = 0; i < count; ++i) {
                if (dests[i].instance) continue;
                printers.names.emplace_back(dests[i].name);
                if (dests[i].is_default) printers.defaultName = dests[i].name;
            }
            cupsFreeDests(count, dests);
            return printers;
        },
        nullptr, left_, whileWaiting_);
}

std::string PrintServer::PrintPdf(const std::string& printer, const std::string& pdfPath, const std::string& title) {
    auto job = Ask<Job>(
        [=] {
            Connection c;
            if (!c.http) return Job{0, cupsLastErrorString()};
            cups_option_t* options = nullptr;
            // The pages are US Letter whatever paper the printer would choose.
            const int count = cupsAddOption("media", "Letter", 0, &options);
            Job job;
            job.id = cupsPrintFile2(c.http, printer.c_str(), pdfPath.c_str(), title.c_str(), count, options);
            if (job.id == 0) job.refusal = cupsLastErrorString();
            cupsFreeOptions(count, options);
            return job;
        },
        [=](const Job& job) {
            if (job.id == 0) return;
            Connection c;
            if (c.http) cupsCancelJob2(c.http, printer.c_str(), job.id, 0);
        },
        left_, whileWaiting_);
    if (!job) return SilenceText();
    return job->refusal;
}

std::string PrintServer::SilenceText() const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(patience_).count();
    return "The print server did not answer within " + std::to_string(seconds) + " seconds.";
}

}  // namespace vt::printer
