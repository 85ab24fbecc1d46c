// A SwissKnife formula parsed and evaluated in both arithmetics; every variable is 3.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/genicam/formula.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const vk::genicam::Formula f = vk::genicam::Formula::Parse(text, error);
    if (!error.empty()) return 0;
    f.Evaluate([](std::string_view, std::string&) { return std::optional<double>(3.0); }, error);
    f.EvaluateInt(
        [](std::string_view, std::string&) { return std::optional<std::int64_t>(3); }, error);
    return 0;
}
