#pragma once

// The C interface of the remote's USB access library, libtarvio.so. Every
// function takes at most one pointer and answers true on success; read
// buffers are the caller's, of the sizes in RemoteDevice.h, zero-filled.

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

bool link_state(void);
bool RBasicInfo(char* buffer);            // 1024 bytes
bool RCodeTypeDataKVhotel(char* buffer);  // 12288 bytes
bool SetCodeCarrierWave(void);
bool RCollectCodeInfo(char* buffer);      // 10240 bytes
bool WCodeDataKVHOTEL(const char* text);  // zero-terminated hex text

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
namespace kv::device::tarvio {

using LinkStateFunction = bool (*)();
using ReadFunction = bool (*)(char*);
using CommandFunction = bool (*)();
using WriteFunction = bool (*)(const char*);

inline constexpr const char* kLibraryName = "libtarvio.so";

}  // namespace kv::device::tarvio
#endif
