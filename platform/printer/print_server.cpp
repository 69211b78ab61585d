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
    // the server, a login the user was typing, a login the server checked.
    Clock::duration excused{};
    std::optional<Clock::time_point> flowingSince;  // pages on their way; the last that went through
    std::optional<Clock::time_point> checkingSince;  // a login handed to the server, not yet answered
    // A login the server asked for, for the caller's thread to ask the user,
    // and the user's answer (nullopt: cancelled).
    std::optional<ui::LoginRequest> loginAsked;
    std::optional<std::optional<ui::Login>> loginAnswer;
    // The command's login, from the caller: offered before the user is asked,
    // and whether the user declined to give one.
    std::optional<ui::Login> known;
    bool declined = false;
    // The question's thread's own.
    std::string printer;
    int loginsGiven = 0;
    bool loginCancelled = false;
    std::optional<ui::Login> given;     // the login last handed to the server
    std::optional<ui::Login> accepted;  // the login the server took
    std::string password;               // kept until libcups has sent it

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
    // The time the server has spent on the login handed to it so far, as much
    // of it as is not counted as silence. Under the lock.
    Clock::duration Checking(Clock::time_point now) const {
        if (!checkingSince) return {};
        return std::min<Clock::duration>(now - *checkingSince, PrintServer::kLoginCheck);
    }
    // The server answered the login handed to it: taken, or refused. Under the lock.
    void Checked() {
        excused += Checking(Clock::now());
        checkingSince.reset();
    }
    // The server answered the question; when it took it, it took the login
    // last given too.
    void Answered(bool taken) {
        std::lock_guard lock(m);
        Checked();
        if (taken && loginsGiven > 0) accepted = given;
    }
};

template <class Answer>
struct Shared : Exchange {
    std::optional<Answer> answer;
};

// libcups's question for a login, on the question's thread: answered with
// the login the command already gave, else handed to the caller's thread,
// which asks the user, and waited for (never on a terminal).
const char* GiveLogin(const char*, http_t* http, const char*, const char*, void* data) {
    auto& ex = *static_cast<Exchange*>(data);
    char host[256] = "";
    httpGetHostname(http, host, sizeof host);
    std::unique_lock lock(ex.m);
    ex.Checked();
    std::optional<ui::Login> login;
    if (ex.givenUp) {
        // Only the job's cancel asks now: it goes with the login the job was
        // made with, once.
        login = std::exchange(ex.accepted, std::nullopt);
    } else if (ex.loginsGiven == 0 && ex.known) {
        login = ex.known;
    } else if (!ex.declined) {
        ex.loginAsked = ui::LoginRequest{host, ex.printer, ex.given ? ex.given->user : cupsUser(), ex.loginsGiven > 0};
        ex.changed.notify_all();
        ex.changed.wait(lock, [&] { return ex.loginAnswer.has_value() || ex.givenUp; });
        login = ex.loginAnswer ? *ex.loginAnswer : std::nullopt;
        ex.loginAsked.reset();
        ex.loginAnswer.reset();
    }
    if (!login) {
        ex.loginCancelled = true;
        return nullptr;
    }
    ++ex.loginsGiven;
    ex.given = login;
    ex.checkingSince = Clock::now();
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
    if (login_) {
        shared->known = login_->accepted;
        shared->declined = login_->declined;
    }
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
            if (!login && login_) login_->declined = true;
            shared->loginAnswer = std::move(login);
            shared->changed.notify_all();
            continue;
        }
        const auto now = Clock::now();
        const auto deadline = start + left_ + shared->excused + shared->Checking(now);
        if (now >= deadline) {
            shared->givenUp = true;
            ++unanswered;
            left_ = 0ms;
            silence_ = shared->flowingSince
                           ? "The print server stopped taking the pages: none went through within " + Seconds() + "."
                           : NoAnswerText();
            shared->changed.notify_all();
            return std::nullopt;
        }
        shared->changed.wait_until(lock, std::min(deadline, now + 20ms));
        if (!shared->done && !shared->loginAsked && whileWaiting_) {
            lock.unlock();
            whileWaiting_();
            lock.lock();
        }
    }
    shared->Checked();
    if (login_ && shared->accepted) login_->accepted = shared->accepted;
    left_ -= std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start - shared->excused);
    return std::move(shared->answer);
}

PrintServer::PrintServer(std::chrono::milliseconds patience, WhileWaiting whileWaiting)
    : patience_(patience), left_(patience), whileWaiting_(std::move(whileWaiting)),
      silence_(NoAnswerText()) {}

std::string PrintServer::Seconds() const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(patience_).count();
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

std::string PrintServer::NoAnswerText() const { return "The print server did not answer within " + Seconds() + "."; }

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
            ex.Answered(job.id != 0);
            if (job.id == 0) return Job{0, Refusal(ex)};
            // A job made after the caller gave up is cancelled, never filled.
            if (ex.GivenUp()) return job;
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
        // The cancel goes with the login the job was made with (GiveLogin).
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
