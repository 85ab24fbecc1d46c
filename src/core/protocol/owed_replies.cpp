#include "core/protocol/owed_replies.h"

#include <algorithm>

#include "core/protocol/reply_parser.h"

namespace vk {

void OwedReplies::Add(const AwaitedAnswer& answer, int timeoutMs) {
    const int grace = std::clamp(timeoutMs, kMinOwedMs, kMaxOwedMs);
    owed_.push_back({answer, Clock::now() + std::chrono::milliseconds(grace)});
}

bool OwedReplies::Answers(const AwaitedAnswer& awaited, const std::string& line) const {
    if (awaited.kind == AwaitedAnswer::Complete) return IsCompleteReply(line);
    const ParsedReply reply = ParseReply(commands_, line);
    return reply.valid && reply.op == "=" && reply.mnemonic == awaited.mnemonic;
}

bool OwedReplies::Take(const std::string& line, bool nothingNewerSent,
                       std::optional<AwaitedAnswer>& attributable) {
    attributable.reset();
    const auto now = Clock::now();
    std::erase_if(owed_, [now](const Owed& o) { return o.until <= now; });
    for (auto it = owed_.begin(); it != owed_.end(); ++it) {
        if (!Answers(it->answer, line)) continue;
        // A query's reply names its command; a COMPLETE does not.
        if (it->answer.kind == AwaitedAnswer::Reply ||
            (nothingNewerSent && it + 1 == owed_.end())) {
            attributable = it->answer;
        }
        owed_.erase(owed_.begin(), it + 1);
        return true;
    }
    return false;
}

}  // namespace vk
