#pragma once

#include "protocol/command.h"

namespace vk {

// Puts a reporter in place for a scope and the previous one back after it: a sequence that
// tells its own outcome once keeps each exchange from showing a box of its own.
class ReporterScope {
public:
    ReporterScope(Command& command, ExchangeReporter& reporter)
        : command_(command), previous_(command.Reporter()) {
        command_.SetReporter(&reporter);
    }
    ~ReporterScope() { command_.SetReporter(&previous_); }
    ReporterScope(const ReporterScope&) = delete;
    ReporterScope& operator=(const ReporterScope&) = delete;

private:
    Command& command_;
    ExchangeReporter& previous_;
};

}  // namespace vk
