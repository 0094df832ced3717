#include <algorithm>
#include <optional>
#include <string_view>

#include "workflow/KeyCodeTable.h"
#include "workflow/KeyStateEntries.h"
#include "workflow/KeyStates.h"
#include "workflow/MainWindow.h"
#include "workflow/MainWindowTexts.h"

namespace kv::workflow {

using device::DialogAnswer;
using device::DialogButtons;

Tmainlernix::WriteResult Tmainlernix::WriteTable(const std::string& table) {
    // Our table would overwrite another remote's codes. A write can still
    // come this far when the watcher's end is handled inside a question of
    // this very write (a message box runs the window's events meanwhile);
    // the close the watcher caused has then told the operator already.
    if (state_.otherRemoteConnected) {
        if (!model_.Closed()) {
            Tell(texts::kOtherRemoteNotWritten);
        }
        return WriteResult::Refused;
    }
    // A table that does not hold together would leave the remote with
    // garbage in its flash; it is kept here instead, and the operator told.
    if (!IsWritableKeyCodeTable(table)) {
        Tell(texts::kTableInvalid);
        return WriteResult::Refused;
    }
    return ports_.device.WCodeDataKVHOTEL(table.c_str()) ? WriteResult::Written
                                                         : WriteResult::Failed;
}

bool Tmainlernix::FinishLearning() {
    if (Ask(texts::kConfirmLearning, DialogButtons::YesNo) != DialogAnswer::Yes) {
        DiscardLearningRun();
        return true;
    }
    SetStatus(texts::kFinishingLearning, true);
    // Checked before it replaces the table last sent, so that a refused
    // table never becomes the one that declining falls back to.
    const WriteResult result = WriteTable(state_.keyCodeWork);
    if (result != WriteResult::Refused) {
        state_.keyCodeText = state_.keyCodeWork;
    }
    if (result == WriteResult::Written) {
        Tell(texts::kLearningDone);
        SetStatus(texts::kLearningDone, true);
        state_.codesDirty = false;
        return true;
    }
    SetStatus(texts::kLearningWriteFailedStatus, true);
    if (result == WriteResult::Failed) {
        Tell(texts::kLearningWriteFailed);
    }
    return false;
}

namespace {

// What the table last sent to the remote says of a key: its entry, or "".
std::string SentEntryOf(const std::optional<KeyStateList>& sent, std::string_view code) {
    const std::optional<int> value = ReadHex(code);
    if (!sent || !value) {
        return {};
    }
    for (const std::string& entry : *sent) {
        if (ReadHex(EntryCode(entry)) == value) {
            return entry;
        }
    }
    return {};
}

PictureRef PictureOfEntry(std::string_view entry, int index) {
    switch (EntryState(entry)) {
        case kStatePreset:
            return PictureRef::FromSet(PictureSet::Preset, index);
        case kStateLearned:
            return PictureRef::FromSet(PictureSet::Learned, index);
        default:
            return PictureRef::FromSet(PictureSet::Normal, index);
    }
}

void InsertInCodeOrder(KeyStateList& keyStates, const std::string& entry) {
    const std::optional<int> value = ReadHex(EntryCode(entry));
    auto at = std::find_if(keyStates.begin(), keyStates.end(), [&](const std::string& other) {
        return value && ReadHex(EntryCode(other)) > value;
    });
    keyStates.insert(at, entry);
}

}  // namespace

void Tmainlernix::DiscardLearningRun() {
    state_.keyCodeWork = state_.keyCodeText;
    state_.codesDirty = false;
    // Each key of the run falls back to what the table last sent holds for
    // it. Dropping its entry altogether would leave a re-learned key looking
    // learned while it no longer counted as learned: it could not be deleted
    // and the delete button could go grey until the next start.
    const std::optional<KeyStateList> sent = ParseCodeTypeData(state_.keyCodeText);
    KeyStateList restored;
    for (IBtn* button : model_.ImageButtons()) {
        const auto index = PictureIndex(button->Code);
        if (button->Code.empty() || !index) {
            continue;
        }
        for (const std::string& entry : state_.keyStates) {
            if (EntryCode(entry) != button->Code || EntryState(entry) != kStateUnwritten) {
                continue;
            }
            const std::string previous = SentEntryOf(sent, button->Code);
            button->SetPicture(PictureOfEntry(previous, *index));
            if (!previous.empty() &&
                std::find(restored.begin(), restored.end(), previous) == restored.end()) {
                restored.push_back(previous);
            }
        }
    }
    std::erase_if(state_.keyStates,
                  [](const std::string& entry) { return EntryState(entry) == kStateUnwritten; });
    for (const std::string& entry : restored) {
        InsertInCodeOrder(state_.keyStates, entry);
    }
    UpdateDeleteButtons();
}

}  // namespace kv::workflow
