#include "gui/app/window_geometry.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "core/persist/settings_backend.h"

namespace vk::gui {
namespace {

// A frame the window manager has not drawn yet is not known; this leaves room for a usual
// title bar and border.
constexpr QMargins kUsualFrame{4, 30, 4, 4};
constexpr const char* kFitted = "fittedToScreen";
// A title bar's window icon, its three buttons and its margins.
constexpr int kTitleBarExtras = 150;

QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    if (frame == inner) return kUsualFrame;
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

}  // namespace

void FitOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = FrameOf(window);
    const QSize room = area.size().shrunkBy(frame);
    const QSize size = window.size().boundedTo(room).expandedTo(window.minimumSize());
    if (size != window.size()) window.resize(size);
    // For a window, pos() is where its frame starts.
    const QSize outer = size.grownBy(frame);
    const QPoint at(std::clamp(window.pos().x(), area.left(),
                               std::max(area.left(), area.right() + 1 - outer.width())),
                    std::clamp(window.pos().y(), area.top(),
                               std::max(area.top(), area.bottom() + 1 - outer.height())));
    // Always placed: a window never moved is mapped without a position, and a window manager
    // may then put its client area, not its frame, at the corner.
    window.move(at);
}

void CentreOnParent(QWidget& window) {
    const QWidget* parent = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (!parent || parent == &window || !parent->isVisible()) return;
    const QSize outer = window.size().grownBy(FrameOf(window));
    window.move(parent->frameGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2));
}

void WidenForCaption(QWidget& window) {
    if (window.windowTitle().isEmpty()) return;
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int wanted = QFontMetrics(font).horizontalAdvance(window.windowTitle()) + kTitleBarExtras;
    if (window.width() >= wanted) return;
    // A layout of fixed size (and a message box) sizes the window itself: it is told there.
    if (auto* grid = qobject_cast<QGridLayout*>(window.layout())) {
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
    } else if (auto* box = qobject_cast<QBoxLayout*>(window.layout());
               box && (box->direction() == QBoxLayout::TopToBottom ||
                       box->direction() == QBoxLayout::BottomToTop)) {
        box->addStrut(wanted);
    } else {
        window.setMinimumWidth(std::max(window.minimumWidth(), wanted));
    }
    if (window.layout()) window.layout()->activate();
    window.resize(std::max(window.width(), wanted), window.height());
}

bool ScreenFitter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    const Qt::WindowType type = window->windowType();
    if (!window->isWindow() || (type != Qt::Window && type != Qt::Dialog)) return false;
    if (window->property(kFitted).toBool()) return false;
    window->setProperty(kFitted, true);
    // A window nobody sized opens at two thirds of the screen at most; it may have all the
    // room it asks for that the screen has.
    if (!window->testAttribute(Qt::WA_Resized)) window->resize(window->sizeHint());
    WidenForCaption(*window);
    // Placed here, a dialog is no longer placed by Qt, which would have centred it.
    if (!window->testAttribute(Qt::WA_Moved)) CentreOnParent(*window);
    FitOnScreen(*window);
    return false;
}

WindowGeometry::WindowGeometry(QWidget& window, SettingsBackend& store, const std::string& name)
    : QObject(&window), window_(window), store_(store), key_(KeyOf(name)) {
    setObjectName(QString::fromStdString("geometry " + name));
    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(kSaveDelayMs);
    connect(&saveTimer_, &QTimer::timeout, this, &WindowGeometry::Save);
    window.installEventFilter(this);
}

bool WindowGeometry::Restore() {
    const auto stored = store_.Read(key_);
    const auto* text = stored ? std::get_if<std::string>(&*stored) : nullptr;
    if (!text || text->empty()) return false;
    return window_.restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*text)));
}

void WindowGeometry::Save() {
    saveTimer_.stop();
    if (!shown_) return;  // a place never shown is no place the user chose
    store_.Write(key_, window_.saveGeometry().toBase64().toStdString());
}

bool WindowGeometry::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) return false;
    switch (event->type()) {
        case QEvent::Show:
            if (!shown_) {
                restored_ = Restore();
                FitOnScreen(window_);
                shown_ = true;
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (shown_ && window_.isVisible()) saveTimer_.start();
            break;
        case QEvent::Hide:
            if (shown_ && !window_.isMinimized()) Save();
            break;
        default:
            break;
    }
    return false;
}

}  // namespace vk::gui
