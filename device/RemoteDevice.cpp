#include "device/RemoteDevice.h"

#include <vector>

namespace kv::device {
namespace {

template <typename Read>
std::string ReadBuffer(std::size_t size, Read read) {
    std::vector<char> buffer(size, '\0');
    if (!read(buffer.data())) {
        return {};
    }
    return std::string(buffer.data(), buffer.size());
}

}  // namespace

std::string ReadBasicInfo(RemoteDevice& device) {
    return ReadBuffer(kBasicInfoSize, [&](char* b) { return device.RBasicInfo(b); });
}

std::string ReadKeyCodeTable(RemoteDevice& device) {
    return ReadBuffer(kKeyCodeTableSize, [&](char* b) { return device.RCodeTypeDataKVhotel(b); });
}

std::string ReadCapture(RemoteDevice& device) {
    return ReadBuffer(kCaptureSize, [&](char* b) { return device.RCollectCodeInfo(b); });
}

}  // namespace kv::device
