// Transfers from the simulated demo instrument through the real main window, round after
// round, with a random fault each (the cable pulled at a random exchange, one failed read or
// write, a handle or the device that cannot be opened, slow answers) and the window closed at
// a random moment in about half of them. Every round must end in time, leave the device and
// its handles closed, prompt only on the GUI thread, and write the upload data file only
// after a complete transfer, with exactly the instrument's components in it.
//
//   transfer_soak [--rounds N] [--seed S] [--round R]
#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>

#include "SoakOptions.h"
#include "SoakPrompter.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "instrument/DemoInspection.h"
#include "instrument/SimulatedInstrument.h"
#include "instrument/TransferSession.h"
#include "model/FileIo.h"
#include "model/UploadFile.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

constexpr auto roundLimit = 30s;

// Ends the process when a round outlives its limit: a hang must not pass as a slow run.
class Watchdog {
public:
    Watchdog() : thread_([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        thread_.join();
    }
    void arm(std::string where) {
        std::lock_guard lock(mutex_);
        where_ = std::move(where);
        deadline_ = Clock::now() + roundLimit;
    }

private:
    void watch() {
        for (;;) {
            std::this_thread::sleep_for(100ms);
            std::lock_guard lock(mutex_);
            if (done_) return;
            if (!where_.empty() && Clock::now() > deadline_) {
                std::fprintf(stderr, "transfer soak: HANG: %s did not end within %lld s\n",
                             where_.c_str(), static_cast<long long>(roundLimit.count()));
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }

    std::mutex mutex_;
    bool done_ = false;
    std::string where_;
    Clock::time_point deadline_{};
    std::thread thread_;
};

class QuietUi : public TransferUi {
public:
    void message(std::string_view, std::string_view, MessageIcon) override {}
    void endNotice(std::string_view, std::string_view) override {}
    std::optional<fs::path> askSavePath(std::string_view, std::string_view,
                                        std::string_view) override {
        return std::nullopt;
    }
    void progress(std::size_t, std::size_t) override {}
};

struct Reference {
    std::vector<std::uint8_t> stream;
    int writes = 0;
    int reads = 0;
};

// A faultless transfer of the demo: the bytes it receives and how many writes and reads it
// takes, so faults can be placed anywhere in it.
Reference reference() {
    SimulatedInstrument instrument(DemoInspection::image());
    QuietUi ui;
    TransferSession session(instrument, ui);
    session.OnDataTransfer();
    session.wait();
    Reference r{session.receivedBytes()};
    for (const std::string& call : instrument.calls()) {
        r.writes += call.rfind("write", 0) == 0;
        r.reads += call.rfind("read", 0) == 0;
    }
    return r;
}

enum FaultKind { None, CablePulled, FailedRead, FailedWrite, FailedHandle, OpenFails, Kinds };
const char* const kindNames[] = {"none",         "cable pulled",  "failed read",
                                 "failed write", "failed handle", "open fails"};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes on window sizes would bury the soak's own lines.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg && type != QtWarningMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
        }
    });
    QApplication app(argc, argv);
    FileIo::reportOversizeWrites();
    const SoakOptions options = SoakOptions::parse(argc, argv, 2000);
    QTemporaryDir folder;
    const ComponentList demo = DemoInspection::components();
    const MemoryImage image = DemoInspection::image();
    const Reference ref = reference();
    std::printf("transfer soak: seed %llu, %d rounds, %d writes and %d reads a transfer\n",
                static_cast<unsigned long long>(options.seed), options.rounds, ref.writes,
                ref.reads);

    Watchdog watchdog;
    int byKind[Kinds] = {};
    int saved = 0, closedEarly = 0, failures = 0;
    Clock::duration slowest{};
    const int first = options.onlyRound >= 0 ? options.onlyRound : 0;
    const int last = options.onlyRound >= 0 ? options.onlyRound + 1 : options.rounds;
    for (int round = first; round < last; ++round) {
        const std::string where = options.where(round);
        auto random = options.generatorFor(round);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

        SimulatedFaults faults;
        const auto kind = static_cast<FaultKind>(pick(Kinds));
        switch (kind) {
            case CablePulled:
                faults.cablePulled = true;
                if (pick(2)) {
                    faults.failingRead = 1 + pick(ref.reads);
                } else {
                    faults.failingWrite = 1 + pick(ref.writes);
                }
                break;
            case FailedRead:
                faults.failingRead = 1 + pick(ref.reads);
                break;
            case FailedWrite:
                faults.failingWrite = 1 + pick(ref.writes);
                break;
            case FailedHandle:
                if (pick(2)) {
                    faults.readHandleFails = true;
                } else {
                    faults.writeHandleFails = true;
                }
                break;
            case OpenFails:
                faults.openFails = true;
                break;
            default:
                break;
        }
        if (pick(2)) faults.delay = std::chrono::microseconds(pick(400));
        const bool closeEarly = pick(2) == 1;
        const auto closeAfter = std::chrono::microseconds(
            pick(ref.reads * static_cast<int>(faults.delay.count() + 40)));
        const bool cancelSave = pick(10) == 0;
        ++byKind[kind];

        SimulatedInstrument instrument(image, faults);
        instrument.keepCallLog(false);
        const fs::path target = fs::path(folder.path().toStdString()) / "round.vexo";
        SoakPrompter prompter;
        prompter.savePath = [&]() -> std::optional<QString> {
            if (cancelSave) return std::nullopt;
            return QString::fromStdString(target.string());
        };

        std::vector<std::string> broken;
        watchdog.arm(where);
        const auto start = Clock::now();
        std::vector<std::uint8_t> received;
        bool closed = false;
        {
            CMainFrame frame(prompter, &instrument);
            frame.show();
            // As the user starts it: a disabled command would start nothing.
            QAction* transfer = frame.action(ID_DATA_TRANSFER);
            if (!transfer->isEnabled()) broken.push_back("数据传输 is disabled");
            transfer->trigger();
            while (frame.transferSession()->running()) {
                if (closeEarly && Clock::now() - start >= closeAfter) {
                    closed = frame.close();
                    break;
                }
                QCoreApplication::processEvents();
                QThread::usleep(20);
            }
            QCoreApplication::processEvents();
            if (frame.transferSession()->running()) broken.push_back("still running after close");
            received = frame.transferSession()->receivedBytes();
        }
        slowest = std::max(slowest, Clock::now() - start);
        closedEarly += closed;

        for (const std::string& f : prompter.faults) broken.push_back(f);
        if (instrument.deviceOpen()) broken.push_back("device left open");
        if (instrument.openHandleCount() != 0) broken.push_back("a handle left open");
        std::error_code ec;
        if (fs::exists(target, ec)) {
            ++saved;
            const Result<ComponentList> back = UploadFile::read(target);
            if (!back.ok() || *back != demo) broken.push_back("the file is not the instrument's");
            if (received != ref.stream) broken.push_back("a file after an incomplete transfer");
            fs::remove(target, ec);
        } else if (kind == None && !closeEarly && !cancelSave) {
            broken.push_back("a complete transfer wrote no file");
        }
        if (kind == None && !closed && !cancelSave && prompter.shown.size() != 1) {
            broken.push_back("a faultless transfer showed " +
                             std::to_string(prompter.shown.size()) + " messages");
        }
        for (const std::string& b : broken) {
            std::fprintf(stderr, "transfer soak: FAILED: %s (fault %s, delay %lld us%s): %s\n",
                         where.c_str(), kindNames[kind],
                         static_cast<long long>(faults.delay.count()),
                         closeEarly ? ", window closed" : "", b.c_str());
            ++failures;
        }
    }
    watchdog.arm({});

    std::printf(
        "transfer soak: %d rounds, %d files written, %d windows closed during a transfer, "
        "slowest round %lld ms; faults:",
        last - first, saved, closedEarly,
        static_cast<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count()));
    for (int k = 0; k < Kinds; ++k)
        std::printf(" %s %d%s", kindNames[k], byKind[k], k + 1 < Kinds ? "," : "\n");
    if (failures > 0) {
        std::printf("transfer soak: %d failure(s)\n", failures);
        return 1;
    }
    std::printf("transfer soak: passed\n");
    return 0;
}
