#include "cli/log_printer.h"

#include <cstdio>
#include <ctime>
#include <ostream>

#include "core/protocol/printable.h"

namespace vk::cli {

LogPrinter::LogPrinter(LineLog& log, std::ostream& out, Stamp stamp)
    : log_(log), out_(out), stamp_(stamp) {
    log_.AddObserver(this);
}

LogPrinter::~LogPrinter() {
    log_.RemoveObserver(this);
}

void LogPrinter::OnLineAdded(const std::string& line) {
    if (stamp_ == Stamp::AsLogged) {
        out_ << Printable(line) << '\n' << std::flush;
        return;
    }
    static const std::size_t logStamp = FormatLogStamp(0, 0, 0).size();
    const std::string text = line.size() >= logStamp ? line.substr(logStamp) : line;
    out_ << HourStamp(std::chrono::system_clock::now()) << Printable(text) << '\n' << std::flush;
}

std::string HourStamp(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(when);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    const auto millis = duration_cast<milliseconds>(when.time_since_epoch()).count() % 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d  ", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(millis));
    return text;
}

}  // namespace vk::cli
