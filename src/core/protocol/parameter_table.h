#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/protocol/control_table.h"

namespace vk {

class Exchange;

// What the camera is known to hold, per control row. A row is unknown until the camera
// answered a query of it or completed a set of it; only the exchange records, as it judges
// the camera's answer.
class ParameterTable {
public:
    explicit ParameterTable(const ControlTable& controls)
        : controls_(controls), values_(static_cast<std::size_t>(controls.RowCount())) {}

    // Nothing when the row is unknown or no row of the table.
    std::optional<std::int32_t> CameraValue(ControlId id) const {
        return ValueAt(controls_.RowOf(id));
    }
    std::optional<std::int32_t> ValueAt(int row) const {
        if (row < 0 || row >= static_cast<int>(values_.size())) return std::nullopt;
        return values_[static_cast<std::size_t>(row)];
    }
    bool Known(int row) const { return ValueAt(row).has_value(); }

private:
    friend class Exchange;
    void Record(int row, std::int32_t value) { values_.at(static_cast<std::size_t>(row)) = value; }
    void Forget() { values_.assign(values_.size(), std::nullopt); }

    const ControlTable& controls_;
    std::vector<std::optional<std::int32_t>> values_;
};

}  // namespace vk
