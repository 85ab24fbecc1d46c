#pragma once

#include <QObject>
#include <QTimer>

namespace vk {
class Command;
}

namespace vk::gui {

// Collects the lines the camera sends on its own while no exchange runs: they are logged
// and queued by the command layer.
class ReceiveTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int kPeriodMs = 25;

    explicit ReceiveTimer(Command& command, QObject* parent = nullptr);

    void Poll();

private:
    Command& command_;
    QTimer timer_;
};

}  // namespace vk::gui
