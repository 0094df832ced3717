#include "workflow/WindowModel.h"

#include <algorithm>

#include "workflow/KeyLayout.h"

namespace kv::workflow {

namespace {
using Kind = ControlKind;
}  // namespace

WindowModel::WindowModel()
    : dispatch_(
          [this](const Control& control, ControlChange change) { Broadcast(control, change); }),
      Image1("Image1", Kind::Picture, {0, 0, 1028, 737}, &dispatch_),
      ykqbox("ykqbox", Kind::ScrollBox, {146, 0, 197, 731}, &dispatch_),
      Imagehint("Imagehint", Kind::Picture, {472, 275, 413, 86}, &dispatch_),
      donghuaflash2("donghuaflash2", Kind::AnimationPlayer, {472, 272, 417, 89}, &dispatch_),
      runstate_lab("runstate_lab", Kind::Label, {467, 375, 422, 22}, &dispatch_),
      Image4("Image4", Kind::Picture, {472, 411, 410, 168}, &dispatch_),
      Image5("Image5", Kind::Picture, {472, 410, 412, 169}, &dispatch_),
      Image7("Image7", Kind::Picture, {473, 410, 412, 167}, &dispatch_),
      Image8("Image8", Kind::Picture, {473, 409, 411, 171}, &dispatch_),
      lab_ykqtype("lab_ykqtype", Kind::Label, {611, 118, 225, 15}, &dispatch_),
      lab_softver("lab_softver", Kind::Label, {611, 152, 225, 17}, &dispatch_),
      lab_gjbb("lab_gjbb", Kind::Label, {611, 188, 221, 17}, &dispatch_),
      lab_usbstate("lab_usbstate", Kind::Label, {610, 226, 228, 15}, &dispatch_),
      IBtn79("IBtn79", {969, 5, 50, 43}, &dispatch_),
      updateibtn("updateibtn", {969, 49, 50, 44}, &dispatch_),
      helpibtn("helpibtn", {969, 90, 52, 43}, &dispatch_),
      beginstudyibtn("beginstudyibtn", {486, 636, 137, 37}, &dispatch_),
      delstudykey("delstudykey", {737, 640, 137, 37}, &dispatch_),
      Memo1("Memo1", Kind::Memo, {}, &dispatch_),
      Memo2("Memo2", Kind::Memo, {}, &dispatch_) {
    // Design-time looks, set before anyone listens.
    Image1.SetPicture(PictureRef::Design("Image1"));
    ykqbox.SetPicture(PictureRef::Design("z"));
    donghuaflash2.SetVisible(false);
    for (Control* panel : {&Image4, &Image5, &Image7, &Image8}) {
        panel->SetPicture(PictureRef::Design(panel->Name()));
    }
    Memo1.SetVisible(false);
    Memo2.SetVisible(false);

    IBtn79.Hint = "关闭软件";
    updateibtn.Hint = "升级软件";
    helpibtn.Hint = "帮助";
    for (IBtn* button : {&IBtn79, &updateibtn, &helpibtn}) {
        button->SetPicture(PictureRef::Design(button->Name()));
    }
    // The begin button's second face is its stop picture.
    beginstudyibtn.SetPicture(PictureRef::Design("beginstudyibtn"));
    beginstudyibtn.SetDisablePic(PictureRef::Design("beginstudyibtn.stop"));

    controls_ = {&Image1,      &ykqbox,         &Imagehint,    &donghuaflash2, &runstate_lab,
                 &Image4,      &Image5,         &Image7,       &Image8,        &lab_ykqtype,
                 &lab_softver, &lab_gjbb,       &lab_usbstate, &IBtn79,        &updateibtn,
                 &helpibtn,    &beginstudyibtn, &delstudykey,  &Memo1,         &Memo2};
    imageButtons_ = {&IBtn79, &updateibtn, &helpibtn, &beginstudyibtn, &delstudykey};

    keys_.reserve(kKeyLayout.size());
    for (const KeyDefinition& key : kKeyLayout) {
        auto button = std::make_unique<IBtn>(std::string(key.component), key.geometry, &dispatch_);
        button->Code = std::string(key.code);
        button->Path = std::string(key.path);
        button->SetEnabled(key.enabled);
        button->SetPicture(PictureRef::Design(button->Name()));
        controls_.push_back(button.get());
        imageButtons_.push_back(button.get());
        keyButtons_.push_back(button.get());
        keys_.push_back(std::move(button));
    }
}

WindowModel::ListenerId WindowModel::AddListener(ControlListener listener) {
    const ListenerId id = nextListenerId_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void WindowModel::RemoveListener(ListenerId id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void WindowModel::MarkClosed() {
    closed_ = true;
    if (closedListener_) {
        closedListener_();
    }
}

Control* WindowModel::Find(std::string_view name) const {
    const auto found = std::find_if(controls_.begin(), controls_.end(),
                                    [name](const Control* c) { return c->Name() == name; });
    return found == controls_.end() ? nullptr : *found;
}

IBtn* WindowModel::FindButton(std::string_view name) const {
    const auto found = std::find_if(imageButtons_.begin(), imageButtons_.end(),
                                    [name](const IBtn* b) { return b->Name() == name; });
    return found == imageButtons_.end() ? nullptr : *found;
}

IBtn* WindowModel::KeyByCode(std::string_view code) const {
    const auto found = std::find_if(keyButtons_.begin(), keyButtons_.end(),
                                    [code](const IBtn* b) { return b->Code == code; });
    return found == keyButtons_.end() ? nullptr : *found;
}

void WindowModel::Broadcast(const Control& control, ControlChange change) const {
    // A copy, so that a listener may add or remove listeners.
    const auto listeners = listeners_;
    for (const auto& entry : listeners) {
        entry.second(control, change);
    }
}

}  // namespace kv::workflow
