#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "core/genicam/node.h"

namespace vk::genicam {

// Register bytes by camera address. Registers over the same bytes (bit fields of one word)
// share what was read: a read inside held bytes costs no request. Each held range knows the
// registers that read or wrote it, so an invalidated register forgets its bytes.
class RegisterCache {
public:
    std::optional<std::vector<std::uint8_t>> Find(const Node& reg, RegisterPlace place);
    // Holds bytes just read or written, in place of any held bytes they overlap.
    void Keep(const Node& reg, RegisterPlace place, std::vector<std::uint8_t> bytes);
    void Forget(RegisterPlace place);  // every held range the place overlaps
    void Forget(const Node& reg);      // every range `reg` read or wrote
    void Clear() { blocks_.clear(); }

private:
    struct Block {
        std::vector<std::uint8_t> bytes;
        std::set<const Node*> registers;
    };
    std::map<std::uint64_t, Block> blocks_;  // by first address; never overlapping
};

}  // namespace vk::genicam
