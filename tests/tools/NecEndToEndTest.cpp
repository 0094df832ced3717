#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codestyle/CodeStyleLibraryWriter.h"
#include "codestyle/CodeStyleSource.h"
#include "tests/tools/KvcodesRun.h"
#include "workflow/KeyCodeTable.h"
#include "workflow/KeyStateEntries.h"

namespace kv::tools::testing {
namespace {

// One NEC style: 38 kHz (carrier byte A 1, divisor 3), 560/560 and 560/1690 symbols, a full
// frame of four 8-symbol groups, then repeat frames, 108 ms from start to start.
constexpr const char* kNecLibrary = R"({ "styles": [ { "name": "NEC", "note": "test style",
  "carrier": { "frequency": 38000, "divisor": 3, "byteA": 1 },
  "symbols": [ [560, -560], [560, -1690] ],
  "layouts": [ [9000, -4500, {"group": 8}, {"group": 8}, {"group": 8}, {"group": 8}, 560],
               [9000, -2250, 560] ],
  "sequence": [ {"layout": 0}, {"layout": 1, "period": 108} ],
  "repeat": 1, "tail": [], "options": {"high": 0, "byte": 0, "low": 0} } ] })";

// The kernel's NEC encoder for nec:0x0408 (address 04, command 08, each followed by its
// inverse, least significant bit first), then two repeat frames, every frame starting 108 ms
// after the one before: the full frame lasts 68095 us, a repeat frame 11813 us.
constexpr const char* kNecPress =
    "+9000 -4500 +563 -563 +563 -563 +563 -1688 +563 -563 +563 -563 +563 -563 +563 -563 "
    "+563 -563 +563 -1688 +563 -1688 +563 -563 +563 -1688 +563 -1688 +563 -1688 +563 -1688 "
    "+563 -1688 +563 -563 +563 -563 +563 -563 +563 -1688 +563 -563 +563 -563 +563 -563 "
    "+563 -563 +563 -1688 +563 -1688 +563 -1688 +563 -563 +563 -1688 +563 -1688 +563 -1688 "
    "+563 -1688 +563\n"
    "-39905 +9000 -2250 +563 -96187 +9000 -2250 +563\n";

// Header: 00 01, key 1C, C7, 0A 00, LL = 22, LL + 10 = 32, 00, NN = 18.
// First part (unit 53 ticks, both multipliers 63): symbol table offset 14, LL 22, unit - 1
// = 52, carrier 1 * 7 + 3 = 10, multipliers - 1 = 62 62, options 00 00, two layouts and two
// sequence elements 22, repeat 1 and no tail 10; the period element: 108 ms = 10800 * 60 / 53
// = 12226 = 0x2FC2 units, C2 2F, period marker 80, layout 01; symbol offsets 02 05; symbols
// (560, -560) = 02 C0 80 and (560, -1690) = 02 C0 82.
// Second part (a step of 63 * 53 ticks = 556.5 us): offsets 02 0E; layout 0: 7 items, 9000
// = 16 steps CF, 4500 = 8 steps 87, four 8-symbol groups (47) of the bits 00100000 = 20,
// 11011111 = DF, 00010000 = 10, 11101111 = EF, 560 = 1 step C0; layout 1: 3 items, CF, 2250 =
// 4 steps 83, C0.
const std::string kNecRecord =
    "0001"
    "1C"
    "C7"
    "0A00"
    "16"
    "20"
    "00"
    "12"
    "0E"
    "16"
    "34"
    "0A"
    "3E"
    "3E"
    "00"
    "00"
    "22"
    "10"
    "C22F8001"
    "0205"
    "02C080"
    "02C082"
    "02"
    "0E"
    "07"
    "CF"
    "87"
    "4720"
    "47DF"
    "4710"
    "47EF"
    "C0"
    "03"
    "CF"
    "83"
    "C0";

