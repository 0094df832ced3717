#pragma once

#include <QPointer>
#include <QWidget>

#include "device/Dialogs.h"

namespace kv::app {

// Message boxes with Chinese button texts. Called on the UI thread only (the
// workers reach it through the dispatcher).
class QtDialogs final : public device::Dialogs {
  public:
    // The window the boxes are centred on and block; without one a box
    // blocks the whole program. Other windows (the virtual remote's control
    // window) stay usable while a box waits.
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    device::DialogAnswer Ask(const std::string& text, const std::string& caption,
                             device::DialogButtons buttons) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace kv::app
