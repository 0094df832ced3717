#include "codestyle/CodeStyleLibrary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "codestyle/LibraryFileLayout.h"

namespace kv::codestyle {

namespace lf = libraryfile;

namespace {

// Reads up to `wanted` bytes into `buffer` and says how many came.
std::size_t ReadUpTo(std::istream& file, char* buffer, std::size_t wanted) {
    if (!file.good()) {
        return 0;
    }
    file.read(buffer, static_cast<std::streamsize>(wanted));
    return static_cast<std::size_t>(file.gcount());
}

// Reads the fields of one record; bytes beyond the record's end read as zeros.
class RecordReader {
  public:
    explicit RecordReader(std::string_view record) : record_(record) {}

    void Name(std::string& name) const {
        const std::string_view field = record_.substr(0, lf::kNameSize);
        name = std::string(field.substr(0, field.find('\0')));
    }

    void Byte(std::size_t offset, std::uint8_t& field) const { field = ByteAt(offset); }

    void Word(std::size_t offset, std::uint32_t& field) const { field = WordAt(offset); }

    void Word(std::size_t offset, std::int32_t& field) const {
        field = static_cast<std::int32_t>(WordAt(offset));
    }

    template <std::size_t N>
    void Words(std::size_t offset, std::array<TimingValue, N>& values) const {
        for (std::size_t i = 0; i < N; ++i) {
            values[i] = WordAt(offset + 4 * i);
        }
    }

  private:
    std::uint8_t ByteAt(std::size_t offset) const {
        return offset < record_.size() ? static_cast<std::uint8_t>(record_[offset]) : 0;
    }

    std::uint32_t WordAt(std::size_t offset) const {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(ByteAt(offset + i)) << (8 * i);
        }
        return value;
    }

    std::string_view record_;
};

}  // namespace

std::string ReadLengthPrefixedText(std::istream& file) {
    char length = 0;
    if (ReadUpTo(file, &length, 1) != 1) {
        return {};
    }
    const auto wanted = static_cast<std::size_t>(static_cast<unsigned char>(length));
    std::string text(wanted, '\0');
    if (wanted == 0 || ReadUpTo(file, text.data(), wanted) != wanted) {
        return {};
    }
    text.resize(std::min(text.find('\0'), wanted));
    return text;
}

CodeStyleNode DecodeCodeStyleRecord(std::string_view record) {
    const RecordReader reader(record);
    CodeStyleNode style;
    lf::MapRecordFields(style, reader);
    return style;
}

bool LoadCodeStyleLibrary(std::istream& file, ArrCodeStyleNode& library) {
    if (ReadLengthPrefixedText(file) != lf::kHeaderText) {
        return false;
    }
    library.clear();
    std::array<char, lf::kRecordSize> record{};
    while (true) {
        // A body the file cuts short keeps zeros where its bytes are missing.
        record.fill('\0');
        const std::size_t nameBytes = ReadUpTo(file, record.data(), lf::kNameSize);
        const std::size_t bodyBytes = ReadUpTo(file, record.data() + lf::kNameSize, lf::kBodySize);
        if (bodyBytes > 0) {
            CodeStyleNode style = DecodeCodeStyleRecord({record.data(), record.size()});
            if (StyleWithinLimits(style)) {
                library.push_back(std::move(style));
            }
        }
        if (nameBytes == 0 || bodyBytes == 0) {
            break;
        }
    }
    return true;
}

bool LoadCodeStyleLibrary(const std::string& path, ArrCodeStyleNode& library) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    return LoadCodeStyleLibrary(file, library);
}

}  // namespace kv::codestyle
