#pragma once

#include <atomic>
#include <iosfwd>

#include "core/user_interface.h"

namespace vk::cli {

// Messages go to the error stream; questions are answered no (a script never waits).
// Progress is drawn on the error stream only when it is a terminal; Cancel is Ctrl-C.
class StderrUserInterface : public UserInterface {
public:
    StderrUserInterface(std::ostream& err, bool showProgress, const std::atomic<bool>* interrupted)
        : err_(err), showProgress_(showProgress), interrupted_(interrupted) {}

    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void ShowProgress(const std::string& text) override;
    void SetProgress(int percent) override;
    void CloseProgress() override;
    void PumpEvents() override {}
    void SetWaitCursor(bool) override {}
    void EndOperation() override { CloseProgress(); }
    bool CancelRequested() override { return interrupted_ && interrupted_->load(); }

    int MessageCount() const { return messages_; }

private:
    void DrawProgress();

    std::ostream& err_;
    bool showProgress_;
    const std::atomic<bool>* interrupted_;
    int messages_ = 0;
    std::string progressText_;
    int percent_ = -1;
    bool progressShown_ = false;
};

}  // namespace vk::cli
