// libtarvio.so for the adapter's tests: the six functions over a virtual
// remote, plus two functions of its own through which a test opens the
// remote in a folder of its choosing and plays with it.
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "device/TarvioApi.h"
#include "device/VirtualRemote.h"

#define KV_EXPORT __attribute__((visibility("default")))

namespace {

using kv::device::VirtualRemote;

class NoWaitClock final : public kv::device::Clock {
  public:
    kv::device::TimeOfDay Now() override { return {}; }
    void Pause(std::chrono::milliseconds) override {}
};

// A C library has no object to hang its state on: the remote lives as long
// as the library is loaded.
struct Library {
    NoWaitClock clock;
    std::mutex mutex;
    std::unique_ptr<VirtualRemote> remote;
};

Library& TheLibrary() {
    static Library library;
    return library;
}

VirtualRemote* Remote() {
    Library& library = TheLibrary();
    const std::lock_guard lock(library.mutex);
    return library.remote.get();
}

bool Command(VirtualRemote& remote, const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb == "unplug") {
        remote.Unplug();
        return true;
    }
    if (verb == "plug") {
        remote.PlugIn();
        return true;
    }
    if (verb == "press") {
        std::string protocol;
        std::uint32_t address = 0;
        std::uint32_t command = 0;
        words >> protocol >> std::hex >> address >> command;
        const auto parsed = kv::device::IrProtocolFromName(protocol);
        return words && parsed && remote.PressRoomKey(*parsed, address, command).empty();
    }
    return false;
}

}  // namespace

extern "C" {

KV_EXPORT bool kvtest_tarvio_open(const char* folder) {
    Library& library = TheLibrary();
    const std::lock_guard lock(library.mutex);
    library.remote.reset();
    if (folder == nullptr) {
        return true;
    }
    VirtualRemote::Opened opened = VirtualRemote::Open(folder, library.clock);
    library.remote = std::move(opened.remote);
    if (library.remote) {
        library.remote->SetReceiver(kv::device::kIdealReceiver);
    }
    return library.remote != nullptr;
}

// "unplug", "plug", or "press PROTOCOL ADDRESS COMMAND" (hex numbers).
KV_EXPORT bool kvtest_tarvio_command(const char* command) {
    VirtualRemote* remote = Remote();
    return remote != nullptr && command != nullptr && Command(*remote, command);
}

KV_EXPORT bool link_state(void) {
    VirtualRemote* remote = Remote();
    return remote != nullptr && remote->link_state();
}

KV_EXPORT bool RBasicInfo(char* buffer) {
    VirtualRemote* remote = Remote();
    return remote != nullptr && remote->RBasicInfo(buffer);
}

KV_EXPORT bool RCodeTypeDataKVhotel(char* buffer) {
    VirtualRemote* remote = Remote();
    return remote != nullptr && remote->RCodeTypeDataKVhotel(buffer);
}

KV_EXPORT bool SetCodeCarrierWave(void) {
    VirtualRemote* remote = Remote();
    return remote != nullptr && remote->SetCodeCarrierWave();
}

KV_EXPORT bool RCollectCodeInfo(char* buffer) {
    VirtualRemote* remote = Remote();
    return remote != nullptr && remote->RCollectCodeInfo(buffer);
}

KV_EXPORT bool WCodeDataKVHOTEL(const char* text) {
    VirtualRemote* remote = Remote();
    return remote != nullptr && remote->WCodeDataKVHOTEL(text);
}

}  // extern "C"
