#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "codestyle/CodeStyleLibrary.h"
#include "codestyle/CodeStyleLibraryWriter.h"
#include "tests/support/ExampleStyles.h"

namespace kv::codestyle {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRecord = 1033;
const std::string kHeader = std::string(1, '\x24') + "Deroz DovedEdovadIvavuvivir CodeInfo";

// A style that sets every field to a value of its own, so that a field read from or written to
// the wrong offset shows.
CodeStyleNode EveryFieldStyle() {
    CodeStyleNode style;
    style.name = "ABCDEFGHIJKLMNOPQRSTU";  // all 21 bytes, no terminating zero
    style.noCarrier = 0x11;
    style.carrierFrequency = -2;
    style.carrierByteA = 0x12;
    style.carrierDivisor = 0x13;
    style.symbolCount = 4;
    for (std::size_t s = 0; s < 4; ++s) {
        style.symbolShapes[s].count = static_cast<std::uint8_t>(s + 1);
        for (std::size_t i = 0; i < 6; ++i) {
            style.symbolShapes[s].values[i] = static_cast<TimingValue>(0x21000000 + s * 16 + i);
        }
    }
    style.placeholderWidth = 0x14;
    style.placeholderParam1 = 0x15;
    style.placeholderParam2 = 0x16;
    style.layoutCount = 6;
    for (std::size_t l = 0; l < 6; ++l) {
        style.layouts[l].count = static_cast<std::uint8_t>(27 + l);
        for (std::size_t i = 0; i < 32; ++i) {
            style.layouts[l].values[i] = static_cast<TimingValue>(0x31000000 + l * 256 + i);
        }
    }
    style.sequenceLength = 8;
    for (std::size_t i = 0; i < 8; ++i) {
        style.sequence[i] = static_cast<TimingValue>(0x41000000 + i);
    }
    style.repeatCount = 7;
    style.tailCount = 4;
    for (std::size_t i = 0; i < 4; ++i) {
        style.tail[i] = static_cast<TimingValue>(0x51000000 + i);
    }
    style.optionHigh = 0x17;
    style.optionByte = 0x18;
    style.optionLow = 0x19;
    return style;
}

std::uint32_t WordAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    }
    return value;
}

unsigned ByteAt(const std::string& bytes, std::size_t offset) {
    return static_cast<unsigned char>(bytes[offset]);
}

TEST(CodeStyleRecord, PutsEveryFieldAtItsOffset) {
    const std::string record = EncodeCodeStyleRecord(EveryFieldStyle());
    ASSERT_EQ(record.size(), kRecord);
    EXPECT_EQ(record.substr(0, 21), "ABCDEFGHIJKLMNOPQRSTU");
    const std::vector<std::pair<std::size_t, unsigned>> bytes = {
        {21, 0x11},   {29, 0x12},   {30, 0x13},      {33, 4},      {37, 1},
        {37 + 28, 2}, {37 + 84, 4}, {149, 0x14},     {150, 0x15},  {152, 0x16},
        {161, 6},     {165, 27},    {165 + 660, 32}, {957, 8},     {993, 7},
        {997, 4},     {1018, 0x17}, {1019, 0x18},    {1020, 0x19},
    };
    for (const auto& [offset, value] : bytes) {
        EXPECT_EQ(ByteAt(record, offset), value) << "offset " << offset;
    }
    const std::vector<std::pair<std::size_t, std::uint32_t>> words = {
        {25, 0xFFFFFFFE},
        {41, 0x21000000},
        {41 + 20, 0x21000005},
        {37 + 84 + 4, 0x21000030},
        {169, 0x31000000},
        {169 + 124, 0x3100001F},
        {165 + 660 + 4 + 124, 0x3100051F},
        {961, 0x41000000},
        {961 + 28, 0x41000007},
        {1001, 0x51000000},
        {1001 + 12, 0x51000003},
    };
    for (const auto& [offset, value] : words) {
        EXPECT_EQ(WordAt(record, offset), value) << "offset " << offset;
    }
    // Everything reserved stays zero.
    for (std::size_t offset : {22,  23,  24,  31,  32,  34,  35,  36,  38,  39,   40,   151,
                               153, 160, 162, 166, 167, 168, 958, 994, 998, 1017, 1021, 1032}) {
        EXPECT_EQ(ByteAt(record, offset), 0U) << "offset " << offset;
    }
}

