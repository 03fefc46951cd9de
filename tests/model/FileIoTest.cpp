#include <fcntl.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#ifndef _WIN32
#include "support/FileSizeLimit.h"
#include "support/SpecialFiles.h"
#endif
#include "support/ModelSamples.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

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
    EXPECT_EQ(TempDir::names(dir.path()), std::set<std::string>{"project.pro"});
}

// Symbolic links and permission bits are POSIX; the Windows twin is
// FileIoWindows.ASaveKeepsTheTargetsAttributes.
#ifndef _WIN32
TEST_F(FileIoTest, ALinkStaysALinkAndTheFileKeepsItsPermissionBits) {
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
    EXPECT_EQ(TempDir::names(dir / "real"), std::set<std::string>{"p.pro"});

    // A link to a file that does not exist yet creates that file.
    fs::create_symlink(fs::path("real") / "later.pro", dir / "later.pro");
    ASSERT_TRUE(FileIo::writeAtomically(dir / "later.pro", "x").ok());
    EXPECT_EQ(contents(dir / "real" / "later.pro"), "x");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "later.pro")));
}
#endif

// File modes and a uid without privileges are POSIX; the Windows twin is
// FileIoWindows.AReadOnlyOrHeldTargetIsRefusedAndKept.
#ifndef _WIN32
TEST_F(FileIoTest, RefusalsNameTheReasonInChineseAndLeaveTheOldFile) {
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
    EXPECT_EQ(TempDir::names(locked), std::set<std::string>{"p.pro"});
}
#endif

TEST_F(FileIoTest, AMissingFolderOrAFolderOfTheNameIsRefused) {
    const Status missing = FileIo::writeAtomically(dir / "missing" / "data.vexo", "x");
    EXPECT_EQ(missing.message(),
              "无法在文件夹“" + (dir / "missing").string() + "”中创建文件：文件或文件夹不存在。");

    fs::create_directories(dir / "folder.pro");
    EXPECT_EQ(FileIo::writeAtomically(dir / "folder.pro", "x").message(),
              "无法保存文件“" + (dir / "folder.pro").string() + "”：同名文件夹已存在。");
    EXPECT_TRUE(fs::is_directory(dir / "folder.pro"));
}

// The file-size limit (RLIMIT_FSIZE, SIGXFSZ) is POSIX only.
#ifndef _WIN32
TEST_F(FileIoTest, WriteFailingPartWayLeavesTheOldFileIntact) {
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
    EXPECT_EQ(TempDir::names(dir.path()), std::set<std::string>{"data.vexo"});
}
#endif

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
    EXPECT_EQ(TempDir::names(dir.path()), expected);
}

TEST_F(FileIoTest, UnreadableFileIsReportedNotOpened) {
    const Result<ProjectContents> p = ProjectFile::read(dir / "nothing.pro");
    EXPECT_EQ(p.message(),
              "无法打开文件“" + (dir / "nothing.pro").string() + "”：文件或文件夹不存在。");

    const Result<ComponentList> u = UploadFile::read(dir.path());  // a folder is not a file
    EXPECT_NE(u.message().find("这是一个文件夹"), std::string::npos) << u.message();
}

#ifndef _WIN32

TEST_F(FileIoTest, EachKindOfTargetIsWrittenInPlaceReplacedOrRefused) {
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    makeSocket(dir / "socket");
    TempDir::write(dir / "plain.pro", "old");

    struct Case {
        fs::path target;
        bool withReader;
        std::string message;  // empty: saved
        fs::file_type typeAfter;
    };
    const std::vector<Case> cases{
        {dir / "plain.pro", false, "", fs::file_type::regular},
        {fifo, true, "", fs::file_type::fifo},
        {fifo, false, "无法写入“" + fifo.string() + "”：没有程序在读取这个管道。",
         fs::file_type::fifo},
        {"/dev/null", false, "", fs::file_type::character},
        {"/dev/full", false, "写入“/dev/full”失败：磁盘空间不足。", fs::file_type::character},
        {dir / "loop-a", false,
         "无法保存文件“" + (dir / "loop-a").string() + "”：符号链接形成了循环。",
         fs::file_type::symlink},
        {dir / "socket", false,
         "无法保存文件“" + (dir / "socket").string() + "”：这是一个套接字，不是文件。",
         fs::file_type::socket},
    };
    const std::string bytes(200000, 'x');  // more than a pipe buffer holds
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.string());
        std::string received;
        std::thread reader;
        int readEnd = -1;
        std::atomic<bool> failed{false};
        if (c.withReader) {
            // Open before the save, read while it writes (more than the pipe holds).
            readEnd = ::open(c.target.c_str(), O_RDONLY | O_NONBLOCK);
            ASSERT_GE(readEnd, 0);
            reader = std::thread([&] {
                char buffer[4096];
                while (received.size() < bytes.size() && !failed) {
                    const ssize_t n = ::read(readEnd, buffer, sizeof buffer);
                    if (n > 0) {
                        received.append(buffer, static_cast<std::size_t>(n));
                    } else {
                        std::this_thread::yield();  // no writer yet, or nothing written yet
                    }
                }
            });
        }
        const Status s = FileIo::writeAtomically(c.target, bytes);
        if (reader.joinable()) {
            failed = !s.ok();  // else the reader would wait for ever
            reader.join();
            ::close(readEnd);
        }
        EXPECT_EQ(s.message(), c.message);
        EXPECT_EQ(fs::symlink_status(c.target).type(), c.typeAfter);
        if (c.withReader) {
            EXPECT_EQ(received, bytes);
        }
    }
    EXPECT_EQ(contents(dir / "plain.pro"), bytes);
    EXPECT_EQ(TempDir::names(dir.path()),
              (std::set<std::string>{"fifo", "loop-a", "loop-b", "socket", "plain.pro"}));
}

