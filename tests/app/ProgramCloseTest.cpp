// The whole program on the virtual remote, closed in each state it can be in:
// its own message loop runs, the real worker threads run, and a robot on the
// loop plays the operator (clicks and message-box answers). The program must
// come out of its loop, and tearing it down must neither hang nor let a
// worker touch the window once it is gone (the sanitizer build sees that).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/Program.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ProgramOperator.h"

namespace kv::app::testing {
namespace {

using device::IrProtocol;
using device::RemoteOperation;

// Texts of the boxes the scenarios meet.
const QString kStopLearningFirst = QStringLiteral("你正在学习，要退出系统请先停止学习！");
const QString kReconnect = QStringLiteral("未检测到遥控器，请重新连接遥控器！");
const QString kCloseProgram = QStringLiteral("您需要关闭自学习软件吗！");
const QString kCodeReceived = QStringLiteral("已接收到遥控器编码！");
const QString kConfirmLearning = QStringLiteral("你是否确认本次自学习的按键？");
const QString kLearningDone = QStringLiteral("自学习操作完成！");
const QString kWriteFailed = QStringLiteral("完成自学习操作失败！");

class ProgramCloseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.isValid());
        ProgramSetup setup;
        setup.programDir = ProgramDir();
        setup.virtualRemoteFolder = QDir(scratch_.path()).filePath("remote").toStdString();
        setup.searchSystemLibraryPath = false;
        setup.animationFile = AnimationFile();
        QString error;
        program_ = Program::Create(setup, error);
        ASSERT_NE(program_, nullptr) << error.toStdString();
        ASSERT_NE(program_->Virtual(), nullptr);
    }

    void TearDown() override {
        // Everything is taken apart here, with workers possibly still running.
        program_.reset();
    }

    std::filesystem::path AnimationFile() const {
        return QDir(scratch_.path()).filePath("888.gif").toStdString();
    }
    Program& Running() { return *program_; }
    device::VirtualRemote& Remote() { return *program_->Virtual(); }
    void Click(const char* button) {
        QTest::mouseClick(program_->View().Button(button), Qt::LeftButton, {}, QPoint(6, 6));
    }
    bool Shown() { return program_->View().isVisible(); }
    bool Closed() { return program_->Window().Model().Closed(); }
    std::string Face(const char* key) {
        return program_->View().Button(key)->Model().Picture().ToString();
    }
    // Learning on, TV/POWER clicked, and the remote listening for its code.
    void CollectForPowerKey() {
        op_.Then([this] { return Shown(); }, [this] { Click("beginstudyibtn"); });
        op_.Then([this] { Click("IBtn1"); });
    }

    Operator op_;

  private:
    QTemporaryDir scratch_;
    std::unique_ptr<Program> program_;
};

TEST_F(ProgramCloseTest, IdleTheCloseKeyEndsTheProgramAndRemovesTheAnimation) {
    op_.Then([this] { return Shown(); },
             [this] {
                 EXPECT_TRUE(std::filesystem::exists(AnimationFile()));
                 Click("IBtn79");
             });

    ASSERT_TRUE(op_.Run(Running()));

    EXPECT_TRUE(op_.AllStepsDone());
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(op_.Boxes().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(AnimationFile()));
}

TEST_F(ProgramCloseTest, IdleTheWindowSystemsCloseEndsTheProgram) {
    op_.Then([this] { return Shown(); }, [this] { Running().View().close(); });

    ASSERT_TRUE(op_.Run(Running()));

    EXPECT_TRUE(Closed());
    EXPECT_FALSE(Shown());
}

// While a key is being collected the close is refused, by the close key and
// by the window system alike; the program ends only once learning is off.
TEST_F(ProgramCloseTest, WhileCollectingTheCloseIsRefusedUntilLearningStops) {
    CollectForPowerKey();
    op_.Then([this] { return Remote().InCaptureMode(); },
             [this] {
                 Click("IBtn79");
                 EXPECT_TRUE(Shown());
                 Running().View().close();
                 EXPECT_TRUE(Shown());
                 EXPECT_FALSE(Closed());
             });
    op_.Then([this] { Click("beginstudyibtn"); });
    op_.Then([this] { Click("IBtn79"); });

    ASSERT_TRUE(op_.Run(Running()));

    EXPECT_TRUE(op_.AllStepsDone());
    EXPECT_TRUE(Closed());
    EXPECT_EQ(op_.Boxes(), (QStringList{kStopLearningFirst, kStopLearningFirst}));
}

