// Per-user settings through QSettings: one INI file per application under
// the user's configuration folder ("<config>/Vantrel/<application>.ini"),
// sections as groups. The same names the report code asks for.
#pragma once

#include <string>

#include "platform/settings/settings.h"

namespace vt::settings {

class QtSettings : public Settings {
public:
    // folder "" = the user's configuration folder; tests give a folder of their own.
    explicit QtSettings(std::string folder = "");
    std::string Get(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& fallback) override;
    void Save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;

private:
    std::string folder_;
};

}  // namespace vt::settings
