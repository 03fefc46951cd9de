#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <iterator>

#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#include "support/ModelSamples.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class FileIoTest : public testing::Test {
protected:
    std::size_t filesInDir() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.path()), {}));
    }
    static std::string contents(const fs::path& p) { return TempDir::read(p); }

    TempDir dir;
};

// Lowers the largest file this process may write, so a real write fails part-way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
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
    EXPECT_EQ(filesInDir(), 1u);
    const ProjectReadResult back = ProjectFile::read(target);
    ASSERT_TRUE(back.complete());
    EXPECT_EQ(back.components, list);
}

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
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find("原有文件未被改动"), std::string::npos) << s.message();
    EXPECT_EQ(contents(target), before);
    EXPECT_EQ(filesInDir(), 1u);  // the temporary file is gone
}

TEST_F(FileIoTest, DestinationThatCannotBeCreatedIsAnError) {
    Status s = UploadFile::save(dir / "missing" / "data.vexo", {});
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find("无法创建文件"), std::string::npos);

    fs::create_directories(dir / "folder.pro");
    s = ProjectFile::save(dir / "folder.pro", ProjectInfo{}, {});
    EXPECT_FALSE(s.ok());
    EXPECT_TRUE(fs::is_directory(dir / "folder.pro"));
}

TEST_F(FileIoTest, UnreadableFileIsReportedNotOpened) {
    const ProjectReadResult p = ProjectFile::read(dir / "nothing.pro");
    EXPECT_EQ(p.outcome, ReadOutcome::CannotOpen);
    EXPECT_NE(p.message.find("无法打开文件"), std::string::npos);
    EXPECT_FALSE(p.info);

    const UploadReadResult u = UploadFile::read(dir.path());  // a folder is not a file
    EXPECT_NE(u.outcome, ReadOutcome::Complete);
    EXPECT_FALSE(u.message.empty());
}
