#pragma once

#include <string>

namespace vk {

// None: a plain box with OK (the results of the camera's automatic functions).
enum class MessageIcon { Information, Exclamation, Stop, Question, None };

// One box a caller shows for what a service reports (an empty caption is the tool's name).
struct Notice {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::Exclamation;
};

// How a camera operation presents itself while it runs.
struct OperationInfo {
    std::string name;             // the progress text
    bool cancellable = false;     // offers Cancel; honoured between steps
    bool progressAtOnce = false;  // shows progress at once, not only after a glance
    // The runner shows a failed outcome's message in a "Communication Error" box, unless
    // the caller shows it (or a summary of it) itself.
    bool callerShowsFailure = false;
};

// Everything the core asks of a person. The GUI implements it with Qt, the command-line
// tool prints to stderr, tests record the calls and answer questions from a script.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual void ShowMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
    // True for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // The question with a "Don't ask again" choice, given back in `dontAsk`; an interface
    // without one asks plainly.
    virtual bool AskYesNoOnce(const std::string& text, const std::string& caption, bool& dontAsk) {
        dontAsk = false;
        return AskYesNo(text, caption);
    }

    virtual void ShowProgress(const std::string& text) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void CloseProgress() = 0;

    // Lets the interface repaint and take input between the steps of a long sequence.
    virtual void PumpEvents() = 0;
    virtual void SetWaitCursor(bool on) = 0;

    // A camera operation runs from Begin to End: the interface keeps the user from starting
    // another (the tool windows are switched off), shows progress and offers Cancel.
    virtual void BeginOperation(const OperationInfo& info) { (void)info; }
    virtual void EndOperation() {}
    // The user asked the running operation to stop.
    virtual bool CancelRequested() { return false; }
    // As if the user pressed Cancel (a window closing while an operation runs).
    virtual void RequestCancel() {}
};

// Caption used by every communication failure.
inline constexpr const char* kCommunicationErrorCaption = "Communication Error";

inline void ShowCommunicationError(UserInterface& ui, const std::string& text) {
    ui.ShowMessage(text, kCommunicationErrorCaption, MessageIcon::Exclamation);
}

inline void ShowNotice(UserInterface& ui, const Notice& notice) {
    ui.ShowMessage(notice.text, notice.caption, notice.icon);
}

// Answers nothing and shows nothing: for code paths that run with no person present.
class SilentUserInterface : public UserInterface {
public:
    void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void CloseProgress() override {}
    void PumpEvents() override {}
    void SetWaitCursor(bool) override {}
};

}  // namespace vk
