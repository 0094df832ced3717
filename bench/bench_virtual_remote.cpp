// What the virtual remote costs the processor, apart from the transfer
// pauses it makes on purpose: synthesising a key press, an empty capture
// poll (the collector makes one after another), and saving the flash.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "device/FactoryTable.h"
#include "device/SignalSynthesiser.h"
#include "device/VirtualRemote.h"

namespace {

using namespace kv::device;

class NoWaitClock final : public Clock {
  public:
    TimeOfDay Now() override { return {}; }
    void Pause(std::chrono::milliseconds) override {}
};

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "bench-remote-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

constexpr TransferTimes kNoTransferTime{std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                                        std::chrono::milliseconds(0)};

void BM_SynthesiseCapture(benchmark::State& state) {
    const IrProtocol protocol = AllIrProtocols()[static_cast<std::size_t>(state.range(0))];
    const IrFieldLimits limits = IrProtocolLimits(protocol);
    const SignalRequest request{protocol, limits.maxAddress, limits.maxCommand,
                                static_cast<int>(state.range(1)), false};
    ReceiverModel receiver;
    for (auto _ : state) {
        receiver.seed++;
        benchmark::DoNotOptimize(SynthesiseCapture(request, receiver));
    }
    state.SetLabel(std::string(IrProtocolName(protocol)));
}
BENCHMARK(BM_SynthesiseCapture)
    ->ArgsProduct({benchmark::CreateDenseRange(0, static_cast<int>(AllIrProtocols().size()) - 1, 1),
                   {1, 30}});

void BM_EmptyCapturePoll(benchmark::State& state) {
    ScratchFolder folder;
    NoWaitClock clock;
    const auto remote =
        VirtualRemote::Open(folder.Path(), clock, DefaultRemoteIdentity(), kNoTransferTime).remote;
    remote->SetCodeCarrierWave();
    std::string buffer(kCaptureSize, '\0');
    for (auto _ : state) {
        benchmark::DoNotOptimize(remote->RCollectCodeInfo(buffer.data()));
    }
}
BENCHMARK(BM_EmptyCapturePoll);

void BM_DeliveredCapture(benchmark::State& state) {
    ScratchFolder folder;
    NoWaitClock clock;
    const auto remote =
        VirtualRemote::Open(folder.Path(), clock, DefaultRemoteIdentity(), kNoTransferTime).remote;
    std::string buffer(kCaptureSize, '\0');
    for (auto _ : state) {
        (void)remote->PressRoomKey(IrProtocol::Nec, 0x04, 0x08);
        remote->SetCodeCarrierWave();
        benchmark::DoNotOptimize(remote->RCollectCodeInfo(buffer.data()));
    }
}
BENCHMARK(BM_DeliveredCapture);

// Dominated by the two flushes to the disk that make the save crash-safe.
void BM_FlashWrite(benchmark::State& state) {
    ScratchFolder folder;
    NoWaitClock clock;
    const auto remote =
        VirtualRemote::Open(folder.Path(), clock, DefaultRemoteIdentity(), kNoTransferTime).remote;
    const std::string table = FactoryKeyCodeTable();
    for (auto _ : state) {
        benchmark::DoNotOptimize(remote->WCodeDataKVHOTEL(table.c_str()));
    }
}
BENCHMARK(BM_FlashWrite)->Unit(benchmark::kMillisecond);

}  // namespace
