// The simulated camera's state file: flash areas, ids and LUTs kept across runs.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim/camera_model.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Building a camera takes milliseconds: copy one built once.
const vk::sim::CameraModel& FreshCamera() {
    static const vk::sim::CameraModel camera;
    return camera;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vk::sim::CameraModel camera = FreshCamera();
    static const std::string before = camera.SaveState();
    std::string error;
    if (!camera.LoadState(text, &error)) {
        Check(!error.empty());
        Check(camera.SaveState() == before);  // a file that fails to load changes nothing
        return 0;
    }
    // A loaded state saves as a file that loads to the same state.
    const std::string saved = camera.SaveState();
    vk::sim::CameraModel again = FreshCamera();
    Check(again.LoadState(saved, &error));
    Check(again.SaveState() == saved);
    camera.Handle("LD=1");
    camera.Handle("PE?");
    return 0;
}
