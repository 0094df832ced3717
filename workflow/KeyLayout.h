#pragma once

#include <array>
#include <string_view>

#include "workflow/Control.h"

namespace kv::workflow {

// One key of the remote picture: its code, the button that shows it, its
// display name (inner spaces are part of the name), whether it takes clicks,
// and where it sits on the remote picture.
struct KeyDefinition {
    std::string_view code;
    std::string_view component;
    std::string_view path;
    bool enabled;
    Geometry geometry;
};

inline constexpr int kKeyCount = 41;

// The keys in code order. Only four keys can be learned: the others are shown
// but ignore the mouse.
inline constexpr std::array<KeyDefinition, kKeyCount> kKeyLayout{{
    {"00", "IBtn1", "TV/POWER", true, {21, 32, 44, 41}},
    {"01", "IBtn2", "TV/SETUP", false, {62, 38, 32, 26}},
    {"02", "IBtn3", "TV/ AV/TV", true, {97, 35, 41, 28}},
    {"03", "IBtn4", "IPTV/MUTE", false, {144, 32, 41, 41}},
    {"04", "IBtn5", "TV/ VOL+", true, {19, 82, 46, 38}},
    {"05", "IBtn6", "IPTV/TRACK", false, {76, 81, 52, 38}},
    {"06", "IBtn7", "IPTV/HELP", false, {131, 82, 49, 39}},
    {"07", "IBtn9", "TV/  VOL-", true, {19, 126, 54, 35}},
    {"08", "IBtn10", "IPTV/SUBTITLE", false, {77, 127, 52, 35}},
    {"09", "IBtn8", "IPTV/清除", false, {135, 127, 48, 39}},
    {"0A", "IBtn13", "TV/1", false, {19, 178, 38, 31}},
    {"0B", "IBtn14", "TV/2", false, {66, 177, 35, 26}},
    {"0C", "IBtn11", "TV/F3", false, {106, 177, 37, 27}},
    {"0D", "IBtn12", "TV/F4", false, {145, 176, 40, 25}},
    {"0E", "IBtn17", "IPTV/HVO", false, {11, 213, 54, 36}},
    {"0F", "IBtn18", "IPTV/UP", false, {72, 229, 65, 36}},
    {"10", "IBtn19", "IPTV/TV", false, {136, 212, 49, 37}},
    {"11", "IBtn25", "IPTV/LEFT", false, {41, 255, 34, 79}},
    {"12", "IBtn22", "TV/9", false, {72, 264, 65, 57}},
    {"13", "IBtn20", "IPTV/RIGHT", false, {136, 254, 28, 72}},
    {"14", "IBtn29", "IPTV/MENU", false, {16, 333, 52, 40}},
    {"15", "IBtn33", "IPTV/DOWN", false, {69, 322, 76, 31}},
    {"16", "IBtn32", "IPTV/BACK", false, {132, 333, 50, 39}},
    {"17", "IBtn48", "IPTV/VOL+", false, {11, 394, 54, 39}},
    {"18", "IBtn41", "IPTV/PAGE UP", false, {68, 385, 67, 34}},
    {"19", "IBtn40", "IPTV/CHANNEL+", false, {135, 388, 52, 37}},
    {"1A", "IBtn63", "IPTV/VOL-", false, {11, 433, 54, 48}},
    {"1B", "IBtn52", "IPTV/PAGEDOWN", false, {69, 424, 61, 43}},
    {"1C", "IBtn44", "IPTV/CHANNEL-", false, {135, 425, 46, 40}},
    {"1D", "IBtn50", "IPTV/1", false, {11, 481, 52, 36}},
    {"1E", "IBtn67", "IPTV/2", false, {77, 480, 50, 37}},
    {"1F", "IBtn55", "IPTV/3", false, {135, 479, 49, 36}},
    {"20", "IBtn45", "IPTV/4", false, {11, 521, 52, 34}},
    {"21", "IBtn61", "IPTV/5", false, {78, 521, 49, 36}},
    {"22", "IBtn64", "IPTV/6", false, {137, 521, 49, 35}},
    {"23", "IBtn60", "IPTV/7", false, {12, 561, 52, 36}},
    {"24", "IBtn42", "IPTV/8", false, {79, 564, 50, 36}},
    {"25", "IBtn37", "IPTV/9", false, {136, 562, 49, 37}},
    {"26", "IBtn47", "IPTV/*", false, {12, 605, 52, 35}},
    {"27", "IBtn34", "IPTV/O", false, {79, 607, 49, 34}},
    {"28", "IBtn39", "IPTV/#", false, {137, 607, 49, 35}},
}};

}  // namespace kv::workflow
