#pragma once

// The operator's texts of the main window, gathered so that tests and the
// handlers share one spelling.
namespace kv::workflow::texts {

// Start-up and close.
inline constexpr const char* kPicturesFailed = "调用图片出错！";
inline constexpr const char* kResolutionIs = "你目前的显示器分辨率是";
inline constexpr const char* kResolutionNeeded = "为了运行该软件，你的显示器分辨率至少要1024*768";
inline constexpr const char* kStopLearningFirstToClose = "你正在学习，要退出系统请先停止学习！";
inline constexpr const char* kUpToDate = "您的程序是最新的，不许更新！";

// Host name of the remote's maker, placed in the refusal messages; a build
// setting.
const char* MakerHost();

// Identification.
inline constexpr const char* kNoRemote = "未检测到遥控器，请检查USB连接线";
inline constexpr const char* kFirmwareVersionLabel = " 2.0";

// Learning.
inline constexpr const char* kStopDeletingFirst = "现在在删除状态，要学习请先停止删除！";
inline constexpr const char* kPickKeyToLearn = "请在左面遥控器上点击待学习的按键！";
inline constexpr const char* kBeingLearned = "正在学习，要停止";
inline constexpr const char* kClickStopToStop = ",请点击停止学习按钮";
inline constexpr const char* kStartLearningFirst = "请先点击开始学习按钮！";
inline constexpr const char* kAlreadyLearnedAsk = "键编码已学习过，要重新学习吗?";
inline constexpr const char* kReadyToLearn = "准备学习";
inline constexpr const char* kSendCode = "按键， 请发码";
inline constexpr const char* kKeySuffix = "按键";

// Collected codes.
inline constexpr const char* kPickKeyAgain = "请重新选择按键进行学习！";
inline constexpr const char* kKeyLearning = "键正在学习！";
inline constexpr const char* kCodeReceived = "已接收到遥控器编码！";
inline constexpr const char* kKeyCodeReceived = "键已接收遥控器编码！";
// No code style and no converter understood the capture: nothing is merged.
inline constexpr const char* kCodeNotRecognised = "键的遥控器编码无法识别，请重新学习该按键！";

// Writes.
inline constexpr const char* kConfirmLearning = "你是否确认本次自学习的按键？";
inline constexpr const char* kFinishingLearning = "正在完成自学习操作，请稍后片刻！";
inline constexpr const char* kLearningDone = "自学习操作完成！";
inline constexpr const char* kLearningWriteFailedStatus = "自学习操作失败！";
inline constexpr const char* kLearningWriteFailed = "完成自学习操作失败！";
// The link watcher found another remote in place of ours: the codes of this
// run are not written into it.
inline constexpr const char* kOtherRemoteNotWritten =
    "连接的是另一个遥控器，本次自学习的按键编码未写入遥控器！";
// The table to be written does not hold together: it is kept, not sent.
inline constexpr const char* kTableInvalid = "按键编码表数据有误，未写入遥控器！";

// Deleting.
inline constexpr const char* kStopLearningFirstToDelete = "现在正在学习状态，要删除请先停止学习！";
inline constexpr const char* kPickKeyToDelete = "请在左面遥控器上选择待删除的按键！";
inline constexpr const char* kNothingLearnedYet = "该键还没有自学习过，无法删除！";
inline constexpr const char* kKeyNotLearned = "该按键还没有自学习过，无法删除！";
inline constexpr const char* kConfirmDelete = "你确实要删除该自学习按键的编码？";
inline constexpr const char* kKeyChosenForDelete = "要删除的按键已选定！";
inline constexpr const char* kFinishingDelete = "正在完成删除操作，请稍候片刻！";
inline constexpr const char* kDeleteDone = "删除操作完成！";

}  // namespace kv::workflow::texts
