// Writes and reads back a project of 10,000 components × 100 points, and reads the same
// file's bytes plainly for comparison. Before the timings, a fresh child process measures the
// read's peak memory above its resident size before the read, as a multiple of the file size.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/ProjectFile.h"

namespace {

const std::filesystem::path& benchFile() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("corvane-bench-" + std::to_string(::getpid()) + ".pro");
    return path;
}

const ComponentList& bigProject() {
    static const ComponentList list = [] {
        ComponentList l;
        const char letters[] = {'H', 'Z', 'W', 'P'};
        for (int i = 0; i < 10000; ++i) {
            Component c;
            const char code[] = {letters[i % 4], static_cast<char>('0' + i / 1000 % 10),
                                 static_cast<char>('0' + i / 100 % 10),
                                 static_cast<char>('0' + i % 10), 0};
            c.code.assign(code);
            c.name.assign(code);
            c.date.assign("12/1/25");
            c.designDiameter = 16;
            c.designCover = 50;
            const bool grid = code[0] == 'W';
            for (int j = 0; j < 100; ++j) {
                const bool vertical = grid && j >= 60;
                c.addPoint(vertical);
                auto& p = (vertical ? c.pointsVert : c.points).back();
                p.thickness = static_cast<std::int16_t>(20 + j % 40);
                p.diameter = code[0] == 'Z' ? 16 : 0;
                p.position = code[0] == 'W' || code[0] == 'P' ? 20 * j : 0;
            }
            l.push_back(std::move(c));
        }
        return l;
    }();
    return list;
}

ProjectInfo benchInfo() {
    ProjectInfo info;
    info.projectName.assign("benchmark");
    return info;
}

long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size()));
    }
    return -1;
}

void BM_WriteProject(benchmark::State& state) {
    const ComponentList& list = bigProject();
    const ProjectInfo info = benchInfo();
    std::size_t bytes = 0;
    for (auto _ : state) {
        Status s = ProjectFile::save(benchFile(), info, list);
        if (!s.ok()) state.SkipWithError(s.message().c_str());
        bytes = std::filesystem::file_size(benchFile());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_ReadProject(benchmark::State& state) {
    if (!ProjectFile::save(benchFile(), benchInfo(), bigProject()).ok()) {
        state.SkipWithError("save failed");
        return;
    }
    const auto bytes = std::filesystem::file_size(benchFile());
    for (auto _ : state) {
        Result<ProjectContents> r = ProjectFile::read(benchFile());
        if (!r.ok() || !r->complete() || r->components.size() != 10000) {
            state.SkipWithError("read failed");
        }
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_ReadRawBytes(benchmark::State& state) {
    if (!ProjectFile::save(benchFile(), benchInfo(), bigProject()).ok()) {
        state.SkipWithError("save failed");
        return;
    }
    const auto bytes = std::filesystem::file_size(benchFile());
    std::string buffer(bytes, '\0');
    for (auto _ : state) {
        std::FILE* f = std::fopen(benchFile().c_str(), "rb");
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        if (n != bytes) state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

}  // namespace

// Runs `work` in a child process so that its heap starts clean; returns what it wrote.
template <typename Work>
double inChild(Work work) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const double value = work();
        (void)!::write(fds[1], &value, sizeof value);
        ::_exit(0);
    }
    double value = -1;
    (void)!::read(fds[0], &value, sizeof value);
    ::waitpid(pid, nullptr, 0);
    ::close(fds[0]);
    ::close(fds[1]);
    return value;
}

void reportReadPeakMemory() {
    benchFile();  // named after this process, not the child
    inChild(
        [] { return ProjectFile::save(benchFile(), benchInfo(), bigProject()).ok() ? 1.0 : 0.0; });
    const double bytes = static_cast<double>(std::filesystem::file_size(benchFile()));
    const double peakKb = inChild([] {
        const long baseline = statusKb("VmRSS:");
        Result<ProjectContents> r = ProjectFile::read(benchFile());
        benchmark::DoNotOptimize(r);
        return static_cast<double>(statusKb("VmHWM:") - baseline);
    });
    std::printf("read peak memory: %.1f MB above baseline for a %.1f MB file (%.2f x file size)\n",
                peakKb * 1024 / 1e6, bytes / 1e6, peakKb * 1024 / bytes);
}

BENCHMARK(BM_WriteProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadRawBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    reportReadPeakMemory();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(benchFile());
    return 0;
}
