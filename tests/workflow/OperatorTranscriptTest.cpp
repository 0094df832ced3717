#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/workflow/MainWindowFixture.h"

namespace kv::workflow::testing {
namespace {

using Transcript = std::vector<std::string>;

// Message boxes go into the transcript as they come on screen; the scripted
// dialogs behind answer them.
class RecordingDialogs final : public device::Dialogs {
  public:
    RecordingDialogs(device::Dialogs& inner, Transcript& transcript)
        : inner_(inner), transcript_(transcript) {}
    DialogAnswer Ask(const std::string& text, const std::string& caption,
                     DialogButtons buttons) override {
        transcript_.push_back("box " + text + (buttons == DialogButtons::YesNo ? " [Yes/No]" : ""));
        return inner_.Ask(text, caption, buttons);
    }

  private:
    device::Dialogs& inner_;
    Transcript& transcript_;
};

// The fake remote, with every write put into the transcript.
class RecordingRemote final : public device::RemoteDevice {
  public:
    RecordingRemote(device::RemoteDevice& inner, Transcript& transcript)
        : inner_(inner), transcript_(transcript) {}
    bool link_state() override { return inner_.link_state(); }
    bool RBasicInfo(char* buffer) override { return inner_.RBasicInfo(buffer); }
    bool RCodeTypeDataKVhotel(char* buffer) override { return inner_.RCodeTypeDataKVhotel(buffer); }
    bool SetCodeCarrierWave() override { return inner_.SetCodeCarrierWave(); }
    bool RCollectCodeInfo(char* buffer) override { return inner_.RCollectCodeInfo(buffer); }
    bool WCodeDataKVHOTEL(const char* text) override {
        transcript_.push_back("write");
        return inner_.WCodeDataKVHOTEL(text);
    }

  private:
    device::RemoteDevice& inner_;
    Transcript& transcript_;
};

// The operator learns what happens from the order of boxes and status lines
// as much as from their texts: a status line set after its box reads as the
// box's outcome, one set before it as what the box is about.
class OperatorTranscriptTest : public MainWindowTest {
  protected:
    void StartRecording(const std::vector<const char*>& learned) {
        std::string table = PresetTable();
        for (const char* code : learned) {
            table = WithLearned(table, {code});
        }
        remote.table = table;
        MainWindowPorts ports{recordingRemote_, recordingDialogs_, pictures, display,
                              animation,        converter,         encoder,  threads};
        window = std::make_unique<Tmainlernix>(
            ports, MainWindowSettings{"/opt/kvlearn/", AnimationFile(), {}});
        window->FormCreate();
        window->FormShow();
        Model().AddListener([this](const Control& control, ControlChange change) {
            if (&control != &Model().runstate_lab) {
                return;
            }
            if (change == ControlChange::Text) {
                transcript.push_back("status " + control.Text());
            } else if (change == ControlChange::Repaint) {
                transcript.push_back("repaint");
            }
        });
    }

    Transcript transcript;

