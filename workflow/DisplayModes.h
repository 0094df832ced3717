#pragma once

#include <cstdint>
#include <optional>

namespace kv::workflow {

// The fields of a display mode record that the start-up check sets.
struct DisplayMode {
    std::uint32_t fields = 0;
    int width = 0;
    int height = 0;
    int refreshRate = 0;
    friend bool operator==(const DisplayMode&, const DisplayMode&) = default;
};

inline constexpr std::uint32_t kModeWidthAndHeight = 0x180000;
inline constexpr std::uint32_t kApplyNow = 0;
inline constexpr std::uint32_t kApplyAndStore = 1;

// The screen and its display modes.
class DisplayModes {
  public:
    virtual ~DisplayModes() = default;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    // Mode number `index` of the primary display; nothing when it cannot be read.
    virtual std::optional<DisplayMode> ReadMode(int index) = 0;
    virtual std::optional<DisplayMode> ReadCurrentMode() = 0;
    // `flags`: kApplyNow, or kApplyAndStore to keep the mode in the settings.
    virtual bool ApplyMode(const DisplayMode& mode, std::uint32_t flags) = 0;
};

// This platform offers no mode switching to the program: mode 0 cannot be
// read, so the switch is skipped and the screen is left as it is.
class FixedDisplayModes : public DisplayModes {
  public:
    FixedDisplayModes(int width, int height) : width_(width), height_(height) {}
    int ScreenWidth() override { return width_; }
    int ScreenHeight() override { return height_; }
    std::optional<DisplayMode> ReadMode(int) override { return std::nullopt; }
    std::optional<DisplayMode> ReadCurrentMode() override { return std::nullopt; }
    bool ApplyMode(const DisplayMode&, std::uint32_t) override { return false; }

  private:
    int width_;
    int height_;
};

}  // namespace kv::workflow
