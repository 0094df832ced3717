#include "workflow/KeyStates.h"
#include "workflow/MainWindow.h"
#include "workflow/MainWindowTexts.h"

namespace kv::workflow {

using device::DialogAnswer;
using device::DialogButtons;

namespace {

PictureRef KeyPicture(PictureSet set, const IBtn& key) {
    return PictureRef::FromSet(set, PictureIndex(key.Code).value_or(0));
}

}  // namespace

void Tmainlernix::ShowKeyPicture(IBtn& key, PictureSet set) {
    key.SetPicture(KeyPicture(set, key));
}

void Tmainlernix::UpdateDeleteButtons() {
    if (hasLearnedKey(state_.keyStates)) {
        model_.delstudykey.SetEnabled(true);
        model_.delstudykey.SetPicture(PictureRef::Named(pictures::kDelete));
    } else {
        model_.delstudykey.SetEnabled(false);
        model_.delstudykey.SetPicture(PictureRef::Named(pictures::kDeleteGrey));
        state_.deleteMode = false;
    }
}

void Tmainlernix::ShowIdlePanel() {
    const bool learned = hasLearnedKey(state_.keyStates);
    model_.Image4.SetVisible(learned);
    model_.Image8.SetVisible(!learned);
    model_.Image5.Hide();
    model_.Image7.Hide();
}

void Tmainlernix::beginstudyibtnClick() {
    if (state_.deleteMode) {
        Tell(texts::kStopDeletingFirst);
        return;
    }
    state_.studyMode = !state_.studyMode;
    if (state_.studyMode) {
        model_.beginstudyibtn.SetIsEnable(false);
        model_.Imagehint.SetPicture(PictureRef::Named(pictures::kLearningHint));
        SetStatus(texts::kPickKeyToLearn, false);
        model_.Image5.Show();
        model_.Image4.Hide();
        model_.Image7.Hide();
        model_.Image8.Hide();
        return;
    }
    StopLearning();
}

void Tmainlernix::StopLearning() {
    model_.donghuaflash2.Hide();
    ports_.animation.Stop();
    state_.collectControl = kCollectMustStop;
    // Whatever the stopped collection still brings back belongs to this run.
    state_.collectionStopped = true;
    model_.Imagehint.Show();
    SetStatus({}, false);
    model_.Imagehint.SetPicture(PictureRef::Named(pictures::kIdleHint));
    if (state_.codesDirty) {
        FinishLearning();
        CommitLearnedStates(state_.keyStates);
    }
    ShowIdlePanel();
    if (!state_.keyQueue.empty()) {
        IBtn& key = *state_.keyQueue.front();
        ShowKeyPicture(key, PictureSet::Normal);
        for (const std::string& entry : state_.keyStates) {
            if (EntryCode(entry) == key.Code && IsLearnedState(EntryState(entry))) {
                key.SetIsEnable(false);
            }
        }
        state_.keyQueue.erase(state_.keyQueue.begin());
    }
    showKeyStates(model_, state_.keyStates);
    model_.beginstudyibtn.SetIsEnable(true);
}

void Tmainlernix::KeyButtonClick(IBtn& key) {
    // A key that is not enabled ignores the mouse.
    if (key.Enabled()) {
        KeyClick(key);
    }
}

void Tmainlernix::KeyClick(IBtn& key) {
    if (state_.deleteMode) {
        DeleteKey(key);
    } else {
        LearnKey(key);
    }
}

void Tmainlernix::LearnKey(IBtn& key) {
    if (!state_.keyQueue.empty()) {
        const std::string queued = state_.keyQueue.front()->Path + texts::kKeySuffix;
        Tell(queued + texts::kBeingLearned + queued + texts::kClickStopToStop);
        return;
    }
    if (!state_.studyMode) {
        Tell(texts::kStartLearningFirst);
        return;
    }
    for (const std::string& entry : state_.keyStates) {
        if (EntryCode(entry) == key.Code && IsLearnedState(EntryState(entry))) {
            if (Ask(key.Path + texts::kAlreadyLearnedAsk, DialogButtons::YesNo) !=
                DialogAnswer::Yes) {
                return;
            }
            key.SetIsEnable(true);
            key.Repaint();
            break;
        }
    }
    ShowKeyPicture(key, PictureSet::Selected);
    SetStatus(texts::kReadyToLearn + key.Path + texts::kSendCode, false);
    model_.Imagehint.Hide();
    ports_.animation.Load(settings_.animationFile.string());
    model_.donghuaflash2.Show();
    ports_.animation.Play();
    state_.keyQueue.push_back(&key);
    StartCollector();
}

void Tmainlernix::StartCollector() {
    // A stopped collection that has not ended yet keeps its place; the key
    // just queued then waits for its end and is asked for again.
    if (state_.collectorRunning) {
        return;
    }
    state_.collectControl = kCollectMayRun;
    state_.collectorRunning = true;
    state_.collectionStopped = false;
    ports_.threads.StartCollector(state_.collectControl, [this](std::string capture) {
        CollectThreadTerminate(std::move(capture));
    });
}

}  // namespace kv::workflow
