#include "stderr_ui_port.h"

#include <ostream>

namespace vk::cli {

void StderrUiPort::ShowMessage(const std::string& text, const std::string& caption,
                               MessageIcon icon) {
    ++messages_;
    const char* kind = icon == MessageIcon::Information ? "info" : "error";
    err_ << "vk4100ctl: " << kind << ": ";
    if (!caption.empty()) err_ << caption << ": ";
    for (char c : text)
        err_ << (c == '\n' ? ' ' : c);
    err_ << '\n';
}

bool StderrUiPort::AskYesNo(const std::string& text, const std::string& caption) {
    ShowMessage(text + " (answered no)", caption, MessageIcon::Question);
    return false;
}

}  // namespace vk::cli
