#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <functional>
#include <iterator>

#include "document/ProjectDocument.h"
#include "model/ProjectFile.h"
#include "model/StoredText.h"
#include "support/ModelSamples.h"
#include "support/PdfText.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

using samples::withPoints;
using testing::HasSubstr;

namespace {

class SetCommandTest : public testing::Test {
protected:
    // H001 (2 points), Z001 (1), W001 (1 and 1 vertical), a second H001.
    std::string project(const std::string& name = "p.pro") {
        ProjectInfo info;
        info.projectName.assign("A");
        const std::string path = (dir / name).string();
        std::filesystem::remove(path + ".corvane");
        EXPECT_TRUE(ProjectFile::save(path, info,
                                      {withPoints("H001", 2), withPoints("Z001", 1),
                                       withPoints("W001", 1, 1), withPoints("H001", 1)})
                        .ok());
        return path;
    }
    static const Component& nth(const ComponentList& list, int n) {
        return *std::next(list.begin(), n);
    }

    TempDir dir;
};

std::vector<QJsonObject> historyOf(const std::string& pro) {
    std::vector<QJsonObject> entries;
    const QJsonDocument sidecar =
        QJsonDocument::fromJson(QByteArray::fromStdString(TempDir::read(pro + ".corvane")));
    for (const QJsonValue& e : sidecar.object().value("history").toArray()) {
        QJsonObject entry = e.toObject();
        entry.remove("time");
        entry.remove("hash");
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace

// Each case on a fresh project: what it exits with, what it says, and the value it leaves; a
// refused one leaves the file as it was and writes no sidecar.
TEST_F(SetCommandTest, ChangesThePanelsValuesAllOrNothing) {
    using List = const ComponentList&;
    const std::string longName(60, 'a');
    const struct {
        std::vector<std::string> words;
        int status;
        std::string err;
        std::function<int(List)> value = nullptr;
        int expected = 0;
    } cases[] = {
        {{"H001", "designCover=47"}, 0, "", [](List l) { return nth(l, 0).designCover; }, 47},
        {{"H001", "--occurrence", "2", "thicknessTolerance=-3"},
         0,
         "",
         [](List l) { return nth(l, 3).thicknessTolerance + 10 * nth(l, 0).thicknessTolerance; },
         7},
        {{"W001", "--point", "1", "--vertical", "thickness=33", "position=1500"},
         0,
         "",
         [](List l) {
             return nth(l, 2).pointsVert[0].thickness + nth(l, 2).pointsVert[0].position;
         },
         1533},
        {{"Z001", "--point", "1", "diameter=12"},
         0,
         "",
         [](List l) { return nth(l, 1).points[0].diameter; },
         12},
        {{"H001", "name=" + longName},
         0,
         storedText::cutNotice("名称", 49) + "\n",
         [](List l) { return static_cast<int>(nth(l, 0).name.view().size()); },
         49},
        {{"H001", "designCover=47", "thicknessTolerance=40000"},
         1,
         "thicknessTolerance=40000: 请输入一个介于 -32768 和 32767 之间的整数。"},
        {{"H001", "designCover=4.5"}, 1, "designCover=4.5: 请输入一个整数。"},
        {{"W001", "--point", "1", "position=2001"}, 1, "请输入一个介于 0 和 2000 之间的整数。"},
        {{"H001", "--point", "1", "thickness=100"}, 1, "请输入一个介于 0 和 99 之间的整数。"},
        {{"H001", "name=A\xF0\x9F\x98\x80"}, 1, "无法保存（仅支持 GBK 字符）"},
        {{"H001", "designSpacing=100"}, 1, "厚度构件没有这个值"},
        {{"H001", "--point", "1", "position=5"}, 1, "厚度构件的测点没有这个值"},
        {{"H001", "--point", "1", "--vertical", "thickness=3"}, 1, "没有垂直测点"},
        {{"H001", "--point", "9", "thickness=3"}, 1, "构件 H001 没有第 9 个测点。"},
        {{"H001", "--occurrence", "3", "designCover=1"}, 1, "没有第 3 个编号为 H001"},
        {{"H009", "designCover=1"}, 1, "没有编号为 H009 的构件"},
        {{"H001", "pointCount=3"}, 2, "set 不能修改“pointCount”"},
        {{"H001", "--point", "1", "designCover=3"}, 2, "不能修改“designCover”"},
        {{"H001", "designCover"}, 2, "应为 FIELD=VALUE"},
        {{"H001", "--vertical", "designCover=3"}, 2, "--vertical 需要 --point"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.back());
        const std::string pro = project();
        const std::string before = TempDir::read(pro);
        std::vector<std::string> words{"set", pro, "--component"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        const ProgramRun r = runCli(words);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.out, "");
        if (c.status == 0) {
            EXPECT_EQ(r.err, c.err);
            const Result<ProjectContents> read = ProjectFile::read(pro);
            ASSERT_TRUE(read.ok() && read->complete());
            EXPECT_EQ(c.value(read->components), c.expected);
        } else {
            EXPECT_THAT(r.err, HasSubstr(c.err));
            EXPECT_EQ(TempDir::read(pro), before);
            EXPECT_FALSE(std::filesystem::exists(pro + ".corvane"));
        }
    }
    EXPECT_EQ(runCli({"set", "-", "--component", "H001", "designCover=1"}).status, 2);
}

// A sidecar the change cannot be recorded in: nothing is written, neither file.
TEST_F(SetCommandTest, RefusesASidecarItCannotRecordIn) {
    for (const std::string sidecar :
         {"{not json", "{\"format\": \"corvane-sidecar\", \"version\": 99}"}) {
        const std::string pro = project();
        TempDir::write(pro + ".corvane", sidecar);
        const std::string before = TempDir::read(pro);
        const ProgramRun r = runCli({"set", pro, "--component", "H001", "designCover=47"});
        EXPECT_EQ(r.status, 1);
        EXPECT_THAT(r.err, HasSubstr("修改无法记录，未作任何修改。"));
        EXPECT_EQ(TempDir::read(pro), before);
        EXPECT_EQ(TempDir::read(pro + ".corvane"), sidecar);
    }
}

// The same change through set and through the document calls the panel makes: the same
// entries, times and hashes aside; then the history and the marked table show it.
TEST_F(SetCommandTest, RecordsWhatThePanelRecordsAndTheTablesMarkIt) {
    const std::string bySet = project("a.pro");
    ASSERT_EQ(runCli({"set", bySet, "--component", "H001", "designCover=47"}).status, 0);
    ASSERT_EQ(runCli({"set", bySet, "--component", "H001", "--point", "2", "thickness=30"}).status,
              0);
    const std::string byPanel = project("b.pro");
    for (int save = 0; save < 2; ++save) {
        ProjectDocument document;
        ASSERT_TRUE(document.open(QString::fromStdString(byPanel)).ok());
        MeasurePoint point = document.component(0)->points[1];
        point.thickness = 30;
        ASSERT_TRUE(save == 0 ? document.setField(0, ComponentField::DesignCover, 47)
                              : document.setPoint(0, PointRef{false, 1}, point));
        ASSERT_TRUE(document.save(QString::fromStdString(byPanel)).ok());
    }
    const std::vector<QJsonObject> entries = historyOf(bySet);
    EXPECT_EQ(entries, historyOf(byPanel));
    ASSERT_EQ(entries.size(), 5u);  // baseline, edit, save, edit, save
    EXPECT_EQ(entries[1].value("action"), "edit");
    EXPECT_EQ(entries[1].value("old"), 50);
    EXPECT_EQ(entries[1].value("new"), 47);

    const std::string pdf = (dir / "r.pdf").string();
    ASSERT_EQ(runCli({"report", bySet, "--table", "thickness", "--mark-edits", "-o", pdf}).status,
              0);
    const std::string text = testing::PrintToString(pdfPages(pdf));
    EXPECT_THAT(text, HasSubstr("47*"));
    EXPECT_THAT(text, HasSubstr("30*"));
    EXPECT_THAT(text, HasSubstr("* 为修改后的数值"));
    const ProgramRun json =
        runCli({"report", bySet, "--table", "thickness", "--mark-edits", "--json"});
    EXPECT_EQ(json.status, 0);
    EXPECT_THAT(json.out, HasSubstr("\"DepthDesign\":47,"));
    EXPECT_THAT(json.out, testing::Not(HasSubstr("*")));
}
