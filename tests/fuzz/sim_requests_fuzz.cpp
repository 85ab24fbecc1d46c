// Bytes as they reach the simulated camera, in chunks of any size: split into lines and
// answered as the camera's line handler does.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "sim/camera_model.h"
#include "sim/line_splitter.h"
#include "sim/request.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// A fresh camera for every input, copied from one built once: building takes milliseconds.
const vk::sim::CameraModel& FreshCamera(bool monochrome) {
    auto make = [](const char* model) {
        vk::sim::ModelOptions options;
        options.model = model;
        options.autoBusyPolls = 1;
        return vk::sim::CameraModel(options);
    };
    static const vk::sim::CameraModel colour = make("VK-4100C-PMCL");
    static const vk::sim::CameraModel mono = make("VK-4100M-PMCL");
    return monochrome ? mono : colour;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool monochrome = input.ConsumeBool();
    vk::sim::CameraModel camera = FreshCamera(monochrome);
    vk::sim::LineSplitter splitter(64);

    while (input.remaining_bytes() > 0) {
        const auto chunk = input.ConsumeIntegralInRange<std::size_t>(1, 80);
        for (char byte : input.ConsumeBytesAsString(chunk)) {
            if (!splitter.Push(byte)) continue;
            Check(splitter.Line().size() <= 64);
            if (splitter.Line().empty() && !splitter.TooLong()) continue;
            const auto request =
                splitter.TooLong() ? std::nullopt : vk::sim::ParseRequest(splitter.Line());
            const vk::sim::Response response = camera.Handle(request);
            // An answer is one line.
            Check(response.text.find_first_of("\r\n") == std::string::npos);
            Check(response.silence.count() >= 0);
        }
    }
    // Whatever was received, what the camera keeps can be saved and read back.
    if (!camera.StateChanged()) return 0;
    const std::string state = camera.SaveState();
    vk::sim::CameraModel restored = FreshCamera(monochrome);
    std::string error;
    Check(restored.LoadState(state, &error));
    Check(restored.SaveState() == state);
    return 0;
}
