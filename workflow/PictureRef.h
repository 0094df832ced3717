#pragma once

#include <string>

namespace kv::workflow {

// The four sets of 128 key pictures, indexed by key code value.
enum class PictureSet { Normal, Learned, Selected, Preset };

// A picture as the window model names it. The model never holds image data:
// the desktop program owns the decoded pictures and looks them up by this
// reference, and tests compare references.
struct PictureRef {
    enum class Kind {
        Empty,    // no picture
        Design,   // a picture of the window design, named after its owner ("IBtn1", "z")
        SetItem,  // one picture of a picture set, e.g. learnedPics at 4
        Named,    // a named picture of the picture libraries ("gifquillon")
    };

    Kind kind = Kind::Empty;
    PictureSet set = PictureSet::Normal;
    int index = 0;
    std::string name;

    static PictureRef None() { return {}; }
    static PictureRef Design(std::string owner) {
        return {Kind::Design, PictureSet::Normal, 0, std::move(owner)};
    }
    static PictureRef FromSet(PictureSet set, int index) { return {Kind::SetItem, set, index, {}}; }
    static PictureRef Named(std::string pictureName) {
        return {Kind::Named, PictureSet::Normal, 0, std::move(pictureName)};
    }

    bool IsEmpty() const { return kind == Kind::Empty; }

    // "learnedPics[4]", "gifquillon", "design:IBtn1" or "" for no picture.
    std::string ToString() const;

    friend bool operator==(const PictureRef& a, const PictureRef& b) {
        if (a.kind != b.kind) {
            return false;
        }
        switch (a.kind) {
            case Kind::Empty:
                return true;
            case Kind::SetItem:
                return a.set == b.set && a.index == b.index;
            case Kind::Design:
            case Kind::Named:
                return a.name == b.name;
        }
        return false;
    }
};

const char* PictureSetName(PictureSet set);

// Names of the pictures of the fifth library that the window swaps at run time.
namespace pictures {
inline constexpr const char* kIdleHint = "gifquillon";
inline constexpr const char* kLearningHint = "jpgjingtai";
inline constexpr const char* kDelete = "delete";
inline constexpr const char* kDeleteGrey = "deletehui";
inline constexpr const char* kStopDelete = "stopdelete";
}  // namespace pictures

}  // namespace kv::workflow
