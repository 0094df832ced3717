#include "app/VirtualRemotePanel.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::app {
namespace {

using device::IrProtocol;
using device::RemoteOperation;

// Identification reads the basic information and the key-code table once,
// at start-up: the switches of those reads (and the cable, and the basic
// information) only show what they do when the program is started again.
constexpr const char* kStartupMark = "※";
constexpr const char* kStartupNote =
    "※ 启动时用到：软件启动识别遥控器时才读取，设置后重新启动软件生效。"
    "两个读取失败的开关只对下一次启动有效，其余设置都会保存。";

struct Fault {
    RemoteOperation operation;
    const char* label;
    bool readAtStartup;
};
constexpr std::array<Fault, device::kRemoteOperationCount> kFaults = {{
    {RemoteOperation::CaptureMode, "进入学习状态失败", false},
    {RemoteOperation::Capture, "读取学到的编码失败", false},
    {RemoteOperation::BasicInfo, "读取基本信息失败", true},
    {RemoteOperation::TableRead, "读取按键编码表失败", true},
    {RemoteOperation::TableWrite, "写入按键编码表失败", false},
}};

QString WithStartupMark(const char* label, bool readAtStartup) {
    const QString text = QString::fromUtf8(label);
    return readAtStartup ? text + QStringLiteral(" ") + QString::fromUtf8(kStartupMark) : text;
}

// The room remote's keys; the commands are those of a common NEC television.
struct RoomKey {
    const char* label;
    std::uint32_t command;
};
constexpr std::array<RoomKey, 8> kRoomKeys = {{
    {"电源", 0x08},
    {"AV/TV", 0x0B},
    {"音量+", 0x02},
    {"音量-", 0x03},
    {"1", 0x11},
    {"2", 0x12},
    {"频道+", 0x00},
    {"频道-", 0x01},
}};

std::optional<std::uint32_t> ParseHex(const QString& text) {
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 16);
    return ok ? std::optional<std::uint32_t>(value) : std::nullopt;
}

QString Hex(std::uint32_t value) {
    return QString::number(value, 16).toUpper();
}

}  // namespace

