// The history of a project: verifying 100,000 entries (target: at most 300 ms on the
// development machine), and opening a project whose sidecar holds them against one without
// a history (the difference: at most as much again).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "document/HistoryChain.h"
#include "document/ProjectDocument.h"
#include "document/SidecarFile.h"
#include "model/ProjectFile.h"

namespace {

constexpr int entries = 100000;

// Point edits as the panel makes them, with the keys a real entry has.
const HistoryChain::Entries& longHistory() {
    static const HistoryChain::Entries history = [] {
        HistoryChain::Entries h;
        h.reserve(entries);
        for (int i = 0; i < entries; ++i) {
            HistoryChain::append(h, {{"action", "edit"},
                                     {"component", QStringLiteral("H%1").arg(1000 + i % 500)},
                                     {"occurrence", 1},
                                     {"point", 1 + i % 60},
                                     {"field", "thickness"},
                                     {"old", 20 + i % 30},
                                     {"new", 21 + i % 30},
                                     {"time", "2026-12-07T10:41:05+08:00"},
                                     {"user", "zhang"}});
        }
        return h;
    }();
    return history;
}

void verifyHistory(benchmark::State& state) {
    const HistoryChain::Entries& history = longHistory();
    for (auto _ : state) {
        const HistoryChain::Verification v = HistoryChain::verify(history);
        if (v.state != HistoryChain::State::Ok) state.SkipWithError("the chain does not verify");
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(verifyHistory)->Unit(benchmark::kMillisecond);

// What opening spends apart from verifying: the sidecar's bytes decoded.
void decodeSidecar(benchmark::State& state) {
    ProjectSidecar sidecar;
    sidecar.history = longHistory();
    const std::string bytes = sidecar.encode();
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
    for (auto _ : state) {
        const SidecarDecoding decoded = ProjectSidecar::decode(bytes);
        if (decoded.sidecar.history.size() != entries) state.SkipWithError("not decoded");
    }
}
BENCHMARK(decodeSidecar)->Unit(benchmark::kMillisecond);

// A project of 500 components; with a history of 100,000 entries beside it, or none.
void openProject(benchmark::State& state) {
    static QTemporaryDir dir;
    const bool withHistory = state.range(0) != 0;
    const std::filesystem::path path =
        QDir(dir.path()).filePath(withHistory ? "long.pro" : "short.pro").toStdString();
    ComponentList list;
    for (int i = 0; i < 500; ++i) {
        Component c;
        c.code.assign("H" + std::to_string(1000 + i));
        for (int j = 0; j < 60; ++j) c.addPoint();
        list.push_back(std::move(c));
    }
    const std::string bytes = ProjectFile::encode(ProjectInfo{}, list);
    if (!ProjectFile::save(path, ProjectInfo{}, list).ok()) state.SkipWithError("no project");
    ProjectSidecar sidecar;
    sidecar.projectSha256 = ProjectSidecar::sha256Hex(bytes);
    if (withHistory) sidecar.history = longHistory();
    if (!SidecarFile::store(path, sidecar).ok()) state.SkipWithError("no sidecar");
    for (auto _ : state) {
        ProjectDocument document;
        if (!document.open(QString::fromStdString(path.string())).ok()) {
            state.SkipWithError("not opened");
        }
        benchmark::DoNotOptimize(document.history().size());
    }
}
BENCHMARK(openProject)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
