#pragma once

#include "workflow/DisplayModes.h"

namespace kv::app {

// The primary screen's size as the window system reports it. Qt offers no
// way to switch display modes, so mode 0 reads as unavailable and the switch
// is skipped, leaving the screen as the user set it.
class QtDisplayModes final : public workflow::DisplayModes {
  public:
    int ScreenWidth() override;
    int ScreenHeight() override;
    std::optional<workflow::DisplayMode> ReadMode(int) override { return std::nullopt; }
    std::optional<workflow::DisplayMode> ReadCurrentMode() override { return std::nullopt; }
    bool ApplyMode(const workflow::DisplayMode&, std::uint32_t) override { return false; }
};

}  // namespace kv::app
