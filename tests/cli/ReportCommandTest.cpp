#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "model/GbkCodec.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#include "support/ModelSamples.h"
#include "support/PdfText.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

using samples::withPoints;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

ProgramRun report(std::vector<std::string> args) {
    args.insert(args.begin(), "report");
    return runCli(args);
}

class ReportCommandTest : public testing::Test {
protected:
    std::string project(const ComponentList& list, const std::string& name = "p.pro") {
        ProjectInfo info;
        info.projectName.assign(gbk::fromUtf8("综合楼"));
        info.testBasis.assign("GB 50204-2015");
        info.instrument.assign("R-90");
        const auto path = dir / name;
        EXPECT_TRUE(ProjectFile::save(path, info, list).ok());
        return path.string();
    }

    static ComponentList threeKinds() {
        ComponentList list{withPoints("H001", 2), withPoints("Z001", 1), withPoints("W001", 1, 1)};
        list.back().date.assign("12/3/25");
        return list;
    }

    TempDir dir;
};

}  // namespace

TEST_F(ReportCommandTest, JsonListsWhatTheTableWasHandedAndPdfPrintsIt) {
    const std::string pro = project(threeKinds());
    ProgramRun r = report({pro, "--table", "thickness", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "{\"title\":\"钢筋混凝土保护层厚度检测记录表\",\"parameters\":{\"ProjectName\":"
              "\"综合楼\",\"TestBasis\":\"GB 50204-2015\",\"Instrument\":\"R-90\",\"TestDate\":"
              "\"11/3/25\"},\"rows\":[\n"
              "{\"ComponentNum\":\"H001\",\"ComponentName\":\"H001\",\"DiameterDesign\":16,"
              "\"DepthDesign\":50,\"D1\":20,\"D2\":21},\n"
              "{\"ComponentNum\":\"W001\",\"ComponentName\":\"W001\",\"DiameterDesign\":16,"
              "\"DepthDesign\":50,\"D1\":20},\n"
              "{\"ComponentNum\":\"W001\",\"ComponentName\":\"W001\",\"DiameterDesign\":12,"
              "\"DepthDesign\":50,\"D1\":40}]}\n");

    // Only the listed components; a table without rows is still a table.
    r = report({pro, "--table", "spacing", "--components", "W001,Z001", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\"TestDate\":\"11/3/25\"},\"rows\":[]}"));
    r = report({pro, "--table=diameter", "--components", "W001", "--components=Z001", "--json"});
    EXPECT_THAT(r.out,
                HasSubstr("\"TestDate\":\"11/3/25\"},\"rows\":[\n{\"ComponentNum\":\"Z001\""));
    r = report({pro, "--table", "thickness", "--components", "W001", "--json"});
    EXPECT_THAT(r.out,
                HasSubstr("\"TestDate\":\"12/3/25\"},\"rows\":[\n{\"ComponentNum\":\"W001\""));

    const std::string pdf = (dir / "out.pdf").string();
    r = report({pro, "--table", "diameter", "-o", pdf});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].front(), "钢筋公称直径检测记录表");
    EXPECT_THAT(pages[0], testing::Contains("Z001 Z001 16 8"));
}

