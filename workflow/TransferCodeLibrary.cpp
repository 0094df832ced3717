#include "workflow/TransferCodeLibrary.h"

#include <dlfcn.h>
#include <iconv.h>

#include <cstring>
#include <vector>

namespace kv::workflow {

namespace {

constexpr const char* kLibraryName = "libtransfercode.so";
constexpr const char* kFunctionName = "Cominput";
// A key record is a few hundred characters; a longer reply is not one, and
// the cap keeps a reply without its terminating zero from running on.
constexpr std::size_t kLongestReply = 64 * 1024;

void* OpenLibrary(const std::string& programDir) {
    if (!programDir.empty()) {
        const std::string besideProgram = programDir + kLibraryName;
        if (void* handle = dlopen(besideProgram.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            return handle;
        }
    }
    return dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

std::string Utf8ToGbk(const std::string& text) {
    iconv_t converter = iconv_open("GBK", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return {};
    }
    std::vector<char> input(text.begin(), text.end());
    // GBK never needs more bytes than UTF-8 for the same characters.
    std::vector<char> output(text.size() + 1);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
        return {};
    }
    return std::string(output.data(), output.size() - outLeft);
}

TransferCodeLibrary::TransferCodeLibrary(std::string programDir)
    : programDir_(std::move(programDir)) {}

TransferCodeLibrary::~TransferCodeLibrary() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

bool TransferCodeLibrary::Available() {
    if (convert_ != nullptr) {
        return true;
    }
    void* handle = OpenLibrary(programDir_);
    if (handle == nullptr) {
        return false;
    }
    void* symbol = dlsym(handle, kFunctionName);
    if (symbol == nullptr) {
        dlclose(handle);
        return false;
    }
    handle_ = handle;
    // dlsym hands back functions as object pointers; POSIX guarantees the
    // round trip.
    static_assert(sizeof(symbol) == sizeof(ConvertFunction));
    std::memcpy(&convert_, &symbol, sizeof(convert_));
    return true;
}

std::string TransferCodeLibrary::Cominput(const std::string& request) {
    if (!Available()) {
        return {};
    }
    const std::string gbk = Utf8ToGbk(request);
    if (gbk.empty()) {
        return {};
    }
    const char* reply = convert_(gbk.c_str());
    if (reply == nullptr) {
        return {};
    }
    // Copied at once; the library keeps ownership of its buffer.
    return std::string(reply, strnlen(reply, kLongestReply));
}

}  // namespace kv::workflow
