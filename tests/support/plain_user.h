// Files' permissions as a user other than root meets them.
#pragma once

#include <functional>
#include <string>

namespace vt::test {

// What `f` returns when run by a user the files' permissions hold for. Root
// passes them all, so there `f` runs in a child process that gives root up
// (becoming uid and gid 65534).
std::string AsPlainUser(const std::function<std::string()>& f);

}  // namespace vt::test
