// The files a command writes beside the one it makes (a new report, a copy of
// the open one, a print file or its PDF) and puts in that one's place only
// once whole. Each is named for the machine and the process that writes it,
//   <folder>/<lead><file>~<machine>.<process>[-<n>]<tail>
// so that no other process or user ever takes its name, and what a command
// that was killed left can be told from work still going on.
#pragma once

#include <string>

namespace vt::db {

struct WorkingKind {
    const char* lead;  // before the target's name: "." hides the file
    const char* tail;
};
inline constexpr WorkingKind kNewReport{"", ".vtnew"};
inline constexpr WorkingKind kReportCopy{"", ".vtcopy"};
inline constexpr WorkingKind kPrintCopy{".", ".vtprint"};

// This machine's name, as working files and other per-machine names carry it.
std::string MachineName();

// The working name for `target` of process `pid` (0: this one) on machine
// `host` ("": this one), the `serial`-th of that process (0: no number).
std::string WorkingFileName(const std::string& target, const WorkingKind& kind, long pid = 0,
                            const std::string& host = "", unsigned serial = 0);

// Makes a new, empty working file for `target` under a name no file has yet,
// with the permissions any file the user makes has, once what commands killed
// half way left in that folder is gone (RemoveLeftoverWorkingFiles). Returns its descriptor
// (the caller's to close) and sets `name`; -1 with errno when the folder takes
// no new file. Until WorkingFileDone the file counts as this process's work.
int CreateWorkingFile(const std::string& target, const WorkingKind& kind, std::string& name);
// The working file `name` was put in its place or removed.
void WorkingFileDone(const std::string& name);

// Removes from `folder` what a command killed half way left there: a working
// file (with the SQLite journal beside it) of this user's, written on this
// machine by a process that is gone, or by this one for work it has ended. The
// work of a running process (another copy's, or this one's), a working file of
// another machine or of another user, and any other file are kept.
void RemoveLeftoverWorkingFiles(const std::string& folder);

}  // namespace vt::db