VirtualRemotePanel::VirtualRemotePanel(device::VirtualRemote& remote, QWidget* parent)
    : QWidget(parent, Qt::Window), remote_(remote) {
    setObjectName(QStringLiteral("virtualRemotePanel"));
    setWindowTitle(QStringLiteral("虚拟遥控器"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildCableGroup());
    layout->addWidget(BuildIdentityGroup());
    layout->addWidget(BuildFaultGroup());
    layout->addWidget(BuildRoomRemoteGroup());
    auto* startupNote = new QLabel(QString::fromUtf8(kStartupNote), this);
    startupNote->setObjectName(QStringLiteral("startupNote"));
    startupNote->setWordWrap(true);
    layout->addWidget(startupNote);
    lastAction_ = new QLabel(this);
    lastAction_->setWordWrap(true);
    layout->addWidget(lastAction_);
    layout->addStretch();
    connect(&refresh_, &QTimer::timeout, this, &VirtualRemotePanel::Refresh);
    refresh_.start(250);
    Refresh();
}

QWidget* VirtualRemotePanel::BuildCableGroup() {
    auto* group = new QGroupBox(WithStartupMark("USB 连接", true), this);
    auto* layout = new QGridLayout(group);
    cableState_ = new QLabel(group);
    captureState_ = new QLabel(group);
    auto* unplug = new QPushButton(QStringLiteral("拔出"), group);
    auto* plugSame = new QPushButton(QStringLiteral("插回原遥控器"), group);
    auto* plugOther = new QPushButton(QStringLiteral("插入另一个遥控器"), group);
    plugOther->setToolTip(QStringLiteral("以下面填写的基本信息插入"));
    unplug->setObjectName(QStringLiteral("unplug"));
    plugSame->setObjectName(QStringLiteral("plugSame"));
    plugOther->setObjectName(QStringLiteral("plugOther"));
    connect(unplug, &QPushButton::clicked, this, [this] {
        remote_.Unplug();
        Refresh();
    });
    connect(plugSame, &QPushButton::clicked, this, [this] {
        remote_.PlugIn();
        Refresh();
    });
    connect(plugOther, &QPushButton::clicked, this, [this] {
        remote_.PlugInAs(IdentityFromFields());
        Refresh();
    });
    layout->addWidget(cableState_, 0, 0, 1, 3);
    layout->addWidget(captureState_, 1, 0, 1, 3);
    layout->addWidget(unplug, 2, 0);
    layout->addWidget(plugSame, 2, 1);
    layout->addWidget(plugOther, 2, 2);
    return group;
}

QWidget* VirtualRemotePanel::BuildIdentityGroup() {
    auto* group =
        new QGroupBox(WithStartupMark("基本信息（重新插入或重新启动后读到）", true), this);
    auto* layout = new QGridLayout(group);
    identity_ = new QLineEdit(group);
    identity_->setMaxLength(30);
    majorVersion_ = new QLineEdit(group);
    minorVersion_ = new QLineEdit(group);
    typeCode_ = new QLineEdit(group);
    majorVersion_->setMaxLength(2);
    minorVersion_->setMaxLength(2);
    typeCode_->setMaxLength(4);
    layout->addWidget(new QLabel(QStringLiteral("遥控器标识"), group), 0, 0);
    layout->addWidget(identity_, 0, 1, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("主版本"), group), 1, 0);
    layout->addWidget(majorVersion_, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("次版本"), group), 1, 2);
    layout->addWidget(minorVersion_, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("类型码"), group), 2, 0);
    layout->addWidget(typeCode_, 2, 1);
    auto* apply = new QPushButton(QStringLiteral("应用"), group);
    auto* defaults = new QPushButton(QStringLiteral("恢复默认"), group);
    layout->addWidget(apply, 3, 2);
    layout->addWidget(defaults, 3, 3);
    connect(apply, &QPushButton::clicked, this, [this] {
        remote_.SetIdentity(IdentityFromFields());
        Report(QStringLiteral("基本信息已更改"));
    });
    connect(defaults, &QPushButton::clicked, this, [this] {
        ShowIdentity(device::DefaultRemoteIdentity());
        remote_.SetIdentity(device::DefaultRemoteIdentity());
        Report(QStringLiteral("基本信息已恢复默认"));
    });
    ShowIdentity(remote_.Identity());
    return group;
}

QWidget* VirtualRemotePanel::BuildFaultGroup() {
    auto* group = new QGroupBox(QStringLiteral("故障开关"), this);
    auto* layout = new QVBoxLayout(group);
    for (std::size_t i = 0; i < kFaults.size(); ++i) {
        const Fault fault = kFaults[i];
        auto* box = new QCheckBox(WithStartupMark(fault.label, fault.readAtStartup), group);
        box->setChecked(remote_.IsFailing(fault.operation));
        connect(box, &QCheckBox::toggled, this,
                [this, fault](bool failing) { remote_.SetFailing(fault.operation, failing); });
        faults_[i] = box;
        layout->addWidget(box);
    }
    return group;
}

