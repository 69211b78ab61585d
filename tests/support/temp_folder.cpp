#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>

namespace vt::test {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& prefix) {
    // Test programs run side by side: the process id and a serial keep them apart.
    static std::atomic<int> serial{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = prefix + "-" + (info ? std::string(info->test_suite_name()) + "-" + info->name() : "") + "-" +
                       std::to_string(::getpid()) + "-" + std::to_string(serial++);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
    const fs::path dir = fs::temp_directory_path() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    path_ = dir.string();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempFolder::PathOf(const std::string& name) const { return (fs::path(path_) / name).string(); }

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vt::test
