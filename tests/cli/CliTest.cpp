#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <sstream>

#include "cli/CliArguments.h"
#include "cli/DataFile.h"
#include "instrument/DemoInspection.h"
#include "model/ComponentFileReader.h"
#include "model/GbkCodec.h"
#include "model/ProjectFile.h"
#include "model/StoredText.h"
#include "model/UploadFile.h"
#include "support/ModelSamples.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

using samples::withPoints;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

class CliTest : public testing::Test {
protected:
    std::string upload(const std::string& name, const ComponentList& list) {
        const auto path = dir / name;
        EXPECT_TRUE(UploadFile::save(path, list).ok());
        return path.string();
    }
    std::string file(const std::string& name, const std::string& bytes) {
        TempDir::write(dir / name, bytes);
        return (dir / name).string();
    }

    TempDir dir;
};

}  // namespace

TEST_F(CliTest, ShowJsonOfTheDocumentedUpload) {
    Component c = samples::component("H001", "11/3/25");
    c.addPoint();
    c.points.back().thickness = 30;
    c.addPoint();
    c.points.back().thickness = 41;
    const ProgramRun r = runCli({"show", upload("data.vexo", {c}), "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "{\"kind\":\"upload\",\"components\":[\n"
              "{\"code\":\"H001\",\"name\":\"H001\",\"date\":\"11/3/25\",\"designDiameter\":16,"
              "\"designDiameterVert\":0,\"designCover\":50,\"designCoverVert\":0,"
              "\"designSpacing\":0,\"designSpacingVert\":0,\"diameterTolerance\":1,"
              "\"thicknessTolerance\":1,\"spacingTolerance\":3,\"pointCount\":2,"
              "\"pointCountVert\":0,\"points\":[{\"diameter\":0,\"thickness\":30,\"position\":0},"
              "{\"diameter\":0,\"thickness\":41,\"position\":0}],\"pointsVert\":[],"
              "\"summary\":[\"H001\",\"H001\",\"11/3/25\",\"厚度\",\"16 mm\",\"\",\"\",\"50 mm\","
              "\"41 mm\",\"30 mm\",\"\",\"\",\"\",\"2\",\"0\"]}],"
              "\"complete\":true,\"error\":null}\n");
}

TEST_F(CliTest, ShowJsonTellsHowTheReadEnded) {
    ProjectInfo info;
    info.projectName.assign(gbk::fromUtf8("梁\"板\""));
    const std::string full =
        ProjectFile::encode(info, {withPoints("H001", 2), withPoints("Z001", 2)});

    ProgramRun r = runCli({"show", file("cut.pro", full.substr(0, full.size() - 3)), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, HasSubstr("\"projectName\":\"梁\\\"板\\\"\""));
    EXPECT_THAT(r.out, HasSubstr("\"code\":\"H001\""));
    EXPECT_THAT(r.out, Not(HasSubstr("Z001")));
    EXPECT_THAT(r.out, HasSubstr("\"complete\":false,\"error\":\"读取工程文件失败。文件不完整"));
    EXPECT_THAT(r.err, HasSubstr("文件不完整"));

    std::string negative = ProjectFile::encode(info, {});
    negative.replace(negative.size() - 4, 4, "\xFF\xFF\xFF\xFF");
    r = runCli({"show", file("negative.pro", negative), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, StartsWith("{\"kind\":\"project\",\"project\":{"));
    EXPECT_THAT(r.out, HasSubstr("\"components\":[],\"complete\":false"));

    r = runCli({"show", file("empty.vexo", UploadFile::encode({})), "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "{\"kind\":\"upload\",\"components\":[],\"complete\":true,\"error\":null}\n");

    r = runCli(
        {"show", file("other.vexo", std::string("\x0BVexoPROFILE\x00\x00\x00\x00", 16)), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out,
                StartsWith("{\"kind\":null,\"components\":[],\"complete\":false,\"error\":\""));

    // A damaged upload is still an upload; a file too short for its first string is none.
    const std::string upload = UploadFile::encode({withPoints("H001", 2)});
    r = runCli({"show", file("cut.vexo", upload.substr(0, upload.size() - 3)), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, StartsWith("{\"kind\":\"upload\",\"components\":[],\"complete\":false"));
    r = runCli({"show", file("tiny", "\x0BVexo"), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, HasSubstr("\"error\":\"" +
                                 ComponentFileReader::wrongKind((dir / "tiny").string(),
                                                                DataFile::eitherKindMessage) +
                                 "\""));

    r = runCli({"show", (dir / "absent.pro").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr("无法打开文件"));
}

TEST_F(CliTest, ShowTextListsHeaderComponentsAndGridDirections) {
    ProjectInfo info;
    info.projectName.assign(gbk::fromUtf8("综合楼"));
    const ProgramRun r =
        runCli({"show", file("p.pro", ProjectFile::encode(info, {withPoints("W001", 2, 3)}))});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr("工程名称: 综合楼\n"));
    EXPECT_THAT(r.out, HasSubstr("W001      W001      网格"));
    EXPECT_THAT(r.out, HasSubstr("16,12"));  // a grid shows horizontal,vertical pairs
    EXPECT_THAT(r.out, HasSubstr("1. W001 水平测点:"));
    EXPECT_THAT(r.out, HasSubstr("1. W001 垂直测点:"));
    EXPECT_THAT(r.out, HasSubstr("  3     0         42          65529"));
}

TEST_F(CliTest, NewProjectOrdersByTypeAndRoundTrips) {
    const std::string first =
        upload("a.vexo", {withPoints("P001", 2), withPoints("W001", 1, 1), withPoints("H001", 3)});
    const std::string second =
        upload("b.vexo", {withPoints("Z001", 1), withPoints("H001", 1), withPoints("P001", 1)});
    const std::string out = (dir / "new.pro").string();
    std::string longName;
    for (int i = 0; i < 30; ++i) longName += "梁";

    ProgramRun r = runCli({"new-project", out, "--name", longName, "--unit", "检测中心", "--basis",
                           "GB 50204", "--add", first, "--add", second});
    ASSERT_EQ(r.status, 0) << r.err;

    const Result<ProjectContents> back = ProjectFile::read(out);
    ASSERT_TRUE(back.ok() && back->complete());
    EXPECT_EQ(samples::codes(back->components), "H001,H001,Z001,W001,P001,P001");
    EXPECT_EQ(back->components.front().points.size(), 3u);  // the first file's H comes first
    EXPECT_EQ(back->info.projectName.view().size(), 48u);   // 24 characters, cut whole
    EXPECT_EQ(gbk::toUtf8(back->info.testUnit.view()), "检测中心");
    EXPECT_EQ(back->info.testBasis.view(), "GB 50204");
    EXPECT_EQ(back->info.instrument.view(), "");

    r = runCli({"show", out, "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr("\"testUnit\":\"检测中心\""));
}

TEST_F(CliTest, NewProjectWithABadUploadWritesNothing) {
    const std::string out = (dir / "keep.pro").string();
    TempDir::write(out, "old");
    const std::string good = upload("good.vexo", {withPoints("H001", 1)});
    ProjectInfo info;
    const std::string project = file("project.pro", ProjectFile::encode(info, {}));

    ProgramRun r = runCli({"new-project", out, "--name", "X", "--add", good, "--add", project});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("不是有效的钢筋位置上传数据文件!"));
    EXPECT_EQ(TempDir::read(out), "old");

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"new-project", out},
                                               {"new-project", out, "--name"},
                                               {"new-project", out, "--name", ""},
                                               {"new-project", "--name", "X"},
                                               {"new-project", out, "--name", "X", "--bogus"}}) {
        r = runCli(bad);
        EXPECT_EQ(r.status, 2);
        EXPECT_THAT(r.err, HasSubstr("用法"));
    }
    EXPECT_EQ(TempDir::read(out), "old");
}

TEST_F(CliTest, ExportCsvOneRowPerPoint) {
    Component grid = withPoints("W001", 2, 1);
    grid.name.assign(gbk::fromUtf8("板,\"东\""));
    const std::string source =
        upload("d.vexo", {withPoints("Z001", 2), grid, withPoints("H002", 0)});
    const std::string target = (dir / "points.csv").string();

    const ProgramRun r = runCli({"export-csv", source, "-o", target});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string csv = TempDir::read(target);
    ASSERT_THAT(csv, StartsWith("\xEF\xBB\xBF构件编号,构件名称,日期,检测类型,方向,测点序号,"));

    std::vector<std::string> lines;
    std::istringstream in(csv);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u + 2 + 2 + 1);
    EXPECT_EQ(lines[1], "Z001,Z001,11/3/25,直径,X,1,8,20,0,16,0,50,0,0,0,1,1,3\r");
    EXPECT_EQ(lines[4],
              "W001,\"板,\"\"东\"\"\",11/3/25,网格,X,2,0,21,107,16,12,50,50,100,100,1,1,3\r");
    EXPECT_EQ(lines[5],
              "W001,\"板,\"\"东\"\"\",11/3/25,网格,Y,1,0,40,65535,16,12,50,50,100,100,1,1,3\r");

    const ProgramRun bad =
        runCli({"export-csv", file("cut.vexo", TempDir::read(source).substr(0, 40))});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
}

// One parser for every command: options that may not repeat, stored texts that must be
// UTF-8 (a file path may be any bytes), "-" for standard output.
TEST_F(CliTest, ArgumentsAreReadStrictlyByOneParser) {
    const std::string source = upload("d.vexo", {withPoints("H001", 1)});
    const std::string out = (dir / "p.pro").string();
    const std::string odd = (dir / "\xe5\x90-name.pro").string();
    struct Case {
        std::vector<std::string> words;
        int status;
        std::string err;  // how standard error starts; empty: nothing on it
    };
    const std::vector<Case> cases{
        {{"new-project", out, "--name",
          "\xe5\x90"
          "abc"},
         2,
         "选项 --name 的文字不是有效的 UTF-8 编码"},
        {{"new-project", out, "--name", "A", "--unit=\xC0\xAF"},
         2,
         "选项 --unit 的文字不是有效的 UTF-8 编码"},
        {{"new-project", out, "--name", "A", "--name", "B"}, 2, "选项 --name 只能给一次"},
        {{"new-project", out, "--name", "A", "--instrument", "Añ😀ñ"},
         2,
         "“--instrument”中的字符“ñ😀”无法保存（仅支持 GBK 字符）。"},
        // Qt's file names cannot hold it: the project is written, its sidecar is not.
        {{"new-project", odd, "--name", "梁", "--add", source, "--add", source},
         0,
         "“\xe5\x90-name.pro”的名称不是有效的 UTF-8 编码"},
        {{"export-csv", source, "-o", out, "-o", out}, 2, "选项 -o 只能给一次"},
        {{"show", source, "--json", "--json"}, 2, "选项 --json 只能给一次"},
        {{"show", source, "--json=yes"}, 2, "未知选项 --json=yes"},
        {{"report", out, "--table", "thickness", "--json", "--components", "H\xff"},
         2,
         "选项 --components 的文字不是有效的 UTF-8 编码"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words[0] + " " + c.words[1] + " " + c.words[2]);
        const ProgramRun r = runCli(c.words);
        EXPECT_EQ(r.status, c.status);
        if (c.err.empty()) {
            EXPECT_EQ(r.err, "");
        } else {
            EXPECT_THAT(r.err, StartsWith(c.err));
        }
        if (c.status == 2) {
            EXPECT_THAT(r.err, HasSubstr("用法"));
        }
    }
    EXPECT_TRUE(std::filesystem::exists(odd));
    EXPECT_FALSE(std::filesystem::exists(out));

    const ProgramRun csv = runCli({"export-csv", source, "-o", "-"});
    EXPECT_EQ(csv.status, 0);
    EXPECT_THAT(csv.out, StartsWith("\xEF\xBB\xBF构件编号"));
}

// The edges of the command line, run in the test's folder: what a command prints, and which
// files it leaves there.
TEST_F(CliTest, EdgesOfTheCommandLine) {
    upload("-odd.vexo", {withPoints("H001", 1)});
    file("junk.pro", "junk junk junk");
    const auto wrongKind = [](std::string_view message) {
        return "junk.pro: " + ComponentFileReader::wrongKind("junk.pro", message) + "\n";
    };
    std::string longName;
    for (int i = 0; i < 30; ++i) longName += "梁";
    ProjectInfo named;
    named.projectName.assign("A");
    const std::string demo = UploadFile::encode(DemoInspection::components());
    struct Case {
        std::vector<std::string> words;
        int status;
        testing::Matcher<std::string> err;
        std::optional<std::string> out;  // standard output, whole; unchecked without
        std::set<std::string> made;      // the files it leaves
    };
    const std::vector<Case> cases{
        {{"show", "--", "-odd.vexo"}, 0, "", std::nullopt, {}},
        {{"new-project", "-", "--name", "A"},
         0,
         "已创建工程 -，共 0 个构件。\n",
         ProjectFile::encode(named, {}),
         {}},
        {{"new-project", "./-", "--name", "A"}, 0, "", "已创建工程 ./-，共 0 个构件。\n", {"-", "-.corvane"}},
        {{"transfer", "--demo", "-o", "-"},
         0,
         HasSubstr("已保存上传数据文件：-（12 个构件）\n"),
         demo,
         {}},
        {{"new-project", "long.pro", "--name", longName, "--instrument", std::string(30, 'x')},
         0,
         storedText::cutNotice("工程名称", 49) + "\n" + storedText::cutNotice("仪器型号", 29) +
             "\n",
         std::nullopt,
         {"long.pro", "long.pro.corvane"}},
        {{"transfer", "--simulate", "/dev/zero", "-o", "z.vexo"},
         1,
         HasSubstr("“/dev/zero”超过了 4194295 字节的读取上限"),
         "",
         {}},
        {{"report", "junk.pro", "--table", "thickness", "--json"},
         1,
         wrongKind(ProjectFile::wrongMagicMessage),
         "",
         {}},
        {{"judge", "junk.pro", "--json"}, 1, wrongKind(ProjectFile::wrongMagicMessage), "", {}},
        {{"export-csv", "junk.pro"}, 1, wrongKind(DataFile::eitherKindMessage), "", {}},
        {{"chart", "junk.pro", "--component", "H001", "-o", "c.png"},
         1,
         wrongKind(DataFile::eitherKindMessage),
         "",
         {}},
    };
    const std::set<std::string> before = TempDir::names(dir.path());
    ProgramStart inFolder;
    inFolder.folder = dir.path();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words[0] + " " + c.words[1] + " " + c.words.back());
        const ProgramRun r = runCli(c.words, inFolder);
        EXPECT_EQ(r.status, c.status);
        EXPECT_THAT(r.err, c.err);
        if (c.out) {
            EXPECT_EQ(r.out, *c.out);
        }
        std::set<std::string> made;
        for (const std::string& name : TempDir::names(dir.path())) {
            if (!before.contains(name)) made.insert(name);
        }
        EXPECT_EQ(made, c.made);
        for (const std::string& name : made) std::filesystem::remove(dir / name);
    }
}

TEST(CliArguments, Utf8IsCheckedForOverlongFormsSurrogatesAndRange) {
    const std::vector<std::pair<std::string, bool>> cases{
        {"abc", true},
        {"\xC2\x80", true},
        {"\xDF\xBF\xEF\xBF\xBD", true},  // U+07FF, U+FFFD: the last lead bytes of their lengths //
                                         // U+0080, the first two-byte character
        {"梁\xE0\xA0\x80", true},        // U+0800
        {"\xF0\x90\x80\x80", true},      // U+10000
        {"\xF4\x8F\xBF\xBF", true},      // U+10FFFF, the last
        {"\xC0\xAF", false},             // overlong "/"
        {"\xE0\x80\xAF", false},         // overlong
        {"\xF0\x80\x80\xAF", false},     // overlong
        {"\xED\xA0\x80", false},         // a surrogate
        {"\xF4\x90\x80\x80", false},     // past U+10FFFF
        {"\xF5\x80\x80\x80", false},     // no such lead byte
        {std::string("\xE5\x90") + "abc", false},  // cut short
        {"\x80", false},                           // a stray continuation byte
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(isValidUtf8(text), valid) << text.size();
}