TEST(CodeStyleRecord, ShortNamesArePaddedAndLongOnesCut) {
    CodeStyleNode style;
    style.name = "NEC";
    EXPECT_EQ(EncodeCodeStyleRecord(style).substr(0, 21),
              std::string("NEC") + std::string(18, '\0'));
    style.name = std::string(30, 'x');
    EXPECT_EQ(EncodeCodeStyleRecord(style).substr(0, 22), std::string(21, 'x') + '\0');
}

class LibraryFile : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("kvlearn-codestyle-" + std::to_string(getpid()) + "-" + test->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    std::string WriteBytes(const std::string& bytes) const {
        const std::string path = PathOf("QD01.csl");
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // The library the encoder starts with, so that a failed load shows it was left alone.
    static ArrCodeStyleNode DefaultLibrary() {
        CodeStyleNode entry;
        entry.name = "default";
        return {entry};
    }

    fs::path dir_;
};

TEST_F(LibraryFile, RoundTripsThroughTheFile) {
    const ArrCodeStyleNode written = {testsupport::NecLikeStyle(), EveryFieldStyle(),
                                      CodeStyleNode{}};
    const std::string path = PathOf("QD01.csl");
    ASSERT_TRUE(WriteCodeStyleLibrary(path, written));
    EXPECT_EQ(fs::file_size(path), 37 + 3 * kRecord);

    ArrCodeStyleNode loaded = DefaultLibrary();
    ASSERT_TRUE(LoadCodeStyleLibrary(path, loaded));
    EXPECT_EQ(loaded, written);

    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(bytes, CodeStyleLibraryBytes(loaded));
    EXPECT_EQ(bytes.substr(0, 37), kHeader);
}

TEST_F(LibraryFile, WriteReportsAPlaceItCannotWrite) {
    EXPECT_FALSE(WriteCodeStyleLibrary(PathOf("missing-folder/QD01.csl"), {CodeStyleNode{}}));
    EXPECT_FALSE(WriteCodeStyleLibrary(dir_.string(), {CodeStyleNode{}}));
}

TEST_F(LibraryFile, HeaderOnlyLoadsNoStyles) {
    ArrCodeStyleNode library = DefaultLibrary();
    EXPECT_TRUE(LoadCodeStyleLibrary(WriteBytes(kHeader), library));
    EXPECT_TRUE(library.empty());
}

TEST_F(LibraryFile, RefusesAWrongHeaderAndLeavesTheLibraryAlone) {
    const std::string record = EncodeCodeStyleRecord(testsupport::NecLikeStyle());
    const std::vector<std::pair<const char*, std::string>> headers = {
        {"trailing blank", std::string(1, '\x25') + "Deroz DovedEdovadIvavuvivir CodeInfo "},
        {"one letter's case", std::string(1, '\x24') + "Deroz DovedEdovadIvavuvivir Codeinfo"},
        {"length byte 0", std::string(1, '\0')},
        {"shorter than announced", kHeader.substr(0, 20)},
        {"empty file", ""},
        {"no length byte", kHeader.substr(1)},
    };
    for (const auto& [label, header] : headers) {
        ArrCodeStyleNode library = DefaultLibrary();
        EXPECT_FALSE(LoadCodeStyleLibrary(WriteBytes(header + record), library)) << label;
        EXPECT_EQ(library, DefaultLibrary()) << label;
    }
}

TEST_F(LibraryFile, RefusesWhatIsNotAFile) {
    ArrCodeStyleNode library = DefaultLibrary();
    EXPECT_FALSE(LoadCodeStyleLibrary(PathOf("missing.csl"), library));
    EXPECT_FALSE(LoadCodeStyleLibrary(dir_.string(), library));
    EXPECT_EQ(library, DefaultLibrary());
}

TEST_F(LibraryFile, KeepsARecordCutInsideItsBodyAndDropsOneCutInsideItsName) {
    CodeStyleNode third;
    third.name = "Third";
    third.carrierFrequency = 36000;
    third.layoutCount = 4;
    third.layouts[3].count = 9;
    third.layouts[3].values[7] = 0x11223344;
    third.layouts[3].values[8] = 0x04030201;  // at record offset 597: the cut leaves 3 bytes
    third.optionByte = 0x55;                  // beyond the cut
    const std::string full =
        kHeader +
        CodeStyleLibraryBytes({testsupport::NecLikeStyle(), EveryFieldStyle()}).substr(37);

    CodeStyleNode expectedThird = third;
    expectedThird.layouts[3].values[8] = 0x00030201;
    expectedThird.optionByte = 0;

    struct Cut {
        std::size_t extra;
        std::size_t styles;
    };
    for (const Cut cut : {Cut{600, 3}, Cut{22, 3}, Cut{21, 2}, Cut{10, 2}, Cut{0, 2}}) {
        ArrCodeStyleNode library = DefaultLibrary();
        ASSERT_TRUE(LoadCodeStyleLibrary(
            WriteBytes(full + EncodeCodeStyleRecord(third).substr(0, cut.extra)), library));
        ASSERT_EQ(library.size(), cut.styles) << cut.extra << " further bytes";
        EXPECT_EQ(library[0], testsupport::NecLikeStyle());
        EXPECT_EQ(library[1], EveryFieldStyle());
        if (cut.extra == 600) {
            EXPECT_EQ(library[2], expectedThird);
        }
    }
}

TEST_F(LibraryFile, SkipsARecordBeyondTheLimitsAndLoadsTheRest) {
    const std::vector<std::pair<const char*, std::function<void(CodeStyleNode&)>>> breaks = {
        {"symbolCount 5", [](CodeStyleNode& s) { s.symbolCount = 5; }},
        {"shape count 7", [](CodeStyleNode& s) { s.symbolShapes[3].count = 7; }},
        {"layoutCount 7", [](CodeStyleNode& s) { s.layoutCount = 7; }},
        {"layout count 33", [](CodeStyleNode& s) { s.layouts[5].count = 33; }},
        {"sequenceLength 9", [](CodeStyleNode& s) { s.sequenceLength = 9; }},
        {"tailCount 5", [](CodeStyleNode& s) { s.tailCount = 5; }},
        {"repeatCount above sequenceLength", [](CodeStyleNode& s) { s.repeatCount = 3; }},
        {"counts of 255", [](CodeStyleNode& s) { s.symbolCount = s.layoutCount = 255; }},
    };
    const CodeStyleNode good = testsupport::NecLikeStyle();
    CodeStyleNode last = EveryFieldStyle();
    for (const auto& [label, breakStyle] : breaks) {
        CodeStyleNode bad = good;
        breakStyle(bad);
        ArrCodeStyleNode library;
        ASSERT_TRUE(
            LoadCodeStyleLibrary(WriteBytes(CodeStyleLibraryBytes({good, bad, last})), library))
            << label;
        EXPECT_EQ(library, (ArrCodeStyleNode{good, last})) << label;
    }
}

TEST_F(LibraryFile, TheLimitsThemselvesLoad) {
    CodeStyleNode edge = EveryFieldStyle();
    for (SymbolShape& shape : edge.symbolShapes) {
        shape.count = 6;
    }
    for (FrameLayout& layout : edge.layouts) {
        layout.count = 32;
    }
    edge.repeatCount = edge.sequenceLength;
    ArrCodeStyleNode library;
    ASSERT_TRUE(LoadCodeStyleLibrary(WriteBytes(CodeStyleLibraryBytes({edge})), library));
    EXPECT_EQ(library, ArrCodeStyleNode{edge});
}

TEST(ReadLengthPrefixedText, Cases) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string("\x03"
                     "abcdef"),
         "abc"},
        {std::string("\x05"
                     "ab\0cd",
                     6),
         "ab"},  // ends at the first zero byte
        {std::string("\x05"
                     "abc"),
         ""},                                // fewer bytes than announced
        {std::string(1, '\0') + "abc", ""},  // length 0
        {"", ""},                            // no length byte
        {std::string("\xFF") + std::string(255, 'z'), std::string(255, 'z')},
    };
    for (const auto& [bytes, text] : cases) {
        std::istringstream stream(bytes);
        EXPECT_EQ(ReadLengthPrefixedText(stream), text);
    }
}

TEST(ReadLengthPrefixedText, LeavesTheStreamAfterTheText) {
    std::istringstream stream(
        std::string("\x02"
                    "ab"
                    "\x01"
                    "c"));
    EXPECT_EQ(ReadLengthPrefixedText(stream), "ab");
    EXPECT_EQ(ReadLengthPrefixedText(stream), "c");
    EXPECT_EQ(ReadLengthPrefixedText(stream), "");
}

}  // namespace
}  // namespace kv::codestyle
