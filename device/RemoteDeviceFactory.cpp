#include "device/RemoteDeviceFactory.h"

#include "device/TarvioLibrary.h"

namespace kv::device {
namespace {

TarvioLibrary::Loaded LoadMakersLibrary(const RemoteDeviceSearch& search) {
    if (search.searchSystemLibraryPath) {
        return TarvioLibrary::Find(search.programFolder);
    }
    const std::filesystem::path beside = search.programFolder / tarvio::kLibraryName;
    std::error_code error;
    if (search.programFolder.empty() || !std::filesystem::exists(beside, error)) {
        return {nullptr, "no " + std::string(tarvio::kLibraryName) + " beside the program"};
    }
    return TarvioLibrary::Load(beside);
}

}  // namespace

RemoteDeviceChoice OpenRemoteDevice(const RemoteDeviceSearch& search, Clock& clock) {
    TarvioLibrary::Loaded loaded = LoadMakersLibrary(search);
    if (loaded.library) {
        std::string description = "remote through " + loaded.library->Origin();
        return {std::move(loaded.library), nullptr, std::move(description), {}};
    }
    VirtualRemote::Opened opened = VirtualRemote::Open(search.virtualRemoteFolder, clock);
    if (!opened.remote) {
        return {nullptr, nullptr, {}, std::move(opened.error)};
    }
    VirtualRemote* virtualRemote = opened.remote.get();
    return {std::move(opened.remote),
            virtualRemote,
            "virtual remote in " + search.virtualRemoteFolder.string() + " (" +
                tarvio::kLibraryName + " not loaded: " + loaded.error + ")",
            {}};
}

}  // namespace kv::device
