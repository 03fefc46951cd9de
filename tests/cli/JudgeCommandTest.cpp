#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "document/ProjectSidecar.h"
#include "document/SidecarFile.h"
#include "model/FileIo.h"
#include "model/ProjectFile.h"
#include "support/ModelSamples.h"
#include "support/PdfText.h"
#include "support/ProgramRun.h"
#include "support/SidecarText.h"
#include "support/TempDir.h"

using samples::withCovers;
using samples::withPoints;
using testing::HasSubstr;

namespace {

ProgramRun judge(std::vector<std::string> args) {
    args.insert(args.begin(), "judge");
    return runCli(args);
}

class JudgeCommandTest : public testing::Test {
protected:
    // A project of two H001 (design 50), a diameter and a grid component, and beside it a
    // sidecar of the project's bytes with `entries`.
    std::string project(const std::string& entries, const std::string& name = "p.pro") {
        const auto path = dir / name;
        const ComponentList list{withCovers("H001", {50, 55}), withPoints("Z001", 2),
                                 withPoints("W001", 1, 1), withCovers("H001", {52, 0, 45})};
        EXPECT_TRUE(ProjectFile::save(path, ProjectInfo{}, list).ok());
        if (!entries.empty()) {
            const std::string sha = ProjectSidecar::sha256Hex(FileIo::readAll(path).value());
            TempDir::write(path.string() + ".corvane", sidecarText(sha, entries));
        }
        return path.string();
    }

    TempDir dir;
};

}  // namespace

TEST_F(JudgeCommandTest, RefusesBadArgumentsAndCodesItCannotJudgeWithNothingOnOutput) {
    const std::string pro = project(R"({"code": "H001", "occurrence": 1, "class": "slab",
                                        "sample": 2})");
    // A sidecar that cannot be read is no reason to judge other components than it names.
    const std::string damaged = project("", "d.pro");
    TempDir::write(damaged + ".corvane", sidecarText("", "").substr(0, 40));  // cut short
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases{
        {{pro}, 2, "用法"},
        {{pro, "--json", "-o", "x.pdf"}, 2, "用法"},
        {{pro, "-o", "x.xlsx", "--format", "ods"}, 2, "--format 应为 pdf 或 xlsx"},
        {{pro, "--beam", "H001,", "--json"}, 2, "逗号分隔"},
        {{pro, "--beam", "H001", "--beam", "W001", "--json"}, 2, "只能给一次"},
        {{pro, "--slab", "H001,X9", "--json"}, 1, "工程中没有编号为 X9 的构件"},
        {{pro, "--beam", "W001,H001", "--none", "H001", "--json"},
         1,
         "构件编号 H001 同时出现在 --beam 和 --none 中"},
        {{pro, "--beam", "Z001", "--json"}, 1, "构件 Z001 不是保护层厚度、网格或剖面构件"},
        // The second H001 has no class in the sidecar.
        {{pro, "--second", "H001", "--json"}, 1, "构件 H001 没有验收类别"},
        {{pro, "--none", "H001", "--json"}, 1, "p.pro: 没有参与判定的构件"},
        {{damaged, "--beam", "H001", "--json"}, 1, "d.pro.corvane”已损坏"},
        {{(dir / "absent.pro").string(), "--json"}, 1, "无法打开文件"},
        {{pro, "--beam", "H001", "-o", (dir / "no" / "x.pdf").string()}, 1, "无法在文件夹"},
    };
    for (const auto& [args, status, message] : cases) {
        const ProgramRun r = judge(args);
        EXPECT_EQ(r.status, status) << message;
        EXPECT_EQ(r.out, "") << message;
        EXPECT_THAT(r.err, HasSubstr(message));
    }
}

