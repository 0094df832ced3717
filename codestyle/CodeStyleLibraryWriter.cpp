#include "codestyle/CodeStyleLibraryWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>

#include "codestyle/LibraryFileLayout.h"

namespace kv::codestyle {

namespace lf = libraryfile;

namespace {

// Writes the fields of one record into its 1033 bytes, reserved bytes left zero.
class RecordWriter {
  public:
    RecordWriter() : record_(lf::kRecordSize, '\0') {}

    void Name(const std::string& name) {
        std::copy_n(name.begin(), std::min(name.size(), lf::kNameSize), record_.begin());
    }

    void Byte(std::size_t offset, std::uint8_t value) {
        record_[offset] = static_cast<char>(value);
    }

    void Word(std::size_t offset, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i) {
            Byte(offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }

    void Word(std::size_t offset, std::int32_t value) {
        Word(offset, static_cast<std::uint32_t>(value));
    }

    template <std::size_t N>
    void Words(std::size_t offset, const std::array<TimingValue, N>& values) {
        for (std::size_t i = 0; i < N; ++i) {
            Word(offset + 4 * i, values[i]);
        }
    }

    std::string Take() { return std::move(record_); }

  private:
    std::string record_;
};

}  // namespace

std::string EncodeCodeStyleRecord(const CodeStyleNode& style) {
    RecordWriter writer;
    lf::MapRecordFields(style, writer);
    return writer.Take();
}

std::string CodeStyleLibraryBytes(const ArrCodeStyleNode& library) {
    std::string bytes;
    bytes.reserve(1 + lf::kHeaderText.size() + library.size() * lf::kRecordSize);
    bytes.push_back(static_cast<char>(lf::kHeaderText.size()));
    bytes.append(lf::kHeaderText);
    for (const CodeStyleNode& style : library) {
        bytes += EncodeCodeStyleRecord(style);
    }
    return bytes;
}

bool WriteCodeStyleLibrary(const std::string& path, const ArrCodeStyleNode& library) {
    const std::string bytes = CodeStyleLibraryBytes(library);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

}  // namespace kv::codestyle
