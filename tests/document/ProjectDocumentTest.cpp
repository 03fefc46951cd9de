#include <gtest/gtest.h>

#include <QString>
#include <filesystem>

#include "document/ProjectDocument.h"
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

const Component* at(const ProjectDocument& d, int index) {
    return d.component(index);
}

AcceptanceMark beamFirst{AcceptanceClass::Beam, AcceptanceSample::First};
AcceptanceMark slabSecond{AcceptanceClass::Slab, AcceptanceSample::Second};

}  // namespace

// A class travels with its component: into the sidecar and back by code and occurrence, out
// with 删除构件 and back with its undo; with nothing classed the sidecar keeps no entry.
TEST(ProjectDocument, MarksTravelThroughSaveOpenDeleteAndUndo) {
    TempDir dir;
    const fs::path path = dir / "site.pro";
    ProjectDocument doc;
    doc.createEmpty();
    ProjectInfo info;
    info.projectName.assign("site");
    ASSERT_TRUE(doc.setHeader(info));
    EXPECT_FALSE(doc.setHeader(info));
    ASSERT_EQ(doc.addComponents({samples::withPoints("P001", 4), samples::withPoints("H001", 3),
                                 samples::withPoints("H001", 2), samples::withPoints("Z001", 1)},
                                {true, true, true, true}),
              4);
    ASSERT_EQ(samples::codes(doc.project().components()), "H001,H001,Z001,P001");
    const AcceptanceMarks marks{{at(doc, 1), beamFirst}, {at(doc, 3), slabSecond}};
    ASSERT_TRUE(doc.setAcceptanceMarks(marks));
    EXPECT_FALSE(doc.setAcceptanceMarks(marks));  // nothing would change: no step
    EXPECT_EQ(doc.undoStack().count(), 3);
    ASSERT_TRUE(doc.save(q(path)).ok());

    ProjectDocument reopened;
    Result<ProjectDocument::Opened> opened = reopened.open(q(path));
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(opened->sidecarNote, "");
    EXPECT_EQ(reopened.acceptanceMarks(),
              (AcceptanceMarks{{at(reopened, 1), beamFirst}, {at(reopened, 3), slabSecond}}));

    const Component* second = at(reopened, 1);
    EXPECT_EQ(reopened.deleteComponents({}), 0);  // nothing ticked: no step
    ASSERT_EQ(reopened.deleteComponents({true, true}), 2);
    EXPECT_EQ(reopened.acceptanceMarks().size(), 1u);
    reopened.undoStack().undo();
    EXPECT_EQ(at(reopened, 1), second);  // the same component, so later steps still find it
    EXPECT_EQ(reopened.acceptanceMarks().at(second), beamFirst);
    reopened.undoStack().redo();
    const auto classed = [&] {
        return ProjectSidecar::decode(TempDir::read(SidecarFile::pathFor(path)))
            .sidecar.entries.size();
    };
    ASSERT_TRUE(reopened.save(q(path)).ok());
    EXPECT_EQ(classed(), 1u);

    // With nothing classed the sidecar stays: it holds the history.
    ASSERT_TRUE(reopened.setAcceptanceMarks({}));
    ASSERT_TRUE(reopened.save(q(path)).ok());
    EXPECT_EQ(classed(), 0u);
}

// What the user is told about a sidecar that is not as it was saved, and what the next save
// does with it.
TEST(ProjectDocument, ASidecarInTroubleIsToldAndNeverOverwritten) {
    struct Case {
        const char* what;
        std::string sidecar;
        const char* openNote;
        std::size_t marks;
        const char* saveNote;  // a part of the note after the save; "" for no note
        bool keptAsItWas;
    };
    const std::string entry = R"({"code": "H001", "occurrence": 1, "class": "slab", "sample": 2})";
    const Case cases[] = {
        {"changed elsewhere", sidecarText("00", entry), "工程文件在别处被修改过", 1, "", false},
        {"damaged", "{\"format\": ", "已损坏", 0, "已改名为", false},
        {"newer", sidecarText("00", entry, 3), "较新版本", 0, "未被改写", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const fs::path path = dir / "site.pro";
        ProjectInfo info;
        info.projectName.assign("site");
        ASSERT_TRUE(ProjectFile::save(path, info, {samples::withPoints("H001", 3)}).ok());
        TempDir::write(SidecarFile::pathFor(path), c.sidecar);

        ProjectDocument doc;
        Result<ProjectDocument::Opened> opened = doc.open(q(path));
        ASSERT_TRUE(opened.ok());
        EXPECT_NE(opened->sidecarNote.find(c.openNote), std::string::npos) << opened->sidecarNote;
        EXPECT_EQ(doc.acceptanceMarks().size(), c.marks);

        ASSERT_TRUE(doc.setAcceptanceMarks({{at(doc, 0), beamFirst}}));
        Result<ProjectDocument::Saved> saved = doc.save(q(path));
        ASSERT_TRUE(saved.ok());
        EXPECT_EQ(saved->sidecarFailure, "");
        if (*c.saveNote) {
            EXPECT_NE(saved->sidecarNote.find(c.saveNote), std::string::npos) << saved->sidecarNote;
        } else {
            EXPECT_EQ(saved->sidecarNote, "");
        }
        EXPECT_EQ(TempDir::read(SidecarFile::pathFor(path)) == c.sidecar, c.keptAsItWas);
        // A damaged one is set aside under a name of its own, never lost.
        int files = 0;
        for (const auto& e : fs::directory_iterator(dir.path())) files += e.is_regular_file();
        EXPECT_EQ(files, std::string(c.what) == "damaged" ? 3 : 2);
    }
}
