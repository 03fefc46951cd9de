// Editing in one process, round after round, as a user would through the project session:
// create or open a project, add components from an upload data file, open rows, change names,
// values and points, add and delete points and components, undo and redo, save, reopen,
// close. After every step the project must be exactly what the undo history says it was at
// that step; every file must read back as what was saved; and once a round has closed its
// project, the heap must be back at its level (and LeakSanitizer clean in a sanitized build).
//
//   editing_soak [--rounds N] [--seed S] [--round R]
#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "SoakOptions.h"
#include "SoakPrompter.h"
#include "display/CCorvaneView.h"
#include "display/CDlgComponent.h"
#include "display/CWndLikeMsdn.h"
#include "instrument/DemoInspection.h"
#include "model/ComponentSummary.h"
#include "model/FileIo.h"
#include "model/GbkCodec.h"
#include "model/ProjectFile.h"
#include "model/UploadFile.h"
#include "session/ProjectSession.h"
#include "session/SessionUi.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(CORVANE_ASAN)
#include <sanitizer/allocator_interface.h>
std::size_t heapInUse() {
    return __sanitizer_get_current_allocated_bytes();
}
#else
#include <malloc.h>
std::size_t heapInUse() {
    return mallinfo2().uordblks;
}
#endif

namespace fs = std::filesystem;

namespace {

using Random = std::mt19937_64;

// The window around the session: the real view, as the frame passes messages to it; settings
// and the selection dialog answered by the soak.
class SoakUi : public SessionUi {
public:
    QString documentTitle() const override { return title; }
    void setDocumentTitle(const QString& t) override { title = t; }
    QString mainTitle() const override { return QStringLiteral("Corvane "); }
    int sendModeMessage(DetectionType type) override { return view ? view->ModeMessage(type) : 1; }
    void componentChanged(int index) override {
        if (view) view->componentChanged(index);
    }
    void editProjectSettings(ProjectInfo& info, const ComponentList&) override {
        if (settings) settings(info);
    }
    std::optional<AcceptanceMarks> editAcceptanceMarks(const ComponentList&, const AcceptanceMarks&,
                                                       bool) override {
        return std::nullopt;
    }
    std::optional<std::vector<bool>> chooseComponents(const ComponentList& components, int,
                                                      const QString&) override {
        return choose ? choose(components.size()) : std::nullopt;
    }

    QString title;
    CCorvaneView* view = nullptr;
    std::function<void(ProjectInfo&)> settings;
    std::function<std::optional<std::vector<bool>>(std::size_t)> choose;
};

struct Stats {
    long steps = 0;     // undo steps pushed
    long moves = 0;     // undo and redo calls
    long reopened = 0;  // projects saved, read back and opened again
    long opened = 0;    // rows opened by a click
};

struct Snapshot {
    ProjectInfo info;
    ComponentList components;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshotOf(const Project& p) {
    return {*p.info(), p.components()};
}

std::string gbkText(Random& random, std::size_t maxCharacters) {
    static const char* const pieces[] = {"构件", "梁",     "柱",   "板",   "墙", "A",  "7", "-",
                                         " ",    "第一层", "东侧", "钢筋", "x",  "（", "）"};
    std::string utf8;
    const std::size_t n = random() % (maxCharacters + 1);
    for (std::size_t i = 0; i < n; ++i) utf8 += pieces[random() % std::size(pieces)];
    return gbk::fromUtf8(utf8);
}

class Round {
public:
    Round(ProjectSession& session, SoakPrompter& prompter, SoakUi& ui, Random& random, Stats& stats)
        : session_(session), prompter_(prompter), ui_(ui), random_(random), stats_(stats) {}

    std::vector<std::string> broken;

