// Whether another copy of the program runs: a lock file in the temporary
// folder, held while the program runs. Tests give a key of their own.
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
