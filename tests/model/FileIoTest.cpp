#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>
#include <functional>
#include <iterator>
#include <set>

#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#ifndef _WIN32
#include "support/FileSizeLimit.h"
#endif
#include "support/ModelSamples.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

#ifndef _WIN32
// Runs `save` as a user without privileges (a child dropped to nobody when the tests run as
// root, where permission bits would not stop anything) and returns its message, or "" when
// it succeeded.
std::string saveAsNobody(const std::function<Status()>& save) {
    if (::geteuid() != 0) {
        const Status s = save();
        return s.ok() ? std::string() : s.message();
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(3);
        const Status s = save();
        const std::string text = s.ok() ? std::string() : s.message();
        if (::write(pipeFds[1], text.data(), text.size()) < 0) _exit(4);
        _exit(0);
    }
    ::close(pipeFds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed";
    return text;
}
#endif

class FileIoTest : public testing::Test {
protected:
    FileIoTest() { fs::permissions(dir.path(), fs::perms::all); }
    static std::string contents(const fs::path& p) { return TempDir::read(p); }

    TempDir dir;
};

}  // namespace

TEST_F(FileIoTest, SaveReplacesTheFileAndLeavesNothingBeside) {
    const fs::path target = dir / "project.pro";
    ProjectInfo info;
    info.projectName.assign("old");
    ASSERT_TRUE(ProjectFile::save(target, info, {}).ok());
    info.projectName.assign("new");
    ComponentList list{samples::withPoints("H001", 3)};
    ASSERT_TRUE(ProjectFile::save(target, info, list).ok());

    EXPECT_EQ(contents(target), ProjectFile::encode(info, list));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"project.pro"});
}

TEST_F(FileIoTest, ALinkStaysALinkAndTheFileKeepsItsPermissionBits) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links and permission bits are POSIX; the Windows twin is "
                    "FileIoWindows.ASaveKeepsTheTargetsAttributes";
#else
    fs::create_directories(dir / "real");
    const fs::path real = dir / "real" / "p.pro", link = dir / "p.pro";
    TempDir::write(real, "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(fs::path("real") / "p.pro", link);

    ASSERT_TRUE(FileIo::writeAtomically(link, "new bytes").ok());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(contents(real), "new bytes");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(namesIn(dir / "real"), std::set<std::string>{"p.pro"});

    // A link to a file that does not exist yet creates that file.
    fs::create_symlink(fs::path("real") / "later.pro", dir / "later.pro");
    ASSERT_TRUE(FileIo::writeAtomically(dir / "later.pro", "x").ok());
    EXPECT_EQ(contents(dir / "real" / "later.pro"), "x");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "later.pro")));
#endif
}

TEST_F(FileIoTest, RefusalsNameTheReasonInChineseAndLeaveTheOldFile) {
#ifdef _WIN32
    GTEST_SKIP() << "file modes and a uid without privileges are POSIX; the Windows twin is "
                    "FileIoWindows.AReadOnlyOrHeldTargetIsRefusedAndKept";
#else
    const fs::path readOnly = dir / "readonly.pro";
    TempDir::write(readOnly, "old");
    fs::permissions(readOnly,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string message = saveAsNobody([&] { return FileIo::writeAtomically(readOnly, "new"); });
    EXPECT_EQ(message, "无法保存文件“" + readOnly.string() + "”：没有访问权限。原有文件未被改动。");
    EXPECT_EQ(contents(readOnly), "old");

    // A file that may be written in a folder where nothing may be created.
    const fs::path locked = dir / "locked";
    fs::create_directories(locked);
    TempDir::write(locked / "p.pro", "old");
    fs::permissions(locked / "p.pro", fs::perms::all);
    fs::permissions(locked, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    message = saveAsNobody([&] { return FileIo::writeAtomically(locked / "p.pro", "new"); });
    EXPECT_EQ(message,
              "无法在文件夹“" + locked.string() + "”中创建文件：没有访问权限。原有文件未被改动。");
    EXPECT_EQ(contents(locked / "p.pro"), "old");
    EXPECT_EQ(namesIn(locked), std::set<std::string>{"p.pro"});
#endif
}

TEST_F(FileIoTest, AMissingFolderOrAFolderOfTheNameIsRefused) {
    const Status missing = FileIo::writeAtomically(dir / "missing" / "data.vexo", "x");
    EXPECT_EQ(missing.message(),
              "无法在文件夹“" + (dir / "missing").string() + "”中创建文件：文件或文件夹不存在。");

    fs::create_directories(dir / "folder.pro");
    EXPECT_EQ(FileIo::writeAtomically(dir / "folder.pro", "x").message(),
              "无法保存文件“" + (dir / "folder.pro").string() + "”：同名文件夹已存在。");
    EXPECT_TRUE(fs::is_directory(dir / "folder.pro"));
}

TEST_F(FileIoTest, WriteFailingPartWayLeavesTheOldFileIntact) {
#ifdef _WIN32
    GTEST_SKIP() << "the file-size limit (RLIMIT_FSIZE, SIGXFSZ) is POSIX only";
#else
    const fs::path target = dir / "data.vexo";
    ASSERT_TRUE(UploadFile::save(target, {samples::withPoints("H001", 2)}).ok());
    const std::string before = contents(target);

    ComponentList big;
    for (int i = 0; i < 200; ++i) big.push_back(samples::withPoints("P001", 100));
    Status s = Status::success();
    {
        FileSizeLimit limit(4096);
        s = UploadFile::save(target, big);
    }
    EXPECT_EQ(s.message(), "写入文件“" + target.string() +
                               "”失败：文件过大，超出了允许的大小。原有文件未被改动。");
    EXPECT_EQ(contents(target), before);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"data.vexo"});
#endif
}

TEST_F(FileIoTest, ASaveRemovesTheLeftoversOfItsOwnTargetOnly) {
    const std::set<std::string> others{".p.pro.corvane-save-AB12c", ".q.pro.corvane-save-ABCDEF",
                                       "p.pro.tmp1234", ".p.pro.corvane-save-ABCDEFG",
                                       "x.p.pro.corvane-save-ABCDEF"};
    for (const std::string& name : others) TempDir::write(dir / name, "keep");
    TempDir::write(dir / ".p.pro.corvane-save-AB12cd", "leftover of a killed save");
    TempDir::write(dir / ".p.pro.corvane-save-zzzzzz", "leftover of a killed save");

    ASSERT_TRUE(FileIo::writeAtomically(dir / "p.pro", "new").ok());
    std::set<std::string> expected = others;
    expected.insert("p.pro");
    EXPECT_EQ(namesIn(dir.path()), expected);
}

TEST_F(FileIoTest, UnreadableFileIsReportedNotOpened) {
    const Result<ProjectContents> p = ProjectFile::read(dir / "nothing.pro");
    EXPECT_EQ(p.message(),
              "无法打开文件“" + (dir / "nothing.pro").string() + "”：文件或文件夹不存在。");

    const Result<ComponentList> u = UploadFile::read(dir.path());  // a folder is not a file
    EXPECT_NE(u.message().find("这是一个文件夹"), std::string::npos) << u.message();
}
