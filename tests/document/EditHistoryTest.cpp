#include <gtest/gtest.h>

#include <QString>
#include <QTimeZone>
#include <filesystem>
#include <map>

#include "document/ProjectDocument.h"
#include "document/ProjectSidecar.h"
#include "document/SidecarFile.h"
#include "model/ComponentFields.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#include "support/ModelSamples.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

// "edit designCover", "undo 3", "save": what an entry did, and to what.
std::vector<std::string> summaries(const HistoryChain::Entries& history, std::size_t from) {
    std::vector<std::string> out;
    for (std::size_t i = from; i < history.size(); ++i) {
        const QJsonObject& e = history[i];
        std::string s = e.value("action").toString().toStdString();
        if (e.contains("field")) s += " " + e.value("field").toString().toStdString();
        if (e.contains("undoes")) s += " " + std::to_string(e.value("undoes").toInt());
        out.push_back(s);
    }
    return out;
}

// A document whose project is saved once (baseline 1, save 2) and whose clock ticks a
// second a reading.
struct Saved {
    TempDir dir;
    fs::path path = dir / "site.pro";
    ProjectDocument doc;
    int ticks = 0;
    Saved() {
        doc.setClock([this] {
            return QDateTime(QDate(2026, 12, 7), QTime(10, 0).addSecs(++ticks),
                             QTimeZone(8 * 3600));
        });
        doc.createEmpty();
        ComponentList upload;
        upload.push_back(samples::withPoints("H001", 3));
        doc.addComponents(std::move(upload), {true});
        doc.undoStack().clear();  // as if opened: the component is the baseline's
        EXPECT_TRUE(doc.save(q(path)).ok());
    }
};

}  // namespace

// Each letter one action — a, b, c: three edits of different fields; p: one point's thickness
// and position; u, r: undo, redo; S: save — and the entries after the first save.
TEST(EditHistory, UndoAcrossSaves) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"abuS", {"edit designCover", "save"}},
        {"auS", {"save"}},
        {"aSurS", {"edit designCover", "save", "save"}},
        {"aSuS", {"edit designCover", "save", "undo designCover 3", "save"}},
        {"abSuucS",
         {"edit designCover", "edit thicknessTolerance", "save", "undo thicknessTolerance 4",
          "undo designCover 3", "edit name", "save"}},
        {"aSubS",
         {"edit designCover", "save", "undo designCover 3", "edit thicknessTolerance", "save"}},
        {"pS", {"edit thickness", "edit position", "save"}},
    };
    for (const auto& [actions, expected] : cases) {
        SCOPED_TRACE(actions);
        Saved s;
        for (const char* a = actions; *a; ++a) {
            switch (*a) {
                case 'a':
                    s.doc.setField(0, ComponentField::DesignCover, 30);
                    break;
                case 'b':
                    s.doc.setField(0, ComponentField::ThicknessTolerance, 5);
                    break;
                case 'c':
                    s.doc.setName(0, "梁");
                    break;
                case 'p':
                    s.doc.setPoint(0, {false, 1}, {0, 99, 7});
                    break;
                case 'u':
                    s.doc.undoStack().undo();
                    break;
                case 'r':
                    s.doc.undoStack().redo();
                    break;
                case 'S':
                    ASSERT_TRUE(s.doc.save(q(s.path)).ok());
                    break;
            }
        }
        EXPECT_EQ(summaries(s.doc.history(), 2), expected);
        // What was saved is what the document holds, and it verifies.
        const auto stored = SidecarFile::load(s.path, TempDir::read(s.path));
        EXPECT_EQ(stored.sidecar.history, s.doc.history());
        EXPECT_EQ(HistoryChain::verify(stored.sidecar.history).state, HistoryChain::State::Ok);
    }
}

// An undo entry reverses the one it names, at the time of the undo, also when a later change
// took the undone step off the stack.
TEST(EditHistory, AnUndoEntrySwapsOldAndNewAtItsTime) {
    Saved s;
    s.doc.setField(0, ComponentField::DesignCover, 30);
    ASSERT_TRUE(s.doc.save(q(s.path)).ok());
    s.doc.undoStack().undo();
    const int undoneAt = s.ticks;
    s.doc.setField(0, ComponentField::ThicknessTolerance, 5);
    ASSERT_TRUE(s.doc.save(q(s.path)).ok());
    const QJsonObject& edit = s.doc.history().at(2);
    const QJsonObject& undo = s.doc.history().at(4);
    EXPECT_EQ(edit.value("old").toInt(), 50);
    EXPECT_EQ(edit.value("new").toInt(), 30);
    EXPECT_EQ(edit.value("component").toString(), "H001");
    EXPECT_EQ(edit.value("occurrence").toInt(), 1);
    EXPECT_EQ(undo.value("old").toInt(), 30);
    EXPECT_EQ(undo.value("new").toInt(), 50);
    EXPECT_EQ(undo.value("time").toString(),
              QTime(10, 0).addSecs(undoneAt).toString("'2026-12-07T'HH:mm:ss'+08:00'"));
}

