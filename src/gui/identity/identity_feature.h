#pragma once

namespace vk::gui {

class MainWindow;

// The terminal, information, id and lens windows: makes them and sets the handlers of
// their page buttons and menu items.
void AttachIdentityFeature(MainWindow& window);

}  // namespace vk::gui
