// An acknowledgement as the line delivers it, judged against a read and a write request.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/genicam/gencp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace g = vk::gencp;
    const std::span<const std::uint8_t> packet(data, size);
    for (const g::AckExpectation& expect :
         {g::ReadAckExpectation(5, 64, 32), g::WriteAckExpectation(9)}) {
        const g::Ack ack = g::ParseAck(packet, expect);
        // Data never exceeds what the request allows or the buffer holds.
        if (ack.data.size() > expect.maxLength || ack.data.size() > expect.bufferSize) {
            std::abort();
        }
        if (size >= 16) g::CheckAckHeader(packet.first(16), expect);
    }
    return 0;
}
