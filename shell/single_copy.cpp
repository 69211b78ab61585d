#include "shell/single_copy.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLockFile>
#include <cstdio>

#include "platform/db/working_files.h"
#include "shell/text.h"

namespace vt::gui {

namespace {

// Names in the shared temporary folder that other users may have taken
// before this user's first copy; enough that no one takes them all by chance.
constexpr int kTemporaryNames = 100;

// A folder this user owns, may write in and no one else may: only this
// user's copies can put a lock there.
bool OwnFolder(const std::string& dir) {
    struct stat st {};
    if (dir.empty() || dir[0] != '/' || ::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return st.st_uid == ::geteuid() && !(st.st_mode & (S_IWGRP | S_IWOTH)) && ::access(dir.c_str(), W_OK) == 0;
}

// The home of the user's account, not HOME: su and sudo may hand on another's.
std::string AccountHome() {
    passwd entry {}, *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || !found || !found->pw_dir) return "";
    return found->pw_dir;
}

// The program's folder under the cache folder of the user's home, made for
// it; "" where there is none this user alone may write in.
std::string PrivateFolder() {
    const std::string home = AccountHome();
    if (home.empty() || home[0] != '/') return "";
    const std::string cache = home + "/.cache", dir = cache + "/Vantrel";
    ::mkdir(cache.c_str(), 0700);
    ::mkdir(dir.c_str(), 0700);  // one there already is checked like a new one
    return OwnFolder(dir) ? dir : "";
}

std::vector<std::string> LockPlaces(const std::string& key) {
    if (const std::string own = PrivateFolder(); !own.empty()) return {own + "/" + key + "@" + db::MachineName() + ".lock"};
    const std::string stem = std::string(P_tmpdir) + "/" + key + "-" + std::to_string(::geteuid());
    std::vector<std::string> names{stem + ".lock"};
    for (int n = 1; n < kTemporaryNames; ++n) names.push_back(stem + "-" + std::to_string(n) + ".lock");
    return names;
}

// A name in the shared temporary folder that another user took: no lock of
// this user's can be there, and this user's copies pass it alike.
bool TakenByAnother(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && (st.st_uid != ::geteuid() || !S_ISREG(st.st_mode));
}

}  // namespace

SingleCopyLock::SingleCopyLock(const std::string& key) : places_(LockPlaces(key)) {}

SingleCopyLock::~SingleCopyLock() = default;

bool SingleCopyLock::Acquire() {
    if (lock_ && lock_->isLocked()) return true;
    for (const std::string& place : places_) {
        if (TakenByAnother(place)) continue;
        auto lock = std::make_unique<QLockFile>(Q(place));
        // A copy that died leaves its lock behind; its process id tells it is stale.
        lock->setStaleLockTime(0);
        const bool held = lock->tryLock(0);
        if (held || lock->error() == QLockFile::LockFailedError) {
            path_ = place;
            lock_ = std::move(lock);
            return held;
        }
    }
    // No lock could be made anywhere: the start goes on unguarded rather than
    // be refused for a copy that does not run.
    return true;
}

std::string SingleCopyLock::Path() const {
    if (!path_.empty()) return path_;
    for (const std::string& place : places_)
        if (!TakenByAnother(place)) return place;
    return places_.front();
}

}  // namespace vt::gui
