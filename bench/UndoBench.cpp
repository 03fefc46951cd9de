// The undo stack of a long editing session: 10,000 point edits on a project of 1,000
// components, its memory, and undoing and redoing one edit there. Runs offscreen.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>

#include "bench/SessionWithoutWindow.h"
#include "session/ProjectSession.h"
#include "session/SessionUi.h"

namespace {

struct Editing {
    SilentPrompter prompter;
    NoWindow ui;
    ProjectSession session{prompter, ui};

    Editing() {
        session.OnCreateProject();
        for (int i = 0; i < 1000; ++i) {
            Component c;
            c.code.assign("P" + std::to_string(1000 + i).substr(1));
            for (int j = 0; j < 50; ++j) c.addPoint();
            session.project().components().push_back(std::move(c));
        }
    }
    void edit(int k) {
        const MeasurePoint value{0, static_cast<std::int16_t>(20 + k % 60), 10 * (k % 200)};
        session.document().setPoint((k * 7) % 1000, {false, k % 50}, value);
    }
};

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

void BM_TenThousandEditsOnTheStack(benchmark::State& state) {
    for (auto _ : state) {
        Editing e;
        const std::size_t before = heapInUse();
        for (int k = 0; k < 10000; ++k) e.edit(k);
        const std::size_t after = heapInUse();
        state.counters["stack_MB"] = static_cast<double>(after - before) / 1e6;
        state.counters["steps"] = e.session.undoStack().count();
    }
}
BENCHMARK(BM_TenThousandEditsOnTheStack)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoRedoOneEdit(benchmark::State& state) {
    Editing e;
    for (int k = 0; k < 10000; ++k) e.edit(k);
    QUndoStack& stack = e.session.undoStack();
    for (auto _ : state) {
        stack.undo();
        stack.redo();
    }
}
BENCHMARK(BM_UndoRedoOneEdit)->Unit(benchmark::kMicrosecond);

}  // namespace
