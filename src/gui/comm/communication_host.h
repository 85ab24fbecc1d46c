#pragma once

namespace vk::gui {

// What the communication window needs of the main window.
class CommunicationHost {
public:
    virtual ~CommunicationHost() = default;
    // Reads every parameter again (after the channel changed or an area was loaded).
    virtual void ReadAllSettings() = 0;
    virtual bool IsFactoryMode() const = 0;
    // The channel changed its mode or port.
    virtual void ChannelChanged() = 0;
};

}  // namespace vk::gui
