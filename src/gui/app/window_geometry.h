#pragma once

#include <QObject>
#include <QTimer>
#include <string>

class QWidget;

namespace vk {
class SettingsBackend;
}

namespace vk::gui {

// Keeps a tool window where the user left it between runs: the place and size are stored
// (as the window system describes them) under "Window <name>" whenever the window moves,
// changes size or hides, and are put back when it is first shown. Without a stored place,
// or with one from a larger screen, the window is made to fit the screen it opens on, with
// its title bar on the screen.
class WindowGeometry : public QObject {
    Q_OBJECT
public:
    static constexpr int kSaveDelayMs = 400;

    WindowGeometry(QWidget& window, SettingsBackend& store, const std::string& name);

    // True when a stored place was put back at the first show.
    bool Restored() const { return restored_; }
    // Stores the current place now.
    void Save();

    static std::string KeyOf(const std::string& name) { return "Window " + name; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Restore();

    QWidget& window_;
    SettingsBackend& store_;
    std::string key_;
    QTimer saveTimer_;
    bool shown_ = false;
    bool restored_ = false;
};

// Makes the window no larger than the available area of its screen and moves it, frame and
// title bar included, onto that area.
void FitOnScreen(QWidget& window);

// Puts a window with a parent in the middle of its parent's window.
void CentreOnParent(QWidget& window);

// Makes the window wide enough for its caption in a usual title bar (icon and buttons
// included), through its layout when it has one.
void WidenForCaption(QWidget& window);

// Watching the whole application, fits every window and dialog onto the screen the first
// time it shows: on a small or scaled screen no window opens larger than the screen or with
// its title bar out of reach, and one that scrolls opens as large as the screen lets it. A
// dialog nobody placed opens centred on its parent, and each is wide enough for its caption.
class ScreenFitter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vk::gui
