// Random input for the capture conversion, the table merge, the key state
// parser and the import formats: nothing may crash (the sanitizer build runs
// these too), and every table the merge gives can be written.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codestyle/HexText.h"
#include "workflow/CaptureImport.h"
#include "workflow/CaptureText.h"
#include "workflow/KeyCodeTable.h"
#include "workflow/KeyStateEntries.h"

namespace kv::workflow {
namespace {

using codestyle::AppendHex;
using codestyle::FormatHex;
using codestyle::ParseHex;

class Random {
  public:
    explicit Random(unsigned seed) : engine_(seed) {}

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }
    char AnyChar() { return static_cast<char>(Int(0, 255)); }

    std::string HexBytes(int bytes) {
        std::string text;
        for (int i = 0; i < bytes; ++i) {
            AppendHex(text, Int(0, 255), 2);
        }
        return text;
    }

    // Damages a text now and then: a changed, dropped or added character.
    std::string Damage(std::string text, int percent) {
        while (Chance(percent) && !text.empty()) {
            const auto at = static_cast<std::size_t>(Int(0, static_cast<int>(text.size()) - 1));
            switch (Int(0, 2)) {
                case 0:
                    text[at] = AnyChar();
                    break;
                case 1:
                    text.erase(at, 1);
                    break;
                default:
                    text.insert(at, 1, "0123456789ABCDEFabcdef \n+-"[Int(0, 25)]);
                    break;
            }
        }
        return text;
    }

  private:
    std::mt19937 engine_;
};

std::string RandomCaptureWords(Random& random) {
    std::string raw;
    const int words = random.Int(0, 300);
    for (int i = 0; i < words; ++i) {
        switch (random.Int(0, 5)) {
            case 0:
                raw += "7FFF";
                break;
            case 1:
                for (int chunk = random.Int(15, 25); chunk > 0; --chunk) {
                    raw += "7FFF";
                }
                break;
            case 2:
                AppendHex(raw, 0x8000 | random.Int(0, 0x7FFF), 4);
                break;
            default:
                AppendHex(raw, random.Int(0, 0x7FFE), 4);
                break;
        }
    }
    raw += random.HexBytes(random.Int(0, 4));
    return random.Damage(raw, 10) + std::string(static_cast<std::size_t>(random.Int(0, 8)), '\0');
}

TEST(TablesRandom, CaptureTextsAlwaysSplitBackIntoTheirFields) {
    Random random(20240601);
    int converted = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::string raw = RandomCaptureWords(random);
        const std::string text = CaptureToHex(raw);
        if (text.empty()) {
            continue;
        }
        ++converted;
        const auto parts = SplitCaptureText(text);
        ASSERT_TRUE(parts.has_value()) << raw << "\n" << text;
        EXPECT_EQ(std::to_string(parts->frames), parts->frameCount);
        EXPECT_TRUE(text.ends_with(parts->body));
    }
    EXPECT_GT(converted, 100);  // the generator reaches the conversion's end
}

std::string RandomKeyRecord(Random& random, int key) {
    const int d = random.Chance(10) ? 0 : random.Int(1, random.Chance(5) ? 140 : 40);
    const int e = random.Chance(10) ? 0 : random.Int(1, random.Chance(5) ? 140 : 60);
    // Equal first parts are common: keys of one style share them.
    const std::string first = random.Chance(50) ? std::string(2 * std::min(d, 22), 'A') +
                                                      random.HexBytes(d - std::min(d, 22))
                                                : random.HexBytes(d);
    std::string record = "0001" + FormatHex(key, 2) + "C70A00" + FormatHex(d, 2) +
                         FormatHex((d + 10) & 0xFF, 2) + "00" + FormatHex(e, 2) + first +
                         random.HexBytes(e);
    if (random.Chance(5)) {
        record.resize(static_cast<std::size_t>(random.Int(0, static_cast<int>(record.size()))));
    }
    return random.Damage(record, 3);
}

std::string RandomTable(Random& random) {
    std::string table = "0000";
    if (random.Chance(30)) {
        const int pairs = random.Int(0, 3);
        table = FormatHex(pairs, 2);
        for (int i = 0; i < pairs; ++i) {
            table += FormatHex(random.Int(0, 40), 2) + FormatHex(random.Int(0, 40), 2);
        }
        const int entries = random.Int(0, 6);
        table += FormatHex(entries, 2);
        const int size = static_cast<int>(table.size()) / 2 + 8 * entries;
        for (int i = 0; i < entries; ++i) {
            table += FormatHex(random.Int(0, 40), 2) + FormatHex(random.Int(0, 255), 2) +
                     FormatHex(random.Int(0, size + 20), 2) + "00" +
                     FormatHex(random.Int(0, 6), 2) + FormatHex(random.Int(0, size + 20), 2) +
                     "00" + FormatHex(random.Int(0, 6), 2);
        }
        table += random.HexBytes(random.Int(0, 40));
    }
    return random.Damage(table, 5) + std::string(static_cast<std::size_t>(random.Int(0, 8)), '\0');
}

