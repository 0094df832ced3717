#include "device/TarvioLibrary.h"

#include <dlfcn.h>

namespace kv::device {
namespace {

std::string LoaderError() {
    const char* error = ::dlerror();
    return error != nullptr ? error : "unknown loader error";
}

template <typename Function>
Function Symbol(void* handle, const char* name, std::string& missing) {
    ::dlerror();
    void* address = ::dlsym(handle, name);
    if (address == nullptr) {
        if (!missing.empty()) {
            missing += ", ";
        }
        missing += name;
        return nullptr;
    }
    return reinterpret_cast<Function>(address);
}

}  // namespace

std::filesystem::path RunningProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : program.parent_path();
}

TarvioLibrary::Loaded TarvioLibrary::Load(const std::filesystem::path& file) {
    ::dlerror();
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return {nullptr, LoaderError()};
    }
    std::string missing;
    const Functions functions{
        Symbol<tarvio::LinkStateFunction>(handle, "link_state", missing),
        Symbol<tarvio::ReadFunction>(handle, "RBasicInfo", missing),
        Symbol<tarvio::ReadFunction>(handle, "RCodeTypeDataKVhotel", missing),
        Symbol<tarvio::CommandFunction>(handle, "SetCodeCarrierWave", missing),
        Symbol<tarvio::ReadFunction>(handle, "RCollectCodeInfo", missing),
        Symbol<tarvio::WriteFunction>(handle, "WCodeDataKVHOTEL", missing),
    };
    if (!missing.empty()) {
        ::dlclose(handle);
        return {nullptr, file.string() + " lacks " + missing};
    }
    return {std::unique_ptr<TarvioLibrary>(new TarvioLibrary(handle, functions, file.string())),
            {}};
}

TarvioLibrary::Loaded TarvioLibrary::Find(const std::filesystem::path& programFolder) {
    if (!programFolder.empty()) {
        const std::filesystem::path beside = programFolder / tarvio::kLibraryName;
        std::error_code error;
        if (std::filesystem::exists(beside, error)) {
            return Load(beside);
        }
    }
    // A bare name makes the loader search the system's library path.
    return Load(tarvio::kLibraryName);
}

TarvioLibrary::TarvioLibrary(void* handle, Functions functions, std::string origin)
    : handle_(handle), functions_(functions), origin_(std::move(origin)) {}

TarvioLibrary::~TarvioLibrary() {
    ::dlclose(handle_);
}

bool TarvioLibrary::link_state() {
    const std::lock_guard lock(mutex_);
    return functions_.linkState();
}

bool TarvioLibrary::RBasicInfo(char* buffer) {
    const std::lock_guard lock(mutex_);
    return buffer != nullptr && functions_.readBasicInfo(buffer);
}

bool TarvioLibrary::RCodeTypeDataKVhotel(char* buffer) {
    const std::lock_guard lock(mutex_);
    return buffer != nullptr && functions_.readKeyCodeTable(buffer);
}

bool TarvioLibrary::SetCodeCarrierWave() {
    const std::lock_guard lock(mutex_);
    return functions_.enterCaptureMode();
}

bool TarvioLibrary::RCollectCodeInfo(char* buffer) {
    const std::lock_guard lock(mutex_);
    return buffer != nullptr && functions_.readCapture(buffer);
}

bool TarvioLibrary::WCodeDataKVHOTEL(const char* text) {
    const std::lock_guard lock(mutex_);
    return text != nullptr && functions_.writeKeyCodeTable(text);
}

}  // namespace kv::device
