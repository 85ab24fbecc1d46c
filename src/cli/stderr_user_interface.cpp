#include "cli/stderr_user_interface.h"

#include <algorithm>
#include <ostream>

#include "core/protocol/printable.h"

namespace vk::cli {

void StderrUserInterface::ShowMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon) {
    CloseProgress();
    ++messages_;
    const bool info = icon == MessageIcon::Information || icon == MessageIcon::None;
    const char* kind = info ? "info" : "error";
    err_ << "vk4100ctl: " << kind << ": ";
    if (!caption.empty()) err_ << caption << ": ";
    // One line on the terminal; the camera's text inside it escaped.
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    err_ << Printable(line) << '\n';
}

bool StderrUserInterface::AskYesNo(const std::string& text, const std::string& caption) {
    ShowMessage(text + " (answered no)", caption, MessageIcon::Question);
    return false;
}

void StderrUserInterface::ShowProgress(const std::string& text) {
    progressText_ = text;
    percent_ = -1;
    DrawProgress();
}

void StderrUserInterface::SetProgress(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    DrawProgress();
}

void StderrUserInterface::DrawProgress() {
    if (!showProgress_ || progressText_.empty()) return;
    err_ << '\r' << progressText_;
    if (percent_ >= 0) err_ << ' ' << percent_ << '%';
    err_ << "\x1b[K" << std::flush;
    progressShown_ = true;
}

void StderrUserInterface::CloseProgress() {
    if (progressShown_) err_ << "\r\x1b[K" << std::flush;
    progressShown_ = false;
    progressText_.clear();
}

}  // namespace vk::cli
