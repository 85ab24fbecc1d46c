#include "gui/res/pictures.h"

#include <QGuiApplication>
#include <QPixmapCache>

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

// The status pictures are shown again with every answer of the camera: each is drawn once
// per size and density. A new QIcon each time would add a pixmap to Qt's cache every time.
QPixmap Drawn(const char* name, QSize size) {
    const QString key = QStringLiteral("vk:%1:%2x%3@%4")
                            .arg(QLatin1String(name))
                            .arg(size.width())
                            .arg(size.height())
                            .arg(qApp->devicePixelRatio());
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = Load(name).pixmap(size);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
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
    return Drawn(online ? "line_online.png" : "line_offline.png", kLineStatusSize);
}

QPixmap StripPicture(bool online) {
    return Drawn(online ? "strip_online.png" : "strip_offline.png", kStripPictureSize);
}

}  // namespace vk::gui
