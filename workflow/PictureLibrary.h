#pragma once

#include <string>

namespace kv::workflow {

// The five picture libraries, as the desktop program provides them. The
// window model refers to their pictures by PictureRef only.
class PictureLibrary {
  public:
    virtual ~PictureLibrary() = default;
    // Loads om, sm, fm, bm and dm in that order; false when one is missing.
    virtual bool Open() = 0;
    // The bytes of the learning animation ("flash1"); empty when it is missing.
    virtual std::string AnimationData() = 0;
    // Copies the four sets of 128 pictures and the named pictures out of the
    // libraries; false at the first picture that is missing or undecodable.
    virtual bool LoadPictureSets() = 0;
    // Frees the libraries; the copied pictures stay.
    virtual void Close() = 0;
};

}  // namespace kv::workflow
