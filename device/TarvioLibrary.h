#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "device/RemoteDevice.h"
#include "device/TarvioApi.h"

namespace kv::device {

// The remote reached through the maker's library, loaded at run time.
class TarvioLibrary final : public RemoteDevice {
  public:
    struct Loaded {
        std::unique_ptr<TarvioLibrary> library;  // null when it could not be loaded
        std::string error;                       // why, from the loader
    };

    // Loads the library from `file` (a path, or a bare name searched in the
    // system's library path). Fails unless all six functions are there.
    static Loaded Load(const std::filesystem::path& file);

    // The library beside the program, else the one in the system's library path.
    static Loaded Find(const std::filesystem::path& programFolder);

    ~TarvioLibrary() override;
    TarvioLibrary(const TarvioLibrary&) = delete;
    TarvioLibrary& operator=(const TarvioLibrary&) = delete;

    // Where the library was loaded from.
    const std::string& Origin() const { return origin_; }

    bool link_state() override;
    bool RBasicInfo(char* buffer) override;
    bool RCodeTypeDataKVhotel(char* buffer) override;
    bool SetCodeCarrierWave() override;
    bool RCollectCodeInfo(char* buffer) override;
    bool WCodeDataKVHOTEL(const char* text) override;

  private:
    struct Functions {
        tarvio::LinkStateFunction linkState;
        tarvio::ReadFunction readBasicInfo;
        tarvio::ReadFunction readKeyCodeTable;
        tarvio::CommandFunction enterCaptureMode;
        tarvio::ReadFunction readCapture;
        tarvio::WriteFunction writeKeyCodeTable;
    };
    TarvioLibrary(void* handle, Functions functions, std::string origin);

    void* const handle_;
    const Functions functions_;
    const std::string origin_;
    // Nothing says the maker's library copes with calls from several threads
    // at once; one transfer at a time is what a USB device does anyway.
    std::mutex mutex_;
};

// The folder the running program was started from.
std::filesystem::path RunningProgramFolder();

}  // namespace kv::device
