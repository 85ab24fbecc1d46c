#include "gui/comm/send_history.h"

namespace vk::gui {

void SendHistory::Add(const std::string& line) {
    if (!line.empty() && (lines_.empty() || lines_.back() != line)) {
        lines_.push_back(line);
        if (lines_.size() > kCapacity) lines_.erase(lines_.begin());
    }
    shown_ = lines_.size();
    typing_.clear();
}

std::optional<std::string> SendHistory::Older(const std::string& typing) {
    if (shown_ == 0) return std::nullopt;
    if (shown_ == lines_.size()) typing_ = typing;
    return lines_[--shown_];
}

std::optional<std::string> SendHistory::Newer() {
    if (shown_ >= lines_.size()) return std::nullopt;
    ++shown_;
    return shown_ == lines_.size() ? typing_ : lines_[shown_];
}

}  // namespace vk::gui
