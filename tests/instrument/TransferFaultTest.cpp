#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "InstrumentSamples.h"
#include "ScriptedTransferUi.h"
#include "TransferRun.h"
#include "instrument/DemoInspection.h"
#include "model/UploadFile.h"
#include "support/TempDir.h"

using samples::withPoints;
using Requests = std::vector<std::string>;

namespace {

const ShownMessage writeFailed{"DEBUG372", "端点2下传失败！如果设备断开过那么请先关闭本程序",
                               MessageIcon::Error};
const ShownMessage readFailed{"DEBUG372", "端点2上传失败！如果设备断开过那么请先关闭本程序",
                              MessageIcon::Error};
const ShownMessage endNotice{"提示信息", "下位机测量数据传输结束！", MessageIcon::Information};

void expectClosed(const SimulatedInstrument& sim) {
    EXPECT_FALSE(sim.deviceOpen());
    EXPECT_EQ(sim.openHandleCount(), 0u);
}

class NoThreads : public TransferSession {
public:
    using TransferSession::TransferSession;

protected:
    bool launchWorker() override { return false; }
};

// A worker whose thread has been started but has not yet taken its first step.
class StartsLate : public TransferSession {
public:
    using TransferSession::TransferSession;
    void takeFirstStep() { TransferWorker(); }

protected:
    bool launchWorker() override { return true; }
};

}  // namespace

TEST(TransferStart, FailuresAreReportedAndLeaveNothingOpen) {
    struct Case {
        SimulatedFaults faults;
        std::string text;
        Requests calls;
    };
    const std::vector<Case> cases{
        {{.openFails = true}, "打开设备失败！", {"open 0 failed"}},
        {{.nameUnavailable = true}, "无法打开设备！", {"open 0", "name 0 failed", "close 0"}},
        {{.readHandleFails = true},
         "无法打开设备！",
         {"open 0", "name 0", "handle sim:0 failed", "close 0"}},
        {{.writeHandleFails = true},
         "无法打开设备！",
         {"open 0", "name 0", "handle sim:0 = 1", "name 0", "handle sim:0 failed", "closeHandle 1",
          "close 0"}},
    };
    for (const Case& c : cases) {
        SimulatedInstrument sim = SimulatedInstrument::demo(c.faults);
        ScriptedTransferUi ui;
        TransferSession session(sim, ui);
        session.setEndListener([] { ADD_FAILURE() << "nothing was started, so nothing ends"; });
        EXPECT_FALSE(session.OnDataTransfer()) << c.text;
        EXPECT_EQ(session.state(), TransferSession::State::Idle);
        EXPECT_EQ(ui.messages(),
                  (std::vector<ShownMessage>{{"DEBUG372", c.text, MessageIcon::Error}}));
        EXPECT_EQ(sim.calls(), c.calls);
        expectClosed(sim);
    }

    SimulatedInstrument sim = SimulatedInstrument::demo();
    ScriptedTransferUi ui;
    NoThreads session(sim, ui);
    EXPECT_FALSE(session.OnDataTransfer());
    EXPECT_FALSE(session.running());
    EXPECT_EQ(ui.messages(),
              (std::vector<ShownMessage>{{"DEBUG372", "端点2线程启动失败", MessageIcon::Error}}));
    EXPECT_EQ(sim.calls().back(), "close 0");
    expectClosed(sim);
}

TEST(TransferFaults, CablePulledInTheRecordPhase) {
    // The failing call, the intermediate request's write and read, then closing: the payload
    // phase is skipped because the record stream is incomplete.
    for (bool onRead : {true, false}) {
        SimulatedFaults faults{.cablePulled = true};
        (onRead ? faults.failingRead : faults.failingWrite) = 4;
        SimulatedInstrument sim = SimulatedInstrument::demo(faults);
        ScriptedTransferUi ui;
        const TransferRun run = TransferRun::of(sim, ui);
        EXPECT_EQ(ui.messages(), (std::vector<ShownMessage>{onRead ? readFailed : writeFailed,
                                                            writeFailed, readFailed}));
        EXPECT_EQ(TransferRun::requests(sim),
                  (Requests{"header", "r0", "r1", "r2", "mid", "closing"}));
        EXPECT_FALSE(run.saved);
        expectClosed(sim);
    }
}

TEST(TransferFaults, SingleFailuresFollowTheirSteps) {
    {
        // A failed header read announces nothing: one record block, the payload of the
        // header's "last record", no upload.
        SimulatedInstrument sim = SimulatedInstrument::demo({.failingRead = 1});
        ScriptedTransferUi ui;
        const TransferRun run = TransferRun::of(sim, ui);
        EXPECT_EQ(ui.messages(), std::vector<ShownMessage>{readFailed});
        EXPECT_EQ(run.recordCount, 0);
        EXPECT_EQ(run.received.size(), 32u);
        EXPECT_EQ(TransferRun::requests(sim), (Requests{"header", "r0", "mid", "p171", "closing"}));
    }
    {
        // A record request lost once: the intermediate request still goes, the payload not.
        SimulatedInstrument sim = SimulatedInstrument::demo({.failingWrite = 3});
        ScriptedTransferUi ui;
        const TransferRun run = TransferRun::of(sim, ui);
        EXPECT_EQ(ui.messages(), std::vector<ShownMessage>{writeFailed});
        EXPECT_EQ(TransferRun::requests(sim), (Requests{"header", "r0", "r1", "mid", "closing"}));
        EXPECT_FALSE(run.saved);
        expectClosed(sim);
    }
}

