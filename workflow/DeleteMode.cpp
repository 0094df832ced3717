#include <algorithm>

#include "workflow/KeyCodeTable.h"
#include "workflow/KeyStates.h"
#include "workflow/MainWindow.h"
#include "workflow/MainWindowTexts.h"

namespace kv::workflow {

using device::DialogAnswer;
using device::DialogButtons;

void Tmainlernix::delstudykeyClick() {
    if (state_.studyMode) {
        Tell(texts::kStopLearningFirstToDelete);
        return;
    }
    state_.deleteMode = !state_.deleteMode;
    if (state_.deleteMode) {
        model_.Image7.Show();
        model_.Image4.Hide();
        model_.Image5.Hide();
        // One panel at a time, also when the link watcher enabled the
        // button with no learned key shown.
        model_.Image8.Hide();
        SetStatus(texts::kPickKeyToDelete, false);
        model_.delstudykey.SetPicture(PictureRef::Named(pictures::kStopDelete));
        return;
    }
    SetStatus({}, false);
    model_.delstudykey.SetPicture(PictureRef::Named(pictures::kDelete));
    ShowIdlePanel();
    if (state_.codesDirty) {
        SetStatus(texts::kFinishingDelete, true);
        WriteDeletions();
    }
}

void Tmainlernix::WriteDeletions() {
    const WriteResult result = WriteTable(state_.keyCodeText);
    if (result == WriteResult::Written) {
        state_.keyCodeWork = state_.keyCodeText;
        Tell(texts::kDeleteDone);
        SetStatus(texts::kDeleteDone, true);
    }
    // A refused table stays unwritten, so it must still count as pending.
    state_.codesDirty = result == WriteResult::Refused;
}

void Tmainlernix::DeleteKey(IBtn& key) {
    if (!state_.keyQueue.empty()) {
        state_.keyQueue.erase(state_.keyQueue.begin());
    }
    if (state_.keyStates.empty()) {
        Tell(texts::kNothingLearnedYet);
        return;
    }
    const auto entry = std::find_if(
        state_.keyStates.begin(), state_.keyStates.end(),
        [&key](const std::string& candidate) { return EntryCode(candidate) == key.Code; });
    if (entry == state_.keyStates.end() || EntryState(*entry) == kStatePreset) {
        Tell(texts::kKeyNotLearned);
        return;
    }
    SetStatus({}, false);
    if (Ask(texts::kConfirmDelete, DialogButtons::YesNo) != DialogAnswer::Yes) {
        return;
    }
    std::string merged = MergeKeyRecord(state_.keyCodeText, EmptyKeyRecord(key.Code));
    if (merged.empty()) {
        // The table read from the remote is damaged: nothing can be taken
        // out of it safely, so everything stays as it is.
        Tell(texts::kTableInvalid);
        return;
    }
    state_.keyCodeText = std::move(merged);
    state_.codesDirty = true;
    SetStatus(texts::kKeyChosenForDelete, false);
    key.SetIsEnable(true);
    ShowKeyPicture(key, PictureSet::Normal);
    RemoveKeyState(state_.keyStates, key.Code);
    if (hasLearnedKey(state_.keyStates)) {
        return;
    }
    WriteDeletions();
    UpdateDeleteButtons();
    ShowIdlePanel();
}

}  // namespace kv::workflow
