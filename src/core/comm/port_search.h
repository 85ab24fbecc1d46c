#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vk {

class ModelCheck;
class Operation;
class SerialChannel;

inline constexpr int kSearchedPorts = 16;

struct PortSearchResult {
    std::optional<int> found;        // the index of the port a camera answered on
    std::vector<std::string> tried;  // each listed port tried, with what it did
    bool cancelled = false;

    // What the search tells when it found nothing: the time-out text and the ports tried.
    std::string FailureText() const;
};

// Tries every port index of the channel's mode, whatever the number of ports the mode
// lists, until a camera answers the model query; the channel stays on the last index tried.
// Runs inside an operation; Cancel stops it between ports.
PortSearchResult SearchPorts(Operation& operation, SerialChannel& channel, ModelCheck& modelCheck);

// An open failure in a few words for a list of ports: the system's reason when the text
// gives one (its third line), else its last line.
std::string ShortOpenReason(const std::string& text);

}  // namespace vk
