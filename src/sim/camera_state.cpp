// Flash areas, ids and LUTs of the camera model as text, for keeping them across runs.
//
//   VK4100-SIM-STATE 1
//   EA=2
//   ID=VK00000001          (also UD, DVW, XMLVR)
//   LUTR=0,16,32,...       (256 entries; also LUTG, LUTB)
//   AREA1 PE=18000         (one line per setting and area)
#include "core/protocol/command_table.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "sim/camera_model.h"

namespace vk::sim {
namespace {

constexpr std::string_view kHeader = "VK4100-SIM-STATE 1";
constexpr std::string_view kAreaPrefix = "AREA";
constexpr std::array<std::string_view, 3> kLutKeys = {"LUTR", "LUTG", "LUTB"};
constexpr std::int32_t kLutMaximum = 4095;

bool ParseNumber(std::string_view text, std::int32_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool ParseLut(std::string_view text, CameraModel::Lut& lut) {
    std::size_t i = 0;
    for (;;) {
        const std::size_t comma = text.find(',');
        if (i == lut.size() || !ParseNumber(text.substr(0, comma), lut[i]) || lut[i] < 0 ||
            lut[i] > kLutMaximum) {
            return false;
        }
        ++i;
        if (comma == std::string_view::npos) {
            return i == lut.size();
        }
        text.remove_prefix(comma + 1);
    }
}

}  // namespace

std::string CameraModel::SaveState() const {
    std::ostringstream out;
    out << kHeader << '\n' << "EA=" << Get("EA") << '\n';
    for (std::string_view key : kPersistedValues) {
        out << key << '=' << Get(key) << '\n';
    }
    for (std::size_t channel = 0; channel < luts_.size(); ++channel) {
        out << kLutKeys[channel] << '=';
        for (std::size_t i = 0; i < luts_[channel].size(); ++i) {
            out << (i == 0 ? "" : ",") << luts_[channel][i];
        }
        out << '\n';
    }
    const auto& mnemonics = CommandTable::Mnemonics();
    for (std::size_t area = 0; area < areas_.size(); ++area) {
        for (std::size_t id = 0; id < mnemonics.size(); ++id) {
            if (behaviours_[id].inArea) {
                out << kAreaPrefix << area << ' ' << mnemonics[id] << '=' << areas_[area][id]
                    << '\n';
            }
        }
    }
    return out.str();
}

bool CameraModel::LoadState(std::string_view text, std::string* error) {
    CameraModel loaded = *this;
    std::int32_t bootArea = 0;
    std::istringstream in{std::string(text)};
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        if (error != nullptr) {
            *error = "line " + std::to_string(number) + ": " + why;
        }
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (number == 1) {
            if (line != kHeader) {
                return fail("not a simulator state file");
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            return fail("expected KEY=VALUE");
        }
        std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        int area = -1;
        if (key.rfind(kAreaPrefix, 0) == 0 && key.size() > kAreaPrefix.size() + 2 &&
            key[kAreaPrefix.size() + 1] == ' ') {
            area = key[kAreaPrefix.size()] - '0';
            key.erase(0, kAreaPrefix.size() + 2);
            if (area < 0 || area >= kAreaCount) {
                return fail("no flash area " + line.substr(0, kAreaPrefix.size() + 1));
            }
        }
        const auto lutKey = std::find(kLutKeys.begin(), kLutKeys.end(), key);
        if (area < 0 && key == "EA") {
            if (!ParseNumber(value, bootArea) || bootArea < 0 || bootArea >= kAreaCount) {
                return fail("no flash area " + value);
            }
            continue;
        }
        if (area < 0 && lutKey != kLutKeys.end()) {
            if (!ParseLut(value,
                          loaded.luts_[static_cast<std::size_t>(lutKey - kLutKeys.begin())])) {
                return fail(key + " needs 256 values from 0 to 4095");
            }
            continue;
        }
        const int id = Find(key);
        const bool known = id >= 0 && (area >= 0 ? behaviours_[static_cast<std::size_t>(id)].inArea
                                                 : IsPersisted(id));
        if (!known) {
            return fail("unknown setting " + key);
        }
        // Some defaults lie outside their range; a camera that never changed them stores them.
        const Behaviour& b = behaviours_[static_cast<std::size_t>(id)];
        const std::optional<std::string> accepted =
            value == b.initial ? std::optional<std::string>(value) : Accept(b, value);
        if (!accepted) {
            return fail(key + "=" + value + " is not a value the camera accepts");
        }
        if (area >= 0) {
            loaded.areas_[static_cast<std::size_t>(area)][static_cast<std::size_t>(id)] = *accepted;
        } else {
            loaded.values_[static_cast<std::size_t>(id)] = *accepted;
        }
    }
    if (number == 0) {
        return fail("the file is empty");
    }
    loaded.LoadArea(bootArea);
    loaded.stateChanged_ = false;
    *this = std::move(loaded);
    return true;
}

}  // namespace vk::sim
