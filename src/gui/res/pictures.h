#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace vk::gui {

// The tool's own pictures, from the compiled-in resources (1x and 2x).
QIcon ApplicationIcon();

inline constexpr QSize kLineStatusSize{32, 32};
inline constexpr QSize kStripPictureSize{48, 16};

// The communication window's line status icon.
QPixmap LineStatusPicture(bool online);
// The picture of the status strip at the bottom of every tool window.
QPixmap StripPicture(bool online);

}  // namespace vk::gui