// Unplugged while a key is collected: the close is allowed even while
// learning, and the collection still running is left behind safely.
TEST_F(ProgramCloseTest, WhileCollectingWithTheRemoteUnpluggedTheCloseGoesThrough) {
    op_.AnswerWith([](const QString& text) {
        return text == kReconnect ? QString() : QStringLiteral("确定");
    });
    CollectForPowerKey();
    op_.Then([this] { return Remote().InCaptureMode(); },
             [this] {
                 Remote().Unplug();
                 Click("IBtn79");
             });

    ASSERT_TRUE(op_.Run(Running()));

    EXPECT_TRUE(Closed());
    EXPECT_FALSE(op_.Boxes().contains(kStopLearningFirst));
}

// The watcher's reconnect prompt is on screen when the window is closed (a
// close from outside, since the prompt holds the operator's input): the
// prompt goes with the program, and the watcher waiting for its answer is
// let go.
TEST_F(ProgramCloseTest, WithTheReconnectPromptOpenTheProgramStillEnds) {
    op_.AnswerWith([](const QString&) { return QString(); });
    op_.Then([this] { return Shown(); }, [this] { Remote().Unplug(); });
    op_.Then([] { return Operator::OpenBox() == kReconnect; },
             [this] { Running().View().close(); });

    ASSERT_TRUE(op_.Run(Running()));

    EXPECT_TRUE(op_.AllStepsDone());
    EXPECT_TRUE(Closed());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The operator answers the prompt by closing the program: the watcher ends
// and its end handler closes the window.
TEST_F(ProgramCloseTest, CancellingTheReconnectPromptAndConfirmingEndsTheProgram) {
    op_.AnswerWith([](const QString& text) {
        return text == kReconnect ? QStringLiteral("取消") : QStringLiteral("确定");
    });
    op_.Then([this] { return Shown(); }, [this] { Remote().Unplug(); });

    ASSERT_TRUE(op_.Run(Running()));

    EXPECT_TRUE(Closed());
    EXPECT_EQ(op_.Boxes(), (QStringList{kReconnect, kCloseProgram}));
}

// A learned key whose write failed stays unwritten after learning is off;
// the close offers it again and writes it to the remote.
TEST_F(ProgramCloseTest, UnwrittenCodesAreOfferedAndWrittenOnClose) {
    const std::string factoryFlash = Remote().FlashText();
    op_.AnswerWith([](const QString& text) {
        return text == kConfirmLearning ? QStringLiteral("是") : QStringLiteral("确定");
    });
    CollectForPowerKey();
    op_.Then([this] { return Remote().InCaptureMode(); },
             [this] { EXPECT_EQ(Remote().PressRoomKey(IrProtocol::Nec, 0x04, 0x08), ""); });
    op_.Then([this] { return Face("IBtn1") == "learnedPics[0]"; },
             [this, &factoryFlash] {
                 Remote().SetFailing(RemoteOperation::TableWrite, true);
                 Click("beginstudyibtn");
                 EXPECT_TRUE(Running().Window().State().codesDirty);
                 EXPECT_FALSE(Running().Window().State().studyMode);
                 EXPECT_EQ(Remote().FlashText(), factoryFlash);
                 Remote().SetFailing(RemoteOperation::TableWrite, false);
                 Click("IBtn79");
             });

    ASSERT_TRUE(op_.Run(Running()));

    EXPECT_TRUE(op_.AllStepsDone());
    EXPECT_TRUE(Closed());
    EXPECT_EQ(op_.Boxes(), (QStringList{kCodeReceived, kConfirmLearning, kWriteFailed,
                                        kConfirmLearning, kLearningDone}));
    EXPECT_NE(Remote().FlashText(), factoryFlash);
}

}  // namespace
}  // namespace kv::app::testing
