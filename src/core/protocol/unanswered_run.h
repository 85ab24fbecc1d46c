#pragma once

#include "core/protocol/exchange_result.h"

namespace vk {

// When a sequence of exchanges (a full read, a setting-file load or compare, reading every
// register) gives up: a line that is gone answers nothing more and stops it at once; a few
// time-outs in a row stop it too, so that a silent camera does not cost a time-out per
// remaining step. Any other result starts the count again.
class UnansweredRun {
public:
    static constexpr int kLimit = 3;

    explicit UnansweredRun(int limit = kLimit) : limit_(limit) {}

    // True when the sequence should stop after this result.
    bool Stops(ExchangeStatus status) {
        if (status == ExchangeStatus::LineGone) return true;
        count_ = status == ExchangeStatus::TimedOut ? count_ + 1 : 0;
        return count_ >= limit_;
    }
    bool Stops(const ExchangeResult& result) { return Stops(result.status); }

private:
    int limit_;
    int count_ = 0;
};

}  // namespace vk
