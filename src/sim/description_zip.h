#pragma once

#include <cstdint>
#include <span>

namespace vk::sim {

// The simulated camera's description zipped at build time (from description_xml.cpp).
std::span<const std::uint8_t> SimDescriptionZip();

}  // namespace vk::sim
