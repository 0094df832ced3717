#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/Dialogs.h"
#include "workflow/Control.h"
#include "workflow/ImageButton.h"

namespace kv::workflow {

inline constexpr const char* kWindowCaption = "自学习";
inline constexpr const char* kSoftwareVersion = "V 2.2";
// The program carries the remote's model string as its title.
inline constexpr const char* kRemoteModel = device::kAppTitle;

// The controls of the main window as plain state: what a renderer draws and
// what tests look at. Owned by the main window; the link watcher reaches it
// only through the UI dispatcher.
class WindowModel {
  public:
    WindowModel();
    WindowModel(const WindowModel&) = delete;
    WindowModel& operator=(const WindowModel&) = delete;

    // Listeners hear every change of every control, on the UI thread.
    using ListenerId = int;
    ListenerId AddListener(ControlListener listener);
    void RemoveListener(ListenerId id);

    // Window-level events: the window closed (the program then ends).
    using ClosedListener = std::function<void()>;
    void SetClosedListener(ClosedListener listener) { closedListener_ = std::move(listener); }
    bool Closed() const { return closed_; }
    void MarkClosed();

    // Every control in the window's component order.
    const std::vector<Control*>& Controls() const { return controls_; }
    // Every image button (command buttons and keys) in component order.
    const std::vector<IBtn*>& ImageButtons() const { return imageButtons_; }
    // The 41 key buttons in code order.
    const std::vector<IBtn*>& KeyButtons() const { return keyButtons_; }

    // nullptr when no control has this name.
    Control* Find(std::string_view name) const;
    IBtn* FindButton(std::string_view name) const;
    // The key button whose Code is exactly this text; nullptr when none.
    IBtn* KeyByCode(std::string_view code) const;

  private:
    void Broadcast(const Control& control, ControlChange change) const;

    // Declared first: every control keeps a pointer to it.
    ControlListener dispatch_;

  public:
    Control Image1;
    Control ykqbox;
    Control Imagehint;
    Control donghuaflash2;
    Control runstate_lab;
    Control Image4;
    Control Image5;
    Control Image7;
    Control Image8;
    Control lab_ykqtype;
    Control lab_softver;
    Control lab_gjbb;
    Control lab_usbstate;
    IBtn IBtn79;
    IBtn updateibtn;
    IBtn helpibtn;
    IBtn beginstudyibtn;
    IBtn delstudykey;
    Control Memo1;
    Control Memo2;

  private:
    std::vector<std::unique_ptr<IBtn>> keys_;
    std::vector<Control*> controls_;
    std::vector<IBtn*> imageButtons_;
    std::vector<IBtn*> keyButtons_;
    std::vector<std::pair<ListenerId, ControlListener>> listeners_;
    ListenerId nextListenerId_ = 1;
    ClosedListener closedListener_;
    bool closed_ = false;
};

}  // namespace kv::workflow
