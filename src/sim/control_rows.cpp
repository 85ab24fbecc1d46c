#include "sim/control_rows.h"

namespace vk::sim {

std::vector<ControlRow> ControlRows() {
    return {};
}

}  // namespace vk::sim
