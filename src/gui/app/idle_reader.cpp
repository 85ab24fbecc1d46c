#include "gui/app/idle_reader.h"

#include "core/comm/serial_channel.h"
#include "core/protocol/exchange.h"
#include "core/user_interface.h"

namespace vk::gui {

IdleReader::IdleReader(Exchange& exchange, SerialChannel& channel, UserInterface& ui,
                       QObject* parent)
    : QObject(parent), exchange_(exchange), channel_(channel), ui_(ui) {
    connect(&libraryTimer_, &QTimer::timeout, this, &IdleReader::Poll);
    // Runs on the port's reader thread: one queued call at a time, however many bytes come.
    channel_.SetDataListener([this] {
        if (!posted_.exchange(true)) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    posted_ = false;
                    Poll();
                },
                Qt::QueuedConnection);
        }
    });
    FollowChannel();
}

IdleReader::~IdleReader() {
    channel_.SetDataListener(nullptr);
}

void IdleReader::FollowChannel() {
    if (channel_.WakesOnData()) {
        libraryTimer_.stop();
    } else if (!libraryTimer_.isActive()) {
        libraryTimer_.start(kLibraryPollMs);
    }
}

void IdleReader::Poll() {
    exchange_.PollUnsolicited();
    if (exchange_.TakeOverflowNotice()) ShowCommunicationError(ui_, Exchange::kOverflowText);
}

}  // namespace vk::gui
