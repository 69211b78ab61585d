// Whether this user runs another copy of the program: a lock file held while
// the program runs, in a folder only the user may write (the runtime folder,
// else one of the program's own under the user's cache folder), so that the
// copies of other users on the machine never count. Without either it is in
// the temporary folder under a name that carries the user's id, where a file
// of another owner never counts. Tests give a key of their own.
#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace vt::gui {

class SingleCopyLock {
public:
    explicit SingleCopyLock(const std::string& key);
    ~SingleCopyLock();
    // True when this copy now holds the lock; false when another copy does.
    bool Acquire();
    std::string Path() const;

private:
    std::unique_ptr<QLockFile> lock_;
    std::string path_;
};

}  // namespace vt::gui
