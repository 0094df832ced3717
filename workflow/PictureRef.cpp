#include "workflow/PictureRef.h"

namespace kv::workflow {

const char* PictureSetName(PictureSet set) {
    switch (set) {
        case PictureSet::Normal:
            return "normalPics";
        case PictureSet::Learned:
            return "learnedPics";
        case PictureSet::Selected:
            return "selectedPics";
        case PictureSet::Preset:
            return "presetPics";
    }
    return "";
}

std::string PictureRef::ToString() const {
    switch (kind) {
        case Kind::Empty:
            return {};
        case Kind::Design:
            return "design:" + name;
        case Kind::SetItem:
            return std::string(PictureSetName(set)) + "[" + std::to_string(index) + "]";
        case Kind::Named:
            return name;
    }
    return {};
}

}  // namespace kv::workflow