TEST(TransferFaults, PulledCableAtEveryExchangeNeverSavesAndAlwaysCloses) {
    TempDir dir;
    const MemoryImage image = samples::imageOf({withPoints("H001", samples::Pairs(60, {30, 0})),
                                                withPoints("W001", {{30, 100}}, {{35, 140}})});
    SimulatedInstrument clean(image);
    ScriptedTransferUi cleanUi;
    cleanUi.answerSave(dir / "clean.vexo");
    ASSERT_TRUE(TransferRun::of(clean, cleanUi).saved);
    const auto writes = static_cast<int>(clean.commands().size());
    const auto calls = clean.calls();
    const auto reads = static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [](auto& c) { return c.starts_with("read"); }));
    ASSERT_EQ(writes, reads + 1);  // the closing command has no reply

    for (bool onRead : {false, true}) {
        for (int k = 1; k <= (onRead ? reads : writes - 1); ++k) {
            SimulatedFaults faults{.cablePulled = true};
            (onRead ? faults.failingRead : faults.failingWrite) = k;
            SimulatedInstrument sim(image, faults);
            ScriptedTransferUi ui;  // fails the test if a save dialog appears
            TransferSession session(sim, ui);
            ASSERT_TRUE(session.OnDataTransfer());
            session.wait();
            const std::string where = (onRead ? "read " : "write ") + std::to_string(k);
            EXPECT_FALSE(session.running()) << where;
            EXPECT_FALSE(session.savedUpload()) << where;
            const auto messages = ui.messages();
            EXPECT_FALSE(messages.empty()) << where;
            for (const ShownMessage& m : messages) {
                EXPECT_TRUE(m == readFailed || m == writeFailed) << where;
            }
            expectClosed(sim);
        }
    }

    // Pulled only at the closing command: the upload was already saved.
    SimulatedInstrument late(image, {.failingWrite = writes, .cablePulled = true});
    ScriptedTransferUi lateUi;
    lateUi.answerSave(dir / "late.vexo");
    EXPECT_TRUE(TransferRun::of(late, lateUi).saved);
    EXPECT_EQ(lateUi.messages(), std::vector<ShownMessage>{endNotice});
    expectClosed(late);
}

TEST(TransferControl, SecondStartIsRefusedWhileOneRuns) {
    TempDir dir;
    SimulatedInstrument sim = SimulatedInstrument::demo();
    ScriptedTransferUi ui;
    ui.holdAtEndNotice();
    ui.answerSave(dir / "first.vexo");
    TransferSession session(sim, ui);
    ASSERT_TRUE(session.OnDataTransfer());
    ui.waitUntilHeld();
    const auto callsBefore = sim.calls().size();

    EXPECT_FALSE(session.OnDataTransfer());
    EXPECT_EQ(sim.calls().size(), callsBefore) << "the running transfer was touched";
    ui.release();
    session.wait();

    EXPECT_EQ(ui.messages(),
              (std::vector<ShownMessage>{endNotice,
                                         {"提示信息", "数据传输正在进行，请等本次传输结束后再试。",
                                          MessageIcon::Information}}));
    ASSERT_TRUE(session.savedUpload());
    EXPECT_EQ(*UploadFile::read(dir / "first.vexo"), DemoInspection::components());
    expectClosed(sim);

    // Once it has ended, the next start is accepted again.
    ui.answerSave(std::nullopt);
    EXPECT_TRUE(session.OnDataTransfer());
    session.wait();
}

TEST(TransferControl, StopEndsARunningTransferAndClosesTheDevice) {
    SimulatedInstrument sim = SimulatedInstrument::demo();
    ScriptedTransferUi ui;
    ui.holdAtProgress(3);  // inside the record phase
    TransferSession session(sim, ui);
    std::vector<bool> endedClosed;
    session.setEndListener([&] {
        endedClosed.push_back(session.state() == TransferSession::State::Idle && !sim.deviceOpen());
    });
    ASSERT_TRUE(session.OnDataTransfer());
    ui.waitUntilHeld();

    std::thread closing([&] { session.stop(); });
    while (session.state() != TransferSession::State::Stopping) std::this_thread::yield();
    ui.release();
    closing.join();

    EXPECT_FALSE(session.running());
    EXPECT_EQ(endedClosed, std::vector<bool>{true});
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(TransferRun::requests(sim), (Requests{"header", "r0", "r1", "mid", "closing"}));
    EXPECT_EQ(sim.calls().back(), "close 0");
    expectClosed(sim);
    session.stop();  // harmless when idle
}

TEST(TransferControl, StopBeforeTheWorkersFirstStepExchangesNothingAndClosesTheDevice) {
    SimulatedInstrument sim = SimulatedInstrument::demo();
    ScriptedTransferUi ui;
    StartsLate session(sim, ui);
    int ends = 0;
    session.setEndListener([&] { ++ends; });
    ASSERT_TRUE(session.OnDataTransfer());
    session.stop();
    EXPECT_EQ(session.state(), TransferSession::State::Stopping);
    EXPECT_TRUE(sim.deviceOpen());

    session.takeFirstStep();
    EXPECT_EQ(session.state(), TransferSession::State::Idle);
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(sim.commands().empty());
    EXPECT_TRUE(session.receivedBytes().empty());
    EXPECT_EQ(session.lastRecordCount(), 0);
    EXPECT_EQ(session.lastPayloadLength(), 0);
    expectClosed(sim);
    EXPECT_TRUE(ui.messages().empty());
}
