// Bytes from the line in chunks of any size, as the port hands them over.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/protocol/line_receiver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vk::LineReceiver receiver;
    std::size_t lineBytes = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        switch (receiver.Feed(c)) {
            case vk::LineReceiver::Event::Line: {
                const std::string line = receiver.TakeLine();
                // A line never holds its LF and never outgrows the buffer.
                if (line.find('\n') != std::string::npos) std::abort();
                if (line.size() >= vk::LineReceiver::kBufferSize) std::abort();
                lineBytes += line.size();
                break;
            }
            case vk::LineReceiver::Event::Overflow:
                if (!receiver.Partial().empty()) std::abort();
                break;
            case vk::LineReceiver::Event::None:
                break;
        }
        if (receiver.Partial().size() >= vk::LineReceiver::kBufferSize) std::abort();
    }
    if (lineBytes > size) std::abort();
    return 0;
}