TEST(TablesRandom, EveryMergedTableCanBeWrittenAndHoldsTheRecord) {
    Random random(77);
    int merges = 0;
    for (int round = 0; round < 300; ++round) {
        std::string table = RandomTable(random);
        for (int step = 0; step < 30; ++step) {
            const int key = random.Int(0, 45);
            const std::string record = RandomKeyRecord(random, key);
            const std::string merged = MergeKeyRecord(table, record);
            (void)ParseCodeTypeData(table);
            if (merged.empty()) {
                continue;
            }
            ++merges;
            ASSERT_EQ(CheckKeyCodeTable(merged), TableFault::None) << table << "\n" << record;
            ASSERT_TRUE(ParseCodeTypeData(merged).has_value()) << merged;
            const int d = static_cast<int>(*ParseHex(record.substr(12, 2)));
            const int e = static_cast<int>(*ParseHex(record.substr(18, 2)));
            const auto image = ReadKeyCodeTable(merged);
            ASSERT_TRUE(image.has_value());
            const KeyCodeTableEntry* found = nullptr;
            for (const auto& entry : image->entries) {
                if (entry.code == record.substr(4, 2)) {
                    found = &entry;
                }
            }
            if (d == 0 || e == 0) {
                EXPECT_EQ(found, nullptr) << "a record without parts removes its key";
            } else {
                // The entry addresses exactly the record's parts.
                ASSERT_NE(found, nullptr) << table << "\n" << record << "\n" << merged;
                const std::string first = record.substr(20, 2 * static_cast<std::size_t>(d));
                const std::string second = record.substr(20 + first.size(), 2 * e);
                EXPECT_EQ(found->flags, "CF");
                if (d >= 3) {
                    EXPECT_EQ(merged.substr(2 * found->firstOffset, first.size()), first);
                }
                EXPECT_EQ(merged.substr(2 * found->secondOffset, second.size()), second);
            }
            table = merged;
        }
    }
    EXPECT_GT(merges, 1000);
}

TEST(TablesRandom, KeyStateParserTakesAnyText) {
    Random random(5);
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomTable(random);
        if (random.Chance(20)) {
            text.clear();
            for (int i = random.Int(0, 80); i > 0; --i) {
                text += random.AnyChar();
            }
        }
        const auto entries = ParseCodeTypeData(text);
        if (entries) {
            for (const std::string& entry : *entries) {
                ASSERT_EQ(entry.size(), 4u);
                EXPECT_EQ(entry[2], '|');
            }
        }
    }
}

const std::vector<std::pair<TimingFormat, std::string>> kFormatSamples = {
    {TimingFormat::Timings, "9000 4500 560 560 560 1690 560 40000 9000 2250 560"},
    {TimingFormat::Timings, "+9000 -4500 +560 -560, +560 -1690 +560"},
    {TimingFormat::Mode2, "space 16777215\ncarrier 38000\npulse 9000\nspace 4500\npulse 560\n"},
    {TimingFormat::Pronto, "0000 006D 0002 0001 0156 00AB 0015 0015 0015 0E4C 0156 0055"},
    {TimingFormat::Flipper,
     "Filetype: IR signals file\nVersion: 1\n#\nname: A\ntype: raw\nfrequency: 38000\n"
     "duty_cycle: 0.33\ndata: 9000 4500 560 560 560\n"},
};

TEST(TablesRandom, ImportFormatsTakeDamagedText) {
    Random random(11);
    for (int round = 0; round < 4000; ++round) {
        const auto& [format, sample] = kFormatSamples[static_cast<std::size_t>(
            random.Int(0, static_cast<int>(kFormatSamples.size()) - 1))];
        const std::string text = random.Damage(sample, 60);
        const SignalImport imported =
            ParseMeasuredSignal(text, format, random.Chance(20) ? "A" : "");
        if (!imported.signal) {
            EXPECT_FALSE(imported.error.empty());
            continue;
        }
        const int carrier = imported.signal->carrierHz.value_or(kDefaultCarrierHz);
        const std::string words = CaptureWordsFromSignal(imported.signal->durationsUs, carrier);
        if (IsImportableCarrier(carrier) && !words.empty()) {
            EXPECT_FALSE(CaptureToHex(words).empty()) << text;
        }
    }
}

}  // namespace
}  // namespace kv::workflow
