#pragma once

#include <string>

namespace vk::sim {

// The simulated camera's GenICam description of its registers: one element per line, each
// register right after its feature, the layout the camera family's files have.
std::string SimDescriptionXml();

}  // namespace vk::sim
