#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "document/SidecarFile.h"
#include "support/FileSizeLimit.h"
#include "support/SidecarText.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string projectBytes = "project bytes";
const std::string sha = ProjectSidecar::sha256Hex(projectBytes);
const QDateTime noon(QDate(2026, 3, 9), QTime(12, 5, 7));
const std::string beam = R"({"code": "H001", "occurrence": 1, "class": "beam", "sample": 1})";

ProjectSidecar oneEntry() {
    ProjectSidecar s;
    s.projectSha256 = sha;
    s.entries = {{"H002", 1, {AcceptanceClass::Slab, AcceptanceSample::Second}, {}}};
    return s;
}

struct Files {
    TempDir dir;
    fs::path project = dir / "site.pro";
    fs::path sidecar = dir / "site.pro.corvane";
    std::string shown = "附加信息文件“" + sidecar.string() + "”";
    Files() { TempDir::write(project, projectBytes); }
};

}  // namespace

// Each state on open and what the user is told ("@" stands for the sidecar's name).
TEST(SidecarFile, LoadTellsEachStateAndWhy) {
    using enum SidecarFile::State;
    const struct {
        std::string onDisk;  // "" for none, "huge" for a sparse file of 256 MiB and one byte
        SidecarFile::State state;
        std::string message;
        std::size_t entries;
    } cases[] = {
        {"", Missing, "", 0},
        {sidecarText(sha, beam), Loaded, "", 1},
        {sidecarText("00ff", beam), Loaded,
         "工程文件在别处被修改过，@中的构件验收类别可能与构件不符，须在“验收判定”中确认。", 1},
        {"[1]", Damaged,
         "@已损坏（内容不是 JSON 对象），工程打开时没有构件的验收类别；"
         "下次保存工程时，它将被改名保留。",
         0},
        {"huge", Damaged,
         "@已损坏（文件超过 256 "
         "MiB），工程打开时没有构件的验收类别；下次保存工程时，它将被改名保留。",
         0},
        {sidecarText(sha, beam, 3), Newer,
         "@由较新版本的程序写入，本程序不能读取其中的构件验收类别；保存工程时也不会改写它。", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.onDisk);
        Files f;
        if (!c.onDisk.empty()) TempDir::write(f.sidecar, c.onDisk);
        if (c.onDisk == "huge") fs::resize_file(f.sidecar, (256u << 20) + 1);
        const SidecarFile::Loaded loaded = SidecarFile::load(f.project, projectBytes);
        EXPECT_EQ(loaded.state, c.state);
        EXPECT_EQ(loaded.sidecar.entries.size(), c.entries);
        std::string message = c.message;
        if (const auto at = message.find('@'); at != std::string::npos) {
            message.replace(at, 1, f.shown);
        }
        EXPECT_EQ(loaded.message, message);
    }
}

