#include <gtest/gtest.h>

#include <string>

#include "tests/tools/KvcodesRun.h"

namespace kv::tools::testing {
namespace {

const std::string kEndGap =
    "7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF7FFF";
const std::string kRaw = "8100 0300 8200\n" + kEndGap + "\n4F4F 4F00\n";

struct CommandCase {
    const char* name;
    std::string arguments;
    std::string input;
    int exitCode;
    std::string out;      // the exact standard output, when the case gives a result
    std::string errPart;  // a part of the message, for the cases that fail
};

class KvcodesCommand : public KvcodesTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(KvcodesCommand, ExitsAndWritesAsExpected) {
    const CommandCase& c = GetParam();
    const RunResult result = Run(c.arguments, c.input);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    if (c.exitCode == 0) {
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.errPart), std::string::npos) << result.err;
    }
}

const std::string kFlipper =
    "Filetype: IR signals file\nVersion: 1\n#\nname: Power\ntype: raw\nfrequency: 36000\n"
    "duty_cycle: 0.33\ndata: 9000 4500 560\n";

INSTANTIATE_TEST_SUITE_P(
    Commands, KvcodesCommand,
    ::testing::Values(
        CommandCase{"CaptureTextFromStandardInput", "capture-text", kRaw, 0,
                    "12512001B013A0070FEFE0014EDED\n", ""},
        CommandCase{"CaptureTextIncomplete", "capture-text", "8100 0300 8200 7FFF 7FFF 0000", 1, "",
                    "end gap"},
        CommandCase{"CaptureTextNotHex", "capture-text", "8100 03Z0", 2, "", "hex"},
        CommandCase{"CaptureTextMissingFile", "capture-text nothing.txt", "", 2, "", "cannot read"},
        CommandCase{"CaptureTextTwoFiles", "capture-text a b", "", 2, "", "at most one"},
        CommandCase{"ImportUnknownFormat", "import --format wav", "9000", 2, "", "unknown format"},
        CommandCase{"ImportBadCarrier", "import --carrier 38k", "9000", 2, "", "carrier"},
        CommandCase{"ImportCarrierOutOfRange", "import --carrier 500000", "9000", 2, "", "carrier"},
        CommandCase{"ImportButtonOutsideFlipper", "import --button Power", "9000", 2, "",
                    "--button"},
        CommandCase{"ImportMissingButton", "import --format flipper --button Mute", kFlipper, 2, "",
                    "Mute"},
        CommandCase{"ImportBadNumber", "import", "9000 x", 2, "", "'x'"},
        CommandCase{"ImportUnknownOption", "import --speed 3", "9000", 2, "", "unknown option"},
        CommandCase{"ImportOptionWithoutValue", "import --carrier", "9000", 2, "", "needs a value"},
        CommandCase{"MergeRecordSplitOverArguments",
                    "table merge 0000 000105C70A0003 0D 00 02 A1B2C3D4E5", "", 2, "",
                    "needs TABLE and RECORD"},
        CommandCase{"MergeHexArguments", "table merge 0000 000105C70A00030D0002A1B2C3D4E5", "", 0,
                    "000105CF0A00030D0002A1B2C3D4E5\n", ""},
        CommandCase{"MergeTableFromStandardInput", "table merge - 000105C70A00030D0002A1B2C3D4E5",
                    "00\n00\n", 0, "000105CF0A00030D0002A1B2C3D4E5\n", ""},
        CommandCase{"MergeDamagedTable", "table merge 0300 000105C70A00030D0002A1B2C3D4E5", "", 2,
                    "", "damaged"},
        CommandCase{"MergeUnreadableRecord", "table merge 0000 0001", "", 2, "", "cannot be read"},
        CommandCase{"MergeBothFromStandardInput", "table merge - -", "", 2, "", "only one"},
        CommandCase{"TableWithoutVerb", "table", "", 2, "", "show"},
        CommandCase{"TableShowDamaged", "table show", "05", 2, "", "not hex"},
        CommandCase{"TableShow", "table show",
                    "01 0507 03 07010000001C0002 054F00000020 0001 01CF1F0003210001 "
                    "ABCDEF 77 1234 56",
                    0,
                    "bytes 35\n"
                    "pairs 1\n"
                    "  pair 05 07\n"
                    "entries 3\n"
                    "  entry 07 flags 01 first @0+0 second @28+2\n"
                    "    second ABCD\n"
                    "  entry 05 flags 4F first @0+0 second @32+1\n"
                    "    second 12\n"
                    "  entry 01 flags CF first @31+3 second @33+1\n"
                    "    first  771234\n"
                    "    second 34\n"
                    "key states 01|2 05|2\n"
                    "check writable\n",
                    ""},
        CommandCase{"TableShowNotWritable", "table show", "0001 01CF0000000A0004 1122", 0,
                    "bytes 12\n"
                    "pairs 0\n"
                    "entries 1\n"
                    "  entry 01 flags CF first @0+0 second @10+4\n"
                    "    second 1122\n"
                    "key states 01|2\n"
                    "check not writable: a data block runs past the end of the table\n",
                    ""},
        CommandCase{"UnknownCommand", "frobnicate", "", 2, "", "unknown subcommand"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

struct ImportCase {
    const char* name;
    std::string arguments;
    std::string input;
    std::string captureText;  // what capture-text makes of the imported words
};

class KvcodesImport : public KvcodesTest, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(KvcodesImport, WritesWordsThatGiveBackTheTimings) {
    const RunResult imported = Run(GetParam().arguments, GetParam().input);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    ASSERT_EQ(imported.out.find('\n'), imported.out.size() - 1) << "one line";
    const RunResult text = Run("capture-text", imported.out);
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out, GetParam().captureText + "\n");
}

// 9000 4500 560 at 38 kHz.
const std::string kText9000 =
    "1"
    "2612"
    "2328"
    "1194"
    "0230"
    "FEFE0014EDED";

INSTANTIATE_TEST_SUITE_P(
    Formats, KvcodesImport,
    ::testing::Values(
        ImportCase{"Timings", "import", "9000 4500 560", kText9000},
        ImportCase{"SignedTimings", "import --format timings", "+9000 -4500 +560 -20000",
                   kText9000},
        ImportCase{"CarrierOption", "import --carrier 36000", "9000 4500 560",
                   "1"
                   "2412"
                   "2328"
                   "1194"
                   "0230"
                   "FEFE0014EDED"},
        ImportCase{"NoCarrier", "import --carrier 0", "9000 4500 560",
                   "1"
                   "0000"
                   "2328"
                   "1194"
                   "0230"
                   "FEFE0014EDED"},
        ImportCase{"Mode2", "import --format mode2", "pulse 9000\nspace 4500\npulse 560\n",
                   kText9000},
        ImportCase{"FlipperCarrier", "import --format flipper --button Power", kFlipper,
                   "1"
                   "2412"
                   "2328"
                   "1194"
                   "0230"
                   "FEFE0014EDED"},
        ImportCase{"CarrierOptionOverridesTheFile",
                   "import --format flipper --button Power --carrier 38000", kFlipper, kText9000},
        // 342 and 171 units of 26.2958 us; the trailing space is dropped.
        ImportCase{"Pronto", "import --format pronto", "0000 006D 0002 0000 0156 00AB 0015 0E4C",
                   "1"
                   "2612"
                   "2321"
                   "1191"
                   "0228"
                   "FEFE0014EDED"},
        ImportCase{"GapsEndFrames", "import", "9000 4500 560 40000 9000 2250 560",
                   "2"
                   "2612"
                   "2328"
                   "1194"
                   "0230"
                   "FEFE0028EDED"
                   "2328"
                   "08CA"
                   "0230"
                   "EDED"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

class KvcodesFiles : public KvcodesTest {};

TEST_F(KvcodesFiles, ReadTheirInputFromFiles) {
    Write("raw.txt", kRaw + std::string(40, '\0'));
    EXPECT_EQ(Run("capture-text raw.txt").out, "12512001B013A0070FEFE0014EDED\n");
    Write("record.txt", "0001 05C7 0A00 030D 0002\nA1B2C3 D4E5\n");
    EXPECT_EQ(Run("table merge 0000 record.txt").out, "000105CF0A00030D0002A1B2C3D4E5\n");
}

TEST_F(KvcodesFiles, MergeThatWouldOverflowTheRemoteHasNoResult) {
    // 45 keys of 127-byte second parts fill 6144 bytes; the next one does not fit.
    std::string table = "0000";
    for (int key = 0; key < 46; ++key) {
        char code[3];
        std::snprintf(code, sizeof code, "%02X", key);
        const std::string record =
            std::string("0001") + code + "C70A00030D007F" + "A1B2C3" + std::string(254, 'E');
        const RunResult result = Run("table merge " + table + " " + record);
        if (result.exitCode != 0) {
            EXPECT_EQ(result.exitCode, 1) << result.err;
            EXPECT_NE(result.err.find("6144"), std::string::npos) << result.err;
            return;
        }
        table = result.out.substr(0, result.out.size() - 1);
    }
    FAIL() << "46 keys of 127-byte parts fitted the remote";
}

class KvcodesHelp : public KvcodesTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KvcodesHelp, ExplainsTheCommand) {
    const RunResult result = Run(std::string(GetParam()) + " --help");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("usage: kvcodes " + std::string(GetParam())), std::string::npos)
        << result.out;
}

INSTANTIATE_TEST_SUITE_P(Commands, KvcodesHelp,
                         ::testing::Values("capture-text", "import", "encode", "learn", "table"));

TEST_F(KvcodesFiles, HelpListsTheCommands) {
    const RunResult result = Run("--help");
    EXPECT_EQ(result.exitCode, 0);
    for (const char* command : {"capture-text", "import", "encode", "learn", "table"}) {
        EXPECT_NE(result.out.find(std::string("  ") + command), std::string::npos) << command;
    }
    EXPECT_EQ(Run("").exitCode, 2);
}

}  // namespace
}  // namespace kv::tools::testing
