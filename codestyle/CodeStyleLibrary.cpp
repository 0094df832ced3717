#include "codestyle/CodeStyleLibrary.h"

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

class RecordReader {
  public:
    explicit RecordReader(std::string_view record) : record_(record) {}

    std::uint8_t Byte(std::size_t offset) const {
        return offset < record_.size() ? static_cast<std::uint8_t>(record_[offset]) : 0;
    }

    std::uint32_t Word(std::size_t offset) const {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(Byte(offset + i)) << (8 * i);
        }
        return value;
    }

    std::string Name() const {
        const std::string_view field = record_.substr(0, lf::kNameSize);
        return std::string(field.substr(0, field.find('\0')));
    }

  private:
    std::string_view record_;
};

template <std::size_t N>
void ReadValues(const RecordReader& reader, std::size_t offset,
                std::array<TimingValue, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = reader.Word(offset + 4 * i);
    }
}

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
    text.resize(text.find('\0') == std::string::npos ? wanted : text.find('\0'));
    return text;
}

CodeStyleNode DecodeCodeStyleRecord(std::string_view record) {
    const RecordReader reader(record);
    CodeStyleNode style;
    style.name = reader.Name();
    style.noCarrier = reader.Byte(lf::kNoCarrier);
    style.carrierFrequency = static_cast<std::int32_t>(reader.Word(lf::kCarrierFrequency));
    style.carrierByteA = reader.Byte(lf::kCarrierByteA);
    style.carrierDivisor = reader.Byte(lf::kCarrierDivisor);
    style.symbolCount = reader.Byte(lf::kSymbolCount);
    for (std::size_t s = 0; s < style.symbolShapes.size(); ++s) {
        const std::size_t block = lf::kSymbolShapes + s * lf::kSymbolShapeSize;
        style.symbolShapes[s].count = reader.Byte(block);
        ReadValues(reader, block + lf::kBlockValues, style.symbolShapes[s].values);
    }
    style.placeholderWidth = reader.Byte(lf::kPlaceholderWidth);
    style.placeholderParam1 = reader.Byte(lf::kPlaceholderParam1);
    style.placeholderParam2 = reader.Byte(lf::kPlaceholderParam2);
    style.layoutCount = reader.Byte(lf::kLayoutCount);
    for (std::size_t l = 0; l < style.layouts.size(); ++l) {
        const std::size_t block = lf::kLayouts + l * lf::kLayoutSize;
        style.layouts[l].count = reader.Byte(block);
        ReadValues(reader, block + lf::kBlockValues, style.layouts[l].values);
    }
    style.sequenceLength = reader.Byte(lf::kSequenceLength);
    ReadValues(reader, lf::kSequence, style.sequence);
    style.repeatCount = reader.Byte(lf::kRepeatCount);
    style.tailCount = reader.Byte(lf::kTailCount);
    ReadValues(reader, lf::kTail, style.tail);
    style.optionHigh = reader.Byte(lf::kOptionHigh);
    style.optionByte = reader.Byte(lf::kOptionByte);
    style.optionLow = reader.Byte(lf::kOptionLow);
    return style;
}

bool LoadCodeStyleLibrary(std::istream& file, ArrCodeStyleNode& library) {
    if (ReadLengthPrefixedText(file) != lf::kHeaderText) {
        return false;
    }
    library.clear();
    std::array<char, lf::kRecordSize> record{};
    while (true) {
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
