// The program's own Qt user interface for the programs run by hand (the window
// timings, the screens): every question answered Yes (or OK) and every file
// chooser given the one path set last, so nothing waits for a person.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/ui/ui_qt.h"

namespace vt::sample {

class AnsweringUi : public ui::QtUi {
public:
    int MessageBox(const std::string& prompt, int style, const std::string&) override {
        lastMessage = prompt;
        ++messages;
        const int buttons = style & 7;
        return buttons == ui::kYesNo || buttons == ui::kYesNoCancel ? ui::kYes : ui::kOk;
    }
    void Beep() override {}
    std::optional<ui::FileChoice> ChooseSaveFile(const ui::FileRequest&) override { return Choice(); }
    std::optional<ui::FileChoice> ChooseOpenFile(const ui::FileRequest&) override { return Choice(); }

    std::string path;
    std::string lastMessage;
    int messages = 0;

private:
    std::optional<ui::FileChoice> Choice() const {
        return ui::FileChoice{path, std::filesystem::path(path).filename().string()};
    }
};

}  // namespace vt::sample