    void run(const fs::path& upload, const std::vector<fs::path>& files, int index) {
        const fs::path file = files[static_cast<std::size_t>(index) % files.size()];
        std::error_code ec;
        ui_.settings = [&](ProjectInfo& info) {
            info.projectName.assign(gbkText(random_, 6) + "工程");
            info.testBasis.assign(gbkText(random_, 8));
        };
        if (fs::exists(file, ec) && pick(3) != 0) {
            prompter_.openPath = [&] { return QString::fromStdString(file.string()); };
            session_.OnOpenProject();
        } else {
            session_.OnCreateProject();
        }
        if (!session_.project().isOpen()) return fail("no project open after create or open");
        history_ = {snapshotOf(session_.project())};

        const int steps = 20 + pick(60);
        for (int step = 0; step < steps && broken.empty(); ++step) editStep(upload);

        // Save (asked for a path when the project has none), then read it back.
        prompter_.savePath = [&] { return QString::fromStdString(file.string()); };
        const std::size_t shownBefore = prompter_.shown.size();
        session_.OnSaveProject();
        if (!session_.project().hasContent()) {
            prompter_.shown.resize(shownBefore);  // "请设置工程信息!": nothing to save
        } else {
            const Snapshot saved = snapshotOf(session_.project());
            const Result<ProjectContents> back = ProjectFile::read(file);
            if (!back.ok() || !back->complete()) return fail("the saved file cannot be read");
            if (back->info != saved.info || back->components != saved.components) {
                return fail("the file read back differs from what was saved");
            }
            // Closed and opened again by the session, it is the same project.
            prompter_.question = Prompter::Answer::No;
            if (!session_.closeProject()) return fail("the window would not close");
            prompter_.openPath = [&] { return QString::fromStdString(file.string()); };
            session_.OnOpenProject();
            if (!session_.project().isOpen() || snapshotOf(session_.project()) != saved) {
                return fail("the project reopened differs from what was saved");
            }
            history_ = {saved};
            ++stats_.reopened;
            for (int step = 0; step < 5 && broken.empty(); ++step) editStep(upload);
        }
        prompter_.question = pick(4) == 0 ? Prompter::Answer::Yes : Prompter::Answer::No;
        if (!session_.closeProject()) return fail("the window would not close");
        if (session_.project().isOpen() || !session_.project().components().empty() ||
            session_.undoStack().count() != 0) {
            return fail("the closed project left something behind");
        }
        for (const SoakPrompter::Shown& s : prompter_.shown) {
            if (s.icon == Prompter::Icon::Error) fail("error shown: " + s.text.toStdString());
        }
    }

private:
    int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    void fail(std::string what) { broken.push_back(std::move(what)); }

    int componentCount() const { return static_cast<int>(session_.project().components().size()); }

    void editStep(const fs::path& upload) {
        const int count = componentCount();
        const int index = count > 0 ? pick(count) : 0;
        const Component* c = session_.document().component(index);
        QUndoStack& undo = session_.undoStack();
        const auto before = static_cast<std::size_t>(undo.index());
        const int op = pick(100);
        bool edit = true;
        if (op < 8 || count == 0) {
            prompter_.openPath = [&] { return QString::fromStdString(upload.string()); };
            ui_.choose = [&](std::size_t n) {
                std::vector<bool> ticks(n);
                for (std::size_t i = 0; i < n; ++i) ticks[i] = pick(3) == 0;
                return std::optional(ticks);
            };
            session_.OnAddComponent();
        } else if (op < 12) {
            ui_.choose = [&](std::size_t n) {
                std::vector<bool> ticks(n);
                ticks[static_cast<std::size_t>(pick(static_cast<int>(n)))] = true;
                return std::optional(ticks);
            };
            session_.OnDeleteComponent();
        } else if (op < 15) {
            ui_.settings = [&](ProjectInfo& info) { info.testUnit.assign(gbkText(random_, 10)); };
            session_.OnSetProject();
        } else if (op < 20) {
            openRow(index);
        } else if (op < 26) {
            session_.document().setName(index, gbkText(random_, 30));
        } else if (op < 40) {
            const auto field = static_cast<ComponentField>(pick(9));  // not the two counts
            session_.document().setField(index, field, static_cast<std::int16_t>(pick(400) - 50));
        } else if (op < 58) {
            const bool vertical = c->type() == DetectionType::Grid && pick(2);
            const auto& list = vertical ? c->pointsVert : c->points;
            const int at = list.empty() ? 0 : pick(static_cast<int>(list.size()) + 1);
            session_.document().setPoint(index, {vertical, at},
                                         {static_cast<std::int16_t>(pick(40)),
                                          static_cast<std::int16_t>(pick(90)), pick(3000)});
        } else if (op < 68) {
            session_.document().addPoint(index, c->type() == DetectionType::Grid && pick(2));
        } else if (op < 76) {
            const bool vertical = c->type() == DetectionType::Grid && pick(2);
            const auto& list = vertical ? c->pointsVert : c->points;
            session_.document().removePoint(index,
                                            {vertical, pick(static_cast<int>(list.size()) + 1)});
        } else if (op < 90) {
            for (int n = 1 + pick(4); n > 0; --n, ++stats_.moves) undo.undo();
            edit = false;
        } else {
            for (int n = 1 + pick(4); n > 0; --n, ++stats_.moves) undo.redo();
            edit = false;
        }
        check(edit, before);
    }

