#include <gtest/gtest.h>

#include "model/ArchiveWriter.h"
#include "model/ComponentBlock.h"
#include "model/GbkCodec.h"
#include "model/ProjectFile.h"
#include "support/ModelSamples.h"

using samples::bytesOf;
using samples::codes;
using samples::withPoints;

namespace {

ProjectInfo sampleInfo() {
    ProjectInfo info;
    info.projectName.assign(gbk::fromUtf8("综合楼二层梁板"));
    info.testBasis.assign("GB 50204");
    info.testUnit.assign(gbk::fromUtf8("某检测中心"));
    info.instrument.assign("R-630");
    return info;
}

ComponentList sampleComponents() {
    ComponentList list;
    list.push_back(withPoints("H001", 3));
    list.push_back(withPoints("Z001", 2));
    list.push_back(withPoints("W001", 2, 2));
    list.push_back(withPoints("P001", 4));
    return list;
}

std::string blockBytes(const Component& c) {
    std::string out;
    ArchiveWriter w(out);
    ComponentBlock::write(w, c);
    return out;
}

}  // namespace

TEST(ProjectFile, EmptyProjectMatchesTheDocumentedBytes) {
    ProjectInfo info;
    info.projectName.assign("A");
    const std::string bytes = ProjectFile::encode(info, {});
    EXPECT_EQ(bytes, std::string("\x0BVexoProject\x01"
                                 "A\x00\x00\x00\x00\x00\x00\x00",
                                 21));
}

TEST(ProjectFile, ThicknessBlockSize) {
    for (std::string date : {"", "5/1/2", "11/3/25", "2025/12/31"}) {
        Component c = withPoints("H001", 3);
        c.date.assign(date);
        EXPECT_EQ(blockBytes(c).size(), 5 + 5 + (1 + date.size()) + 22 + 24) << date;
    }
}

TEST(ProjectFile, GridBlockBytes) {
    Component c = withPoints("W001", 1, 1);
    c.name.assign("N");
    c.date.assign("1/2/3");
    const std::string expected(
        "\x04W001\x01N\x05"
        "1/2/3"
        "\x10\x00\x0C\x00\x32\x00\x32\x00\x64\x00\x64\x00\x01\x00\x01\x00\x03\x00\x01\x00\x01\x00"
        "\x00\x00\x14\x00\x07\x00\x00\x00"
        "\x00\x00\x28\x00\xFF\xFF\x00\x00",
        5 + 2 + 6 + 22 + 16);
    EXPECT_EQ(blockBytes(c), expected);

    c.removePoint(0, true);  // no vertical points: no vertical block at all
    EXPECT_EQ(blockBytes(c), expected.substr(0, expected.size() - 8).replace(33, 1, "\x00", 1));
}

TEST(ProjectFile, RoundTripsEveryTypeWithBothPointLists) {
    ProjectInfo info = sampleInfo();
    ComponentList components = sampleComponents();
    components.push_back(withPoints("W002", 3, 0));
    components.push_back(withPoints("H001", 0));  // duplicated code, no points
    components.back().name.assign(gbk::fromUtf8("一层柱"));

    const Result<ProjectContents> back =
        ProjectFile::parse(bytesOf(ProjectFile::encode(info, components)));
    ASSERT_TRUE(back.ok()) << back.message();
    EXPECT_TRUE(back->complete()) << back->damage;
    EXPECT_EQ(back->info, info);
    EXPECT_EQ(back->components, components);
}

TEST(ProjectFile, MagicIsComparedWholeAndCaseSensitively) {
    const std::string body = ProjectFile::encode(sampleInfo(), sampleComponents()).substr(12);
    for (std::string magic :
         {"vexoProject", "VexoProject ", "VexoProjec", "VEXOPROJECT", "VexoProfile"}) {
        std::string bytes = std::string(1, static_cast<char>(magic.size())) + magic + body;
        const Result<ProjectContents> r = ProjectFile::parse(bytesOf(bytes));
        EXPECT_FALSE(r.ok()) << magic;
        EXPECT_EQ(r.message(), "不是有效的钢筋位置工程文件!");
    }
}

TEST(ProjectFile, NegativeCountKeepsTheHeaderOnly) {
    std::string bytes = ProjectFile::encode(sampleInfo(), {});
    bytes.replace(bytes.size() - 4, 4, "\xFF\xFF\xFF\xFF");
    bytes += blockBytes(withPoints("H001", 1));
    const Result<ProjectContents> r = ProjectFile::parse(bytesOf(bytes));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->damage, ProjectFile::negativeCountMessage);
    EXPECT_EQ(r->info, sampleInfo());
    EXPECT_TRUE(r->components.empty());
}

