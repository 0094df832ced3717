// The start-up paths of identification on the virtual remote, as a person
// tries them: the remote's cable, fault switches and basic information are
// set, the program is started again, and it meets them while the splash is
// on screen. Clicks go through the window system, as a person's do.
#define QTEST_QPA_MOUSE_HANDLING
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/Program.h"
#include "device/Clock.h"
#include "device/VirtualRemote.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ProgramOperator.h"
#include "tests/support/CaseName.h"

namespace kv::app::testing {
namespace {

using device::RemoteOperation;
using device::VirtualRemote;

const QString kNoRemote = QStringLiteral("未检测到遥控器，请检查USB连接线");
const QString kOldFirmware = QStringLiteral("遥控器固件程序版本比较低，请到");
const QString kOldSoftware = QStringLiteral("自学习软件版本比较低，请到");

class ProgramStartTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(scratch_.isValid()); }
    void TearDown() override { program_.reset(); }

    std::filesystem::path RemoteFolder() const {
        return QDir(scratch_.path()).filePath("remote").toStdString();
    }

    // What a person did with the remote in an earlier run of the program.
    void BeforeTheStart(const std::function<void(VirtualRemote&)>& change) {
        device::SystemClock clock;
        const VirtualRemote::Opened opened = VirtualRemote::Open(RemoteFolder(), clock);
        ASSERT_NE(opened.remote, nullptr) << opened.error;
        change(*opened.remote);
    }

    // Creates the program and runs it to its end.
    void RunProgram() {
        ProgramSetup setup;
        setup.programDir = ProgramDir();
        setup.virtualRemoteFolder = RemoteFolder();
        setup.searchSystemLibraryPath = false;
        setup.animationFile = QDir(scratch_.path()).filePath("888.gif").toStdString();
        QString error;
        program_ = Program::Create(setup, error);
        ASSERT_NE(program_, nullptr) << error.toStdString();
        ASSERT_NE(program_->Panel(), nullptr);
        ASSERT_TRUE(op_.Run(*program_));
    }

    void ClickOnPanel(const char* button) {
        auto* pushButton = program_->Panel()->findChild<QPushButton*>(button);
        ASSERT_NE(pushButton, nullptr) << button;
        QTest::mouseClick(pushButton, Qt::LeftButton);
    }
    Program& Running() { return *program_; }
    bool Closed() { return program_->Window().Model().Closed(); }

    Operator op_;

  private:
    QTemporaryDir scratch_;
    std::unique_ptr<Program> program_;
};

// The remote was unplugged when the program last ran: the start waits for
// it, and the person plugs it in on the control window beside the splash
// while the wait is on screen, then retries.
TEST_F(ProgramStartTest, UnpluggedRemoteIsPluggedInFromThePanelDuringTheWait) {
    BeforeTheStart([](VirtualRemote& remote) { remote.Unplug(); });
    bool panelShownDuringTheWait = false;
    bool boxBlocksOnlyTheSplash = false;
    int waits = 0;
    op_.AnswerWith([&](const QString& text) {
        if (text != kNoRemote) {
            return QStringLiteral("确定");
        }
        // A second wait means the click on the panel did not get through:
        // give up rather than retry for ever.
        if (++waits > 1) {
            return QStringLiteral("取消");
        }
        panelShownDuringTheWait = Running().Panel()->isVisible();
        // An application-modal box would hold the panel's input on a real
        // display (the off-screen one lets the test's click through anyway):
        // the box must block only the splash it belongs to.
        const QWidget* box = QApplication::activeModalWidget();
        boxBlocksOnlyTheSplash = box != nullptr && box->windowModality() == Qt::WindowModal &&
                                 box->parentWidget() != nullptr &&
                                 box->parentWidget()->objectName() == QStringLiteral("Form1");
        ClickOnPanel("plugSame");
        return QStringLiteral("重试");
    });
    op_.Then([this] { return Running().View().isVisible(); },
             [this] {
                 EXPECT_TRUE(Running().Panel()->isVisible());
                 Running().View().close();
             });

    RunProgram();

    EXPECT_TRUE(panelShownDuringTheWait);
    EXPECT_TRUE(boxBlocksOnlyTheSplash);
    EXPECT_EQ(op_.Boxes(), QStringList{kNoRemote});
    EXPECT_TRUE(op_.AllStepsDone());
    EXPECT_TRUE(Running().Virtual()->IsPlugged());
    EXPECT_FALSE(Running().Window().State().identifyFailed);
}

struct RefusedStartCase {
    const char* name;
    std::function<void(VirtualRemote&)> change;
    QString message;  // the start of the one box shown; empty for none
};

class RefusedStartTest : public ProgramStartTest,
                         public ::testing::WithParamInterface<RefusedStartCase> {};

// Each failing identification set up in an earlier run is met at the next
// start: its message (or none), then the main window closes at once.
TEST_P(RefusedStartTest, EndsTheProgramAfterItsMessage) {
    BeforeTheStart(GetParam().change);
    op_.AnswerWith([](const QString& text) {
        return text == kNoRemote ? QStringLiteral("取消") : QStringLiteral("确定");
    });

    RunProgram();

    EXPECT_TRUE(Running().Window().State().identifyFailed);
    EXPECT_TRUE(Closed());
    EXPECT_FALSE(Running().Panel()->isVisible());
    if (GetParam().message.isEmpty()) {
        EXPECT_TRUE(op_.Boxes().isEmpty()) << op_.Boxes().join('|').toStdString();
    } else {
        ASSERT_EQ(op_.Boxes().size(), 1);
        EXPECT_TRUE(op_.Boxes().front().startsWith(GetParam().message))
            << op_.Boxes().front().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RefusedStartTest,
    ::testing::Values(RefusedStartCase{"unplugged_and_cancelled",
                                       [](VirtualRemote& remote) { remote.Unplug(); }, kNoRemote},
                      RefusedStartCase{"basic_info_fails",
                                       [](VirtualRemote& remote) {
                                           remote.SetFailing(RemoteOperation::BasicInfo, true);
                                       },
                                       {}},
                      RefusedStartCase{"table_read_fails",
                                       [](VirtualRemote& remote) {
                                           remote.SetFailing(RemoteOperation::TableRead, true);
                                       },
                                       {}},
                      RefusedStartCase{"old_firmware",
                                       [](VirtualRemote& remote) {
                                           remote.SetIdentity({"KV OLD", "01", "02", "8888"});
                                       },
                                       kOldFirmware},
                      RefusedStartCase{"newer_minor_version",
                                       [](VirtualRemote& remote) {
                                           remote.SetIdentity({"KV NEW", "01", "03", "7315"});
                                       },
                                       kOldSoftware}),
    test::CaseName());

}  // namespace
}  // namespace kv::app::testing
