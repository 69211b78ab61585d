#include "shell/single_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QLockFile>
#include <cstdlib>

#include "shell/text.h"

namespace vt::gui {

namespace {

// The user's runtime folder when it is set and really the user's: a folder
// this user owns, may write in and no one else may.
std::string RuntimeFolder() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!dir || *dir != '/' || ::stat(dir, &st) != 0 || !S_ISDIR(st.st_mode)) return "";
    if (st.st_uid != ::getuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) || ::access(dir, W_OK) != 0) return "";
    return dir;
}

std::string LockPath(const std::string& key) {
    if (const std::string runtime = RuntimeFolder(); !runtime.empty())
        return S(QDir(Q(runtime)).filePath(Q(key) + ".lock"));
    return S(QDir(QDir::tempPath()).filePath(Q(key) + "-" + QString::number(::getuid()) + ".lock"));
}

}  // namespace

SingleCopyLock::SingleCopyLock(const std::string& key) : path_(LockPath(key)) {
    lock_ = std::make_unique<QLockFile>(Q(path_));
    // A copy that died leaves its lock behind; its process id tells it is stale.
    lock_->setStaleLockTime(0);
}

SingleCopyLock::~SingleCopyLock() = default;

bool SingleCopyLock::Acquire() { return lock_->isLocked() || lock_->tryLock(0); }
std::string SingleCopyLock::Path() const { return path_; }

}  // namespace vt::gui
