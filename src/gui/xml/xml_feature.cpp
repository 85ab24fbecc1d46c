#include "gui/xml/xml_feature.h"

#include "core/protocol/control_ids.h"
#include "gui/app/main_window.h"
#include "gui/xml/xml_window.h"

namespace vk::gui {
namespace {

constexpr int kReadFileFromCameraId = controls::kReadXmlFile.id;
constexpr int kOpenFileId = controls::kOpenXmlFile.id;

}  // namespace

void AttachXmlFeature(MainWindow& window) {
    auto* xml = new XmlWindow(window.Core(), window.Desktop(), &window);
    window.Windows().AddWindow(xml);
    window.SetActionHandler(kReadFileFromCameraId, [xml] { xml->DownloadDescriptionFile(); });
    window.SetActionHandler(kOpenFileId, [xml] { xml->OpenDescriptionFile(); });
}

}  // namespace vk::gui
