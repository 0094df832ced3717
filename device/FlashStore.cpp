#include "device/FlashStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

namespace kv::device {
namespace {

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Makes the rename itself durable: until the folder's entry is on the disk,
// a power loss could bring back the old name.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

FlashStore::FlashStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path FlashStore::TemporaryFile() const {
    std::filesystem::path temporary = file_;
    temporary += ".tmp";
    return temporary;
}

std::optional<std::string> FlashStore::Load(std::size_t maxBytes) const {
    std::ifstream in(file_, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text(maxBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

bool FlashStore::Save(const std::string& text) const {
    // A leftover temporary file from an interrupted save is simply replaced:
    // only one program at a time holds the remote's lock.
    const std::filesystem::path temporary = TemporaryFile();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), file_.c_str()) != 0) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    SyncFolder(file_.parent_path().empty() ? std::filesystem::path(".") : file_.parent_path());
    return true;
}

}  // namespace kv::device
