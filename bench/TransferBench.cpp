// A whole simulated transfer of the largest inspection the instrument's memory holds (843
// records whose values fill the payload's offset range), without delay, and the decoding of
// its bytes alone. Work runs on the transfer's worker thread, so times are wall-clock.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "instrument/ConsoleTransferUi.h"
#include "instrument/InstrumentMemory.h"
#include "instrument/MemoryImage.h"
#include "instrument/SimulatedInstrument.h"
#include "instrument/TransferSession.h"
#include "instrument/UploadDecoder.h"

namespace {

Component uploaded(char type, int index, int horizontal, int vertical) {
    Component c;
    const std::string code = type + std::to_string(100 + index % 900);
    c.code = code;
    c.name = code;
    c.date = "25/3/12";
    c.designDiameter = 16;
    c.designCover = 50;
    c.designSpacing = type == 'W' || type == 'P' ? 100 : 0;
    c.diameterTolerance = c.thicknessTolerance = 1;
    c.spacingTolerance = 3;
    if (type == 'W') {
        c.designDiameterVert = 12;
        c.designCoverVert = 50;
        c.designSpacingVert = 100;
    }
    const bool positioned = type == 'W' || type == 'P';
    for (int j = 0; j < horizontal; ++j) {
        c.addPoint();
        c.points.back() = {static_cast<std::int16_t>(type == 'Z' ? 16 : 0),
                           static_cast<std::int16_t>(20 + j % 30), positioned ? 50 + 100 * j : 0};
    }
    for (int i = 0; i < vertical; ++i) {
        c.addPoint(true);
        c.pointsVert.back() = {0, static_cast<std::int16_t>(30 + i % 20), 80 + 100 * i};
    }
    return c;
}

// About 76 bytes of values per record, then one full grid (255 + 255 points) at the end.
const MemoryImage& largestImage() {
    static const MemoryImage image = [] {
        ComponentList list;
        for (int k = 0; k + 1 < static_cast<int>(InstrumentMemory::maxRecords); ++k) {
            switch (k % 4) {
                case 0:
                    list.push_back(uploaded('H', k, 77, 0));
                    break;
                case 1:
                    list.push_back(uploaded('Z', k, 38, 0));
                    break;
                case 2:
                    list.push_back(uploaded('W', k, 13, 12));
                    break;
                default:
                    list.push_back(uploaded('P', k, 25, 0));
            }
        }
        list.push_back(uploaded('W', 999, 255, 255));
        Result<MemoryImage> built = MemoryImage::fromComponents(list);
        if (!built) std::fprintf(stderr, "%s\n", built.message().c_str());
        return built ? std::move(built).value() : MemoryImage();
    }();
    return image;
}

void BM_FullTransfer(benchmark::State& state) {
    const MemoryImage& image = largestImage();
    SimulatedInstrument sim(image);
    sim.keepCallLog(false);
    std::ostream nowhere(nullptr);
    ConsoleTransferUi ui(nowhere, std::nullopt, false);  // the save dialog is cancelled
    TransferSession session(sim, ui);
    for (auto _ : state) {
        session.OnDataTransfer();
        session.wait();
    }
    // Header, record blocks, intermediate request, payload blocks (see the transfer).
    const std::size_t records = 32 + 13 * static_cast<std::size_t>(image.recordCount());
    const std::size_t payload = image.bytes().size() - records;
    const std::size_t exchanges = 2 + (records / 64 + 1) + ((payload + 56) / 64 + 1);
    if (session.receivedBytes() != image.bytes()) state.SkipWithError("transfer incomplete");
    const auto total = static_cast<double>(exchanges * state.iterations());
    state.counters["exchanges"] = static_cast<double>(exchanges);
    state.counters["exchanges/s"] = benchmark::Counter(total, benchmark::Counter::kIsRate);
    state.counters["s/exchange"] =
        benchmark::Counter(total, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(static_cast<std::int64_t>(image.bytes().size()) * state.iterations());
}
BENCHMARK(BM_FullTransfer)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DecodeLargestImage(benchmark::State& state) {
    const MemoryImage& image = largestImage();
    std::size_t components = 0;
    for (auto _ : state) {
        UploadDecodeResult r = UploadDecoder::decode(image.bytes(), image.recordCount());
        components = r.components.size();
        benchmark::DoNotOptimize(r);
    }
    if (components != InstrumentMemory::maxRecords) state.SkipWithError("records were dropped");
    state.counters["records"] = static_cast<double>(components);
    state.counters["bytes"] = static_cast<double>(image.bytes().size());
}
BENCHMARK(BM_DecodeLargestImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
