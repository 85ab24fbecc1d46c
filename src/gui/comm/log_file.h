#pragma once

#include <QString>
#include <string>

namespace vk {
class UserInterface;
}

namespace vk::gui {

// Writes a log's lines to the file the user chose: asks before replacing one, and tells
// why a write failed. True when the file was written.
bool WriteLogFile(UserInterface& ui, const QString& path, const std::string& bytes);

}  // namespace vk::gui
