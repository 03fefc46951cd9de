#include <gtest/gtest.h>

#include "InstrumentSamples.h"
#include "ScriptedTransferUi.h"
#include "TransferRun.h"
#include "instrument/DemoInspection.h"
#include "model/UploadFile.h"
#include "support/TempDir.h"

using samples::withPoints;
using Requests = std::vector<std::string>;

namespace {

const ShownMessage endNotice{"提示信息", "下位机测量数据传输结束！", MessageIcon::Information};

ComponentList thicknessComponents(int count, int points) {
    return ComponentList(
        static_cast<std::size_t>(count),
        withPoints("H001", samples::Pairs(static_cast<std::size_t>(points), {33, 0})));
}

Requests recordRequests(int blocks) {
    Requests r{"header"};
    for (int j = 0; j < blocks; ++j) r.push_back("r" + std::to_string(j));
    r.push_back("mid");
    return r;
}

Requests plus(Requests a, const Requests& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void expectClosed(const SimulatedInstrument& sim) {
    EXPECT_FALSE(sim.deviceOpen());
    EXPECT_EQ(sim.openHandleCount(), 0u);
}

}  // namespace

class Transfer : public ::testing::Test {
protected:
    ComponentList readBack(const std::filesystem::path& path) {
        Result<ComponentList> r = UploadFile::read(path);
        EXPECT_TRUE(r.ok()) << r.message();
        return r.ok() ? std::move(*r) : ComponentList();
    }

