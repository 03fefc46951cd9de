#include <gtest/gtest.h>

#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#include "support/ModelSamples.h"

using samples::bytesOf;
using samples::codes;
using samples::withPoints;

namespace {

Component documentedThickness() {
    Component c = samples::component("H001", "11/3/25");
    c.designDiameter = 0x14;
    c.diameterTolerance = c.thicknessTolerance = 1;
    c.spacingTolerance = 3;
    c.addPoint();
    c.points.back().thickness = 30;
    c.addPoint();
    c.points.back().thickness = 41;
    return c;
}

}  // namespace

TEST(UploadFile, OneThicknessComponentMatchesTheDocumentedBytes) {
    const std::string expected(
        "\x0BVexoProfile"
        "\x01\x00\x00\x00"
        "\x04H001\x04H001\x07"
        "11/3/25"
        "\x14\x00\x00\x00\x32\x00\x00\x00\x00\x00\x00\x00\x01\x00\x01\x00\x03\x00\x02\x00\x00\x00"
        "\x00\x00\x1E\x00\x00\x00\x00\x00"
        "\x00\x00\x29\x00\x00\x00\x00\x00",
        12 + 4 + 5 + 5 + 8 + 22 + 16);
    const std::string bytes = UploadFile::encode({documentedThickness()});
    EXPECT_EQ(bytes, expected);

    const Result<ComponentList> back = UploadFile::parse(bytesOf(bytes));
    ASSERT_TRUE(back.ok());
    ASSERT_EQ(back->size(), 1u);
    EXPECT_EQ(back->front(), documentedThickness());
}

TEST(UploadFile, RoundTripKeepsOrderAndDuplicates) {
    ComponentList list{withPoints("W001", 3, 2), withPoints("H001", 2), withPoints("H001", 5),
                       withPoints("P002", 1),    withPoints("Z001", 4), withPoints("W002", 2, 0)};
    const Result<ComponentList> back = UploadFile::parse(bytesOf(UploadFile::encode(list)));
    ASSERT_TRUE(back.ok()) << back.message();
    EXPECT_EQ(*back, list);
    EXPECT_EQ(codes(*back), "W001,H001,H001,P002,Z001,W002");
}

TEST(UploadFile, RejectsOtherMagicsWithItsMessage) {
    const std::string body = UploadFile::encode({withPoints("H001", 1)}).substr(12);
    for (std::string magic : {"vexoProfile", "VexoProfile ", "VexoProject"}) {
        const std::string bytes = std::string(1, static_cast<char>(magic.size())) + magic + body;
        const Result<ComponentList> r = UploadFile::parse(bytesOf(bytes));
        EXPECT_EQ(r.message(), "不是有效的钢筋位置上传数据文件!") << magic;
    }
    // A whole project file is refused the same way.
    ProjectInfo info;
    info.projectName.assign("A");
    const Result<ComponentList> r = UploadFile::parse(bytesOf(ProjectFile::encode(info, {})));
    EXPECT_EQ(r.message(), "不是有效的钢筋位置上传数据文件!");
}

TEST(UploadFile, ZeroOrNegativeCountIsAValidEmptyFile) {
    for (std::string count :
         {std::string("\x00\x00\x00\x00", 4), std::string("\xFE\xFF\xFF\xFF")}) {
        const std::string bytes =
            "\x0BVexoProfile" + count + UploadFile::encode({withPoints("H001", 1)}).substr(16);
        const Result<ComponentList> r = UploadFile::parse(bytesOf(bytes));
        ASSERT_TRUE(r.ok()) << r.message();
        EXPECT_TRUE(r->empty());
    }
    EXPECT_EQ(UploadFile::encode({}), std::string("\x0BVexoProfile\x00\x00\x00\x00", 16));
}

TEST(UploadFile, TruncatedFileGivesNothing) {
    const std::string full = UploadFile::encode({withPoints("H001", 2), withPoints("W001", 2, 2)});
    for (std::size_t length = 0; length < full.size(); ++length) {
        const Result<ComponentList> r = UploadFile::parse(bytesOf(full.substr(0, length)));
        EXPECT_FALSE(r.ok()) << length;
        EXPECT_NE(r.message().find("文件不完整"), std::string::npos) << r.message();
    }
}
