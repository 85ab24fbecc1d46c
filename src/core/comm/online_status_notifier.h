#pragma once

#include <vector>

namespace vk {

// Implemented by every tool window (and by anything else that follows the line state).
class OnlineStatusObserver {
public:
    virtual ~OnlineStatusObserver() = default;
    // 1 online, 0 offline.
    virtual void OnOnlineStatusChanged(int online) { (void)online; }
};

// Tells every registered observer whether the camera answers. Each call notifies all
// observers again, even when the state did not change.
class OnlineStatusNotifier {
public:
    void Register(OnlineStatusObserver* observer);
    void Unregister(OnlineStatusObserver* observer);
    void SetOnline() { Notify(1); }
    void SetOffline() { Notify(0); }
    // Whether the camera that answers is one the tool can work with (its model is known);
    // observers are told the line state again when this changes.
    void SetCameraUsable(bool usable);

    // What was last shown: 0 offline (also before any call), 1 online.
    int Current() const { return current_; }
    bool CameraUsable() const { return cameraUsable_; }

private:
    void Notify(int online);

    std::vector<OnlineStatusObserver*> observers_;
    int current_ = 0;
    bool cameraUsable_ = true;
};

}  // namespace vk
