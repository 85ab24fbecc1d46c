#include "app/receive_timer.h"

#include <QApplication>

#include "protocol/command.h"

namespace vk::gui {

ReceiveTimer::ReceiveTimer(Command& command, QObject* parent) : QObject(parent), command_(command) {
    connect(&timer_, &QTimer::timeout, this, &ReceiveTimer::Poll);
    timer_.start(kPeriodMs);
}

void ReceiveTimer::Poll() {
    // A message box opened from inside an exchange runs its own event loop; the bytes that
    // arrive then belong to the exchange that waits, not to this timer.
    if (QApplication::activeModalWidget()) return;
    command_.PollUnsolicited();
}

}  // namespace vk::gui
