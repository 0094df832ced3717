#include "codestyle/CodeStyleLibraryWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>

#include "codestyle/LibraryFileLayout.h"

namespace kv::codestyle {

namespace lf = libraryfile;

namespace {

class RecordWriter {
  public:
    RecordWriter() : record_(lf::kRecordSize, '\0') {}

    void Byte(std::size_t offset, std::uint8_t value) {
        record_[offset] = static_cast<char>(value);
    }

    void Word(std::size_t offset, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i) {
            Byte(offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }

    template <std::size_t N>
    void Words(std::size_t offset, const std::array<TimingValue, N>& values) {
        for (std::size_t i = 0; i < N; ++i) {
            Word(offset + 4 * i, values[i]);
        }
    }

    void Name(const std::string& name) {
        std::copy_n(name.begin(), std::min(name.size(), lf::kNameSize), record_.begin());
    }

    std::string Take() { return std::move(record_); }

  private:
    std::string record_;
};

}  // namespace

std::string EncodeCodeStyleRecord(const CodeStyleNode& style) {
    RecordWriter writer;
    writer.Name(style.name);
    writer.Byte(lf::kNoCarrier, style.noCarrier);
    writer.Word(lf::kCarrierFrequency, static_cast<std::uint32_t>(style.carrierFrequency));
    writer.Byte(lf::kCarrierByteA, style.carrierByteA);
    writer.Byte(lf::kCarrierDivisor, style.carrierDivisor);
    writer.Byte(lf::kSymbolCount, style.symbolCount);
    for (std::size_t s = 0; s < style.symbolShapes.size(); ++s) {
        const std::size_t block = lf::kSymbolShapes + s * lf::kSymbolShapeSize;
        writer.Byte(block, style.symbolShapes[s].count);
        writer.Words(block + lf::kBlockValues, style.symbolShapes[s].values);
    }
    writer.Byte(lf::kPlaceholderWidth, style.placeholderWidth);
    writer.Byte(lf::kPlaceholderParam1, style.placeholderParam1);
    writer.Byte(lf::kPlaceholderParam2, style.placeholderParam2);
    writer.Byte(lf::kLayoutCount, style.layoutCount);
    for (std::size_t l = 0; l < style.layouts.size(); ++l) {
        const std::size_t block = lf::kLayouts + l * lf::kLayoutSize;
        writer.Byte(block, style.layouts[l].count);
        writer.Words(block + lf::kBlockValues, style.layouts[l].values);
    }
    writer.Byte(lf::kSequenceLength, style.sequenceLength);
    writer.Words(lf::kSequence, style.sequence);
    writer.Byte(lf::kRepeatCount, style.repeatCount);
    writer.Byte(lf::kTailCount, style.tailCount);
    writer.Words(lf::kTail, style.tail);
    writer.Byte(lf::kOptionHigh, style.optionHigh);
    writer.Byte(lf::kOptionByte, style.optionByte);
    writer.Byte(lf::kOptionLow, style.optionLow);
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
