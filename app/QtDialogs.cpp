#include "app/QtDialogs.h"

#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace kv::app {
namespace {

using device::DialogAnswer;
using device::DialogButtons;

struct ButtonChoice {
    const char* text;
    DialogAnswer answer;
    QMessageBox::ButtonRole role;
};

std::vector<ButtonChoice> ChoicesFor(DialogButtons buttons) {
    switch (buttons) {
        case DialogButtons::YesNo:
            return {{"是", DialogAnswer::Yes, QMessageBox::YesRole},
                    {"否", DialogAnswer::No, QMessageBox::NoRole}};
        case DialogButtons::RetryCancel:
            return {{"重试", DialogAnswer::Retry, QMessageBox::AcceptRole},
                    {"取消", DialogAnswer::Cancel, QMessageBox::RejectRole}};
        case DialogButtons::OkCancel:
            return {{"确定", DialogAnswer::Ok, QMessageBox::AcceptRole},
                    {"取消", DialogAnswer::Cancel, QMessageBox::RejectRole}};
        case DialogButtons::Ok:
            break;
    }
    return {{"确定", DialogAnswer::Ok, QMessageBox::AcceptRole}};
}

}  // namespace

DialogAnswer QtDialogs::Ask(const std::string& text, const std::string& caption,
                            DialogButtons buttons) {
    QMessageBox box(buttons == DialogButtons::Ok ? QMessageBox::Information : QMessageBox::Question,
                    QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, parent_.data());
    const std::vector<ButtonChoice> choices = ChoicesFor(buttons);
    std::vector<QPushButton*> pushButtons;
    for (const ButtonChoice& choice : choices) {
        pushButtons.push_back(box.addButton(QString::fromUtf8(choice.text), choice.role));
    }
    if (parent_ != nullptr) {
        // exec() would make the box application-modal; a person must still
        // reach the virtual remote's window to answer a box by plugging in.
        box.setWindowModality(Qt::WindowModal);
    }
    box.setDefaultButton(pushButtons.front());
    // Closing the box counts as the last button: No, Cancel, or OK alone.
    box.setEscapeButton(pushButtons.back());
    box.exec();
    for (std::size_t i = 0; i < pushButtons.size(); ++i) {
        if (box.clickedButton() == pushButtons[i]) {
            return choices[i].answer;
        }
    }
    return choices.back().answer;
}

}  // namespace kv::app
