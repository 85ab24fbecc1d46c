#include "sim/line_splitter.h"

namespace vk::sim {

bool LineSplitter::Push(char byte) {
    if (byte != '\n') {
        if (pending_.size() <= limit_) {  // room for the CR after a full line
            pending_.push_back(byte);
        } else {
            pendingTooLong_ = true;
        }
        return false;
    }
    if (!pendingTooLong_ && !pending_.empty() && pending_.back() == '\r') {
        pending_.pop_back();
    }
    if (pending_.size() > limit_) {
        pending_.resize(limit_);
        pendingTooLong_ = true;
    }
    line_.swap(pending_);
    pending_.clear();
    tooLong_ = pendingTooLong_;
    pendingTooLong_ = false;
    return true;
}

}  // namespace vk::sim
