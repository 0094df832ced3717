// The table stages the learning workflow runs per captured key: the capture
// conversion of a full 10240-character capture and the merge into a table of
// 40 learned keys.
#include <benchmark/benchmark.h>

#include <string>

#include "codestyle/HexText.h"
#include "workflow/CaptureImport.h"
#include "workflow/CaptureText.h"
#include "workflow/KeyCodeTable.h"

namespace {

using namespace kv::workflow;
using kv::codestyle::FormatHex;

// A held NEC key: a full frame, then repeat frames 108 ms apart, until the
// capture buffer is full; padded with zeros to the buffer's 10240 characters.
std::string FullCapture() {
    std::vector<double> durations = {9000, 4500};
    for (int bit = 0; bit < 32; ++bit) {
        durations.push_back(560);
        durations.push_back(bit % 3 == 0 ? 1690 : 560);
    }
    durations.push_back(560);
    for (int frame = 0; frame < 400; ++frame) {
        durations.push_back(frame == 0 ? 40000 : 96000);
        durations.push_back(9000);
        durations.push_back(2250);
        durations.push_back(560);
    }
    std::string raw = CaptureWordsFromSignal(durations, 38000);
    raw.resize(10240, '\0');
    return raw;
}

void BM_CaptureToHex(benchmark::State& state) {
    const std::string raw = FullCapture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CaptureToHex(raw));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(raw.size()));
}
BENCHMARK(BM_CaptureToHex);

// A key record with a 22-byte first part shared by every key of the style and
// a 40-byte second part of its own.
std::string KeyRecord(int key) {
    std::string record = "0001" + FormatHex(key, 2) +
                         "C70A00"
                         "16"
                         "20"
                         "00"
                         "28";
    record += "0E16340A3E3E00002210C22F8001020502C08002C082";
    for (int i = 0; i < 40; ++i) {
        record += FormatHex((key * 7 + i) & 0xFF, 2);
    }
    return record;
}

void BM_MergeKeyRecordInto40Keys(benchmark::State& state) {
    std::string table = "0000";
    for (int key = 0; key < 40; ++key) {
        table = MergeKeyRecord(table, KeyRecord(key));
    }
    const std::string record = KeyRecord(20);
    for (auto _ : state) {
        benchmark::DoNotOptimize(MergeKeyRecord(table, record));
    }
    state.counters["tableBytes"] = static_cast<double>(table.size() / 2);
}
BENCHMARK(BM_MergeKeyRecordInto40Keys);

}  // namespace
