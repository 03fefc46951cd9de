#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <functional>
#include <regex>
#include <set>

#include "document/ProjectDocument.h"
#include "document/ProjectSidecar.h"
#include "document/SidecarFile.h"
#include "model/ProjectFile.h"
#include "support/ModelSamples.h"
#include "support/SidecarText.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

const std::string slabH001 = R"({"code": "H001", "occurrence": 1, "class": "slab", "sample": 1})";
const std::string beamH001 = R"({"code": "H001", "occurrence": 1, "class": "beam", "sample": 1})";
const std::string stray = R"({"code": "X999", "occurrence": 1, "class": "beam", "sample": 1})";

// The folder's names, the time in a set-aside name written as STAMP.
std::set<std::string> namesIn(const TempDir& dir) {
    std::set<std::string> names;
    for (const std::string& n : TempDir::names(dir.path())) {
        names.insert(std::regex_replace(n, std::regex("-[0-9]{8}-[0-9]{6}"), "-STAMP"));
    }
    return names;
}

struct Site {
    TempDir dir;
    fs::path project = dir / "site.pro";
    std::string sha;

    Site() {
        ProjectInfo info;
        info.projectName.assign("site");
        const ComponentList list{samples::withPoints("H001", 3), samples::withPoints("H002", 3)};
        EXPECT_TRUE(ProjectFile::save(project, info, list).ok());
        sha = ProjectSidecar::sha256Hex(TempDir::read(project));
    }
    void write(const std::string& name, const std::string& text) const {
        TempDir::write(dir / name, text);
    }
    void link(const std::string& name, const std::string& to) const {
        fs::create_symlink(to, dir / name);
    }
};

}  // namespace

