#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/user_interface.h"

namespace vk::test {

// Records every call the core makes of a person; answers questions from a script.
class RecordingUserInterface : public UserInterface {
public:
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
    };

    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override {
        messages.push_back({text, caption, icon});
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back({text, caption, MessageIcon::Question});
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void ShowProgress(const std::string& text) override {
        progressTexts.push_back(text);
        progressOpen = true;
    }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void CloseProgress() override { progressOpen = false; }
    void PumpEvents() override { ++pumps; }
    void SetWaitCursor(bool on) override { waitCursor.push_back(on); }
    void BeginOperation(const OperationInfo& info) override { operations.push_back(info.name); }
    void EndOperation() override {
        progressOpen = false;
        ++operationsEnded;
    }
    // The user presses Cancel once the interface has been pumped that often.
    bool CancelRequested() override { return cancelAfterPumps >= 0 && pumps >= cancelAfterPumps; }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : messages)
            texts.push_back(m.text);
        return texts;
    }

    std::vector<Message> messages;
    std::vector<Message> questions;
    std::deque<bool> answers;
    std::vector<std::string> progressTexts;
    std::vector<int> progress;
    bool progressOpen = false;
    int pumps = 0;
    std::vector<bool> waitCursor;
    std::vector<std::string> operations;
    int operationsEnded = 0;
    int cancelAfterPumps = -1;
};

}  // namespace vk::test
