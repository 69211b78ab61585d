#include "platform/settings/settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/value/text.h"

namespace vt::settings {
namespace fs = std::filesystem;

namespace {
}  // namespace

IniSettings::IniSettings(std::string folder) : folder_(std::move(folder)) {}

std::string IniSettings::FileOf(const std::string& app) const {
    return (fs::path(folder_) / (app + ".ini")).string();
}

IniSettings::Sections IniSettings::Load(const std::string& app) const {
    Sections out;
    std::ifstream in(FileOf(app));
    std::string line, section;
    while (std::getline(in, line)) {
        line = Trim(line, kWhiteSpace);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        out[section][Trim(line.substr(0, eq), kWhiteSpace)] = Trim(line.substr(eq + 1), kWhiteSpace);
    }
    return out;
}

std::string IniSettings::Get(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& fallback) {
    auto all = Load(app);
    auto s = all.find(section);
    if (s == all.end()) return fallback;
    auto k = s->second.find(key);
    return k == s->second.end() ? fallback : k->second;
}

void IniSettings::Save(const std::string& app, const std::string& section,
                       const std::string& key, const std::string& value) {
    auto all = Load(app);
    all[section][key] = value;
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const std::string target = FileOf(app);
    const std::string temp = target + ".new";
    {
        std::ofstream out(temp, std::ios::trunc);
        for (const auto& [name, keys] : all) {
            out << '[' << name << "]\n";
            for (const auto& [k, v] : keys) out << k << '=' << v << '\n';
        }
        if (!out) return;
    }
    fs::rename(temp, target, ec);
}

namespace {
Settings* installed = nullptr;

std::string DefaultFolder() {
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return (fs::path(x) / "Vantrel").string();
    if (const char* h = std::getenv("HOME"); h && *h) return (fs::path(h) / ".config" / "Vantrel").string();
    return (fs::temp_directory_path() / "Vantrel").string();
}
}  // namespace

Settings& UserSettings() {
    if (installed) return *installed;
    static IniSettings fallback(DefaultFolder());
    return fallback;
}

void InstallSettings(Settings* s) { installed = s; }

}  // namespace vt::settings