TEST_F(FileIoTest, ReadersJudgeTheHeadAndStopAtTheBound) {
    // Longer than the head, so that what follows it must be read too.
    const ComponentList components{samples::withPoints("H001", 30)};
    const std::string project = ProjectFile::encode({}, components);
    ASSERT_GT(project.size(), FileIo::headBytes);
    TempDir::write(dir / "p.pro", project);
    TempDir::write(dir / "short.pro", "\x0BVexo");
    // The wide form of the magic is the same first string.
    std::string wide("\xFF\xFE\xFF\x0B", 4);
    for (char ch : UploadFile::magic) wide += std::string{ch, '\0'};
    TempDir::write(dir / "wide.vexo", wide + std::string(4, '\0'));
    // A sparse file one byte over the bound, whose head is a project's.
    {
        TempDir::write(dir / "huge.pro", project);
        fs::resize_file(dir / "huge.pro", FileIo::readLimit + 1);
    }
    makeSocket(dir / "socket");
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { TempDir::write(fifo, project); });

    const std::vector<std::pair<fs::path, std::string>> cases{
        {dir / "p.pro", ""},
        {fifo, ""},
        {"/dev/zero", "“/dev/zero”不是有效的钢筋位置工程文件!"},
        {dir / "short.pro", "“" + (dir / "short.pro").string() + "”不是有效的钢筋位置工程文件!"},
        {dir / "huge.pro",
         "“" + (dir / "huge.pro").string() + "”超过了 256 MiB 的读取上限，不是本程序的数据文件。"},
        {dir / "socket", "无法读取“" + (dir / "socket").string() + "”：这是一个套接字，不是文件。"},
        {dir.path(), "无法读取“" + dir.path().string() + "”：这是一个文件夹。"},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path.string());
        const Result<ProjectContents> r = ProjectFile::read(path);
        EXPECT_EQ(r.message(), message);
        if (r.ok()) {
            EXPECT_TRUE(r->complete());
            EXPECT_EQ(r->components, components);
        }
    }
    writer.join();
    EXPECT_TRUE(UploadFile::read(dir / "wide.vexo").ok());

    // The bound holds exactly, for a file whose size is known and for a pipe's bytes.
    const std::size_t limit = project.size();
    for (const bool pipe : {false, true}) {
        for (const std::size_t extra : {0, 1}) {
            SCOPED_TRACE(std::to_string(pipe) + "+" + std::to_string(extra));
            const std::string bytes = project + std::string(extra, '\0');
            std::thread feeder;
            fs::path source = dir / "bound.pro";
            if (pipe) {
                source = fifo;
                feeder = std::thread([&] { TempDir::write(fifo, bytes); });
            } else {
                TempDir::write(source, bytes);
            }
            const Result<std::string> r = FileIo::readAll(source, {}, limit);
            if (feeder.joinable()) feeder.join();
            EXPECT_EQ(r.ok(), extra == 0) << r.message();
            if (r.ok()) {
                EXPECT_EQ(*r, bytes);
            } else {
                EXPECT_EQ(r.message(), "“" + source.string() + "”超过了 " + std::to_string(limit) +
                                           " 字节的读取上限，不是本程序的数据文件。");
            }
        }
    }
}

// What the window reads is told by its status alone, so a pipe nobody writes is refused
// without ever being opened.
TEST_F(FileIoTest, OnlyARegularFileCountsAsOne) {
    TempDir::write(dir / "p.pro", "x");
    fs::create_symlink(dir / "p.pro", dir / "link.pro");
    const FifoWatch fifo(dir / "fifo");
    fs::create_symlink(fifo.path(), dir / "fifo-link");
    makeSocket(dir / "socket");
    const auto notRegular = [](const fs::path& p) {
        return "“" + p.string() + "”不是普通文件，无法打开。";
    };
    const std::vector<std::pair<fs::path, std::string>> cases{
        {dir / "p.pro", ""},
        {dir / "link.pro", ""},
        {dir / "absent.pro", ""},  // the read says it is missing
        {dir.path(), "无法读取“" + dir.path().string() + "”：这是一个文件夹。"},
        {fifo.path(), notRegular(fifo.path())},
        {dir / "fifo-link", notRegular(dir / "fifo-link")},
        {dir / "socket", notRegular(dir / "socket")},
        {"/dev/null", notRegular("/dev/null")},
    };
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(FileIo::checkRegularFile(path).message(), message) << path;
    }
    EXPECT_FALSE(fifo.opened());
}

// A block device is refused for what it is, before anything of it is read: a disk is never a
// file of ours.
TEST_F(FileIoTest, ReadersRefuseABlockDevice) {
    std::optional<fs::path> device;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/dev", ec)) {
        if (entry.is_block_file(ec)) {
            device = entry.path();
            break;
        }
    }
    if (!device) GTEST_SKIP() << "no block device in /dev";
    const std::string refused = "无法读取“" + device->string() + "”：这是一个块设备，不是文件。";
    EXPECT_EQ(ProjectFile::read(*device).message(), refused);
    EXPECT_EQ(UploadFile::read(*device).message(), refused);
}

#endif
