#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>

namespace vk {
class Exchange;
class SerialChannel;
class UserInterface;
}  // namespace vk

namespace vk::gui {

// Takes the lines the camera sends on its own while no operation owns the line: they are
// logged and queued by the command layer. On a COM port it wakes only when bytes arrive;
// a Camera Link library gives no such notice, so there it looks every kLibraryPollMs.
class IdleReader : public QObject {
    Q_OBJECT
public:
    static constexpr int kLibraryPollMs = 100;

    // `ui` is told of a line without end, once per burst.
    IdleReader(Exchange& exchange, SerialChannel& channel, UserInterface& ui,
               QObject* parent = nullptr);
    ~IdleReader() override;

    // After the channel changed mode: wait for notices or look from time to time.
    void FollowChannel();
    void Poll();

private:
    Exchange& exchange_;
    SerialChannel& channel_;
    UserInterface& ui_;
    QTimer libraryTimer_;
    std::atomic<bool> posted_{false};
};

}  // namespace vk::gui
