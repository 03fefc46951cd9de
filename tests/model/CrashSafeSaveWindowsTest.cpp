#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "support/LargeProject.h"
#include "support/ModelSamples.h"
#include "support/TempDir.h"

// The Windows twin of CrashSafeSave: another run of this program saves, and is ended with
// TerminateProcess at moments before, during and after its save.

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr wchar_t targetVariable[] = L"CORVANE_CRASH_SAVE_TARGET";
constexpr wchar_t readyVariable[] = L"CORVANE_CRASH_SAVE_READY";

class SavingChild {
public:
    // Runs this program's SaveForTheParent over `target` and returns once its save begins.
    explicit SavingChild(const fs::path& target) {
        static int serial = 0;
        const std::wstring readyName = L"Local\\corvane-save-" +
                                       std::to_wstring(GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(++serial);
        ready_ = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
        SetEnvironmentVariableW(readyVariable, readyName.c_str());
        wchar_t self[MAX_PATH * 4];
        GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
        std::wstring line = L"\"" + std::wstring(self) +
                            L"\" --gtest_filter=CrashSafeSaveWindows.DISABLED_SaveForTheParent "
                            L"--gtest_also_run_disabled_tests";
        SetEnvironmentVariableW(targetVariable, target.c_str());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;  // no handles: the child's report stays quiet
        started_ = CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                  nullptr, nullptr, &startup, &process_);
        SetEnvironmentVariableW(targetVariable, nullptr);
        SetEnvironmentVariableW(readyVariable, nullptr);
        if (!started_) return;
        CloseHandle(process_.hThread);
        const HANDLE either[] = {ready_, process_.hProcess};
        WaitForMultipleObjects(2, either, FALSE, INFINITE);
    }
    ~SavingChild() {
        if (started_) CloseHandle(process_.hProcess);
        if (ready_) CloseHandle(ready_);
    }
    SavingChild(const SavingChild&) = delete;
    SavingChild& operator=(const SavingChild&) = delete;

    bool started() const { return started_; }
    // False when the child had already ended by itself.
    bool kill() { return TerminateProcess(process_.hProcess, 99) != 0; }
    DWORD wait() {
        WaitForSingleObject(process_.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    HANDLE ready_ = nullptr;
    PROCESS_INFORMATION process_{};
};

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    return names;
}

}  // namespace

// Only as the child of the test below.
TEST(CrashSafeSaveWindows, DISABLED_SaveForTheParent) {
    wchar_t target[MAX_PATH * 4];
    const DWORD n = GetEnvironmentVariableW(targetVariable, target, std::size(target));
    if (n == 0 || n >= std::size(target)) GTEST_SKIP() << "run by KilledSave only";
    const SavedProject project = largeProject("new", 1);
    wchar_t ready[256];
    // Tells the parent that the save begins now.
    const DWORD length = GetEnvironmentVariableW(readyVariable, ready, std::size(ready));
    if (length > 0 && length < std::size(ready)) {
        if (const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready)) {
            SetEvent(event);
            CloseHandle(event);
        }
    }
    ASSERT_TRUE(ProjectFile::save(fs::path(target), project.info, project.components).ok());
}

TEST(CrashSafeSaveWindows, AKilledSaveLeavesTheWholeOldOrTheWholeNewFile) {
    TempDir dir;
    const fs::path target = dir / "site.pro";
    const SavedProject before = largeProject("old", 0);
    const std::string after = largeProject("new", 1).bytes;

    // How long a child's save takes, from its start to the child's end.
    Clock::duration saveTime{};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(FileIo::writeAtomically(target, before.bytes).ok());
        SavingChild child(target);
        const auto start = Clock::now();
        ASSERT_TRUE(child.started());
        ASSERT_EQ(child.wait(), 0u);
        saveTime = std::max(saveTime, Clock::now() - start);
        ASSERT_EQ(TempDir::read(target), after);
    }

    int old = 0, replaced = 0;
    constexpr int moments = 30;
    ASSERT_TRUE(FileIo::writeAtomically(target, before.bytes).ok());
    for (int k = 0; k < moments; ++k) {
        SavingChild child(target);
        ASSERT_TRUE(child.started());
        std::this_thread::sleep_for(saveTime * 5 * k / (4 * (moments - 1)));
        const bool killed = child.kill();
        const DWORD code = child.wait();

        const std::string now = TempDir::read(target);
        if (!killed) {
            ASSERT_EQ(code, 0u);
            ASSERT_TRUE(now == after) << "a finished save left " << now.size() << " bytes";
        }
        ASSERT_TRUE(now == before.bytes || now == after)
            << "killed at moment " << k << ": " << now.size() << " bytes";
        (now == before.bytes ? old : replaced) += 1;

        ASSERT_TRUE(ProjectFile::save(target, before.info, before.components).ok());
        ASSERT_EQ(namesIn(dir.path()), std::vector<std::string>{"site.pro"}) << "moment " << k;
    }
    EXPECT_GT(old, 0);
    EXPECT_GT(replaced, 0);
}
