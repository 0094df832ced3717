#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "codestyle/CodeStyleLibraryWriter.h"
#include "encoder/LearnedCodeEncoder.h"
#include "tests/encoder/NecStyle.h"

namespace {

using kv::codestyle::ArrCodeStyleNode;
using kv::codestyle::CodeStyleNode;

// 63 styles the NEC capture does not fit, each refused at a different stage (its head, its
// symbols or its period), and the NEC style last: the whole library is walked.
ArrCodeStyleNode LibraryOf64() {
    ArrCodeStyleNode library;
    for (std::uint32_t i = 0; i < 63; ++i) {
        CodeStyleNode style = kv::encoder::testing::NecStyle();
        style.name = "style" + std::to_string(i);
        switch (i % 3) {
            case 0:
                style.layouts[0].values[0] = kv::codestyle::MarkValue(300000 + i * 1000);
                break;
            case 1:
                style.symbolShapes[1].values[1] = kv::codestyle::SpaceValue(250000 + i * 1000);
                break;
            default:
                style.sequence[1] = kv::codestyle::ElementValue(
                    kv::codestyle::TimingKind::kPeriodElement, 1, 5000 + i * 10);
                style.sequence[0] = style.sequence[1] & ~0x00F00000U;
                break;
        }
        library.push_back(style);
    }
    library.push_back(kv::encoder::testing::NecStyle());
    return library;
}

void BM_EncodeLearnedCodeNec64Styles(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kv-bench-encoder-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string file = (folder / kv::encoder::kCodeStyleLibraryFileName).string();
    if (!kv::codestyle::WriteCodeStyleLibrary(file, LibraryOf64())) {
        state.SkipWithError("cannot write the library");
        return;
    }
    const std::string body = kv::encoder::testing::NecCaptureBody();
    kv::encoder::EncoderState encoderState;
    std::string record;
    for (auto _ : state) {
        record = kv::encoder::EncodeLearnedCode(body, 0x1C, folder, encoderState);
        benchmark::DoNotOptimize(record);
    }
    if (record != kv::encoder::testing::kNecRecordKey1C) {
        state.SkipWithError("the NEC style was not the one encoded");
    }
    std::filesystem::remove_all(folder);
}

BENCHMARK(BM_EncodeLearnedCodeNec64Styles)->Unit(benchmark::kMicrosecond);

}  // namespace
