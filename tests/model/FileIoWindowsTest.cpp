#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <set>
#include <string>

#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "support/ModelSamples.h"
#include "support/TempDir.h"

// The Windows twins of the POSIX-only save tests: the read-only attribute, a file another
// handle holds without sharing, names outside the ANSI code page and paths past 260
// characters, through the system's own calls.

namespace fs = std::filesystem;

namespace {

std::wstring longName(const fs::path& p) {
    return L"\\\\?\\" + fs::absolute(p).make_preferred().native();
}

std::set<std::u8string> namesIn(const fs::path& folder) {
    std::set<std::u8string> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((longName(folder) + L"\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.insert(fs::path(name).u8string());
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

std::string shown(const fs::path& p) {
    return FileIo::displayName(p);
}

}  // namespace

TEST(FileIoWindows, AReadOnlyOrHeldTargetIsRefusedAndKept) {
    TempDir dir;
    const fs::path target = dir / "p.pro";
    const struct {
        const char* what;
        DWORD attributes;
        bool held;
        std::string reason;
    } cases[] = {
        {"read-only attribute", FILE_ATTRIBUTE_READONLY, false, "没有访问权限"},
        {"open without sharing", FILE_ATTRIBUTE_NORMAL, true, "文件正被占用"},
    };
    for (const auto& c : cases) {
        TempDir::write(target, "old");
        ASSERT_TRUE(SetFileAttributesW(target.c_str(), c.attributes)) << c.what;
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.held) {
            holder = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE) << c.what;
            EXPECT_EQ(FileIo::readAll(target).message(),
                      "无法打开文件“" + shown(target) + "”：" + c.reason + "。")
                << c.what;
        }
        EXPECT_EQ(FileIo::writeAtomically(target, "new").message(),
                  "无法保存文件“" + shown(target) + "”：" + c.reason + "。原有文件未被改动。")
            << c.what;
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(TempDir::read(target), "old") << c.what;
        EXPECT_EQ(namesIn(dir.path()), std::set<std::u8string>{u8"p.pro"}) << c.what;
    }
}

TEST(FileIoWindows, ASaveKeepsTheTargetsAttributes) {
    TempDir dir;
    const fs::path target = dir / "p.pro";
    TempDir::write(target, "old");
    // Not the archive mark: every file written gets that one anyway.
    const DWORD marked = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), marked));
    ASSERT_EQ(GetFileAttributesW(target.c_str()) & marked, marked);

    ASSERT_TRUE(FileIo::writeAtomically(target, "new").ok());
    EXPECT_EQ(TempDir::read(target), "new");
    EXPECT_EQ(GetFileAttributesW(target.c_str()) & marked, marked);
}

// A project in C:\检测\教学楼.pro, one named through "." and "..", and one so deep that its
// path is past 260 characters.
TEST(FileIoWindows, NamesOutsideTheAnsiCodePageAndLongPathsSaveAndOpen) {
    TempDir dir;
    std::wstring deep = longName(dir.path());
    for (int i = 0; i < 6; ++i) {
        deep += L"\\" + std::wstring(50, static_cast<wchar_t>(L'a' + i));
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    const fs::path deepFolder(deep.substr(4));
    const fs::path deepName(u8"钢筋位置工程文件.pro");
    // Only a path past the old limit shows that the save lifts it.
    ASSERT_GT((deepFolder / deepName).native().size(), std::size_t{MAX_PATH});
    ASSERT_TRUE(fs::create_directory(dir.path() / u8"检测"));
    ASSERT_TRUE(fs::create_directory(dir.path() / u8"上级"));
    const struct {
        fs::path folder;
        fs::path name;  // as given, from the folder
    } cases[] = {
        {dir.path() / u8"检测", u8"教学楼.pro"},
        {dir.path() / u8"上级", fs::path("..") / u8"上级" / "." / u8"教学楼.pro"},
        {deepFolder, deepName},
    };

    ProjectInfo info;
    info.projectName.assign("A");
    ComponentList list{samples::withPoints("H001", 3)};
    const std::string bytes = ProjectFile::encode(info, list);
    for (const auto& c : cases) {
        const fs::path target = c.folder / c.name;
        ASSERT_TRUE(ProjectFile::save(target, info, {}).ok()) << shown(target);
        const Status replaced = ProjectFile::save(target, info, list);
        ASSERT_TRUE(replaced.ok()) << replaced.message();

        const Result<std::string> read = FileIo::readAll(target);
        ASSERT_TRUE(read.ok()) << read.message();
        EXPECT_EQ(*read, bytes);
        const Result<ProjectContents> project = ProjectFile::read(target);
        ASSERT_TRUE(project.ok()) << project.message();
        EXPECT_EQ(ProjectFile::encode(project->info, project->components), bytes);
        EXPECT_EQ(namesIn(c.folder), std::set<std::u8string>{c.name.filename().u8string()});
    }
}
