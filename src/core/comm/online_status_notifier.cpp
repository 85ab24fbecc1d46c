#include "core/comm/online_status_notifier.h"

#include <algorithm>

namespace vk {

void OnlineStatusNotifier::Register(OnlineStatusObserver* observer) {
    if (observer) observers_.push_back(observer);
}

void OnlineStatusNotifier::Unregister(OnlineStatusObserver* observer) {
    std::erase(observers_, observer);
}

void OnlineStatusNotifier::SetCameraUsable(bool usable) {
    if (usable == cameraUsable_) return;
    cameraUsable_ = usable;
    Notify(current_);
}

void OnlineStatusNotifier::Notify(bool online) {
    current_ = online;
    // A copy, so an observer may unregister itself from its callback.
    const auto observers = observers_;
    for (auto* o : observers)
        o->OnOnlineStatusChanged(online);
}

}  // namespace vk
