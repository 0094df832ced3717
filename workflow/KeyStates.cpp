#include "workflow/KeyStates.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "codestyle/HexText.h"

namespace kv::workflow {

namespace {

constexpr int kPicturesPerSet = 128;

}  // namespace

std::optional<int> ReadHex(std::string_view digits) {
    const auto value = codestyle::ParseHex(digits);
    if (!value || *value > static_cast<std::uint32_t>(INT_MAX)) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::optional<int> PictureIndex(std::string_view code) {
    const auto value = ReadHex(code);
    if (!value || *value >= kPicturesPerSet) {
        return std::nullopt;
    }
    return value;
}

std::string_view EntryCode(std::string_view entry) {
    return entry.substr(0, 2);
}

char EntryState(std::string_view entry) {
    return entry.size() >= 4 ? entry[3] : '\0';
}

bool IsLearnedState(char state) {
    return state == kStateLearned || state == kStateUnwritten;
}

bool hasLearnedKey(const KeyStateList& keyStates) {
    return std::any_of(keyStates.begin(), keyStates.end(),
                       [](const std::string& entry) { return IsLearnedState(EntryState(entry)); });
}

std::string FindKeyState(const KeyStateList& keyStates, std::string_view code) {
    for (const std::string& entry : keyStates) {
        if (EntryCode(entry) == code && EntryState(entry) != kStateUnwritten) {
            return entry;
        }
    }
    return {};
}

void MarkKeyLearned(KeyStateList& keyStates, const std::string& code) {
    const std::string marked = code + "|" + kStateUnwritten;
    const auto value = ReadHex(code);
    for (auto it = keyStates.begin(); it != keyStates.end(); ++it) {
        // An entry whose code cannot be read is passed over rather than
        // compared as some arbitrary number.
        const auto entryValue = ReadHex(EntryCode(*it));
        if (!value || !entryValue) {
            continue;
        }
        if (*entryValue == *value) {
            *it = marked;
            return;
        }
        if (*entryValue > *value) {
            keyStates.insert(it, marked);
            return;
        }
    }
    keyStates.push_back(marked);
}

void RemoveKeyState(KeyStateList& keyStates, std::string_view code) {
    const auto found = std::find_if(keyStates.begin(), keyStates.end(),
                                    [code](const auto& entry) { return EntryCode(entry) == code; });
    if (found != keyStates.end()) {
        keyStates.erase(found);
    }
}

void CommitLearnedStates(KeyStateList& keyStates) {
    for (std::string& entry : keyStates) {
        if (EntryState(entry) == kStateUnwritten) {
            entry[3] = kStateLearned;
        }
    }
}

void showKeyStates(WindowModel& model, const KeyStateList& keyStates) {
    for (IBtn* button : model.ImageButtons()) {
        if (button->Code.empty()) {
            continue;
        }
        const auto index = PictureIndex(button->Code);
        if (!index) {
            continue;
        }
        for (const std::string& entry : keyStates) {
            if (entry.size() < 2 || EntryCode(entry) != button->Code) {
                continue;
            }
            const char state = EntryState(entry);
            if (IsLearnedState(state)) {
                button->SetIsEnable(false);
                button->SetPicture(PictureRef::FromSet(PictureSet::Learned, *index));
            } else if (state == kStatePreset) {
                button->SetPicture(PictureRef::FromSet(PictureSet::Preset, *index));
            }
        }
    }
}

}  // namespace kv::workflow
