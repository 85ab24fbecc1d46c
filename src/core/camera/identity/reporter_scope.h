#pragma once

#include "core/protocol/exchange.h"

namespace vk {

// Puts a reporter in place for a scope and the previous one back after it: a sequence that
// tells its own outcome once keeps each exchange from showing a box of its own.
class ReporterScope {
public:
    ReporterScope(Exchange& exchange, ExchangeReporter& reporter)
        : exchange_(exchange), previous_(exchange.Reporter()) {
        exchange_.SetReporter(&reporter);
    }
    ~ReporterScope() { exchange_.SetReporter(&previous_); }
    ReporterScope(const ReporterScope&) = delete;
    ReporterScope& operator=(const ReporterScope&) = delete;

private:
    Exchange& exchange_;
    ExchangeReporter& previous_;
};

}  // namespace vk