TEST(ProjectFile, TruncationAtEveryOffsetKeepsWhatWasComplete) {
    const ProjectInfo info = sampleInfo();
    const ComponentList components = sampleComponents();
    const std::string full = ProjectFile::encode(info, components);

    // Where each item ends, in file order.
    std::vector<std::size_t> textEnds;
    std::size_t at = 12;
    for (auto text : {info.projectName.view(), info.testBasis.view(), info.testUnit.view(),
                      info.instrument.view()}) {
        at += 1 + text.size();
        textEnds.push_back(at);
    }
    const std::size_t countEnd = at + 4;
    std::vector<std::size_t> blockEnds;
    at = countEnd;
    for (const auto& c : components) blockEnds.push_back(at += blockBytes(c).size());
    ASSERT_EQ(at, full.size());

    for (std::size_t length = 0; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        const Result<ProjectContents> r = ProjectFile::parse(bytesOf(full.substr(0, length)));
        ASSERT_EQ(r.ok(), length >= 12);
        if (!r.ok()) {
            EXPECT_NE(r.message().find("文件不完整"), std::string::npos);
            continue;
        }
        EXPECT_NE(r->damage.find("文件不完整"), std::string::npos);
        EXPECT_EQ(r->info.projectName.view(), length >= textEnds[0] ? info.projectName.view() : "");
        EXPECT_EQ(r->info.testBasis.view(), length >= textEnds[1] ? info.testBasis.view() : "");
        EXPECT_EQ(r->info.testUnit.view(), length >= textEnds[2] ? info.testUnit.view() : "");
        EXPECT_EQ(r->info.instrument.view(), length >= textEnds[3] ? info.instrument.view() : "");
        std::size_t complete = 0;
        while (complete < blockEnds.size() && blockEnds[complete] <= length) ++complete;
        ASSERT_EQ(r->components.size(), complete);
        EXPECT_TRUE(std::equal(r->components.begin(), r->components.end(), components.begin()));
    }
}

TEST(ProjectFile, CountsFarBeyondTheFileEndAsTruncated) {
    std::string bytes = ProjectFile::encode(sampleInfo(), {});
    bytes.replace(bytes.size() - 4, 4, "\xFF\xFF\xFF\x7F");  // 2^31 - 1 components
    bytes += blockBytes(withPoints("H001", 2));
    Result<ProjectContents> r = ProjectFile::parse(bytesOf(bytes));
    EXPECT_FALSE(r->complete());
    EXPECT_EQ(codes(r->components), "H001");

    Component huge = withPoints("P001", 1);
    huge.pointCount = 32767;  // announces 32767 points, holds one
    std::string one = ProjectFile::encode(sampleInfo(), {huge});
    r = ProjectFile::parse(bytesOf(one));
    EXPECT_FALSE(r->complete());
    EXPECT_TRUE(r->components.empty());
}

TEST(ProjectFile, PointRecordsOnlyForLettersThatHaveThem) {
    // Stored counts are kept as they are; letters without points read none, so the block
    // after them is found at its own offset.
    Component other = withPoints("X001", 0);
    other.pointCount = 5;
    other.pointCountVert = 2;
    Component thickness = withPoints("H002", 2, 1);  // vertical points: only a grid has them
    Component empty = withPoints("", 0);
    empty.pointCount = 1;
    Component negative = withPoints("W009", 0);
    negative.pointCount = -4;
    negative.pointCountVert = -1;
    Component noVertical = withPoints("W010", 1, 1);
    noVertical.pointCountVert = 0;  // the count, not the list, says what is stored
    ComponentList list{other, thickness, empty, negative, noVertical, withPoints("Z003", 1)};

    const Result<ProjectContents> r =
        ProjectFile::parse(bytesOf(ProjectFile::encode(sampleInfo(), list)));
    ASSERT_TRUE(r->complete()) << r->damage;
    for (auto& c : list) c.pointsVert.clear();  // none of them stores vertical records
    EXPECT_EQ(r->components, list);
    EXPECT_EQ(r->components.front().pointCount, 5);
    EXPECT_TRUE(r->components.front().points.empty());
}

TEST(ProjectFile, StoredTextsLongerThanTheirFieldsAreCut) {
    std::string bytes;
    ArchiveWriter w(bytes);
    w.writeString("VexoProject");
    w.writeString(std::string(60, 'N'));
    w.writeString(gbk::fromUtf8(std::string(30 * 3, 'x')));
    w.writeString("");
    w.writeString(std::string(40, 'I'));
    w.writeInt32(1);
    w.writeString("H0011");
    w.writeString(gbk::fromUtf8("名"));
    w.writeString(std::string(25, '1'));
    for (int i = 0; i < 11; ++i) w.writeInt16(0);

    const Result<ProjectContents> r = ProjectFile::parse(bytesOf(bytes));
    ASSERT_TRUE(r->complete()) << r->damage;
    EXPECT_EQ(r->info.projectName.view(), std::string(49, 'N'));
    EXPECT_EQ(r->info.testBasis.view(), std::string(49, 'x'));
    EXPECT_EQ(r->info.instrument.view(), std::string(29, 'I'));
    EXPECT_EQ(r->components.front().code.view(), "H001");
    EXPECT_EQ(r->components.front().date.view(), std::string(19, '1'));
}

TEST(ProjectFile, WideHeaderTextIsReadAsGbk) {
    std::string bytes("\x0BVexoProject", 12);
    bytes += std::string("\xFF\xFE\xFF\x02\xE5\x5D\x0B\x7A", 8);  // 工程
    bytes += std::string("\x00\x00\x00\x00\x00\x00\x00", 7);
    const Result<ProjectContents> r = ProjectFile::parse(bytesOf(bytes));
    ASSERT_TRUE(r->complete()) << r->damage;
    EXPECT_EQ(gbk::toUtf8(r->info.projectName.view()), "工程");
}
