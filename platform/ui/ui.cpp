#include "platform/ui/ui.h"

namespace vt::ui {
namespace {

class SilentUi : public UserInterface {
public:
    int MessageBox(const std::string&, int style, const std::string&) override {
        switch (style & 7) {
        case kOkCancel: return kOk;
        case kAbortRetryIgnore: return kAbort;
        case kYesNoCancel: case kYesNo: return kYes;
        case kRetryCancel: return kRetry;
        default: return kOk;
        }
    }
    void Beep() override {}
    void SetStatus(const std::string&, bool) override {}
    void SetBusy(bool) override {}
    void DoEvents() override {}
    std::optional<FileChoice> ChooseSaveFile(const FileRequest&) override { return std::nullopt; }
    std::optional<FileChoice> ChooseOpenFile(const FileRequest&) override { return std::nullopt; }
    void RefreshWorksheetWindows() override {}
    void ShowReportOpened(const std::string&, const std::string&) override {}
    void HideNewReportDialog() override {}
};

SilentUi silent;
UserInterface* installed = nullptr;

}  // namespace

UserInterface& Ui() { return installed ? *installed : silent; }
void InstallUi(UserInterface* ui) { installed = ui; }

}  // namespace vt::ui
