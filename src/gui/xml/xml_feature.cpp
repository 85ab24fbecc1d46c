#include "gui/xml/xml_feature.h"

#include "gui/app/main_window.h"
#include "gui/xml/xml_window.h"

namespace vk::gui {
namespace {

constexpr int kReadFileFromCameraId = 4913;
constexpr int kOpenFileId = 4914;

}  // namespace

void AttachXmlFeature(MainWindow& window) {
    auto* xml = new XmlWindow(window.Core(), &window);
    window.Windows().AddWindow(xml);
    window.SetActionHandler(kReadFileFromCameraId, [xml] { xml->DownloadDescriptionFile(); });
    window.SetActionHandler(kOpenFileId, [xml] { xml->OpenDescriptionFile(); });
}

}  // namespace vk::gui
