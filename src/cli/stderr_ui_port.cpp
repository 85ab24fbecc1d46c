#include "stderr_ui_port.h"

#include <algorithm>
#include <ostream>

#include "protocol/printable.h"

namespace vk::cli {

void StderrUiPort::ShowMessage(const std::string& text, const std::string& caption,
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

bool StderrUiPort::AskYesNo(const std::string& text, const std::string& caption) {
    ShowMessage(text + " (answered no)", caption, MessageIcon::Question);
    return false;
}

void StderrUiPort::ShowProgress(const std::string& text) {
    progressText_ = text;
    percent_ = -1;
    DrawProgress();
}

void StderrUiPort::SetProgress(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    DrawProgress();
}

void StderrUiPort::DrawProgress() {
    if (!showProgress_ || progressText_.empty()) return;
    err_ << '\r' << progressText_;
    if (percent_ >= 0) err_ << ' ' << percent_ << '%';
    err_ << "\x1b[K" << std::flush;
    progressShown_ = true;
}

void StderrUiPort::CloseProgress() {
    if (progressShown_) err_ << "\r\x1b[K" << std::flush;
    progressShown_ = false;
    progressText_.clear();
}

}  // namespace vk::cli
