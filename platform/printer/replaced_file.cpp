#include "platform/printer/replaced_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/db/db.h"
#include "platform/db/working_files.h"

namespace vt::printer {

namespace {

constexpr int kWriteFlags = O_WRONLY | O_CREAT | O_CLOEXEC;
constexpr mode_t kMode = 0666;  // the umask makes it what any file of the user's is

bool Replaceable(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode) && !db::KeptByItsOwner(path);
}

}  // namespace

ReplacedFile::ReplacedFile(ReplacedFile&& other) noexcept
    : path_(std::move(other.path_)), beside_(std::exchange(other.beside_, "")) {}

ReplacedFile& ReplacedFile::operator=(ReplacedFile&& other) noexcept {
    if (this != &other) {
        Abandon();
        path_ = std::move(other.path_);
        beside_ = std::exchange(other.beside_, "");
    }
    return *this;
}

int ReplacedFile::Open(const std::string& path) {
    Abandon();
    path_ = path;
    if (Replaceable(path)) {
        const int fd = db::CreateWorkingFile(path, db::kPrintCopy, beside_);
        if (fd >= 0) return fd;
        // A folder closed to this user may still hold a file it may write
        // in place; any other failure (no such folder, a full disk) would
        // meet that file too, and is told as it is.
        if (errno != EACCES && errno != EPERM && errno != EROFS && errno != ENAMETOOLONG) return -1;
    }
    return ::open(path.c_str(), kWriteFlags | O_TRUNC, kMode);
}

bool ReplacedFile::Publish() {
    if (InPlace()) return true;
    if (::rename(beside_.c_str(), path_.c_str()) != 0) return false;
    db::WorkingFileDone(std::exchange(beside_, ""));
    return true;
}

void ReplacedFile::Abandon() {
    if (InPlace()) return;
    ::unlink(beside_.c_str());
    db::WorkingFileDone(std::exchange(beside_, ""));
}

}  // namespace vt::printer
