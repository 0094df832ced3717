#pragma once

#include <array>

namespace kv::tools::picgen {

// The face size and display name of each key of the remote, by key code.
struct KeyFace {
    const char* displayName;
    int width;
    int height;
};

inline constexpr std::array<KeyFace, 41> kKeyFaces = {{
    {"TV/POWER", 44, 41},      {"TV/SETUP", 32, 26},      {"TV/ AV/TV", 41, 28},
    {"IPTV/MUTE", 41, 41},     {"TV/ VOL+", 46, 38},      {"IPTV/TRACK", 52, 38},
    {"IPTV/HELP", 49, 39},     {"TV/  VOL-", 54, 35},     {"IPTV/SUBTITLE", 52, 35},
    {"IPTV/清除", 48, 39},     {"TV/1", 38, 31},          {"TV/2", 35, 26},
    {"TV/F3", 37, 27},         {"TV/F4", 40, 25},         {"IPTV/HVO", 54, 36},
    {"IPTV/UP", 65, 36},       {"IPTV/TV", 49, 37},       {"IPTV/LEFT", 34, 79},
    {"TV/9", 65, 57},          {"IPTV/RIGHT", 28, 72},    {"IPTV/MENU", 52, 40},
    {"IPTV/DOWN", 76, 31},     {"IPTV/BACK", 50, 39},     {"IPTV/VOL+", 54, 39},
    {"IPTV/PAGE UP", 67, 34},  {"IPTV/CHANNEL+", 52, 37}, {"IPTV/VOL-", 54, 48},
    {"IPTV/PAGEDOWN", 61, 43}, {"IPTV/CHANNEL-", 46, 40}, {"IPTV/1", 52, 36},
    {"IPTV/2", 50, 37},        {"IPTV/3", 49, 36},        {"IPTV/4", 52, 34},
    {"IPTV/5", 49, 36},        {"IPTV/6", 49, 35},        {"IPTV/7", 52, 36},
    {"IPTV/8", 50, 36},        {"IPTV/9", 49, 37},        {"IPTV/*", 52, 35},
    {"IPTV/O", 49, 34},        {"IPTV/#", 49, 35},
}};

}  // namespace kv::tools::picgen
