// The files a print writes (its print file, its PDF) are shared by every
// report of a folder, whoever printed last: each print writes its file anew
// beside the earlier one and puts it in that one's place only once complete,
// so that another user's file is replaced like one's own and a print that
// fails part way leaves the earlier file as it was.
#pragma once

#include <string>

namespace vt::printer {

class ReplacedFile {
public:
    ReplacedFile() = default;
    ~ReplacedFile() { Abandon(); }
    ReplacedFile(ReplacedFile&& other) noexcept;
    ReplacedFile& operator=(ReplacedFile&& other) noexcept;
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;

    // Opens the file at `path` to be written, with the permissions a file the
    // user makes has. A regular file, or a name not yet taken, that this user
    // may replace is written as a new file of a hidden name of its own in the
    // same folder, where what prints killed half way left goes first; anything
    // else (a link, a device, a file in a folder this user may not write in,
    // another's in a shared folder) in place, as it is.
    // The descriptor is the caller's to close; -1 with errno when the file
    // cannot be written.
    int Open(const std::string& path);
    // Puts the new file, closed, in the place of the earlier one. False, with
    // errno, when it cannot be; Abandon then removes it.
    bool Publish();
    // The new file goes and the earlier one stays as it was; a file written in
    // place stays as far as it was written.
    void Abandon();
    bool InPlace() const { return beside_.empty(); }

private:
    std::string path_, beside_;  // beside_: the new file, "" when written in place
};

}  // namespace vt::printer
