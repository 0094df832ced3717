#pragma once

#include <functional>
#include <string>
#include <vector>

#include "workflow/PictureRef.h"

namespace kv::workflow {

struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Geometry&, const Geometry&) = default;
};

enum class ControlKind { Picture, Label, ScrollBox, ImageButton, AnimationPlayer, Memo };

// What changed on a control, so that a renderer can update only that.
enum class ControlChange { Visible, Enabled, Picture, Text, Lines, Position, Repaint };

class Control;
using ControlListener = std::function<void(const Control&, ControlChange)>;

// One control of the main window as plain state. Every setter reports the
// change to the window model's listeners (the desktop program's renderer);
// setting a value equal to the current one is reported too, because the
// window's own handlers repaint on every assignment.
class Control {
  public:
    Control(std::string name, ControlKind kind, Geometry geometry, const ControlListener* listener)
        : name_(std::move(name)), kind_(kind), geometry_(geometry), listener_(listener) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    ControlKind Kind() const { return kind_; }
    const Geometry& GetGeometry() const { return geometry_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) {
        visible_ = visible;
        Notify(ControlChange::Visible);
    }
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // The toolkit's enabled property: a disabled control ignores the mouse.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) {
        enabled_ = enabled;
        Notify(ControlChange::Enabled);
    }

    const PictureRef& Picture() const { return picture_; }
    void SetPicture(PictureRef picture) {
        picture_ = std::move(picture);
        Notify(ControlChange::Picture);
    }

    const std::string& Text() const { return text_; }
    void SetText(std::string text) {
        text_ = std::move(text);
        Notify(ControlChange::Text);
    }

    // Lines of a hidden log.
    const std::vector<std::string>& Lines() const { return lines_; }
    void AppendLine(std::string line) {
        lines_.push_back(std::move(line));
        Notify(ControlChange::Lines);
    }

    // Asks the renderer to draw the control now, before the handler returns.
    void Repaint() { Notify(ControlChange::Repaint); }

  protected:
    void Notify(ControlChange change) const {
        if (listener_ != nullptr && *listener_) {
            (*listener_)(*this, change);
        }
    }
    void MoveBy(int down, int right) {
        geometry_.top += down;
        geometry_.left += right;
        Notify(ControlChange::Position);
    }

  private:
    std::string name_;
    ControlKind kind_;
    Geometry geometry_;
    const ControlListener* listener_;
    bool visible_ = true;
    bool enabled_ = true;
    PictureRef picture_;
    std::string text_;
    std::vector<std::string> lines_;
};

}  // namespace kv::workflow
