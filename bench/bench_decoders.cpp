#include <benchmark/benchmark.h>

#include <string>

#include "encoder/FrameDecoders.h"
#include "encoder/LearnedCodeEncoder.h"
#include "tests/encoder/NecStyle.h"

namespace {

using kv::encoder::SymbolTimingTable;

// The rest of an NEC data frame after its head: 32 symbols, the end mark and the gap group.
std::string NecFrameRest() {
    const std::string frame = kv::encoder::testing::NecDataFrame();
    return frame.substr(8) + "FEFE0028EDED";
}

SymbolTimingTable NecTable() {
    SymbolTimingTable table;
    kv::encoder::FillSymbolTimingTable(kv::encoder::testing::NecStyle(), table);
    return table;
}

template <std::string (*Decode)(std::string_view, const SymbolTimingTable&)>
void BM_Decode(benchmark::State& state) {
    const std::string rest = NecFrameRest();
    const SymbolTimingTable table = NecTable();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Decode(rest, table));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rest.size()));
}

BENCHMARK(BM_Decode<kv::encoder::DecodeFrameMarkFirst>)->Name("DecodeFrameMarkFirst");
BENCHMARK(BM_Decode<kv::encoder::DecodeFrameSpaceFirst>)->Name("DecodeFrameSpaceFirst");
BENCHMARK(BM_Decode<kv::encoder::DecodeSplitFrameSpaceFirst>)->Name("DecodeSplitFrameSpaceFirst");
BENCHMARK(BM_Decode<kv::encoder::DecodeSplitFrameMarkFirst>)->Name("DecodeSplitFrameMarkFirst");

}  // namespace
