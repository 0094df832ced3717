#pragma once

#include <string>

namespace kv::workflow {

// The player behind `donghuaflash2`. Whether it is shown is the control's
// visibility in the window model; this port plays the movie file.
class AnimationPlayer {
  public:
    virtual ~AnimationPlayer() = default;
    virtual void Load(const std::string& movieFile) = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
};

}  // namespace kv::workflow
