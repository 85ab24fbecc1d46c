#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>

#include "core/protocol/command_table.h"

namespace vk {

// What a reply must look like to answer a line sent to the camera.
struct AwaitedAnswer {
    enum Kind { Complete, Reply } kind = Complete;
    std::string mnemonic;  // of the query a reply must name
    std::string sent;      // the line that was sent, without terminator
};

// Answers the camera still owes to exchanges that stopped waiting for them. The camera
// answers in order, so a late answer comes before the current one, and a line that answers
// a later owed exchange means the earlier ones will not come any more. Each is expected
// for a while after its time-out, then forgotten.
class OwedReplies {
public:
    using Clock = std::chrono::steady_clock;
    // How long after its time-out a late reply is still expected (at least, and at most).
    static constexpr int kMinOwedMs = 2000;
    static constexpr int kMaxOwedMs = 15000;

    explicit OwedReplies(const CommandTable& commands) : commands_(commands) {}

    // An exchange whose time-out was timeoutMs gave up on its answer.
    void Add(const AwaitedAnswer& answer, int timeoutMs);
    void Clear() { owed_.clear(); }
    std::size_t Count() const { return owed_.size(); }

    // Whether the line is an owed answer (it is then taken). `attributable` is set to the
    // answered exchange when the line can only be its answer: a query's reply names its
    // command, but a COMPLETE does not, so it is a set's only while no later line went out
    // (nothingNewerSent) and no later exchange is owed.
    bool Take(const std::string& line, bool nothingNewerSent,
              std::optional<AwaitedAnswer>& attributable);

    // Whether the line answers what was awaited.
    bool Answers(const AwaitedAnswer& awaited, const std::string& line) const;

private:
    struct Owed {
        AwaitedAnswer answer;
        Clock::time_point until;
    };
    const CommandTable& commands_;
    std::deque<Owed> owed_;
};

}  // namespace vk
