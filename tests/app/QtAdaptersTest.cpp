#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <thread>

#include "app/QtDialogs.h"
#include "app/QtUiDispatcher.h"

namespace kv::app::testing {
namespace {

using device::DialogAnswer;
using device::DialogButtons;

struct DialogCase {
    const char* name;
    DialogButtons buttons;
    QStringList texts;  // left to right
    const char* press;
    DialogAnswer answer;
};

class QtDialogsTest : public ::testing::TestWithParam<DialogCase> {};

// The box is modal: its own loop runs, and a timer plays the operator.
TEST_P(QtDialogsTest, ShowsChineseButtonsAndAnswersThePressedOne) {
    QtDialogs dialogs;
    QStringList seenTexts;
    QString seenCaption;
    QString seenText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenCaption = box->windowTitle();
        seenText = box->text();
        QAbstractButton* target = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            seenTexts.append(button->text());
            if (button->text() == QString::fromUtf8(GetParam().press)) {
                target = button;
            }
        }
        ASSERT_NE(target, nullptr);
        target->click();
    });

    const DialogAnswer answer = dialogs.Ask("要写入吗？", "提示", GetParam().buttons);

    EXPECT_EQ(answer, GetParam().answer);
    EXPECT_EQ(seenCaption, QStringLiteral("提示"));
    EXPECT_EQ(seenText, QStringLiteral("要写入吗？"));
    seenTexts.sort();
    QStringList expected = GetParam().texts;
    expected.sort();
    EXPECT_EQ(seenTexts, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, QtDialogsTest,
    ::testing::Values(
        DialogCase{"Ok", DialogButtons::Ok, {"确定"}, "确定", DialogAnswer::Ok},
        DialogCase{"Yes", DialogButtons::YesNo, {"是", "否"}, "是", DialogAnswer::Yes},
        DialogCase{"No", DialogButtons::YesNo, {"是", "否"}, "否", DialogAnswer::No},
        DialogCase{
            "Retry", DialogButtons::RetryCancel, {"重试", "取消"}, "重试", DialogAnswer::Retry},
        DialogCase{"RetryCancelled",
                   DialogButtons::RetryCancel,
                   {"重试", "取消"},
                   "取消",
                   DialogAnswer::Cancel},
        DialogCase{"OkOfTwo", DialogButtons::OkCancel, {"确定", "取消"}, "确定", DialogAnswer::Ok},
        DialogCase{
            "Cancel", DialogButtons::OkCancel, {"确定", "取消"}, "取消", DialogAnswer::Cancel}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(QtUiDispatcherTest, PostedWorkRunsLaterOnTheUiThread) {
    QtUiDispatcher dispatcher;
    QThread* ranOn = nullptr;
    QEventLoop loop;
    std::thread worker([&] {
        dispatcher.post([&] {
            ranOn = QThread::currentThread();
            loop.quit();
        });
    });
    worker.join();
    EXPECT_EQ(ranOn, nullptr);  // queued, not run by the worker
    loop.exec();
    EXPECT_EQ(ranOn, QThread::currentThread());
}

TEST(QtUiDispatcherTest, InvokeFromAWorkerWaitsForTheUiThread) {
    QtUiDispatcher dispatcher;
    QThread* ranOn = nullptr;
    bool workerSawResult = false;
    QEventLoop loop;
    std::thread worker([&] {
        dispatcher.invoke([&] { ranOn = QThread::currentThread(); });
        // invoke returned: the task has run, on the UI thread.
        workerSawResult = ranOn != nullptr;
        dispatcher.post([&] { loop.quit(); });
    });
    loop.exec();
    worker.join();
    EXPECT_TRUE(workerSawResult);
    EXPECT_EQ(ranOn, QThread::currentThread());
}

TEST(QtUiDispatcherTest, InvokeOnTheUiThreadRunsAtOnce) {
    QtUiDispatcher dispatcher;
    bool ran = false;
    dispatcher.invoke([&] { ran = true; });
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace kv::app::testing
