#pragma once

namespace vk::gui {

class MainWindow;

// The XML description feature: its window and the page buttons "Read File from Camera"
// and "Open File".
void AttachXmlFeature(MainWindow& window);

}  // namespace vk::gui
