// A user interface for tests: records everything the code shows and answers
// message boxes and file choosers from queues. A message box that no test
// queued an answer for fails the running test (and is answered with its first
// button), so a message that should not appear never passes unnoticed.
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace vt::test {

struct ShownMessage {
    std::string prompt;
    int style = 0;
    std::string title;
    bool operator==(const ShownMessage&) const = default;
};
// So that a failed comparison of messages shows them.
void PrintTo(const ShownMessage& m, std::ostream* os);
using Shown = std::vector<ShownMessage>;

class ScriptedUi : public ui::UserInterface {
public:
    // Installs itself for its lifetime.
    ScriptedUi();
    ~ScriptedUi() override;

    // Queue the answer of the next message box (optionally checking its prompt).
    void ExpectMessage(int answer = ui::kOk);
    // Allow any number of message boxes, each answered with its first button.
    void AllowMessages(bool allow = true) { allowAny_ = allow; }
    void QueueSaveFile(std::optional<ui::FileChoice> choice) { saves_.push_back(std::move(choice)); }
    void QueueOpenFile(std::optional<ui::FileChoice> choice) { opens_.push_back(std::move(choice)); }
    // The answer of the next login the print server asks for (nullopt: Cancel).
    void QueueLogin(std::optional<ui::Login> login) { logins_.push_back(std::move(login)); }

    const std::vector<ShownMessage>& Messages() const { return messages_; }
    std::vector<std::string> Prompts() const;
    const std::vector<ui::FileRequest>& FileRequests() const { return fileRequests_; }
    const std::vector<ui::LoginRequest>& LoginRequests() const { return loginRequests_; }
    const std::vector<std::string>& StatusTexts() const { return statusTexts_; }
    // The status line as each message box opened, in the order of Messages().
    const std::vector<std::string>& StatusUnderMessages() const { return statusUnderMessages_; }
    int Beeps() const { return beeps_; }
    int Refreshes() const { return refreshes_; }
    bool Busy() const { return busy_; }
    bool StatusVisible() const { return statusVisible_; }
    const std::string& Caption() const { return caption_; }
    const std::string& ShownPath() const { return shownPath_; }
    bool DialogHidden() const { return dialogHidden_; }
    void ClearRecords();

    int MessageBox(const std::string& prompt, int style, const std::string& title) override;
    void Beep() override { ++beeps_; }
    void SetStatus(const std::string& text, bool visible) override;
    void SetBusy(bool busy) override { busy_ = busy; }
    void DoEvents() override {}
    std::optional<ui::FileChoice> ChooseSaveFile(const ui::FileRequest& request) override {
        return Choose(saves_, request, "save-file");
    }
    std::optional<ui::FileChoice> ChooseOpenFile(const ui::FileRequest& request) override {
        return Choose(opens_, request, "open-file");
    }
    std::optional<ui::Login> AskLogin(const ui::LoginRequest& request) override;
    void RefreshWorksheetWindows() override { ++refreshes_; }
    void ShowReportOpened(const std::string& caption, const std::string& path) override;
    void HideNewReportDialog() override { dialogHidden_ = true; }

private:
    std::optional<ui::FileChoice> Choose(std::deque<std::optional<ui::FileChoice>>& queued,
                                         const ui::FileRequest& request, const char* chooser);

    std::deque<int> answers_;
    std::deque<std::optional<ui::FileChoice>> saves_, opens_;
    std::deque<std::optional<ui::Login>> logins_;
    std::vector<ui::LoginRequest> loginRequests_;
    std::vector<ShownMessage> messages_;
    std::vector<ui::FileRequest> fileRequests_;
    std::vector<std::string> statusTexts_, statusUnderMessages_;
    std::string caption_, shownPath_;
    int beeps_ = 0, refreshes_ = 0;
    bool busy_ = false, statusVisible_ = false, allowAny_ = false, dialogHidden_ = false;
};

}  // namespace vt::test
