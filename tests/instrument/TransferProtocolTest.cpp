#include <gtest/gtest.h>

#include "InstrumentSamples.h"
#include "TransferRun.h"
#include "instrument/DemoInspection.h"
#include "instrument/TransferProtocol.h"

using Requests = std::vector<std::string>;

namespace {

// The exchange on this thread, over a device opened as the session would open it.
TransferResult exchange(SimulatedInstrument& sim, TransferProtocol::Hooks hooks) {
    EXPECT_TRUE(sim.openDevice(0));
    const UsbLink::Handle read = sim.openHandle(SimulatedInstrument::name);
    const UsbLink::Handle write = sim.openHandle(SimulatedInstrument::name);
    return TransferProtocol(sim, read, write, std::move(hooks)).run();
}

}  // namespace

TEST(TransferProtocol, CancelEndsThePhaseAfterItsBlockAndTheClosingCommandStillGoes) {
    // The demo's record stream takes three blocks.
    struct Case {
        std::size_t cancelAfter;  // blocks received
        Requests requests;
    };
    const std::vector<Case> cases{
        {0, {"header", "mid", "closing"}},
        {2, {"header", "r0", "mid", "closing"}},
        {4, {"header", "r0", "r1", "r2", "mid", "closing"}},
        {6, {"header", "r0", "r1", "r2", "mid", "p171", "closing"}},
    };
    for (const Case& c : cases) {
        SimulatedInstrument sim = SimulatedInstrument::demo();
        std::size_t done = 0;
        int uploads = 0, failures = 0;
        TransferProtocol::Hooks hooks;
        hooks.progress = [&](std::size_t d, std::size_t expected) {
            done = d;
            EXPECT_LE(d, expected);
        };
        hooks.cancelled = [&] { return done >= c.cancelAfter; };
        hooks.failure = [&](std::string_view) { ++failures; };
        hooks.uploaded = [&](TransferResult&) { ++uploads; };
        const TransferResult result = exchange(sim, hooks);
        EXPECT_EQ(TransferRun::requests(sim), c.requests) << c.cancelAfter;
        EXPECT_FALSE(result.complete);
        EXPECT_EQ(uploads, 0);
        EXPECT_EQ(failures, 0);
        EXPECT_TRUE(sim.deviceOpen()) << "the session closes the device, not the protocol";
    }
}

TEST(TransferProtocol, UploadStepSeesTheWholeStreamBeforeTheClosingCommand) {
    SimulatedInstrument sim = SimulatedInstrument::demo();
    const MemoryImage demo = DemoInspection::image();
    int uploads = 0;
    TransferProtocol::Hooks hooks;
    hooks.uploaded = [&](TransferResult& result) {
        ++uploads;
        EXPECT_EQ(result.received, demo.bytes());
        EXPECT_EQ(result.recordCount, 12);
        EXPECT_TRUE(result.complete);
        EXPECT_EQ(sim.commands().back().size(), 5u) << "the closing command went first";
        result.recordCount = 7;  // the components the step kept
    };
    const TransferResult result = exchange(sim, hooks);
    EXPECT_EQ(uploads, 1);
    EXPECT_EQ(result.recordCount, 7);
    EXPECT_EQ(result.received, demo.bytes());
    EXPECT_EQ(result.payloadLength, static_cast<std::int32_t>(demo.payload().size()));
    EXPECT_EQ(sim.commands().back(), std::vector<std::uint8_t>(6, 0));

    // Without hooks the exchange is the same.
    SimulatedInstrument bare = SimulatedInstrument::demo();
    EXPECT_EQ(exchange(bare, {}).received, demo.bytes());
    EXPECT_EQ(TransferRun::requests(bare), TransferRun::requests(sim));
}

TEST(TransferProtocol, ProgressCountsBlocksAgainstWhatTheStreamHasAnnouncedSoFar) {
    // One record with ten values: the header, one record block, the intermediate reply,
    // payload blocks 171 and 172. A block is counted as it arrives, so the record block's
    // news (two payload blocks, not one) shows from the next report on.
    SimulatedInstrument sim(samples::imageOf({samples::withPoints("H001", samples::Pairs(10))}));
    std::vector<std::pair<std::size_t, std::size_t>> reports;
    TransferProtocol::Hooks hooks;
    hooks.progress = [&](std::size_t done, std::size_t expected) {
        reports.emplace_back(done, expected);
    };
    exchange(sim, hooks);
    EXPECT_EQ(reports, (std::vector<std::pair<std::size_t, std::size_t>>{
                           {1, 4}, {2, 4}, {3, 5}, {4, 5}, {5, 5}}));
}

TEST(TransferProtocol, PayloadBlocksPast255CarryTheHighByte) {
    const samples::Pairs full(255, {30, 100});
    const ComponentList grids(4, samples::withPoints("W001", full, full));
    const MemoryImage image = samples::imageOf(grids);
    SimulatedInstrument sim(image);
    const TransferResult result = exchange(sim, {});
    EXPECT_EQ(result.received, image.bytes());
    const Requests requests = TransferRun::requests(sim);
    EXPECT_EQ(Requests(requests.end() - 4, requests.end()),
              (Requests{"p265", "p266", "p267", "closing"}));
}
