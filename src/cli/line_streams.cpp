#include "cli/line_streams.h"

namespace vk::cli {

void LineStream::Flush() {
    if (!line_.empty()) Emit();
}

int LineStream::overflow(int c) {
    if (c == traits_type::eof()) return 0;
    wrote_ = true;
    if (c == '\n') {
        Emit();
    } else if (c != '\r') {
        line_ += static_cast<char>(c);
    }
    return c;
}

void LineStream::Emit() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        target_ << prefix_ << line_ << '\n' << std::flush;
    }
    last_ = std::move(line_);
    line_.clear();
}

}  // namespace vk::cli