// Each situation a sidecar can be found in: what opening applies and tells, and what is on
// disk after the next save (to the path opened, or, `saveAs`, to another file).
TEST(SidecarSituations, OpenedAndSavedAgain) {
    struct Case {
        const char* what;
        std::function<void(Site&)> setUp;
        const char* open;   // the name opened
        std::size_t marks;  // applied
        bool confirmed;
        const char* told;  // part of the note on opening; "" for none
        const char* saveAs;
        std::set<std::string> after;
        const char* sidecarHolds = "";  // part of site.pro.corvane after the save
        const char* saveTold = "";      // part of the note after the save
        const char* failure = "";       // part of the sidecar's failure in the save
    };
    const Case cases[] = {
        {"through a link: the real file's sidecar",
         [](Site& s) {
             s.link("link.pro", "site.pro");
             s.write("site.pro.corvane", sidecarText(s.sha, slabH001));
         },
         "link.pro",
         1,
         true,
         "",
         nullptr,
         {"link.pro", "site.pro", "site.pro.corvane"}},
        {"one left beside the link by an earlier version moves to the real file",
         [](Site& s) {
             s.link("link.pro", "site.pro");
             s.write("link.pro.corvane", sidecarText(s.sha, slabH001));
         },
         "link.pro",
         1,
         true,
         "位于链接旁",
         nullptr,
         {"link.pro", "link.pro.corvane.replaced-STAMP", "site.pro", "site.pro.corvane"},
         "slab"},
        {"a pending sidecar of this project is the one: a save was cut between its renames",
         [](Site& s) {
             s.write("site.pro.corvane", sidecarText("00", slabH001));
             s.write("site.pro.corvane.pending", sidecarText(s.sha, beamH001));
         },
         "site.pro",
         1,
         true,
         "",
         nullptr,
         {"site.pro", "site.pro.corvane"},
         "beam"},
        {"a pending sidecar of other bytes was cut before its project: ignored and removed",
         [](Site& s) {
             s.write("site.pro.corvane", sidecarText(s.sha, slabH001));
             s.write("site.pro.corvane.pending", sidecarText("00", beamH001));
         },
         "site.pro",
         1,
         true,
         "",
         nullptr,
         {"site.pro", "site.pro.corvane"},
         "slab"},
        {"a project changed elsewhere: applied, unconfirmed, and so it stays",
         [](Site& s) { s.write("site.pro.corvane", sidecarText("00", slabH001)); },
         "site.pro",
         1,
         false,
         "须在“验收判定”中确认",
         nullptr,
         {"site.pro", "site.pro.corvane"},
         "\"classesConfirmed\": false"},
        {"entries no component takes are told and kept",
         [](Site& s) { s.write("site.pro.corvane", sidecarText(s.sha, slabH001 + "," + stray)); },
         "site.pro",
         1,
         true,
         "1 条无法对应到构件",
         nullptr,
         {"site.pro", "site.pro.corvane"},
         "\"unplaced\": [\n    {\"code\": \"X999\""},
        {"saved as another project: its sidecar is set aside, never overwritten",
         [](Site& s) {
             s.write("site.pro.corvane", sidecarText(s.sha, slabH001));
             s.write("other.pro", "old project");
             s.write("other.pro.corvane", sidecarText("00", beamH001));
         },
         "site.pro",
         1,
         true,
         "",
         "other.pro",
         {"other.pro", "other.pro.corvane", "other.pro.corvane.replaced-STAMP", "site.pro",
          "site.pro.corvane"},
         "",
         "属于另一个工程"},
        // The project is saved all the same; its sidecar (with the history) is not.
        {"a dangling link as the sidecar is no file to read",
         [](Site& s) { s.link("site.pro.corvane", "gone"); },
         "site.pro",
         0,
         true,
         "不是普通文件",
         nullptr,
         {"site.pro", "site.pro.corvane"},
         "",
         "",
         "同名的文件不是普通文件"},
        {"a folder as the sidecar",
         [](Site& s) { fs::create_directory(s.dir / "site.pro.corvane"); },
         "site.pro",
         0,
         true,
         "不是普通文件",
         nullptr,
         {"site.pro", "site.pro.corvane"},
         "",
         "",
         "同名文件夹已存在"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Site site;
        c.setUp(site);
        ProjectDocument doc;
        const Result<ProjectDocument::Opened> opened = doc.open(q(site.dir / c.open));
        ASSERT_TRUE(opened.ok()) << opened.message();
        EXPECT_EQ(doc.acceptanceMarks().size(), c.marks);
        EXPECT_EQ(doc.classesConfirmed(), c.confirmed);
        if (*c.told) {
            EXPECT_NE(opened->sidecarNote.find(c.told), std::string::npos) << opened->sidecarNote;
        } else {
            EXPECT_EQ(opened->sidecarNote, "");
        }

        const Result<ProjectDocument::Saved> saved =
            doc.save(q(site.dir / (c.saveAs ? c.saveAs : c.open)));
        ASSERT_TRUE(saved.ok()) << saved.message();
        EXPECT_EQ(saved->sidecarFailure.empty(), !*c.failure);
        EXPECT_NE(saved->sidecarFailure.find(c.failure), std::string::npos);
        EXPECT_NE(saved->sidecarNote.find(c.saveTold), std::string::npos) << saved->sidecarNote;
        EXPECT_EQ(namesIn(site.dir), c.after);
        if (*c.sidecarHolds) {
            EXPECT_NE(TempDir::read(site.dir / "site.pro.corvane").find(c.sidecarHolds),
                      std::string::npos);
        }
        if (!c.confirmed) {
            // The next opening finds the hash right and the classes still unconfirmed.
            ProjectDocument again;
            ASSERT_TRUE(again.open(q(site.project)).ok());
            EXPECT_FALSE(again.classesConfirmed());
        }
    }
}

// A save cut between the project's rename and the sidecar's leaves the new sidecar pending:
// opening uses it, the next save puts it in place. Confirming is one step, undone as one.
TEST(SidecarSituations, ACutSaveAndAConfirmation) {
    Site site;
    site.write("site.pro.corvane", sidecarText("00", slabH001));
    ProjectDocument doc;
    ASSERT_TRUE(doc.open(q(site.project)).ok());
    ASSERT_FALSE(doc.classesConfirmed());
    const AcceptanceMarks marks = doc.acceptanceMarks();
    ASSERT_TRUE(doc.setAcceptanceMarks(marks));  // OK without a change confirms
    EXPECT_TRUE(doc.classesConfirmed());
    EXPECT_EQ(doc.undoStack().undoText(), QStringLiteral("确认验收类别"));
    doc.undoStack().undo();
    EXPECT_FALSE(doc.classesConfirmed());
    doc.undoStack().redo();
    EXPECT_FALSE(doc.setAcceptanceMarks(marks));  // confirmed: nothing to do

    doc.setSaveInterruption([] { return true; });
    ASSERT_TRUE(doc.save(q(site.project)).ok());
    EXPECT_EQ(namesIn(site.dir),
              (std::set<std::string>{"site.pro", "site.pro.corvane", "site.pro.corvane.pending"}));
    EXPECT_NE(TempDir::read(site.dir / "site.pro.corvane").find("\"projectSha256\": \"00\""),
              std::string::npos);

    ProjectDocument reopened;
    const Result<ProjectDocument::Opened> opened = reopened.open(q(site.project));
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(opened->sidecarNote, "");
    EXPECT_TRUE(reopened.classesConfirmed());
    EXPECT_EQ(reopened.acceptanceMarks().size(), 1u);
    ASSERT_TRUE(reopened.save(q(site.project)).ok());
    EXPECT_EQ(namesIn(site.dir), (std::set<std::string>{"site.pro", "site.pro.corvane"}));
    EXPECT_EQ(TempDir::read(site.dir / "site.pro.corvane").find("\"projectSha256\": \"00\""),
              std::string::npos);
}