    // Opens the component's row as the user does: its type's view mode, then a click on the
    // row. The open group must show what the project holds now, and the panel must be open on
    // that very component (by its place, also when another one has the same code).
    void openRow(int index) {
        const Component* c = session_.document().component(index);
        if (!c || !ui_.view) return;
        session_.setViewMode(c->type());
        int rank = 0, ofType = 0;
        for (int i = 0; i < componentCount(); ++i) {
            if (session_.document().component(i)->code.front() != c->code.front()) continue;
            if (i < index) ++rank;
            ++ofType;
        }
        CWndLikeMsdn& pane = *ui_.view->pane();
        if (pane.groupCount() != ofType) return fail("the view lists another number of rows");
        pane.ensureLayout();
        pane.verticalScrollBar()->setValue(pane.groupTop(rank));
        const QPoint row(
            300, pane.groupTop(rank) - pane.verticalScrollBar()->value() + pane.rowHeight() / 2);
        int selected = -1;
        const QMetaObject::Connection named = QObject::connect(
            &pane, &CWndLikeMsdn::SelectComponentMessage, [&selected](int r) { selected = r; });
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, row);
        QObject::disconnect(named);
        const ComponentSummary now = BuildComponentSummary(*c);
        if (pane.openGroupIndex() != rank || pane.group(rank).collapsed || selected != rank ||
            ui_.view->panel()->componentIndex() != index) {
            return fail("a click on a row did not open its component");
        }
        if (pane.group(rank).texts != now) return fail("an open row shows another component");
        ++stats_.opened;
    }

    // An edit that pushed a step makes the project's state that step's; one that pushed none
    // must have changed nothing. Undo and redo must land exactly on a state seen before.
    void check(bool edit, std::size_t before) {
        const Snapshot now = snapshotOf(session_.project());
        const auto at = static_cast<std::size_t>(session_.undoStack().index());
        if (session_.undoStack().count() < session_.undoStack().index()) {
            return fail("undo index past the steps");
        }
        if (edit && at != before) {
            ++stats_.steps;
            history_.resize(at + 1);
            history_[at] = now;
        } else if (edit && history_[at] != now) {
            return fail("a change without an undo step");
        } else if (at >= history_.size() || history_[at] != now) {
            return fail("undo or redo did not restore step " + std::to_string(at));
        }
        for (const Component& c : now.components) {
            if (c.pointCount != static_cast<int>(c.points.size()) ||
                c.pointCountVert != static_cast<int>(c.pointsVert.size())) {
                return fail("a point count out of step with its points");
            }
        }
    }

    ProjectSession& session_;
    SoakPrompter& prompter_;
    SoakUi& ui_;
    Random& random_;
    Stats& stats_;
    std::vector<Snapshot> history_;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FileIo::reportOversizeWrites();
    const SoakOptions options = SoakOptions::parse(argc, argv, 300);
    QTemporaryDir folder;
    const fs::path root = folder.path().toStdString();
    const fs::path upload = root / "demo.vexo";
    if (!UploadFile::save(upload, DemoInspection::components()).ok()) return 2;
    std::vector<fs::path> files;
    for (int i = 0; i < 4; ++i) files.push_back(root / ("project" + std::to_string(i) + ".pro"));

    std::printf("editing soak: seed %llu, %d rounds\n",
                static_cast<unsigned long long>(options.seed), options.rounds);
    SoakPrompter prompter;
    SoakUi ui;
    ProjectSession session(prompter, ui);
    CCorvaneView view(session.project(), &session.document(), &prompter);
    view.resize(1000, 700);
    view.show();
    ui.view = &view;
    Stats stats;

    const int first = options.onlyRound >= 0 ? options.onlyRound : 0;
    const int last = options.onlyRound >= 0 ? options.onlyRound + 1 : options.rounds;
    constexpr int warmUp = 5;
    std::size_t baseline = 0, highest = 0;
    int failures = 0;
    for (int round = first; round < last; ++round) {
        Random random = options.generatorFor(round);
        prompter.shown.clear();
        Round r(session, prompter, ui, random, stats);
        r.run(upload, files, round);
        for (const std::string& f : prompter.faults) r.broken.push_back(f);
        prompter.faults.clear();
        for (const std::string& b : r.broken) {
            std::fprintf(stderr, "editing soak: FAILED: %s: %s\n", options.where(round).c_str(),
                         b.c_str());
            ++failures;
        }
        if (!r.broken.empty()) {
            prompter.question = Prompter::Answer::No;
            session.closeProject();
        }
        prompter.shown.clear();
        prompter.shown.shrink_to_fit();
        const std::size_t heap = heapInUse();
        if (round - first == warmUp) baseline = heap;
        if (round - first > warmUp) highest = std::max(highest, heap);
    }

    // Closing a project gives everything back: the heap stays near where it was once warm.
    constexpr std::size_t slack = 512 * 1024;
    if (last - first > warmUp + 1) {
        std::printf("editing soak: heap in use after round %d %zu bytes, at most %zu after\n",
                    first + warmUp, baseline, highest);
        if (highest > baseline + slack) {
            std::fprintf(stderr, "editing soak: FAILED: the heap grew by %zu bytes\n",
                         highest - baseline);
            ++failures;
        }
    }
    if (failures > 0) {
        std::printf("editing soak: %d failure(s)\n", failures);
        return 1;
    }
    std::printf(
        "editing soak: %d rounds passed: %ld undo steps, %ld undos and redos, %ld rows opened, "
        "%ld projects saved, read back and reopened\n",
        last - first, stats.steps, stats.moves, stats.opened, stats.reopened);
    return 0;
}
