#include "core/protocol/line_receiver.h"

namespace vk {

LineReceiver::Event LineReceiver::Feed(char c) {
    if (c == '\n') {
        std::size_t length = count_;
        if (length > 0 && buffer_[length - 1] == '\r') --length;
        line_.assign(buffer_.data(), length);
        count_ = 0;
        return Event::Line;
    }
    buffer_[count_++] = c;
    if (count_ == kBufferSize) {
        count_ = 0;
        return Event::Overflow;
    }
    return Event::None;
}

}  // namespace vk
