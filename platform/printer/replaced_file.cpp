#include "platform/printer/replaced_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <utility>

#include "platform/db/db.h"

namespace vt::printer {

namespace {

constexpr int kWriteFlags = O_WRONLY | O_CREAT | O_CLOEXEC;
// 0666, not a temporary file's private 0600: the umask gives the new file the
// permissions of any file the user makes, so others read the print as before.
constexpr mode_t kMode = 0666;

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
        const std::filesystem::path target(path);
        const std::string stem = (target.parent_path() / ("." + target.filename().string() + ".")).string();
        static unsigned serial = 0;
        for (int tries = 0; tries < 100; ++tries) {
            std::string name = stem + std::to_string(::getpid()) + "-" + std::to_string(++serial);
            const int fd = ::open(name.c_str(), kWriteFlags | O_EXCL, kMode);
            if (fd >= 0) {
                beside_ = std::move(name);
                return fd;
            }
            if (errno == EEXIST) continue;
            // A folder closed to this user may still hold a file it may write
            // in place; any other failure (no such folder, a full disk) would
            // meet that file too, and is told as it is.
            if (errno != EACCES && errno != EPERM && errno != EROFS && errno != ENAMETOOLONG) return -1;
            break;
        }
    }
    return ::open(path.c_str(), kWriteFlags | O_TRUNC, kMode);
}

bool ReplacedFile::Publish() {
    if (InPlace()) return true;
    if (::rename(beside_.c_str(), path_.c_str()) != 0) return false;
    beside_.clear();
    return true;
}

void ReplacedFile::Abandon() {
    if (!InPlace()) ::unlink(std::exchange(beside_, "").c_str());
}

}  // namespace vt::printer
