#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "core/comm/line_log.h"

namespace vk::cli {

// Prints every line of a log as it is logged, with the camera's bytes escaped.
class LogPrinter : public LineLogObserver {
public:
    // The log's own minute stamp (the terminal command), or one with the hour (--trace,
    // where a run may span hours).
    enum class Stamp { AsLogged, WithHour };

    LogPrinter(LineLog& log, std::ostream& out, Stamp stamp = Stamp::AsLogged);
    ~LogPrinter() override;
    LogPrinter(const LogPrinter&) = delete;
    LogPrinter& operator=(const LogPrinter&) = delete;

    void OnLineAdded(const std::string& line) override;

private:
    LineLog& log_;
    std::ostream& out_;
    Stamp stamp_;
};

// "HH:MM:SS.mmm  " of the local time.
std::string HourStamp(std::chrono::system_clock::time_point when);

}  // namespace vk::cli
