#include "gui/res/pictures.h"

// Resources of a static library must be registered by name, outside any namespace.
static void InitGuiResources() {
    Q_INIT_RESOURCE(vkgui);
}

namespace vk::gui {
namespace {

QString Path(const char* name) {
    static const bool registered = (InitGuiResources(), true);
    (void)registered;
    return QStringLiteral(":/vk/pictures/") + QLatin1String(name);
}

// QIcon finds the @2x file next to the named one and picks it on high-density screens.
QIcon Load(const char* name) {
    return QIcon(Path(name));
}

}  // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (const char* name : {"app_16.png", "app_32.png", "app_64.png", "app_256.png"}) {
        icon.addFile(Path(name));
    }
    return icon;
}

QPixmap LineStatusPicture(bool online) {
    return Load(online ? "line_online.png" : "line_offline.png").pixmap(kLineStatusSize);
}

QPixmap StripPicture(bool online) {
    return Load(online ? "strip_online.png" : "strip_offline.png").pixmap(kStripPictureSize);
}

}  // namespace vk::gui
