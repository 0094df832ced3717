#pragma once

#include <string>
#include <vector>

namespace kv::device {

enum class DialogButtons { Ok, YesNo, RetryCancel, OkCancel };
enum class DialogAnswer { Ok, Cancel, Yes, No, Retry };

// Caption of every message box that offers a choice.
inline constexpr const char* kPromptCaption = "提示";
// Caption of plain messages with an OK button only.
inline constexpr const char* kAppTitle = "KV R207A";

// Message boxes, always shown on the UI thread. Modal: returns the answer.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual DialogAnswer Ask(const std::string& text, const std::string& caption,
                             DialogButtons buttons) = 0;
    // A plain message under the program's title, OK only.
    void ShowMessage(const std::string& text) { Ask(text, kAppTitle, DialogButtons::Ok); }
};

}  // namespace kv::device
