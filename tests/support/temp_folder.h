// A folder of the running test's own, named after the test, emptied when made
// and removed with this object.
#pragma once

#include <string>
#include <vector>

namespace vt::test {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "vt");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }  // without a trailing separator
    std::string PathOf(const std::string& name) const;

private:
    std::string path_;
};

// The names in a folder, in order: what a command left there.
std::vector<std::string> NamesIn(const std::string& folder);

}  // namespace vt::test