// The sidecar's classes, with the options laid over them code by code: H001 becomes a beam
// in both occurrences, the first keeping its second sample; W001 leaves; Z001's entry is
// not placed, and said so. The PDF is the judgement table of the same components.
TEST_F(JudgeCommandTest, JsonAndPdfJudgeTheSidecarsClassesChangedByTheOptions) {
    const std::string pro = project(
        R"({"code": "H001", "occurrence": 1, "class": "slab", "sample": 2},
           {"code": "Z001", "occurrence": 1, "class": "beam", "sample": 1},
           {"code": "W001", "occurrence": 1, "class": "beam", "sample": 1})");
    const ProgramRun r = judge({pro, "--beam", "H001", "--none", "W001", "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, pro + ": " + SidecarFile::unplacedNotice(1) + "\n");
    EXPECT_EQ(
        r.out,
        R"({"classes":{"beam":{"components":2,"points":4,"unmeasured":1,"passing":4,)"
        R"("rate":"100%","maxOver":5,"maxUnder":-5,"beyond":0,"verdict":"合格",)"
        R"("notices":["梁类第一次抽样构件少于 5 个（1 个）。"],)"
        R"("first":{"components":1,"points":2,"passing":2,"rate":"100%"}}},"components":[)"
        "\n"
        R"({"code":"H001","occurrence":1,"class":"beam","sample":2,"points":2,"unmeasured":0,)"
        R"("passing":2,"maxOver":5,"maxUnder":0},)"
        "\n"
        R"({"code":"H001","occurrence":2,"class":"beam","sample":1,"points":2,"unmeasured":1,)"
        R"("passing":2,"maxOver":2,"maxUnder":-5}]})"
        "\n");

    const auto pdf = dir / "judged.pdf";
    ASSERT_EQ(judge({pro, "--beam", "H001", "--none", "W001", "-o", pdf.string()}).status, 0);
    EXPECT_THAT(pdfPages(pdf.string()).at(0), testing::Contains(HasSubstr("梁类判定结论：合格")));
}

// A project read from a FIFO or standard input has nothing beside it: no sidecar is looked for
// (damaged ones lie where its name would put them), and the project is read once (a second
// read of the pipe would wait for ever, and the run times out).
TEST_F(JudgeCommandTest, AProjectFromAPipeOrStandardInputIsReadOnceWithoutASidecar) {
    const std::string bytes = TempDir::read(project(""));
    const auto fifo = dir / "pipe.pro";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    TempDir::write(dir / "-", bytes);  // what "-" would name as a path
    for (const char* sidecar : {"pipe.pro.corvane", "-.corvane"})
        TempDir::write(dir / sidecar, "{");

    for (const bool fromPipe : {true, false}) {
        SCOPED_TRACE(fromPipe ? "FIFO" : "standard input");
        ProgramStart start;
        start.folder = dir.path();
        start.timeout = std::chrono::seconds(20);
        std::thread writer;
        if (fromPipe) {
            writer = std::thread([&] { TempDir::write(fifo, bytes); });
        } else {
            start.input = bytes;
        }
        const ProgramRun r =
            runCli({"judge", fromPipe ? fifo.string() : "-", "--beam", "H001", "--json"}, start);
        if (writer.joinable()) {
            ::close(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK));  // a writer nobody read
            writer.join();
        }
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        // Both H001 judged as beams: the whole project was read.
        EXPECT_THAT(r.out,
                    testing::StartsWith(R"({"classes":{"beam":{"components":2,"points":4,)"));
    }
}

// What judge makes of the sidecar's new situations: the real file's classes through a link,
// classes awaiting confirmation judged only when the caller accepts them (and the table says
// so), a sidecar past the size bound named as such; new-project over a classed project sets
// its sidecar aside.
TEST_F(JudgeCommandTest, LinksUnconfirmedClassesTheSizeBoundAndAReplacedProject) {
    const std::string slab = R"({"code": "H001", "occurrence": 1, "class": "slab", "sample": 1})";
    const std::string pro = project(slab);
    std::filesystem::create_symlink(pro, dir / "link.pro");
    const std::string changed = project("", "c.pro");
    TempDir::write(changed + ".corvane", sidecarText("00", slab));
    const std::string big = project("", "b.pro");
    TempDir::write(big + ".corvane", "{");
    std::filesystem::resize_file(big + ".corvane", (256u << 20) + 1);
    const auto pdf = (dir / "u.pdf").string();

    const struct {
        std::vector<std::string> args;
        int status;
        std::string out, err;  // what each starts with or holds
    } cases[] = {
        {{(dir / "link.pro").string(), "--json"}, 0, R"({"classes":{"slab":)", ""},
        {{changed, "--json"}, 1, "", "附加信息与工程文件不符，验收类别未经确认。"},
        {{changed, "--json", "--accept-unconfirmed"},
         0,
         R"({"classes":{"slab":)",
         "须在“验收判定”中确认"},
        {{changed, "-o", pdf, "--accept-unconfirmed"}, 0, "", ""},
        {{big, "--json"}, 1, "", "已损坏（文件超过 256 MiB）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const ProgramRun r = judge(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_THAT(r.out, testing::StartsWith(c.out));
        EXPECT_THAT(r.err, HasSubstr(c.err));
    }
    EXPECT_THAT(pdfPages(pdf).at(0), testing::Contains(HasSubstr("验收类别未经确认")));

    const ProgramRun replaced = runCli({"new-project", pro, "--name", "A"});
    EXPECT_EQ(replaced.status, 0);
    EXPECT_THAT(replaced.err, HasSubstr("已改名为“p.pro.corvane.replaced-"));
    EXPECT_EQ(judge({pro, "--json"}).err, pro + ": " + "没有参与判定的构件\n");
}
