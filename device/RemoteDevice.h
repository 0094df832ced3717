#pragma once

#include <cstddef>
#include <string>

namespace kv::device {

// Buffer sizes the remote's firmware fills; a read always hands back exactly
// this many characters, zero bytes included.
inline constexpr std::size_t kBasicInfoSize = 1024;
inline constexpr std::size_t kKeyCodeTableSize = 12288;
inline constexpr std::size_t kCaptureSize = 10240;

// The six operations of the remote's USB access library. Each takes at most
// one pointer and answers true on success. Implementations must tolerate
// calls from the UI thread, the link watcher and the collector at once.
class RemoteDevice {
public:
    virtual ~RemoteDevice() = default;

    virtual bool link_state() = 0;
    // buffer: kBasicInfoSize bytes, zero-filled by the caller.
    virtual bool RBasicInfo(char* buffer) = 0;
    // buffer: kKeyCodeTableSize bytes, zero-filled by the caller.
    virtual bool RCodeTypeDataKVhotel(char* buffer) = 0;
    virtual bool SetCodeCarrierWave() = 0;
    // buffer: kCaptureSize bytes, zero-filled by the caller.
    virtual bool RCollectCodeInfo(char* buffer) = 0;
    // text: the key-code table as hex text, read up to its first zero.
    virtual bool WCodeDataKVHOTEL(const char* text) = 0;
};

// Reads through a zero-filled buffer of the operation's size and turns it into
// a text of one character per byte; the empty text when the call fails.
std::string ReadBasicInfo(RemoteDevice& device);
std::string ReadKeyCodeTable(RemoteDevice& device);
std::string ReadCapture(RemoteDevice& device);

}  // namespace kv::device
