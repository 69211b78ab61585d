// Whether this user runs another copy of the program: a lock file held while
// the program runs. Every copy of a user finds the same lock however it was
// started (from a desktop or a terminal, with or without a runtime folder):
// its place follows the user's account, never the environment. It is in a
// folder only the user may write, the program's own under the cache folder of
// the user's home, so that the copies of other users never count, and is
// named for the machine, so that a home shared by several machines counts
// each machine's copies apart. Without that folder it is in the system's
// temporary folder, under the first of the names that carry the user's id
// which no other user's file has taken. Tests give a key of their own.
#pragma once

#include <memory>
#include <string>
#include <vector>

class QLockFile;

namespace vt::gui {

class SingleCopyLock {
public:
    explicit SingleCopyLock(const std::string& key);
    ~SingleCopyLock();
    // True when this copy now holds the lock (or none could be made at all);
    // false when another copy of this user's does.
    bool Acquire();
    // The lock file held, or before Acquire the one it will try first.
    std::string Path() const;

private:
    std::unique_ptr<QLockFile> lock_;
    std::vector<std::string> places_;  // the names this user's copies try, in order
    std::string path_;
};

}  // namespace vt::gui
