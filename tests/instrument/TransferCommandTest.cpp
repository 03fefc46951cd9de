#include <gtest/gtest.h>

#include <sstream>

#include "cli/Commands.h"
#include "instrument/DemoInspection.h"
#include "model/FileIo.h"
#include "model/UploadFile.h"
#include "support/TempDir.h"

namespace {

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

CommandResult transfer(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CommandResult r;
    r.status = runCliCommand("transfer", args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::string contents(const std::filesystem::path& path) {
    Result<std::string> bytes = FileIo::readAll(path);
    EXPECT_TRUE(bytes.ok()) << path;
    return bytes.ok() ? bytes.value() : std::string();
}

}  // namespace

TEST(TransferCommand, DemoThenItsSavedImageGiveTheSameUploadFile) {
    TempDir dir;
    const std::string demo = (dir / "demo.vexo").string(), image = (dir / "demo.img").string();
    const CommandResult first = transfer({"--demo", "-o", demo, "--save-image", image});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.err.find("[提示信息] 下位机测量数据传输结束！"), std::string::npos);
    EXPECT_NE(first.err.find("传输进度："), std::string::npos);
    EXPECT_NE(first.out.find("12 个构件"), std::string::npos) << first.out;
    EXPECT_EQ(*UploadFile::read(demo), DemoInspection::components());
    const MemoryImage demoImage = DemoInspection::image();
    const auto& expected = demoImage.bytes();
    EXPECT_EQ(contents(image), std::string(expected.begin(), expected.end()));

    const std::string again = (dir / "again.vexo").string();
    const CommandResult second = transfer({"--simulate", image, "-o", again});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(contents(again), contents(demo));
}

TEST(TransferCommand, FailuresExitWithOne) {
    TempDir dir;
    CommandResult r =
        transfer({"--simulate", (dir / "none.img").string(), "-o", (dir / "x.vexo").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("none.img"), std::string::npos);

    ASSERT_TRUE(FileIo::writeAtomically(dir / "short.img", "\x01\x02").ok());
    r = transfer({"--simulate", (dir / "short.img").string(), "-o", (dir / "x.vexo").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("不是有效的内存映像文件"), std::string::npos);

    // The upload cannot be written into a missing folder; the image still is.
    r = transfer({"--demo", "-o", (dir / "missing" / "x.vexo").string(), "--save-image",
                  (dir / "kept.img").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("[提示信息] 无法在文件夹"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "kept.img"));
    EXPECT_FALSE(std::filesystem::exists(dir / "x.vexo"));
}

TEST(TransferCommand, BadArgumentsExitWithTwoAndTheUsage) {
    const std::vector<std::vector<std::string>> cases{
        {},
        {"-o", "x.vexo"},
        {"--demo"},
        {"--demo", "--usb", "-o", "x.vexo"},
        {"--demo", "--demo", "-o", "x.vexo"},
        {"--simulate"},
        {"--usb", "43G8:5537", "-o", "x.vexo"},
        {"--usb", "4348", "-o", "x.vexo"},
        {"--usb", "14348:5537", "-o", "x.vexo"},
        {"--usb", "1:2:3", "-o", "x.vexo"},
        {"--usb", "x:y", "-o", "x.vexo"},
        {"--demo", "-o", "x.vexo", "--verbose"},
    };
    for (const auto& args : cases) {
        const CommandResult r = transfer(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("  corvane-cli transfer (--simulate"), std::string::npos);
        if (args.size() > 1 && args[0] == "--usb" && args[1] != "-o") {
            EXPECT_NE(r.err.find("VID:PID"), std::string::npos) << r.err;
        }
    }
}
