#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "device/Clock.h"
#include "device/RemoteDevice.h"
#include "device/VirtualRemote.h"

namespace kv::device {

struct RemoteDeviceChoice {
    std::unique_ptr<RemoteDevice> device;  // null when neither remote could be opened
    // Set when the built-in virtual remote is in use, for its control window;
    // owned by `device`.
    VirtualRemote* virtualRemote = nullptr;
    std::string description;  // which remote, for a status line or a log
    std::string error;        // why there is no device
};

struct RemoteDeviceSearch {
    std::filesystem::path programFolder;        // where libtarvio.so is looked for first
    std::filesystem::path virtualRemoteFolder;  // the virtual remote's flash and lock
    // Whether the system's library path is searched too (off where a real
    // library there must not be picked up).
    bool searchSystemLibraryPath = true;
};

// The maker's library when it can be loaded (beside the program, then from
// the system's library path); otherwise the virtual remote. `clock` paces
// the virtual remote's transfers and must outlive the device.
RemoteDeviceChoice OpenRemoteDevice(const RemoteDeviceSearch& search, Clock& clock);

}  // namespace kv::device