  private:
    RecordingDialogs recordingDialogs_{dialogs, transcript};
    RecordingRemote recordingRemote_{remote, transcript};
};

class OperatorTranscriptCases;

struct TranscriptCase {
    const char* name;
    std::vector<const char*> learned;  // learned keys of the remote at start
    // Brings the window to the moment of interest; not recorded.
    std::function<void(OperatorTranscriptCases&)> before;
    // What the operator does, or what ends, while the transcript runs.
    std::function<void(OperatorTranscriptCases&)> action;
    Transcript expected;
};

class OperatorTranscriptCases : public OperatorTranscriptTest,
                                public ::testing::WithParamInterface<TranscriptCase> {
  public:
    Tmainlernix& Window() { return *window; }
    FakeRemote& Remote() { return remote; }
    ScriptedDialogs& Dialogs() { return dialogs; }
    FakeThreads& Threads() { return threads; }
    FakeEncoder& Encoder() { return encoder; }
    IBtn& KeyOf(const char* code) { return Key(code); }
};

TEST_P(OperatorTranscriptCases, ShowsBoxesStatusLinesAndWritesInOrder) {
    const TranscriptCase& c = GetParam();
    StartRecording(c.learned);
    auto& self = static_cast<OperatorTranscriptCases&>(*this);
    if (c.before) {
        c.before(self);
    }
    transcript.clear();
    c.action(self);
    EXPECT_EQ(transcript, c.expected);
    EXPECT_TRUE(dialogs.AllAnswersUsed());
}

using T = OperatorTranscriptCases;

void LearningOn(T& t) {
    t.Window().beginstudyibtnClick();
}
void CollectingPower(T& t) {
    LearningOn(t);
    t.Window().KeyButtonClick(t.KeyOf("00"));
}
void PowerLearned(T& t) {
    CollectingPower(t);
    t.Threads().EndCollection(RawCapture());
}
void LearningOff(T& t) {
    t.Window().beginstudyibtnClick();
}
void DeleteModeOn(T& t) {
    t.Window().delstudykeyClick();
}

const std::vector<TranscriptCase> kTranscripts = {
    {"LearningOn", {}, nullptr, LearningOn, {"status 请在左面遥控器上点击待学习的按键！"}},
    {"KeySelected",
     {},
     LearningOn,
     [](T& t) { t.Window().KeyButtonClick(t.KeyOf("00")); },
     {"status 准备学习TV/POWER按键， 请发码"}},
    {"CodeReceived",
     {},
     CollectingPower,
     [](T& t) { t.Threads().EndCollection(RawCapture()); },
     {"status TV/POWER键正在学习！", "repaint", "box 已接收到遥控器编码！",
      "status TV/POWER键已接收遥控器编码！", "repaint"}},
    {"NothingCaptured",
     {},
     CollectingPower,
     [](T& t) { t.Threads().EndCollection(""); },
     {"status 请重新选择按键进行学习！", "repaint"}},
    {"CodeNotRecognised",
     {},
     [](T& t) {
         t.Encoder().reply = nullptr;
         CollectingPower(t);
     },
     [](T& t) { t.Threads().EndCollection(RawCapture()); },
     {"status TV/POWER键正在学习！", "repaint", "status 请重新选择按键进行学习！", "repaint",
      "box TV/POWER键的遥控器编码无法识别，请重新学习该按键！"}},
    {"LearningOffWithNothingLearned", {}, LearningOn, LearningOff, {"status "}},
    {"LearningConfirmedAndWritten",
     {},
     [](T& t) {
         PowerLearned(t);
         t.Dialogs().Answer(DialogAnswer::Yes);
     },
     LearningOff,
     {"status ", "box 你是否确认本次自学习的按键？ [Yes/No]",
      "status 正在完成自学习操作，请稍后片刻！", "repaint", "write", "box 自学习操作完成！",
      "status 自学习操作完成！", "repaint"}},
    {"LearningWriteFailed",
     {},
     [](T& t) {
         PowerLearned(t);
         t.Remote().writeSucceeds = false;
         t.Dialogs().Answer(DialogAnswer::Yes);
     },
     LearningOff,
     {"status ", "box 你是否确认本次自学习的按键？ [Yes/No]",
      "status 正在完成自学习操作，请稍后片刻！", "repaint", "write", "status 自学习操作失败！",
      "repaint", "box 完成自学习操作失败！"}},
    {"LearningDeclined",
     {},
     [](T& t) {
         PowerLearned(t);
         t.Dialogs().Answer(DialogAnswer::No);
     },
     LearningOff,
     {"status ", "box 你是否确认本次自学习的按键？ [Yes/No]"}},
    {"DeleteModeOn", {"07"}, nullptr, DeleteModeOn, {"status 请在左面遥控器上选择待删除的按键！"}},
    {"OneOfTwoDeleted",
     {"00", "07"},
     [](T& t) {
         DeleteModeOn(t);
         t.Dialogs().Answer(DialogAnswer::Yes);
     },
     [](T& t) { t.Window().KeyButtonClick(t.KeyOf("00")); },
     {"status ", "box 你确实要删除该自学习按键的编码？ [Yes/No]", "status 要删除的按键已选定！"}},
    {"DeleteModeOffWritesTheDeletion",
     {"00", "07"},
     [](T& t) {
         DeleteModeOn(t);
         t.Dialogs().Answer(DialogAnswer::Yes);
         t.Window().KeyButtonClick(t.KeyOf("00"));
     },
     DeleteModeOn,
     {"status ", "status 正在完成删除操作，请稍候片刻！", "repaint", "write", "box 删除操作完成！",
      "status 删除操作完成！", "repaint"}},
    {"LastLearnedKeyDeletedIsWrittenAtOnce",
     {"07"},
     [](T& t) {
         DeleteModeOn(t);
         t.Dialogs().Answer(DialogAnswer::Yes);
     },
     [](T& t) { t.Window().KeyButtonClick(t.KeyOf("07")); },
     {"status ", "box 你确实要删除该自学习按键的编码？ [Yes/No]", "status 要删除的按键已选定！",
      "write", "box 删除操作完成！", "status 删除操作完成！", "repaint"}},
    {"FailedDeleteWriteSaysNothing",
     {"07"},
     [](T& t) {
         DeleteModeOn(t);
         t.Remote().writeSucceeds = false;
         t.Dialogs().Answer(DialogAnswer::Yes);
     },
     [](T& t) { t.Window().KeyButtonClick(t.KeyOf("07")); },
     {"status ", "box 你确实要删除该自学习按键的编码？ [Yes/No]", "status 要删除的按键已选定！",
      "write"}},
    {"DeleteDeclined",
     {"07"},
     [](T& t) {
         DeleteModeOn(t);
         t.Dialogs().Answer(DialogAnswer::No);
     },
     [](T& t) { t.Window().KeyButtonClick(t.KeyOf("07")); },
     {"status ", "box 你确实要删除该自学习按键的编码？ [Yes/No]"}},
};

INSTANTIATE_TEST_SUITE_P(Moments, OperatorTranscriptCases, ::testing::ValuesIn(kTranscripts),
                         test::CaseName());

}  // namespace
}  // namespace kv::workflow::testing
