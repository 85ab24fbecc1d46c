#pragma once

#include <vector>

namespace vk {

// Implemented by every tool window (and by anything else that follows the line state).
class OnlineStatusObserver {
public:
    virtual ~OnlineStatusObserver() = default;
    virtual void OnOnlineStatusChanged(bool online) { (void)online; }
};

// Tells every registered observer whether the camera answers. Each call notifies all
// observers again, even when the state did not change.
class OnlineStatusNotifier {
public:
    void Register(OnlineStatusObserver* observer);
    void Unregister(OnlineStatusObserver* observer);
    void SetOnline() { Notify(true); }
    void SetOffline() { Notify(false); }
    // Whether the camera that answers is one the tool can work with (its model is known);
    // observers are told the line state again when this changes.
    void SetCameraUsable(bool usable);

    // What was last shown: offline also before any call.
    bool Current() const { return current_; }
    bool CameraUsable() const { return cameraUsable_; }

private:
    void Notify(bool online);

    std::vector<OnlineStatusObserver*> observers_;
    bool current_ = false;
    bool cameraUsable_ = true;
};

}  // namespace vk
