// Judges 10,000 classed components of 100 points each (target: at most 50 ms), and reads and
// writes the sidecar of such a project.
#include <benchmark/benchmark.h>

#include <string>

#include "document/ProjectSidecar.h"
#include "model/AcceptanceJudgement.h"

namespace {

struct Classed {
    ComponentList list;
    AcceptanceMarks marks;
};

const Classed& bigProject() {
    static const Classed project = [] {
        Classed p;
        const char letters[] = {'H', 'W', 'P'};
        for (int i = 0; i < 10000; ++i) {
            Component c;
            const std::string code = letters[i % 3] + std::to_string(1000 + i % 9000);
            c.code.assign(code);
            c.designCover = 30;
            c.designCoverVert = 25;
            const bool grid = code[0] == 'W';
            for (int j = 0; j < 100; ++j) {
                const bool vertical = grid && j >= 60;
                c.addPoint(vertical);
                (vertical ? c.pointsVert : c.points).back().thickness =
                    static_cast<std::int16_t>(j % 17 == 0 ? 0 : 20 + j % 20);
            }
            p.list.push_back(std::move(c));
            p.marks[&p.list.back()] = {i % 2 ? AcceptanceClass::Slab : AcceptanceClass::Beam,
                                       i % 5 ? AcceptanceSample::First : AcceptanceSample::Second};
        }
        return p;
    }();
    return project;
}

void BM_JudgeTenThousandComponents(benchmark::State& state) {
    const Classed& p = bigProject();
    for (auto _ : state) {
        AcceptanceJudgement j = judgeAcceptance(p.list, p.marks);
        benchmark::DoNotOptimize(j);
    }
}
BENCHMARK(BM_JudgeTenThousandComponents)->Unit(benchmark::kMillisecond);

void BM_SidecarRoundTrip(benchmark::State& state) {
    const Classed& p = bigProject();
    for (auto _ : state) {
        const ProjectSidecar written = ProjectSidecar().rewritten(p.list, p.marks, {}, {}, true, "00");
        const SidecarDecoding read = ProjectSidecar::decode(written.encode());
        ProjectSidecar::Applied applied = read.sidecar.applyTo(p.list);
        benchmark::DoNotOptimize(applied);
    }
}
BENCHMARK(BM_SidecarRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