// Where values came from: an upload data file, the file as opened, a file changed elsewhere.
TEST(EditHistory, AddBaselineAndExternal) {
    TempDir dir;
    const fs::path upload = dir / "demo.vexo";
    ComponentList uploaded;
    uploaded.push_back(samples::withPoints("H001", 2));
    uploaded.push_back(samples::withPoints("Z001", 2));
    ASSERT_TRUE(UploadFile::save(upload, uploaded).ok());
    const fs::path path = dir / "site.pro";

    ProjectDocument doc;
    doc.createEmpty();
    ASSERT_EQ(doc.addComponents(uploaded, {true, true},
                                ProjectDocument::uploadSource(upload, TempDir::read(upload))),
              2);
    ASSERT_TRUE(doc.save(q(path)).ok());
    const auto& h = doc.history();
    ASSERT_EQ(summaries(h, 0), (std::vector<std::string>{"baseline", "add", "add", "save"}));
    EXPECT_EQ(h[0].value("projectSha256").toString(), "");
    const QJsonObject source = h[1].value("source").toObject();
    EXPECT_EQ(source.value("file").toString(), "demo.vexo");
    EXPECT_EQ(source.value("size").toInteger(), static_cast<qint64>(fs::file_size(upload)));
    EXPECT_EQ(source.value("sha256").toString().toStdString(),
              ProjectSidecar::sha256Hex(TempDir::read(upload)));
    EXPECT_EQ(h[3].value("projectSha256").toString().toStdString(),
              ProjectSidecar::sha256Hex(TempDir::read(path)));
    EXPECT_FALSE(h[0].value("user").toString().isEmpty());

    // Changed by another program: the next save says so, once.
    ProjectInfo other = *doc.project().info();
    other.projectName.assign("elsewhere");
    ASSERT_TRUE(ProjectFile::save(path, other, doc.project().components()).ok());
    ProjectDocument reopened;
    ASSERT_TRUE(reopened.open(q(path)).ok());
    EXPECT_TRUE(reopened.origins().fromInstrument(reopened.component(0)));
    ASSERT_TRUE(reopened.save(q(path)).ok());
    ASSERT_TRUE(reopened.save(q(path)).ok());
    const auto& again = reopened.history();
    EXPECT_EQ(summaries(again, 4), (std::vector<std::string>{"external", "save", "save"}));
    EXPECT_EQ(again[4].value("previousSha256"), h[3].value("projectSha256"));
    EXPECT_NE(again[4].value("projectSha256"), h[3].value("projectSha256"));

    // A project whose history is new begins it with the file as opened.
    fs::remove(SidecarFile::pathFor(path));
    ProjectDocument fresh;
    ASSERT_TRUE(fresh.open(q(path)).ok());
    ASSERT_TRUE(fresh.save(q(path)).ok());
    EXPECT_EQ(fresh.history().front().value("projectSha256").toString().toStdString(),
              again.back().value("projectSha256").toString().toStdString());
}

// The originals follow the values: set back means not edited; a removed point's record comes
// back with its undo; a record reopened applies only where the file still holds its value.
TEST(EditHistory, OriginalsFollowTheValues) {
    Saved s;
    const Component* c = s.doc.component(0);
    s.doc.setField(0, ComponentField::DesignCover, 30);
    s.doc.setPoint(0, {false, 2}, {0, 77, 0});
    ASSERT_NE(s.doc.origins().of(c), nullptr);
    EXPECT_EQ(s.doc.origins().of(c)->fields.at("designCover").original.toInt(), 50);
    s.doc.setField(0, ComponentField::DesignCover, 50);
    EXPECT_EQ(s.doc.origins().of(c)->fields.count("designCover"), 0u);

    s.doc.removePoint(0, {false, 0});  // the edited point moves up to 2
    EXPECT_EQ(s.doc.origins().of(c)->points.at(1)->fields.at("thickness").original.toInt(), 22);
    s.doc.undoStack().undo();
    EXPECT_EQ(s.doc.origins().of(c)->points.at(2)->fields.at("thickness").current.toInt(), 77);
    s.doc.addPoint(0, false);
    EXPECT_TRUE(s.doc.origins().of(c)->points.at(3)->addedByHand);
    ASSERT_TRUE(s.doc.save(q(s.path)).ok());

    ProjectDocument reopened;
    ASSERT_TRUE(reopened.open(q(s.path)).ok());
    const auto* records = reopened.origins().of(reopened.component(0));
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records->points.at(2)->fields.at("thickness").original.toInt(), 22);
    EXPECT_TRUE(records->points.at(3)->addedByHand);

    // Another program changed the point: its record no longer applies.
    Component changed = *reopened.component(0);
    changed.points[2].thickness = 60;
    ComponentList list{changed};
    ASSERT_TRUE(ProjectFile::save(s.path, *reopened.project().info(), list).ok());
    ProjectDocument elsewhere;
    ASSERT_TRUE(elsewhere.open(q(s.path)).ok());
    records = elsewhere.origins().of(elsewhere.component(0));
    ASSERT_NE(records, nullptr);
    EXPECT_FALSE(records->points.at(2).has_value());
    EXPECT_TRUE(records->points.at(3)->addedByHand);
}
