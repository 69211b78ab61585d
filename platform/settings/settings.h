// Per-user settings by application, section and key. The program keeps only
// two: the last report folder and the print quality.
#pragma once

#include <map>
#include <memory>
#include <string>

namespace vt::settings {

class Settings {
public:
    virtual ~Settings() = default;
    virtual std::string Get(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& fallback) = 0;
    virtual void Save(const std::string& app, const std::string& section,
                      const std::string& key, const std::string& value) = 0;
};

// One INI file per application in a folder ("<folder>/<app>.ini"), written
// whole on every change so a crash never leaves half a file.
class IniSettings : public Settings {
public:
    explicit IniSettings(std::string folder);
    std::string Get(const std::string& app, const std::string& section,
                    const std::string& key, const std::string& fallback) override;
    void Save(const std::string& app, const std::string& section,
              const std::string& key, const std::string& value) override;

private:
    using Sections = std::map<std::string, std::map<std::string, std::string>>;
    std::string FileOf(const std::string& app) const;
    Sections Load(const std::string& app) const;
    std::string folder_;
};

// The installed store; by default an IniSettings in the user's configuration
// folder ($XDG_CONFIG_HOME or ~/.config, then "Vantrel").
Settings& UserSettings();
void InstallSettings(Settings* s);  // not owned; nullptr restores the default

}  // namespace vt::settings
