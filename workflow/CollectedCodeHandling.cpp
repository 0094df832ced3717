#include <algorithm>

#include "workflow/CaptureText.h"
#include "workflow/KeyCodeTable.h"
#include "workflow/KeyStates.h"
#include "workflow/MainWindow.h"
#include "workflow/MainWindowTexts.h"

namespace kv::workflow {

namespace {

// A first frame this short is a receiver glitch, not part of the code.
constexpr int kGlitchMicroseconds = 30;
constexpr std::size_t kTokenLength = 4;
constexpr std::size_t kGapGroupLength = 12;
// The glitch test needs the first token and the start of a gap group.
constexpr std::size_t kShortestGlitchBody = 12;
constexpr std::size_t kGlitchFrameLength = kTokenLength + kGapGroupLength;
constexpr std::string_view kGapGroupStart = "FEFE";
constexpr const char* kRequestWindow = "0:按钮0:{X=310,Y=120}|";

// Drops a glitch token and its gap group from the front of the capture
// text, and counts one frame less.
std::string WithoutGlitchFrame(const std::string& captureText) {
    const std::optional<CaptureTextParts> parts = SplitCaptureText(captureText);
    if (!parts || parts->body.size() < kShortestGlitchBody) {
        return captureText;
    }
    const std::string_view body = parts->body;
    const auto first = ReadHex(body.substr(0, kTokenLength));
    if (!first || *first >= kGlitchMicroseconds ||
        body.substr(kTokenLength, kGapGroupStart.size()) != kGapGroupStart) {
        return captureText;
    }
    return std::to_string(parts->frames - 1) + std::string(parts->carrier) +
           std::string(parts->carrierMarker) +
           // A body cut short after the gap group's start loses all of it,
           // rather than reading past its end.
           std::string(body.substr(std::min(body.size(), kGlitchFrameLength)));
}

// A record the table can take for this key: its code at characters 5-6 and
// both of its parts present (a record without one would remove the key).
bool IsKeyRecordFor(std::string_view record, std::string_view code) {
    if (record.size() < 20) {
        return false;
    }
    const auto recordCode = ReadHex(record.substr(4, 2));
    const auto firstLength = ReadHex(record.substr(12, 2));
    const auto secondLength = ReadHex(record.substr(18, 2));
    return recordCode && recordCode == ReadHex(code) && firstLength.value_or(0) > 0 &&
           secondLength.value_or(0) > 0;
}

}  // namespace

void Tmainlernix::CollectThreadTerminate(std::string capture) {
    state_.collectorRunning = false;
    if (model_.Closed()) {
        return;
    }
    // A capture read after learning was switched off was meant for a key
    // that has left the queue: it is dropped, never given to another key.
    state_.collectedCode = state_.collectionStopped ? std::string() : std::move(capture);
    state_.collectionStopped = false;
    if (state_.keyQueue.empty()) {
        return;
    }
    IBtn& key = *state_.keyQueue.front();
    if (state_.collectedCode.empty()) {
        CaptureFailed();
        return;
    }
    model_.Memo2.AppendLine(state_.collectedCode);
    SetStatus(key.Path + texts::kKeyLearning, true);

    const std::string captureText = CaptureToHex(state_.collectedCode);
    std::string record;
    if (!captureText.empty()) {
        const int keyCode = PictureIndex(key.Code).value_or(0);
        record = ports_.encoder.Encode(CaptureTextBody(captureText), keyCode, state_.appDir);
        if (!record.empty()) {
            model_.Memo2.AppendLine(record);
        } else {
            record = ConvertExternally(key, captureText);
        }
    }
    if (!IsKeyRecordFor(record, key.Code)) {
        KeyNotRecognised(key);
        return;
    }
    const std::string merged = MergeKeyRecord(state_.keyCodeWork, record);
    if (merged.empty()) {
        // The record does not fit the table (a damaged table, or one that
        // would outgrow the remote): the table stays as it was.
        CaptureFailed();
        Tell(texts::kTableInvalid);
        return;
    }
    state_.codesDirty = true;
    ShowKeyPicture(key, PictureSet::Normal);
    model_.donghuaflash2.Hide();
    ports_.animation.Stop();
    model_.Imagehint.Show();
    model_.Imagehint.SetPicture(PictureRef::Named(pictures::kIdleHint));
    state_.keyCodeWork = merged;
    Tell(texts::kCodeReceived);
    SetStatus(key.Path + texts::kKeyCodeReceived, true);
    if (std::string backup = FindKeyState(state_.keyStates, key.Code); !backup.empty()) {
        state_.keyStateBackups.push_back(std::move(backup));
    }
    MarkKeyLearned(state_.keyStates, key.Code);
    showKeyStates(model_, state_.keyStates);
    state_.keyQueue.erase(state_.keyQueue.begin());
    UpdateDeleteButtons();
}

void Tmainlernix::CaptureFailed() {
    IBtn& key = *state_.keyQueue.front();
    model_.donghuaflash2.Hide();
    ports_.animation.Stop();
    model_.Imagehint.Show();
    model_.Imagehint.SetPicture(PictureRef::Named(pictures::kLearningHint));
    SetStatus(texts::kPickKeyAgain, true);
    ShowKeyPicture(key, PictureSet::Normal);
    state_.keyQueue.erase(state_.keyQueue.begin());
    showKeyStates(model_, state_.keyStates);
}

void Tmainlernix::KeyNotRecognised(IBtn& key) {
    // Nothing is merged and the key keeps its state: as after a capture that
    // never came, but the operator is told why.
    CaptureFailed();
    Tell(key.Path + texts::kCodeNotRecognised);
}

std::string Tmainlernix::ConvertExternally(IBtn& key, std::string captureText) {
    const std::string head = "#99|01" + key.Code + "\r\n";
    model_.Memo2.AppendLine(captureText);
    captureText = WithoutGlitchFrame(captureText);
    const std::string request = head + kRequestWindow + captureText + "\r\n";
    model_.Memo2.AppendLine(request);
    std::string record;
    if (ports_.converter.Available()) {
        model_.Memo2.AppendLine(request);
        record = ports_.converter.Cominput(request);
        model_.Memo2.AppendLine(record);
    }
    model_.Memo2.AppendLine(record);
    return record;
}

}  // namespace kv::workflow
