#include "sim/fault_injector.h"

#include "core/protocol/command_table.h"

namespace vk::sim {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kEnd = "\r\n";
// Bytes no camera text contains; ends with an LF so the tool sees a line.
constexpr std::string_view kGarbage = "\xff\x00\xa5\x5a\x81\xfe\x13\x80\x7f\x02\n"sv;

bool AppliesTo(Fault fault, const std::optional<Request>& request) {
    switch (fault) {
        case Fault::None:
            return false;
        case Fault::WrongMnemonic:
            return request && request->op == RequestOp::Query;
        case Fault::ErrorOnSet:
            return request && request->op == RequestOp::Set;
        default:
            return true;
    }
}

}  // namespace

std::string WithOtherMnemonic(const std::string& mnemonic, const std::string& reply) {
    const auto& mnemonics = CommandTable::Mnemonics();
    std::size_t other = 0;
    for (std::size_t i = 0; i < mnemonics.size(); ++i) {
        if (mnemonics[i] == mnemonic) {
            other = (i + 1) % mnemonics.size();
            break;
        }
    }
    const std::size_t eq = reply.find('=');
    const std::string value = eq == std::string::npos ? "0" : reply.substr(eq + 1);
    return std::string(mnemonics[other]) + "=" + value;
}

Fault FaultInjector::Take(const std::optional<Request>& request) {
    taken_ = FaultSettings{};
    if (spec_.fault != Fault::None && spec_.after > 0) {
        --spec_.after;
        return Fault::None;
    }
    if (!AppliesTo(spec_.fault, request) || spec_.count == 0) {
        return Fault::None;
    }
    taken_ = spec_;
    if (spec_.count > 0 && --spec_.count == 0) {
        spec_ = FaultSettings{};
    }
    return taken_.fault;
}

Outgoing FaultInjector::Answer(const std::optional<Request>& request,
                               const std::function<std::string()>& answer) {
    const std::string errorText = spec_.errorText;
    const int delayMs = spec_.delayMs;
    Outgoing out;
    switch (Take(request)) {
        case Fault::Silent:
        case Fault::Reset:
            break;
        case Fault::Unplug:
        case Fault::HangUp:
            out.hangUp = true;
            break;
        case Fault::ErrorOnSet:
            out.bytes = errorText + std::string(kEnd);
            break;
        case Fault::Garbage:
            answer();
            out.bytes = std::string(kGarbage);
            break;
        case Fault::WrongMnemonic:
            out.bytes = WithOtherMnemonic(request->mnemonic, answer()) + std::string(kEnd);
            break;
        case Fault::Overlong:
            out.bytes = std::string(kOverlongBytes, '#') + answer() + std::string(kEnd);
            break;
        case Fault::Delay:
            out.bytes = answer() + std::string(kEnd);
            out.delay = std::chrono::milliseconds(delayMs);
            break;
        case Fault::Twice:
            out.bytes = answer() + std::string(kEnd);
            out.later = out.bytes;
            out.laterDelay = std::chrono::milliseconds(delayMs);
            break;
        case Fault::None:
        case Fault::Pending:  // packets only
            out.bytes = answer() + std::string(kEnd);
            break;
    }
    return out;
}

Outgoing FaultInjector::AnswerPacket(const std::function<std::string()>& answer,
                                     const std::function<std::string(int waitMs)>& pendingAck) {
    const int delayMs = spec_.delayMs;
    const int pendingAcks = spec_.pendingAcks;
    Outgoing out;
    switch (Take(std::nullopt)) {
        case Fault::Pending:
            for (int i = 0; i < (pendingAcks < 0 ? 1 : pendingAcks); ++i)
                out.bytes += pendingAck(delayMs);
            if (pendingAcks >= 0) out.bytes += answer();
            break;
        case Fault::Silent:
        case Fault::Reset:
            break;
        case Fault::Unplug:
        case Fault::HangUp:
            out.hangUp = true;
            break;
        case Fault::Garbage:
            answer();
            out.bytes = std::string(kGarbage);
            break;
        case Fault::Delay:
            out.bytes = answer();
            out.delay = std::chrono::milliseconds(delayMs);
            break;
        case Fault::Overlong:
            out.bytes = std::string(kOverlongBytes, '#') + answer();
            break;
        default:
            out.bytes = answer();
            break;
    }
    return out;
}

}  // namespace vk::sim
