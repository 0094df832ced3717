#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <array>

#include "device/VirtualRemote.h"

namespace kv::app {

// The control window of the built-in virtual remote, shown beside the main
// window: the USB cable, the basic information the remote reports, switches
// that make its operations fail, and a room remote whose key presses the
// next capture receives.
class VirtualRemotePanel final : public QWidget {
    Q_OBJECT
  public:
    explicit VirtualRemotePanel(device::VirtualRemote& remote, QWidget* parent = nullptr);

    // Presses a key of the room remote with the protocol and address chosen
    // in the window; the answer is shown and returned (empty when sent).
    QString PressRoomKey(std::uint32_t command);
    void SetProtocol(device::IrProtocol protocol);
    void SetAddress(std::uint32_t address);

  private:
    QWidget* BuildCableGroup();
    QWidget* BuildIdentityGroup();
    QWidget* BuildFaultGroup();
    QWidget* BuildRoomRemoteGroup();
    device::RemoteIdentity IdentityFromFields() const;
    void ShowIdentity(const device::RemoteIdentity& identity);
    void Refresh();
    void Report(const QString& text);

    device::VirtualRemote& remote_;
    QLabel* cableState_ = nullptr;
    QLabel* captureState_ = nullptr;
    QLabel* lastAction_ = nullptr;
    QLineEdit* identity_ = nullptr;
    QLineEdit* majorVersion_ = nullptr;
    QLineEdit* minorVersion_ = nullptr;
    QLineEdit* typeCode_ = nullptr;
    QComboBox* protocol_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* command_ = nullptr;
    std::array<QCheckBox*, device::kRemoteOperationCount> faults_{};
    QTimer refresh_;
};

}  // namespace kv::app
