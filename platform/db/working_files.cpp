#include "platform/db/working_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <set>
#include <vector>

namespace vt::db {

namespace fs = std::filesystem;

namespace {

const char kMakerMark = '~';  // no machine's name holds it
constexpr WorkingKind kKinds[] = {kNewReport, kReportCopy, kPrintCopy};

// The working files this process has made and not yet finished with, by
// name: a sweep by this process never takes one of them for a leftover.
std::mutex liveLock;
std::set<std::string>& Live() {
    static std::set<std::string> names;
    return names;
}

bool IsLive(const std::string& leaf) {
    std::lock_guard<std::mutex> hold(liveLock);
    return Live().count(leaf) > 0;
}

bool AllDigits(const std::string& s) {
    return !s.empty() && s.size() <= 9 && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// The process of this machine that wrote the working file `leaf` (or
// SQLite's journal beside one); 0 for any other file, one of another machine's
// among them.
pid_t MakerOf(std::string leaf) {
    for (const char* journal : {"-journal", "-wal", "-shm"})
        if (leaf.ends_with(journal)) {
            leaf.resize(leaf.size() - std::char_traits<char>::length(journal));
            break;
        }
    const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const WorkingKind& k) {
        return leaf.ends_with(k.tail) && leaf.starts_with(k.lead);
    });
    if (kind == std::end(kKinds)) return 0;
    const std::string maker = leaf.substr(0, leaf.size() - std::char_traits<char>::length(kind->tail));
    const size_t mark = maker.rfind(kMakerMark), dot = maker.rfind('.');
    if (mark == std::string::npos || dot == std::string::npos || dot < mark ||
        maker.compare(mark + 1, dot - mark - 1, MachineName()) != 0)
        return 0;
    const std::string number = maker.substr(dot + 1);
    const size_t dash = number.find('-');
    const std::string pid = number.substr(0, dash);
    if (!AllDigits(pid) || (dash != std::string::npos && !AllDigits(number.substr(dash + 1)))) return 0;
    return static_cast<pid_t>(std::stol(pid));
}

bool IsLeftover(const fs::path& file) {
    const std::string leaf = file.filename().string();
    const pid_t pid = MakerOf(leaf);
    if (pid <= 0) return false;
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) return false;
    if (pid == ::getpid()) return !IsLive(leaf);
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::string MachineName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !*name) return "localhost";
    return name;
}

std::string WorkingFileName(const std::string& target, const WorkingKind& kind, long pid, const std::string& host,
                            unsigned serial) {
    const fs::path path(target);
    std::string leaf = kind.lead + path.filename().string() + kMakerMark + (host.empty() ? MachineName() : host) + "." +
                       std::to_string(pid ? pid : static_cast<long>(::getpid()));
    if (serial) leaf += "-" + std::to_string(serial);
    return (path.parent_path() / (leaf + kind.tail)).string();
}

int CreateWorkingFile(const std::string& target, const WorkingKind& kind, std::string& name) {
    static std::atomic<unsigned> serial{0};
    RemoveLeftoverWorkingFiles(fs::path(target).parent_path().string());
    // 0666, not a temporary file's private 0600: the umask gives the file the
    // permissions of any file the user makes, so others read it once in place.
    for (int tries = 0; tries < 100; ++tries) {
        std::string candidate = WorkingFileName(target, kind, 0, "", ++serial);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            {
                std::lock_guard<std::mutex> hold(liveLock);
                Live().insert(fs::path(candidate).filename().string());
            }
            name = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

void WorkingFileDone(const std::string& name) {
    std::lock_guard<std::mutex> hold(liveLock);
    Live().erase(fs::path(name).filename().string());
}

void RemoveLeftoverWorkingFiles(const std::string& folder) {
    std::error_code ec;
    std::vector<fs::path> leftovers;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec))
        if (IsLeftover(it->path())) leftovers.push_back(it->path());
    for (const auto& file : leftovers) fs::remove(file, ec);
}

}  // namespace vt::db
