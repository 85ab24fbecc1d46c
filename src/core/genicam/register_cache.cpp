#include "core/genicam/register_cache.h"

#include <iterator>

namespace vk::genicam {

std::optional<std::vector<std::uint8_t>> RegisterCache::Find(const Node& reg, RegisterPlace place) {
    auto it = blocks_.upper_bound(place.address);
    if (it == blocks_.begin()) return std::nullopt;
    --it;
    const std::uint64_t offset = place.address - it->first;
    Block& block = it->second;
    if (offset > block.bytes.size() || place.length > block.bytes.size() - offset) {
        return std::nullopt;
    }
    block.registers.insert(&reg);
    const auto from = block.bytes.begin() + static_cast<std::ptrdiff_t>(offset);
    return std::vector<std::uint8_t>(from, from + place.length);
}

void RegisterCache::Keep(const Node& reg, RegisterPlace place, std::vector<std::uint8_t> bytes) {
    Forget(place);
    if (bytes.empty()) return;
    blocks_[place.address] = Block{std::move(bytes), {&reg}};
}

void RegisterCache::Forget(RegisterPlace place) {
    if (place.length == 0) return;
    std::uint64_t end = place.address + place.length;
    if (end < place.address) end = ~std::uint64_t{0};
    auto it = blocks_.upper_bound(place.address);
    if (it != blocks_.begin()) {
        const auto before = std::prev(it);
        if (before->first + before->second.bytes.size() > place.address) it = before;
    }
    while (it != blocks_.end() && it->first < end)
        it = blocks_.erase(it);
}

void RegisterCache::Forget(const Node& reg) {
    for (auto it = blocks_.begin(); it != blocks_.end();)
        it = it->second.registers.count(&reg) != 0 ? blocks_.erase(it) : std::next(it);
}

}  // namespace vk::genicam