TEST_F(ReportCommandTest, RefusesBadArgumentsAndFilesWithoutTicks) {
    const std::string pro = project(threeKinds());
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {pro, "--json"},
             {pro, "--table", "depth", "--json"},
             {pro, "--table", "thickness"},
             {pro, "--table", "thickness", "--json", "-o", "x.pdf"},
             {"--table", "thickness", "--json"},
             {pro, "--table", "thickness", "--json", "--all"},
             // Several tables, and --format, only for a workbook.
             {pro, "--table", "thickness", "--table", "spacing", "-o", "x.pdf"},
             {pro, "--table", "thickness", "--table", "spacing", "--json"},
             {pro, "--table", "thickness", "--table", "thickness", "-o", "x.xlsx"},
             {pro, "--table", "thickness", "-o", "x.xlsx", "--format", "xls"},
             {pro, "--table", "thickness", "--json", "--format", "xlsx"}}) {
        const ProgramRun r = report(bad);
        EXPECT_EQ(r.status, 2) << bad.size();
        EXPECT_THAT(r.err, HasSubstr("用法"));
    }

    const auto upload = dir / "u.vexo";
    ASSERT_TRUE(UploadFile::save(upload, threeKinds()).ok());
    const std::vector<std::pair<std::vector<std::string>, std::string>> failing{
        {{(dir / "absent.pro").string(), "--table", "thickness", "--json"}, "无法打开文件"},
        {{upload.string(), "--table", "thickness", "--json"}, "不是工程文件"},
        {{pro, "--table", "thickness", "--components", "H001,X9", "--json"},
         "工程中没有编号为 X9 的构件"},
        {{project({}, "empty.pro"), "--table", "thickness", "--json"}, "没有选中任何构件"},
        {{pro, "--table", "thickness", "-o", (dir / "no" / "x.xlsx").string()}, "无法在文件夹"},
        // No room for the library's files: the temporary folder is a file (TMPDIR set below).
        {{pro, "--table", "thickness", "-o", (dir / "t.xlsx").string()},
         "生成 Excel 工作簿失败：无法在“" + pro + "”中建立临时文件夹。"},
    };
    for (const auto& [args, message] : failing) {
        if (args.back().ends_with("t.xlsx")) ::setenv("TMPDIR", pro.c_str(), 1);
        const ProgramRun r = report(args);
        ::unsetenv("TMPDIR");
        EXPECT_EQ(r.status, 1) << message;
        EXPECT_EQ(r.out, "");
        EXPECT_THAT(r.err, HasSubstr(message));
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "t.xlsx"));
}

// The installed program is renamed and lies deep in a folder, without a display or a
// runtime folder: it finds its templates beside it, then in ../share/corvane/, and prints its
// built-in copy of any it does not find or cannot use.
TEST_F(ReportCommandTest, ARenamedProgramFarDownFindsTheTemplatesBesideItOrUsesItsOwn) {
    namespace fs = std::filesystem;
    fs::path folder = dir.path();
    for (int i = 0; i < 6; ++i) folder /= "一个很长的文件夹名称-" + std::to_string(i);
    fs::create_directories(folder / "bin");
    fs::create_directories(folder / "share" / "corvane");
    const fs::path program = folder / "bin" / "rebar-tables";
    fs::copy_file(CORVANE_CLI, program);
    const fs::path beside = fs::path(CORVANE_CLI).parent_path();
    fs::copy_file(beside / "VexoDepthReport.grf", folder / "bin" / "VexoDepthReport.grf");
    std::string diameter = TempDir::read(beside / "VexoDiameterReport.grf");
    diameter.replace(diameter.find("钢筋公称直径检测记录表"), 33, "直径记录");  // restyled
    TempDir::write(folder / "share" / "corvane" / "VexoDiameterReport.grf", diameter);
    const std::string pro = project(threeKinds());

    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"report", pro, "--table"});
        return runProgram(program.string(), args);
    };
    ProgramRun r = run({"diameter", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_THAT(r.out, HasSubstr("{\"title\":\"直径记录\""));

    // No file: the built-in copy, without a word; no row: the blank form, and the user is told.
    r = run({"spacing", "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "所选构件中没有可填入《钢筋间距检测记录表》的数据，将输出空白表。\n");
    EXPECT_THAT(r.out, HasSubstr("{\"title\":\"钢筋间距检测记录表\",\"parameters\""));

    // A template that lacks a field the table fills is named, and the table still prints.
    const fs::path depthFile = folder / "bin" / "VexoDepthReport.grf";
    std::string depth = TempDir::read(depthFile);
    depth.replace(depth.find("\"field\": \"D10\""), 14, "\"field\": \"X10\"");
    TempDir::write(depthFile, depth);
    r = run({"thickness", "-o", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "报表模板 " + depthFile.string() +
                         " 无法使用：没有字段“D10”。改用程序内置的模板。\n");
    EXPECT_THAT(r.out, StartsWith("%PDF-"));  // into the pipe

    // The blank form on paper.
    r = run({"diameter", "--components", "H001", "-o", (dir / "blank.pdf").string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "所选构件中没有可填入《钢筋公称直径检测记录表》的数据，将输出空白表。\n");
    const auto pages = pdfPages((dir / "blank.pdf").string());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].front(), "直径记录");
}
