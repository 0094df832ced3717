#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "device/Dialogs.h"

namespace kv::test {

// One message box as it was shown, with the answer it got.
struct ShownDialog {
    std::string text;
    std::string caption;
    device::DialogButtons buttons;
    device::DialogAnswer answer;
    friend bool operator==(const ShownDialog&, const ShownDialog&) = default;
};

// Message boxes answered from a script, each one recorded. A box with an OK
// button only answers OK and takes nothing from the script; a question
// without a scripted answer fails the test and answers Cancel (No for Yes/No).
class ScriptedDialogs final : public device::Dialogs {
  public:
    void QueueAnswers(std::vector<device::DialogAnswer> answers) {
        std::lock_guard lock(mutex_);
        answers_.insert(answers_.end(), answers.begin(), answers.end());
    }

    // Runs inside Ask, before it answers: what the operator does while the
    // box is on screen (the box's own event loop keeps the window alive).
    void OnAsk(std::function<void(const std::string& text)> hook) {
        std::lock_guard lock(mutex_);
        onAsk_ = std::move(hook);
    }

    device::DialogAnswer Ask(const std::string& text, const std::string& caption,
                             device::DialogButtons buttons) override {
        std::function<void(const std::string&)> hook;
        {
            std::lock_guard lock(mutex_);
            hook = onAsk_;
        }
        if (hook) {
            hook(text);
        }
        std::lock_guard lock(mutex_);
        const device::DialogAnswer answer = NextAnswer(text, buttons);
        shown_.push_back({text, caption, buttons, answer});
        return answer;
    }

    std::vector<ShownDialog> Shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownDialog& dialog : Shown()) {
            texts.push_back(dialog.text);
        }
        return texts;
    }

    // Scripted answers that no question has taken yet.
    std::size_t AnswersLeft() const {
        std::lock_guard lock(mutex_);
        return answers_.size();
    }

    std::size_t Count() const {
        std::lock_guard lock(mutex_);
        return shown_.size();
    }

  private:
    device::DialogAnswer NextAnswer(const std::string& text, device::DialogButtons buttons) {
        if (buttons == device::DialogButtons::Ok) {
            return device::DialogAnswer::Ok;
        }
        if (!answers_.empty()) {
            const device::DialogAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        ADD_FAILURE() << "no answer scripted for: " << text;
        return buttons == device::DialogButtons::YesNo ? device::DialogAnswer::No
                                                       : device::DialogAnswer::Cancel;
    }

    mutable std::mutex mutex_;
    std::deque<device::DialogAnswer> answers_;
    std::function<void(const std::string&)> onAsk_;
    std::vector<ShownDialog> shown_;
};

}  // namespace kv::test