TEST(SidecarFile, StoreWritesRemovesSetsAsideOrLeavesNewer) {
    {
        SCOPED_TRACE("written, then removed when it would hold nothing");
        Files f;
        ASSERT_TRUE(SidecarFile::store(f.project, oneEntry(), noon).ok());
        EXPECT_EQ(TempDir::read(f.sidecar), oneEntry().encode());
        ASSERT_TRUE(SidecarFile::store(f.project, ProjectSidecar{}, noon).ok());
        EXPECT_FALSE(fs::exists(f.sidecar));
    }
    {
        SCOPED_TRACE("a damaged one is set aside, never overwritten, twice in one second");
        Files f;
        for (const std::string suffix : {"", "-2"}) {
            TempDir::write(f.sidecar, "damaged" + suffix);
            const auto stored = SidecarFile::store(f.project, oneEntry(), noon);
            ASSERT_TRUE(stored.ok()) << stored.message();
            const fs::path aside = f.dir / ("site.pro.corvane.damaged-20260309-120507" + suffix);
            EXPECT_EQ(stored->setAside, aside);
            EXPECT_EQ(TempDir::read(aside), "damaged" + suffix);
            EXPECT_EQ(TempDir::read(f.sidecar), oneEntry().encode());
        }
    }
    {
        SCOPED_TRACE("a newer one stays, also when there is nothing to keep");
        Files f;
        TempDir::write(f.sidecar, sidecarText("", beam, 3));
        for (const ProjectSidecar& s : {oneEntry(), ProjectSidecar{}}) {
            const auto stored = SidecarFile::store(f.project, s, noon);
            ASSERT_TRUE(stored.ok());
            EXPECT_EQ(
                stored->message,
                f.shown +
                    "由较新版本的程序写入，未被改写；本次的构件验收类别和修改记录未能保存在其中。");
            EXPECT_EQ(TempDir::read(f.sidecar), sidecarText("", beam, 3));
        }
    }
    {
        SCOPED_TRACE("a project on a FIFO has none");
        Files f;
        const fs::path fifo = f.dir / "pipe.pro";
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        ASSERT_TRUE(SidecarFile::store(fifo, oneEntry(), noon).ok());
        EXPECT_FALSE(fs::exists(SidecarFile::pathFor(fifo)));
        EXPECT_EQ(SidecarFile::load(fifo, "").state, SidecarFile::State::Missing);
    }
}

// The project is saved; the user learns why its sidecar is not, and the old one stays.
TEST(SidecarFile, FailedWriteIsReported) {
    Files f;
    fs::create_directory(f.sidecar);
    EXPECT_EQ(SidecarFile::store(f.project, oneEntry(), noon).message(),
              "工程已保存，但" + f.shown + "未能保存：同名文件夹已存在。");
    fs::remove(f.sidecar);

    TempDir::write(f.sidecar, sidecarText(sha, beam));
    ProjectSidecar big = oneEntry();
    big.entries.resize(200, big.entries[0]);
    FileSizeLimit limit(1024);
    const auto stored = SidecarFile::store(f.project, big, noon);
    EXPECT_EQ(stored.message().rfind("工程已保存，但" + f.shown + "未能保存：写入文件", 0), 0u)
        << stored.message();
    EXPECT_EQ(TempDir::read(f.sidecar), sidecarText(sha, beam));
}

// A sidecar that is there but cannot be read is told on open, and no save replaces it: it may
// hold classes the user has not seen. Permission bits do not stop root, so the unreadable
// file is a link to this process's memory, whose first page no read can reach.
TEST(SidecarFile, AnUnreadableOneIsToldAndNeverReplaced) {
    Files f;
    const std::string unreadable = "读取文件“" + f.sidecar.string() + "”失败：读写设备出错。";
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;
        std::string told;    // on open
        std::string reason;  // why the save left it
        fs::file_type type;
    } cases[] = {
        {"a folder of its name", [](const fs::path& p) { fs::create_directory(p); },
         f.shown + "不是普通文件，构件的验收类别未能读取。", "同名文件夹已存在。",
         fs::file_type::directory},
        {"a file that cannot be read",
         [](const fs::path& p) { fs::create_symlink("/proc/self/mem", p); },
         unreadable + "构件的验收类别未能读取。", unreadable, fs::file_type::symlink},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make(f.sidecar);
        const SidecarFile::Loaded loaded = SidecarFile::load(f.project, projectBytes);
        EXPECT_EQ(loaded.state, SidecarFile::State::Unreadable);
        EXPECT_EQ(loaded.message, c.told);
        EXPECT_TRUE(loaded.sidecar.entries.empty());
        EXPECT_EQ(SidecarFile::store(f.project, oneEntry(), noon).message(),
                  "工程已保存，但" + f.shown + "未能保存：" + c.reason);
        EXPECT_EQ(fs::symlink_status(f.sidecar).type(), c.type);
        fs::remove(f.sidecar);
    }
}