    TempDir dir;
    ScriptedTransferUi ui;
};

TEST_F(Transfer, DemoArrivesWholeAndIsSaved) {
    SimulatedInstrument sim = SimulatedInstrument::demo();
    ui.answerSave(dir / "demo.vexo");
    const TransferRun run = TransferRun::of(sim, ui);

    ASSERT_TRUE(run.started);
    EXPECT_EQ(ui.messages(), std::vector<ShownMessage>{endNotice});
    EXPECT_EQ(run.received, DemoInspection::image().bytes());
    EXPECT_EQ(run.recordCount, 12);
    EXPECT_EQ(run.saved, dir / "demo.vexo");
    EXPECT_EQ(readBack(dir / "demo.vexo"), DemoInspection::components());
    EXPECT_EQ(ui.lastBlocksDone(), ui.lastBlocksExpected());
    expectClosed(sim);

    // Commands go out on the second handle, replies come in on the first; the device is
    // closed in the documented order after the closing command.
    const auto calls = sim.calls();
    ASSERT_GE(calls.size(), 11u);
    EXPECT_EQ(Requests(calls.begin(), calls.begin() + 5),
              (Requests{"open 0", "name 0", "handle sim:0 = 1", "name 0", "handle sim:0 = 2"}));
    EXPECT_EQ(Requests(calls.end() - 6, calls.end()),
              (Requests{"write 2: 00 00 00 00 00 00", "abortWrite 0", "abortRead 0",
                        "closeHandle 2", "closeHandle 1", "close 0"}));
    for (const std::string& call : calls) {
        if (call.starts_with("write")) {
            EXPECT_TRUE(call.starts_with("write 2:")) << call;
        } else if (call.starts_with("read")) {
            EXPECT_EQ(call, "read 1");
        }
    }
}

TEST_F(Transfer, CommandBytesAreThoseOfTheProtocol) {
    // A slow instrument changes nothing but the pace.
    SimulatedInstrument sim(samples::imageOf(thicknessComponents(1, 10)),
                            {.delay = std::chrono::microseconds(50)});
    ui.answerSave(dir / "one.vexo");
    const TransferRun run = TransferRun::of(sim, ui);
    EXPECT_EQ(run.payloadLength, 10);
    EXPECT_EQ(sim.commands(), (std::vector<std::vector<std::uint8_t>>{{0, 0, 0, 0},
                                                                      {0, 0, 0, 0, 0},
                                                                      {0, 0xA8, 0, 0, 0},
                                                                      {0, 0xAB, 0, 0, 0},
                                                                      {0, 0xAC, 0, 0, 0},
                                                                      {0, 0, 0, 0, 0, 0}}));
}

TEST_F(Transfer, NoRecordsMeansOneRecordBlockAndNoUpload) {
    // Bytes 19-31 of the header area are taken as a "last record": here a thickness record
    // with 10 values, so the payload phase fetches 10 bytes, but nothing is decoded or saved.
    std::vector<std::uint8_t> memory(11100, 0);
    SimulatedInstrument empty(memory);
    TransferRun run = TransferRun::of(empty, ui);
    EXPECT_EQ(TransferRun::requests(empty), plus(recordRequests(1), {"p171", "closing"}));
    EXPECT_EQ(run.received.size(), 32u);

    memory[19] = 17;
    memory[24] = 10;
    SimulatedInstrument announced(memory);
    run = TransferRun::of(announced, ui);
    EXPECT_EQ(TransferRun::requests(announced),
              plus(recordRequests(1), {"p171", "p172", "closing"}));
    EXPECT_EQ(run.payloadLength, 10);
    EXPECT_EQ(run.received.size(), 42u);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(ui.saveDialogs(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    expectClosed(announced);
}

TEST_F(Transfer, RecordsEndingOnABlockBoundaryCostOneDiscardedBlock) {
    // 32 records end at byte 448, the last byte of block 6; block 7 is read and thrown away.
    const ComponentList list = thicknessComponents(32, 1);
    const MemoryImage image = samples::imageOf(list);
    std::vector<std::uint8_t> memory = image.memory();
    std::fill(memory.begin() + 448, memory.begin() + 512, 0xEE);
    SimulatedInstrument sim(memory);
    ui.answerSave(dir / "32.vexo");
    const TransferRun run = TransferRun::of(sim, ui);
    EXPECT_EQ(TransferRun::requests(sim), plus(recordRequests(8), {"p171", "p172", "closing"}));
    EXPECT_EQ(run.received, image.bytes());
    EXPECT_EQ(readBack(dir / "32.vexo"), list);
}

TEST_F(Transfer, PayloadEndingOnABlockBoundaryCostsOneMoreBlockAndNothingOfIt) {
    for (int length : {71, 72}) {
        const MemoryImage image = samples::imageOf(thicknessComponents(1, length));
        std::vector<std::uint8_t> memory = image.memory();
        memory.resize(174 * 64, 0xEE);  // block 173 holds no payload
        SimulatedInstrument sim(memory);
        ScriptedTransferUi scripted;
        scripted.answerSave(std::nullopt);
        const TransferRun run = TransferRun::of(sim, scripted);
        Requests expected = plus(recordRequests(1), {"p171", "p172"});
        if (length == 72) expected.push_back("p173");
        expected.push_back("closing");
        EXPECT_EQ(TransferRun::requests(sim), expected) << length;
        EXPECT_EQ(run.received, image.bytes()) << length;
        EXPECT_EQ(scripted.messages(), std::vector<ShownMessage>{endNotice});
    }
}

TEST_F(Transfer, UnknownLastTypeEndsThePayloadAtOnceAndTheUploadStillRuns) {
    MemoryImage image =
        samples::imageOf({withPoints("H000", {}), withPoints("H001", {{30, 0}, {41, 0}}),
                          withPoints("H002", {{5, 0}})});
    std::vector<std::uint8_t> bytes = image.bytes();
    bytes[32 + 2 * 13] = 0;  // the last record's code now reads "0002"
    const Result<MemoryImage> spoilt = MemoryImage::fromBytes(bytes);
    ASSERT_TRUE(spoilt.ok());
    SimulatedInstrument sim(spoilt.value());
    ui.answerSave(dir / "short.vexo");
    const TransferRun run = TransferRun::of(sim, ui);

    EXPECT_EQ(run.payloadLength, 0);
    EXPECT_EQ(TransferRun::requests(sim), plus(recordRequests(2), {"p171", "closing"}));
    // H001's values were never fetched, so it is dropped, and the user is told.
    EXPECT_EQ(
        ui.messages(),
        (std::vector<ShownMessage>{
            endNotice, {"DEBUG372", "有1条记录的测量数据不完整，已略去。", MessageIcon::Error}}));
    EXPECT_EQ(samples::codes(readBack(dir / "short.vexo")), (Requests{"H000"}));
    EXPECT_EQ(run.recordCount, 1);
}

TEST_F(Transfer, HeaderOneZeroAnnounces255Records) {
    const ComponentList list = thicknessComponents(255, 2);
    const MemoryImage image = samples::imageOf(list);
    ASSERT_EQ(image.bytes()[0], 1);
    ASSERT_EQ(image.bytes()[1], 0);
    SimulatedInstrument sim(image);
    ui.answerSave(dir / "255.vexo");
    const TransferRun run = TransferRun::of(sim, ui);
    const Requests requests = TransferRun::requests(sim);
    EXPECT_EQ(Requests(requests.begin(), requests.begin() + 55), recordRequests(53));
    EXPECT_EQ(run.recordCount, 255);
    EXPECT_EQ(readBack(dir / "255.vexo"), list);
}

TEST_F(Transfer, RecordBlockNumbersWrapAt256) {
    // N = 4 × 255 + 238 = 1258: 16386 stream bytes, so block 256 is asked for as block 0 and
    // its first two bytes end the stream. Bytes of 48 make every record an unknown type.
    std::vector<std::uint8_t> memory(16384, 48);
    memory[0] = 4;
    memory[1] = 238;
    SimulatedInstrument sim(memory);
    ui.answerSave(std::nullopt);
    const TransferRun run = TransferRun::of(sim, ui);

    const Requests requests = TransferRun::requests(sim);
    ASSERT_EQ(requests.size(), 1u + 257 + 1 + 1 + 1);
    EXPECT_EQ(requests[256], "r255");
    EXPECT_EQ(requests[257], "r0");
    ASSERT_EQ(run.received.size(), 16386u);
    EXPECT_EQ(run.received[16384], 4);
    EXPECT_EQ(run.received[16385], 238);
    EXPECT_EQ(run.recordCount, 0);
}

TEST_F(Transfer, CancelledOrFailedSaveLeavesNoFile) {
    SimulatedInstrument sim = SimulatedInstrument::demo();
    ui.answerSave(std::nullopt);
    EXPECT_FALSE(TransferRun::of(sim, ui).saved);
    EXPECT_EQ(ui.messages(), std::vector<ShownMessage>{endNotice});
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    // The chosen name is taken by a folder: the user hears why, and nothing is left behind.
    std::filesystem::create_directory(dir / "taken.vexo");
    ScriptedTransferUi again;
    again.answerSave(dir / "taken.vexo");
    EXPECT_FALSE(TransferRun::of(sim, again).saved);
    const auto messages = again.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].caption, "提示信息");
    EXPECT_EQ(messages[1].icon, MessageIcon::Error);
    EXPECT_NE(messages[1].text.find("taken.vexo"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    expectClosed(sim);
}
