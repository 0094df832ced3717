#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kv::device {

// The virtual remote's flash: one file holding the key-code table text.
// A save writes a temporary file beside it, flushes it to the disk and
// renames it over the old one, so a crash or power loss at any moment leaves
// either the old table or the new one, never a mixture.
class FlashStore {
  public:
    explicit FlashStore(std::filesystem::path file);

    const std::filesystem::path& File() const { return file_; }
    std::filesystem::path TemporaryFile() const;

    // The stored text, of at most `maxBytes` + 1 characters (so that a file
    // too large to be a table shows as one without being read whole);
    // nothing when no table was ever saved or the file cannot be read.
    std::optional<std::string> Load(std::size_t maxBytes) const;

    // True once the new text is durably in place; on false the old table is
    // untouched.
    bool Save(const std::string& text) const;

  private:
    std::filesystem::path file_;
};

}  // namespace kv::device
