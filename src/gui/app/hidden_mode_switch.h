#pragma once

namespace vk::gui {

// The hidden switch between user and factory mode: Shift+Ctrl+F12, then the three letters
// of the access code, with no other key between them.
class HiddenModeSwitch {
public:
    enum class Result {
        NotHandled,  // the key is not part of the sequence; it goes on as usual
        Consumed,    // the key belongs to the sequence, which is not complete yet
        Completed,   // the last letter matched: toggle the mode
    };

    // key: a Qt key code (letters as upper-case codes, whatever the shift state).
    Result OnKeyPress(int key, bool shift, bool ctrl);
    bool Armed() const { return armed_; }
    void Disarm();

private:
    static const char* AccessCode();

    bool armed_ = false;
    int position_ = 0;
};

}  // namespace vk::gui
