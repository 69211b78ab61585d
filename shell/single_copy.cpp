#include "shell/single_copy.h"

#include <QDir>
#include <QLockFile>

#include "shell/text.h"

namespace vt::gui {

SingleCopyLock::SingleCopyLock(const std::string& key)
    : path_(S(QDir(QDir::tempPath()).filePath(Q(key) + ".lock"))) {
    lock_ = std::make_unique<QLockFile>(Q(path_));
    // A copy that died leaves its lock behind; its process id tells it is stale.
    lock_->setStaleLockTime(0);
}

SingleCopyLock::~SingleCopyLock() = default;

bool SingleCopyLock::Acquire() { return lock_->isLocked() || lock_->tryLock(0); }
std::string SingleCopyLock::Path() const { return path_; }

}  // namespace vt::gui