QWidget* VirtualRemotePanel::BuildRoomRemoteGroup() {
    auto* group = new QGroupBox(QStringLiteral("房间遥控器（按键后由下一次学习收到）"), this);
    auto* layout = new QGridLayout(group);
    protocol_ = new QComboBox(group);
    for (const IrProtocol protocol : device::AllIrProtocols()) {
        const std::string_view name = device::IrProtocolName(protocol);
        protocol_->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())),
                           static_cast<int>(protocol));
    }
    address_ = new QLineEdit(QStringLiteral("04"), group);
    command_ = new QLineEdit(QStringLiteral("08"), group);
    layout->addWidget(new QLabel(QStringLiteral("协议"), group), 0, 0);
    layout->addWidget(protocol_, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("地址（十六进制）"), group), 0, 2);
    layout->addWidget(address_, 0, 3);
    for (std::size_t i = 0; i < kRoomKeys.size(); ++i) {
        const RoomKey key = kRoomKeys[i];
        auto* button = new QPushButton(QString::fromUtf8(key.label), group);
        button->setObjectName(QStringLiteral("roomKey") + Hex(key.command));
        button->setToolTip(QStringLiteral("命令 0x") + Hex(key.command));
        connect(button, &QPushButton::clicked, this, [this, key] { PressRoomKey(key.command); });
        const int at = static_cast<int>(i);
        layout->addWidget(button, 1 + at / 4, at % 4);
    }
    auto* press = new QPushButton(QStringLiteral("按下"), group);
    connect(press, &QPushButton::clicked, this, [this] {
        if (const auto command = ParseHex(command_->text())) {
            PressRoomKey(*command);
        } else {
            Report(QStringLiteral("命令不是十六进制数"));
        }
    });
    layout->addWidget(new QLabel(QStringLiteral("命令（十六进制）"), group), 3, 0);
    layout->addWidget(command_, 3, 1);
    layout->addWidget(press, 3, 2);
    auto* file = new QPushButton(QStringLiteral("载入捕获文件…"), group);
    connect(file, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("捕获文件"));
        if (!path.isEmpty()) {
            const std::string error = remote_.LoadCaptureFile(path.toStdString());
            Report(error.empty() ? QStringLiteral("已载入 ") + path
                                 : QString::fromStdString(error));
        }
    });
    layout->addWidget(file, 3, 3);
    auto* factory = new QPushButton(QStringLiteral("恢复出厂按键表"), group);
    connect(factory, &QPushButton::clicked, this, [this] {
        Report(remote_.ResetToFactory() ? QStringLiteral("按键表已恢复出厂状态，重新启动软件后可见")
                                        : QStringLiteral("按键表恢复失败"));
    });
    layout->addWidget(factory, 4, 0, 1, 2);
    return group;
}

QString VirtualRemotePanel::PressRoomKey(std::uint32_t command) {
    const auto protocol = static_cast<IrProtocol>(protocol_->currentData().toInt());
    const auto address = ParseHex(address_->text());
    if (!address) {
        Report(QStringLiteral("地址不是十六进制数"));
        return lastAction_->text();
    }
    const std::string error = remote_.PressRoomKey(protocol, *address, command);
    Report(error.empty() ? QStringLiteral("已发出 %1 地址 0x%2 命令 0x%3")
                               .arg(protocol_->currentText(), Hex(*address), Hex(command))
                         : QString::fromStdString(error));
    Refresh();
    return QString::fromStdString(error);
}

void VirtualRemotePanel::SetProtocol(IrProtocol protocol) {
    protocol_->setCurrentIndex(protocol_->findData(static_cast<int>(protocol)));
}

void VirtualRemotePanel::SetAddress(std::uint32_t address) {
    address_->setText(Hex(address));
}

device::RemoteIdentity VirtualRemotePanel::IdentityFromFields() const {
    return {identity_->text().toStdString(), majorVersion_->text().toStdString(),
            minorVersion_->text().toStdString(), typeCode_->text().toStdString()};
}

void VirtualRemotePanel::ShowIdentity(const device::RemoteIdentity& identity) {
    identity_->setText(QString::fromStdString(identity.identity).trimmed());
    majorVersion_->setText(QString::fromStdString(identity.majorVersion));
    minorVersion_->setText(QString::fromStdString(identity.minorVersion));
    typeCode_->setText(QString::fromStdString(identity.typeCode));
}

void VirtualRemotePanel::Refresh() {
    cableState_->setText(remote_.IsPlugged()
                             ? QStringLiteral("已连接：") +
                                   QString::fromStdString(remote_.Identity().identity).trimmed()
                             : QStringLiteral("已拔出"));
    captureState_->setText(
        QStringLiteral("学习状态：%1    等待发出的信号：%2")
            .arg(remote_.InCaptureMode() ? QStringLiteral("正在接收") : QStringLiteral("未接收"))
            .arg(remote_.PendingSignals()));
}

void VirtualRemotePanel::Report(const QString& text) {
    lastAction_->setText(text);
}

}  // namespace kv::app
