#include "workflow/KeyCodeTable.h"
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

void Tmainlernix::DiscardLearningRun() {
    state_.keyCodeWork = state_.keyCodeText;
    state_.codesDirty = false;
    for (IBtn* button : model_.ImageButtons()) {
        const auto index = PictureIndex(button->Code);
        if (button->Code.empty() || !index) {
            continue;
        }
        for (const std::string& entry : state_.keyStates) {
            if (EntryCode(entry) != button->Code || EntryState(entry) != kStateUnwritten) {
                continue;
            }
            // The last backup of the key decides; no backup: it had no code.
            PictureRef picture = PictureRef::FromSet(PictureSet::Normal, *index);
            for (const std::string& backup : state_.keyStateBackups) {
                if (EntryCode(backup) != button->Code) {
                    continue;
                }
                if (EntryState(backup) == kStatePreset) {
                    picture = PictureRef::FromSet(PictureSet::Preset, *index);
                } else if (EntryState(backup) == kStateLearned) {
                    picture = PictureRef::FromSet(PictureSet::Learned, *index);
                }
            }
            button->SetPicture(picture);
        }
    }
    std::erase_if(state_.keyStates,
                  [](const std::string& entry) { return EntryState(entry) == kStateUnwritten; });
    UpdateDeleteButtons();
}

}  // namespace kv::workflow
