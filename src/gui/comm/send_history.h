#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vk::gui {

// The lines sent by hand, for Up and Down in the terminal's edit, as a shell keeps them:
// Up walks back from the newest, Down walks forward and past the newest gives back the text
// that was being typed when the walk began.
class SendHistory {
public:
    static constexpr std::size_t kCapacity = 200;

    // Ends any walk; an empty line or a repeat of the newest is not kept twice.
    void Add(const std::string& line);

    // The entry before the one shown; `typing` is what the edit holds when the walk starts.
    std::optional<std::string> Older(const std::string& typing);
    std::optional<std::string> Newer();

    std::size_t Size() const { return lines_.size(); }

private:
    std::vector<std::string> lines_;  // oldest first
    std::size_t shown_ = 0;           // lines_.size() when no walk is going on
    std::string typing_;
};

}  // namespace vk::gui
