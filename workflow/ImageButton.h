#pragma once

#include <cstdint>
#include <string>

#include "workflow/Control.h"

namespace kv::workflow {

// The program's picture button: a picture with a second ("disabled") face
// that can be swapped in and out, a free text `Code` and a `Path`. `IsEnable`
// only chooses the face; the toolkit's enabled property (Control::Enabled)
// decides whether the button takes clicks.
class IBtn final : public Control {
  public:
    IBtn(std::string name, Geometry geometry, const ControlListener* listener)
        : Control(std::move(name), ControlKind::ImageButton, geometry, listener) {}

    std::uint8_t MoveDown = 1;
    std::uint8_t MoveRight = 1;
    std::string Path;
    std::string Code;
    std::string Hint;

    const PictureRef& DisablePic() const { return disablePic_; }
    void SetDisablePic(PictureRef picture) { disablePic_ = std::move(picture); }
    const PictureRef& SavedFace() const { return savedFace_; }

    bool IsEnable() const { return isEnable_; }
    // Swaps faces without looking at the current value: false saves whatever
    // is shown (so false twice saves the disabled face), true puts the saved
    // face back (an empty saved face empties the picture).
    void SetIsEnable(bool value) {
        if (value) {
            SetPicture(savedFace_);
        } else {
            savedFace_ = Picture();
            SetPicture(disablePic_);
        }
        isEnable_ = value;
    }

    // The press movement: down and right while the mouse button is held.
    void Press() { MoveBy(MoveDown, MoveRight); }
    void Release() { MoveBy(-MoveDown, -MoveRight); }

  private:
    PictureRef disablePic_;
    PictureRef savedFace_;
    bool isEnable_ = true;
};

}  // namespace kv::workflow
