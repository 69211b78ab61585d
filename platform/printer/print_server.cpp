#include "platform/printer/print_server.h"

#include <cups/cups.h>
#include <sys/ioctl.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/ui/ui.h"

namespace vt::printer {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Questions given up on that the server has not answered yet.
std::atomic<int> unanswered{0};

// What a question's thread and its caller's share.
struct Exchange {
    std::mutex m;
    std::condition_variable changed;
    bool done = false;
    bool givenUp = false;
    // Time the caller's patience does not count: pages that went through to
    // the server, a login the user was typing.
    Clock::duration excused{};
    std::optional<Clock::time_point> flowingSince;  // pages on their way; the last that went through
    // A login the server asked for, for the caller's thread to ask the user,
    // and the user's answer (nullopt: cancelled).
    std::optional<ui::LoginRequest> loginAsked;
    std::optional<std::optional<ui::Login>> loginAnswer;
    // The question's thread's own.
    std::string printer;
    int loginsGiven = 0;
    bool loginCancelled = false;
    std::string password;  // kept until libcups has sent it

    bool GivenUp() {
        std::lock_guard lock(m);
        return givenUp;
    }
    // Pages went through (or start on their way): the time since the last
    // that did is not the server's silence.
    void Progress() {
        std::lock_guard lock(m);
        const auto now = Clock::now();
        if (flowingSince) excused += now - *flowingSince;
        flowingSince = now;
    }
    void Arrived() {
        Progress();
        std::lock_guard lock(m);
        flowingSince.reset();
    }
};

template <class Answer>
struct Shared : Exchange {
    std::optional<Answer> answer;
};

// libcups's question for a login, on the question's thread: handed to the
// caller's thread, which asks the user, and waited for (never on a terminal).
const char* GiveLogin(const char*, http_t* http, const char*, const char*, void* data) {
    auto& ex = *static_cast<Exchange*>(data);
    char host[256] = "";
    httpGetHostname(http, host, sizeof host);
    std::unique_lock lock(ex.m);
    ex.loginAsked = ui::LoginRequest{host, ex.printer, cupsUser(), ex.loginsGiven > 0};
    ex.changed.notify_all();
    ex.changed.wait(lock, [&] { return ex.loginAnswer.has_value() || ex.givenUp; });
    const std::optional<ui::Login> login = ex.loginAnswer ? *ex.loginAnswer : std::nullopt;
    ex.loginAsked.reset();
    ex.loginAnswer.reset();
    if (!login) {
        ex.loginCancelled = true;
        return nullptr;
    }
    ++ex.loginsGiven;
    cupsSetUser(login->user.c_str());
    ex.password = login->password;
    return ex.password.c_str();
}

// A connection of the question's own thread, to the server the environment
// names (CUPS_SERVER, the client configuration), or none when nothing listens.
struct Connection {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    ~Connection() {
        if (http) httpClose(http);
    }
};

// Waits until the pages written have left for the server: each change in
// what the connection still holds is pages going through.
void Drain(http_t* http, Exchange& ex) {
    int last = -1;
    for (int queued = 0; ioctl(httpGetFd(http), TIOCOUTQ, &queued) == 0 && queued > 0 && !ex.GivenUp();) {
        if (queued != last) ex.Progress();
        last = queued;
        std::this_thread::sleep_for(10ms);
    }
}

// What the server said against a job, in the user's terms for a login.
std::string Refusal(const Exchange& ex) {
    if (ex.loginsGiven > 0 && (ex.loginCancelled || cupsLastError() == IPP_STATUS_ERROR_NOT_AUTHORIZED))
        return "the print server did not accept the name and password given.";
    if (ex.loginCancelled) return "the print server asked for a login and none was given.";
    return cupsLastErrorString();
}

struct Job {
    int id = 0;
    std::string refusal;
};

}  // namespace

