#include <fstream>
#include <system_error>

#include "workflow/KeyStates.h"
#include "workflow/MainWindow.h"
#include "workflow/MainWindowTexts.h"

namespace kv::workflow {

using device::DialogAnswer;
using device::DialogButtons;

namespace {

constexpr int kMinimumScreenWidth = 1024;
constexpr int kFallbackHeight = 768;
constexpr int kFallbackRefreshRate = 90;

void WriteFileQuietly(const std::filesystem::path& file, const std::string& data) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

}  // namespace

Tmainlernix::Tmainlernix(MainWindowPorts ports, MainWindowSettings settings)
    : ports_(ports), settings_(std::move(settings)), linkWindow_(model_) {}

Tmainlernix::~Tmainlernix() {
    // No worker may touch the window once it is gone.
    state_.collectControl = kCollectMustStop;
    ports_.threads.ReleaseAll();
}

DialogAnswer Tmainlernix::Ask(const std::string& text, DialogButtons buttons) {
    return ports_.dialogs.Ask(text, device::kPromptCaption, buttons);
}

void Tmainlernix::Tell(const std::string& text) {
    Ask(text, DialogButtons::Ok);
}

void Tmainlernix::SetStatus(std::string text, bool repaint) {
    model_.runstate_lab.SetText(std::move(text));
    if (repaint) {
        model_.runstate_lab.Repaint();
    }
}

void Tmainlernix::FormCreate() {
    IdentifyRemote();
    if (!state_.identifyFailed) {
        state_.appDir = settings_.programDir;
    }
}

void Tmainlernix::FormShow() {
    if (state_.identifyFailed) {
        Close();
        return;
    }
    if (!state_.linkWatcherRunning) {
        state_.linkWatcherRunning = true;
        ports_.threads.StartLinkWatcher(
            linkWindow_, state_.remoteIdentity,
            [this](device::LinkWatchEnd why) { LinkWatcherEnded(why); });
    }
    if (!LoadPictures()) {
        Tell(texts::kPicturesFailed);
        state_.identifyFailed = true;
        Close();
        return;
    }
    CheckScreen();
    showKeyStates(model_, state_.keyStates);
    model_.Imagehint.SetPicture(PictureRef::Named(pictures::kIdleHint));
    model_.delstudykey.SetPicture(PictureRef::Named(pictures::kDelete));
    UpdateDeleteButtons();
    ShowIdlePanel();
    model_.lab_softver.SetText(kSoftwareVersion);
}

void Tmainlernix::CheckScreen() {
    DisplayModes& display = ports_.displayModes;
    const int width = display.ScreenWidth();
    if (width >= kMinimumScreenWidth) {
        return;
    }
    Tell(texts::kResolutionIs + std::to_string(width) + "*" +
         std::to_string(display.ScreenHeight()) + "\r\n" + texts::kResolutionNeeded);
    if (display.ScreenWidth() >= kMinimumScreenWidth) {
        return;
    }
    std::optional<DisplayMode> mode = display.ReadMode(0);
    if (!mode) {
        return;
    }
    mode->fields = kModeWidthAndHeight;
    mode->width = kMinimumScreenWidth;
    mode->height = kFallbackHeight;
    display.ApplyMode(*mode, kApplyNow);
    // The current settings fill the same record; where they cannot be read,
    // the record keeps what was just applied.
    if (std::optional<DisplayMode> current = display.ReadCurrentMode()) {
        mode = current;
    }
    mode->refreshRate = kFallbackRefreshRate;
    display.ApplyMode(*mode, kApplyAndStore);
}

bool Tmainlernix::LoadPictures() {
    PictureLibrary& pictures = ports_.pictures;
    if (!pictures.Open()) {
        pictures.Close();
        return false;
    }
    // The animation is extracted afresh at every start; a failure here only
    // leaves the learning animation without a movie.
    std::error_code ignored;
    std::filesystem::remove(settings_.animationFile, ignored);
    if (const std::string movie = pictures.AnimationData(); !movie.empty()) {
        WriteFileQuietly(settings_.animationFile, movie);
    }
    const bool loaded = pictures.LoadPictureSets();
    pictures.Close();
    return loaded;
}

bool Tmainlernix::FormCloseQuery() {
    // Learning holds the window only while the remote it learns for is
    // there; with another remote in its place there is nothing to finish.
    if (state_.studyMode && !state_.otherRemoteConnected && ports_.device.link_state()) {
        Tell(texts::kStopLearningFirstToClose);
        return false;
    }
    state_.closing = true;
    if (state_.linkWatcherRunning) {
        ports_.threads.StopLinkWatcher();
    }
    return true;
}

void Tmainlernix::FormClose() {
    ports_.animation.Stop();
    // A collection still running must not outlast the window.
    state_.collectControl = kCollectMustStop;
    if (state_.identifyFailed) {
        return;
    }
    if (state_.codesDirty) {
        if (state_.otherRemoteConnected) {
            Tell(texts::kOtherRemoteNotWritten);
        } else {
            FinishLearning();
        }
    }
    std::error_code ignored;
    std::filesystem::remove(settings_.animationFile, ignored);
}

void Tmainlernix::Close() {
    if (model_.Closed()) {
        return;
    }
    if (!FormCloseQuery()) {
        return;
    }
    FormClose();
    model_.MarkClosed();
}

void Tmainlernix::LinkWatcherEnded(device::LinkWatchEnd why) {
    state_.linkWatcherRunning = false;
    if (why == device::LinkWatchEnd::OtherRemote) {
        state_.otherRemoteConnected = true;
    }
    if (!state_.closing) {
        Close();
    }
}

void Tmainlernix::updateibtnClick() {
    ports_.dialogs.ShowMessage(texts::kUpToDate);
}

}  // namespace kv::workflow
