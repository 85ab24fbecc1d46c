#pragma once

#include <iosfwd>

#include "ui_port.h"

namespace vk::cli {

// Messages go to the error stream; questions are answered no (a script never waits).
class StderrUiPort : public UiPort {
public:
    explicit StderrUiPort(std::ostream& err) : err_(err) {}

    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void CloseProgress() override {}
    void PumpEvents() override {}
    void SetWaitCursor(bool) override {}

    int MessageCount() const { return messages_; }

private:
    std::ostream& err_;
    int messages_ = 0;
};

}  // namespace vk::cli
