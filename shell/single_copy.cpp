#include "shell/single_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <cstdlib>

#include "shell/text.h"

namespace vt::gui {

namespace {

// A folder this user owns, may write in and no one else may: only this
// user's copies can put a lock there.
bool OwnFolder(const std::string& dir) {
    struct stat st {};
    if (dir.empty() || dir[0] != '/' || ::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return st.st_uid == ::getuid() && !(st.st_mode & (S_IWGRP | S_IWOTH)) && ::access(dir.c_str(), W_OK) == 0;
}

// The user's runtime folder when it is set and really the user's; else a
// folder of the program's own under the user's cache folder, made for it.
std::string PrivateFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && OwnFolder(runtime)) return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache)) return "";
    const std::string dir = S(QDir(cache).filePath("Vantrel"));
    ::mkdir(dir.c_str(), 0700);  // one there already is checked like a new one
    return OwnFolder(dir) ? dir : "";
}

std::string LockPath(const std::string& key) {
    if (const std::string own = PrivateFolder(); !own.empty()) return S(QDir(Q(own)).filePath(Q(key) + ".lock"));
    return S(QDir(QDir::tempPath()).filePath(Q(key) + "-" + QString::number(::getuid()) + ".lock"));
}

// In the shared temporary folder anyone may take this user's lock name first;
// a file there of another owner is no copy of this user's.
bool HeldByAnotherUser(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && st.st_uid != ::getuid();
}

}  // namespace

SingleCopyLock::SingleCopyLock(const std::string& key) : path_(LockPath(key)) {
    lock_ = std::make_unique<QLockFile>(Q(path_));
    // A copy that died leaves its lock behind; its process id tells it is stale.
    lock_->setStaleLockTime(0);
}

SingleCopyLock::~SingleCopyLock() = default;

bool SingleCopyLock::Acquire() { return lock_->isLocked() || lock_->tryLock(0) || HeldByAnotherUser(path_); }
std::string SingleCopyLock::Path() const { return path_; }

}  // namespace vt::gui
