// Print files as the tests read them, the golden files they are compared
// with, and the fixed moment their page headers show.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/value/value.h"

namespace vt::test {

// Raw bytes of a file; "" (and a test failure) when it cannot be read.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Output of a command (the PDF readers of poppler-utils, the print server's
// tools), or nullopt when it could not run or failed. Its errors are dropped.
std::optional<std::string> RunCommand(const std::string& command);
// A path quoted for the shell.
std::string Quote(const std::string& path);

// The lines of a print file without their CR LF ends.
std::vector<std::string> PrintLines(const std::string& bytes);
// The pages of a print file, each from its page feed up to the next one.
std::vector<std::string> PrintPages(const std::string& bytes);

// Compares print-file bytes with tests/<golden> byte for byte and names the
// first line that differs. VT_WRITE_GOLDEN=1 rewrites the golden file from
// the print instead and skips the test; read the change through before
// committing it.
void ExpectGolden(const std::string& actual, const std::string& golden);

// Page headers carry the moment of printing; golden files need it fixed.
class FixedPrintClock {
public:
    explicit FixedPrintClock(DateTime moment);
    ~FixedPrintClock();
    FixedPrintClock(const FixedPrintClock&) = delete;
    FixedPrintClock& operator=(const FixedPrintClock&) = delete;
};

}  // namespace vt::test