class NecEndToEnd : public KvcodesTest {
  protected:
    void SetUp() override {
        KvcodesTest::SetUp();
        const codestyle::CodeStyleSource source = codestyle::CompileCodeStyleSource(kNecLibrary);
        ASSERT_EQ(source.error, "");
        ASSERT_TRUE(codestyle::WriteCodeStyleLibrary(PathOf("nec.csl"), source.Styles()));
        Write("press.txt", kNecPress);
    }

    // The output line of a successful run.
    std::string Line(const RunResult& result) {
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.out.substr(0, result.out.find('\n'));
    }
};

TEST_F(NecEndToEnd, ImportCaptureTextAndEncodeGiveTheKeyRecord) {
    Write("words.txt", Line(Run("import press.txt")));
    const std::string captureText = Line(Run("capture-text words.txt"));
    // Three frames, 38 kHz; gaps of 39 ms (0x27) and 96 ms (0x60).
    EXPECT_EQ(captureText.substr(0, 17),
              "3"
              "2612"
              "2328"
              "1194"
              "0233");
    EXPECT_NE(captureText.find("0233"
                               "FEFE0027EDED"
                               "2328"
                               "08CA"
                               "0233"
                               "FEFE0060EDED"),
              std::string::npos);
    Write("capture.txt", captureText);
    const std::string record = Line(Run("encode --styles nec.csl --key 1C capture.txt"));
    EXPECT_EQ(record, kNecRecord);

    const std::string table = Line(Run("table merge 0000 " + record));
    EXPECT_EQ(table,
              "00"
              "01"
              "1C"
              "CF"
              "0A00"
              "16"
              "2000"
              "12" +
                  kNecRecord.substr(20));
    EXPECT_EQ(workflow::CheckKeyCodeTable(table), workflow::TableFault::None);
    EXPECT_EQ(workflow::ParseCodeTypeData(table), std::vector<std::string>{"1C|2"});
}

TEST_F(NecEndToEnd, LearnDoesTheThreeStepsInOne) {
    EXPECT_EQ(Line(Run("learn --styles nec.csl --key 1C press.txt")), kNecRecord);
}

TEST_F(NecEndToEnd, ASingleTapFitsToo) {
    // A quick tap gives one frame, whose made-up gap group must not refuse the style.
    const std::string tap = std::string(kNecPress).substr(0, std::string(kNecPress).find('\n'));
    const std::string record = Line(Run("learn --styles nec.csl --key 1C", tap));
    EXPECT_EQ(record.substr(0, 20 + 2 * 22), kNecRecord.substr(0, 20 + 2 * 22));
}

struct EncodeFailure {
    const char* name;
    std::string arguments;
    std::string input;
    int exitCode;
    std::string errPart;
};

class NecEncodeFailures : public NecEndToEnd,
                          public ::testing::WithParamInterface<EncodeFailure> {};

TEST_P(NecEncodeFailures, ExitWithAMessage) {
    const RunResult result = Run(GetParam().arguments, GetParam().input);
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(GetParam().errPart), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Encode, NecEncodeFailures,
    ::testing::Values(
        EncodeFailure{"NoStyleFits", "encode --styles nec.csl --key 1C",
                      "1"
                      "2612"
                      "0100"
                      "0100"
                      "0100"
                      "FEFE0014EDED",
                      1, "no code style fits"},
        EncodeFailure{"LearnNoStyleFits", "learn --styles nec.csl --key 1C", "100 100 100", 1,
                      "no code style fits"},
        EncodeFailure{"NotACaptureText", "encode --styles nec.csl --key 1C", "2328", 2,
                      "not a capture text"},
        EncodeFailure{"MissingLibrary", "encode --styles none.csl --key 1C", "", 2, "cannot load"},
        EncodeFailure{"NoKey", "encode --styles nec.csl", "", 2, "--key"},
        EncodeFailure{"KeyNotHex", "encode --styles nec.csl --key 1G", "", 2, "--key"},
        EncodeFailure{"KeyTooLong", "learn --styles nec.csl --key 100", "", 2, "--key"},
        EncodeFailure{"LearnBadTimings", "learn --styles nec.csl --key 1C", "9000 abc", 2,
                      "'abc'"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace kv::tools::testing