// Runs `question` on its own thread and waits for its answer while the time
// counted against the patience lasts (what it takes is taken off `left_`).
// An answer that comes after the caller gave up goes to `late` on the
// question's thread.
template <class Answer, class Question, class Late>
std::optional<Answer> PrintServer::Ask(Question question, Late late) {
    if (unanswered > 0) {
        silence_ = "The print server has not yet answered an earlier request, so it was not asked again.";
        return std::nullopt;
    }
    if (left_ <= 0ms) return std::nullopt;
    auto shared = std::make_shared<Shared<Answer>>();
    std::thread([shared, question = std::move(question), late = std::move(late)] {
        cupsSetPasswordCB2(GiveLogin, shared.get());
        Answer answer = question(static_cast<Exchange&>(*shared));
        bool givenUp;
        {
            std::lock_guard lock(shared->m);
            shared->done = true;
            givenUp = shared->givenUp;
            if (!givenUp) shared->answer = std::move(answer);
        }
        shared->changed.notify_all();
        if (givenUp) {
            late(answer);
            --unanswered;
        }
    }).detach();

    const auto start = Clock::now();
    std::unique_lock lock(shared->m);
    while (!shared->done) {
        if (shared->loginAsked && !shared->loginAnswer) {
            const ui::LoginRequest request = *shared->loginAsked;
            lock.unlock();
            const auto asked = Clock::now();
            std::optional<ui::Login> login = ui::Ui().AskLogin(request);
            lock.lock();
            shared->excused += Clock::now() - asked;
            shared->loginAnswer = std::move(login);
            shared->changed.notify_all();
            continue;
        }
        const auto deadline = start + left_ + shared->excused;
        if (Clock::now() >= deadline) {
            shared->givenUp = true;
            ++unanswered;
            left_ = 0ms;
            silence_ = shared->flowingSince ? "The print server stopped taking the pages: none went through within " +
                                                  Seconds() + "."
                                            : "The print server did not answer within " + Seconds() + ".";
            shared->changed.notify_all();
            return std::nullopt;
        }
        shared->changed.wait_until(lock, std::min(deadline, Clock::now() + 20ms));
        if (!shared->done && !shared->loginAsked && whileWaiting_) {
            lock.unlock();
            whileWaiting_();
            lock.lock();
        }
    }
    left_ -= std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start - shared->excused);
    return std::move(shared->answer);
}

PrintServer::PrintServer(std::chrono::milliseconds patience, WhileWaiting whileWaiting)
    : patience_(patience), left_(patience), whileWaiting_(std::move(whileWaiting)),
      silence_("The print server did not answer within " + Seconds() + ".") {}

std::string PrintServer::Seconds() const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(patience_).count();
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

std::optional<ServerPrinters> PrintServer::Printers() {
    return Ask<ServerPrinters>(
        [](Exchange&) {
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
        [](const ServerPrinters&) {});
}

std::string PrintServer::PrintPdf(const std::string& printer, const std::string& pdfPath, const std::string& title,
                                  int copies) {
    auto job = Ask<Job>(
        [=](Exchange& ex) {
            ex.printer = printer;
            Connection c;
            if (!c.http) return Job{0, cupsLastErrorString()};
            cups_option_t* options = nullptr;
            // The pages are US Letter whatever paper the printer would choose.
            int count = cupsAddOption("media", "Letter", 0, &options);
            count = cupsAddIntegerOption("copies", copies, count, &options);
            Job job;
            job.id = cupsCreateJob(c.http, printer.c_str(), title.c_str(), count, options);
            cupsFreeOptions(count, options);
            if (job.id == 0) return Job{0, Refusal(ex)};
            // The pages go in pieces; each piece the server takes shows it
            // is there, however slowly they go.
            std::unique_ptr<FILE, int (*)(FILE*)> pdf(std::fopen(pdfPath.c_str(), "rb"), std::fclose);
            if (!pdf) job.refusal = "the pages could not be read back from \"" + pdfPath + "\".";
            else if (cupsStartDocument(c.http, printer.c_str(), job.id, title.c_str(), CUPS_FORMAT_PDF, 1) !=
                     HTTP_STATUS_CONTINUE)
                job.refusal = Refusal(ex);
            if (!job.refusal.empty()) {
                cupsCancelJob2(c.http, printer.c_str(), job.id, 0);
                return Job{0, job.refusal};
            }
            ex.Progress();
            http_status_t status = HTTP_STATUS_CONTINUE;
            char piece[32768];
            for (size_t n; status == HTTP_STATUS_CONTINUE && (n = std::fread(piece, 1, sizeof piece, pdf.get())) > 0;) {
                status = cupsWriteRequestData(c.http, piece, n);
                ex.Progress();
                if (ex.GivenUp()) return job;
            }
            if (status == HTTP_STATUS_CONTINUE && httpFlushWrite(c.http) >= 0) Drain(c.http, ex);
            ex.Arrived();
            if (ex.GivenUp()) return job;
            if (cupsFinishDocument(c.http, printer.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE) {
                job.refusal = Refusal(ex);
                cupsCancelJob2(c.http, printer.c_str(), job.id, 0);
                job.id = 0;
            }
            return job;
        },
        [=](const Job& job) {
            if (job.id == 0) return;
            Connection c;
            if (c.http) cupsCancelJob2(c.http, printer.c_str(), job.id, 0);
        });
    if (!job) return SilenceText();
    return job->refusal;
}

std::string PrintServer::SilenceText() const { return silence_; }

}  // namespace vt::printer
