#pragma once

#include <QString>
#include <functional>

#include "core/genicam/node_map.h"

class QWidget;

namespace vk::gui {

// "0x1F", "-0x10": how a HexNumber value is shown and typed.
QString HexText(std::int64_t value);

// The editor for one feature's value, by its kind and representation: a drop-down of the
// symbolic names for an enumeration, a check box for a Boolean, a slider for a Linear
// integer, a hexadecimal line (Up and Down step by the increment within the limits) for a
// HexNumber, else a line of text. `commit` gets the text to set.
QWidget* MakeFeatureEditor(QWidget* parent, genicam::NodeMap& map, const genicam::Node& node,
                           const QString& current, std::function<void(const QString&)> commit);

}  // namespace vk::gui
