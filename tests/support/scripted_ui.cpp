#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace vt::test {

void PrintTo(const ShownMessage& m, std::ostream* os) {
    *os << "{\"" << m.prompt << "\", " << m.style << ", \"" << m.title << "\"}";
}

ScriptedUi::ScriptedUi() { ui::InstallUi(this); }

ScriptedUi::~ScriptedUi() {
    ui::InstallUi(nullptr);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " expected message box(es) never shown";
    EXPECT_TRUE(logins_.empty()) << logins_.size() << " expected login(s) never asked";
}

void ScriptedUi::ExpectMessage(int answer) { answers_.push_back(answer); }

std::vector<std::string> ScriptedUi::Prompts() const {
    std::vector<std::string> out;
    for (const auto& m : messages_) out.push_back(m.prompt);
    return out;
}

void ScriptedUi::ClearRecords() {
    messages_.clear();
    statusUnderMessages_.clear();
    fileRequests_.clear();
    loginRequests_.clear();
    statusTexts_.clear();
    beeps_ = refreshes_ = 0;
    caption_.clear();
    shownPath_.clear();
    dialogHidden_ = false;
}

int ScriptedUi::MessageBox(const std::string& prompt, int style, const std::string& title) {
    messages_.push_back({prompt, style, title});
    statusUnderMessages_.push_back(statusTexts_.empty() ? "" : statusTexts_.back());
    if (!answers_.empty()) {
        int a = answers_.front();
        answers_.pop_front();
        return a;
    }
    if (!allowAny_) ADD_FAILURE() << "unexpected message box: \"" << prompt << "\" (title \"" << title << "\")";
    switch (style & 7) {
    case ui::kYesNoCancel: case ui::kYesNo: return ui::kYes;
    case ui::kAbortRetryIgnore: return ui::kAbort;
    case ui::kRetryCancel: return ui::kRetry;
    default: return ui::kOk;
    }
}

void ScriptedUi::SetStatus(const std::string& text, bool visible) {
    statusVisible_ = visible;
    if (visible) statusTexts_.push_back(text);
}

std::optional<ui::FileChoice> ScriptedUi::Choose(std::deque<std::optional<ui::FileChoice>>& queued,
                                                  const ui::FileRequest& request, const char* chooser) {
    fileRequests_.push_back(request);
    if (queued.empty()) {
        ADD_FAILURE() << "unexpected " << chooser << " chooser: " << request.title;
        return std::nullopt;
    }
    auto c = queued.front();
    queued.pop_front();
    return c;
}

std::optional<ui::Login> ScriptedUi::AskLogin(const ui::LoginRequest& request) {
    loginRequests_.push_back(request);
    if (logins_.empty()) {
        ADD_FAILURE() << "unexpected login asked for printer " << request.printer;
        return std::nullopt;
    }
    auto login = logins_.front();
    logins_.pop_front();
    return login;
}

void ScriptedUi::ShowReportOpened(const std::string& caption, const std::string& path) {
    caption_ = caption;
    shownPath_ = path;
}

}  // namespace vt::test
