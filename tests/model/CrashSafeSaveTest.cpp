// Built on POSIX only (fork and SIGKILL); the Windows twin is
// CrashSafeSaveWindows.AKilledSaveLeavesTheWholeOldOrTheWholeNewFile.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "support/LargeProject.h"
#include "support/ModelSamples.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Starts a child that saves `project` over `target` and returns once it runs.
pid_t startSave(const fs::path& target, const SavedProject& project) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        (void)!::write(ready[1], "r", 1);
        const Status s = ProjectFile::save(target, project.info, project.components);
        ::_exit(s.ok() ? 0 : 1);
    }
    ::close(ready[1]);
    char c;
    (void)!::read(ready[0], &c, 1);
    ::close(ready[0]);
    return child;
}

}  // namespace

TEST(CrashSafeSave, AKilledSaveLeavesTheWholeOldOrTheWholeNewFile) {
    TempDir dir;
    const fs::path target = dir / "site.pro";
    const SavedProject before = largeProject("old", 0);
    const SavedProject after = largeProject("new", 1);
    ASSERT_GT(after.bytes.size(), 3'000'000u);

    // How long a child's save takes here, from its start to its end, so the kills fall
    // before, inside and after it.
    Clock::duration saveTime{};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(FileIo::writeAtomically(target, before.bytes).ok());
        const auto start = Clock::now();
        const pid_t child = startSave(target, after);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        saveTime = std::max(saveTime, Clock::now() - start);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_EQ(TempDir::read(target), after.bytes);
    }

    int old = 0, replaced = 0;
    constexpr int moments = 50;
    ASSERT_TRUE(FileIo::writeAtomically(target, before.bytes).ok());
    for (int k = 0; k < moments; ++k) {
        const pid_t child = startSave(target, after);
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(saveTime * 5 * k / (4 * (moments - 1)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string now = TempDir::read(target);
        if (WIFEXITED(status)) {
            ASSERT_EQ(WEXITSTATUS(status), 0);
            ASSERT_TRUE(now == after.bytes) << "a finished save left " << now.size() << " bytes";
        }
        ASSERT_TRUE(now == before.bytes || now == after.bytes)
            << "killed at moment " << k << ": " << now.size() << " bytes";
        (now == before.bytes ? old : replaced) += 1;

        // The next save takes away whatever the killed one left beside the file.
        ASSERT_TRUE(ProjectFile::save(target, before.info, before.components).ok());
        ASSERT_EQ(TempDir::names(dir.path()), std::set<std::string>{"site.pro"}) << "moment " << k;
    }
    // Both sides of the rename were hit, or the moments said nothing about it.
    EXPECT_GT(old, 0);
    EXPECT_GT(replaced, 0);
}
