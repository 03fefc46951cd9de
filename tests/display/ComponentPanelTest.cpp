#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <functional>

#include "controls/CPropertyGrid.h"
#include "controls/CPropertyGridInPlaceEdit.h"
#include "dialogs/CDlgEdit.h"
#include "display/CCorvaneView.h"
#include "display/CDlgComponent.h"
#include "display/CWndLikeMsdn.h"
#include "display/SystemMetrics.h"
#include "model/PanelRows.h"
#include "model/Project.h"
#include "session/GbkQt.h"
#include "support/ModalDriver.h"
#include "support/ModelSamples.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace {

// Stores every change straight into the list and, as the document's step notice does, tells
// `stored` on the next turn of the event loop; counts the stores.
class ListEditor : public ComponentEditor {
public:
    explicit ListEditor(ComponentList& list) : list_(list) {}
    int stores = 0;
    std::function<void(int index)> stored;

    const Component* component(int index) const override {
        if (index < 0 || index >= static_cast<int>(list_.size())) return nullptr;
        return &*std::next(list_.begin(), index);
    }
    bool setName(int index, std::string_view name) override {
        FixedText<50> after(name);
        return store(
            index, [&](Component& c) { return after == c.name ? false : (c.name = after, true); });
    }
    bool setField(int index, ComponentField field, std::int16_t value) override {
        return store(index, [&](Component& c) {
            return fieldOf(c, field) == value ? false : (fieldOf(c, field) = value, true);
        });
    }
    bool setPoint(int index, PointRef p, const MeasurePoint& value) override {
        return store(index, [&](Component& c) {
            auto& point = (p.vertical ? c.pointsVert : c.points).at(std::size_t(p.index));
            return point == value ? false : (point = value, true);
        });
    }
    bool addPoint(int index, bool vertical) override {
        return store(index, [&](Component& c) { return c.addPoint(vertical); });
    }
    bool removePoint(int index, PointRef p) override {
        return store(index,
                     [&](Component& c) { return c.removePoint(std::size_t(p.index), p.vertical); });
    }

private:
    template <typename F>
    bool store(int index, F change) {
        auto* c = const_cast<Component*>(component(index));
        const bool changed = c && change(*c);
        stores += changed;
        if (changed && stored) QTimer::singleShot(0, &notices_, [this, index] { stored(index); });
        return changed;
    }
    ComponentList& list_;
    QObject notices_;  // a notice pending when the test ends goes with it
};

// The view over a project, its rows opened by clicks as the user does.
class ComponentPanel : public testing::Test {
protected:
    ComponentPanel() {
        SystemMetrics::pin({1450, 10, 22, 19});
        project.createEmpty();
    }
    ~ComponentPanel() override { SystemMetrics::unpin(); }

    void show(const char* mode, std::vector<Component> components) {
        for (Component& c : components) project.components().push_back(std::move(c));
        view = std::make_unique<CCorvaneView>(project, &editor, &prompter);
        view->resize(1000, 700);
        view->ModeMessage(QString::fromLatin1(mode));
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        panel = view->panel();
        grid = panel->grid();
        editor.stored = [this](int index) {
            view->componentChanged(index);
            ++summaries;
        };
    }
    void openRow(int row) {
        CWndLikeMsdn* pane = view->pane();
        const QPoint at(300, pane->groupTop(row) + pane->rowHeight() / 2);
        QTest::mouseMove(pane->viewport(), at);
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }
    Component& at(int index) { return *std::next(project.components().begin(), index); }
    const ComponentSummary& row(int r) const { return view->pane()->group(r).texts; }

    QPoint itemPoint(int id, int x = -1) const {
        return {x < 0 ? grid->dividerX() + 30 : x,
                grid->itemTop(id) - grid->scrollPosition() + grid->rowHeight() / 2};
    }
    void clickSection(int section) {
        QTest::mouseClick(grid, Qt::LeftButton, {},
                          {60, grid->sectionTop(section) - grid->scrollPosition() + 5});
    }
    // Types `text` into a number or text item and ends the edit with Enter.
    void type(int id, const QString& text) {
        QTest::mouseClick(grid, Qt::LeftButton, {}, itemPoint(id));
        CPropertyGridInPlaceEdit* edit = grid->inPlaceEdit();
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
        QApplication::processEvents();  // the turn on which the screen follows a change
    }
    // 增加测点 and 删除测点 as the frame passes them on, and the turn after them.
    void addPoint() {
        view->AddPointMessage();
        QApplication::processEvents();
    }
    void deletePoint() {
        view->DeletePointMessage();
        QApplication::processEvents();
    }
    std::int32_t integer(int id) const {
        std::int32_t v = -99;
        return grid->GetItemInteger(id, v) ? v : -99;
    }
    // Item ids of the point items, in grid order.
    std::vector<int> pointItems() const {
        std::vector<int> ids;
        for (int id = 0; id < 20000; ++id) {
            if (panel->pointOfItem(id)) ids.push_back(id);
        }
        return ids;
    }

    Project project;
    ListEditor editor{project.components()};
    ScriptedPrompter prompter;
    std::unique_ptr<CCorvaneView> view;
    CDlgComponent* panel = nullptr;
    CPropertyGrid* grid = nullptr;
    int summaries = 0;  // notices of a stored change shown
};

std::vector<std::string> labelsOf(char letter) {
    std::vector<std::string> out;
    const PanelRows rows = PanelRows::of(*traitsOf(letter));
    for (const PanelRow& r : rows.header) out.emplace_back(r.label);
    out.emplace_back(rows.results);
    if (rows.verticalResults) out.emplace_back(rows.verticalResults);
    return out;
}

}  // namespace

TEST(PanelRows, EachTypeListsItsValuesAndResultsSections) {
    using V = std::vector<std::string>;
    EXPECT_EQ(labelsOf('H'),
              (V{"名称", "钢筋直径设计值", "保护层厚度设计值", "厚度偏差值", "测点结果"}));
    EXPECT_EQ(labelsOf('Z'), (V{"名称", "钢筋直径设计值", "保护层厚度设计值", "直径偏差值",
                                "厚度偏差值", "测点结果（厚度 ; 直径）"}));
    EXPECT_EQ(labelsOf('P'), (V{"名称", "钢筋直径设计值", "保护层厚度设计值", "配筋间距设计值",
                                "厚度偏差值", "间距偏差值", "测点结果（厚度 ; 间距）"}));
    EXPECT_EQ(labelsOf('W'),
              (V{"名称", "水平钢筋直径设计值", "水平保护层厚度设计值", "水平配筋间距设计值",
                 "垂直钢筋直径设计值", "垂直保护层厚度设计值", "垂直配筋间距设计值", "厚度偏差值",
                 "间距偏差值", "水平测点结果（厚度 ; 间距）", "垂直测点结果（厚度 ; 间距）"}));
    EXPECT_TRUE(PanelRows::of(*traitsOf('H')).numberPoints);
    EXPECT_FALSE(PanelRows::of(*traitsOf('Z')).numberPoints);
}

// The row opened is the one clicked, also when an earlier component has the same code; the
// grid shows its values, then one item per point.
TEST_F(ComponentPanel, OpensTheClickedRowAndShowsItsValues) {
    Component first = samples::withPoints("W001", 2, 0);
    Component second = samples::withPoints("W001", 1, 3);
    second.designSpacingVert = 250;
    second.spacingTolerance = 7;
    show("W", {samples::withPoints("H001", 2), first, second});
    openRow(1);
    ASSERT_EQ(panel->componentIndex(), 2);
    // 名称, then the eight values in the table's order.
    EXPECT_EQ(integer(6), 250);
    EXPECT_EQ(integer(8), 7);
    EXPECT_EQ(integer(1), 16);
    EXPECT_EQ(pointItems(), (std::vector<int>{9, 10, 11, 12}));
    EXPECT_EQ(*panel->pointOfItem(10), (PointRef{true, 0}));
    EXPECT_EQ(*panel->pointOfItem(12), (PointRef{true, 2}));

    type(6, QStringLiteral("260"));
    EXPECT_EQ(at(2).designSpacingVert, 260);
    EXPECT_EQ(at(1).designSpacingVert, 100);  // the other W001 stays as it was
    EXPECT_EQ(summaries, 1);

    // Another type: a thickness component's points are plain numbers.
    view->ModeMessage(QStringLiteral("H"));
    EXPECT_EQ(panel->componentIndex(), -1);  // a rebuilt list closes the panel
    openRow(0);
    ASSERT_EQ(panel->componentIndex(), 0);
    EXPECT_EQ(pointItems(), (std::vector<int>{4, 5}));
    EXPECT_EQ(integer(5), 21);
}

TEST_F(ComponentPanel, EditsStoreAtOnceAndTheRowFollows) {
    Component h = samples::withPoints("H001", 4);
    h.designCover = 30;
    for (auto& p : h.points) p.thickness = 35;
    h.points[0].thickness = 30;
    show("H", {h});
    openRow(0);
    ASSERT_EQ(row(0).passRateCell, "25%");

    type(2, QStringLiteral("35"));  // 保护层厚度设计值
    EXPECT_EQ(at(0).designCover, 35);
    EXPECT_EQ(row(0).passRateCell, "75%");
    EXPECT_EQ(row(0).coverDesignCell, BuildComponentSummary(at(0)).coverDesignCell);
    EXPECT_EQ(summaries, 1);

    // The same value again stores nothing and sends nothing.
    type(2, QStringLiteral("35"));
    type(0, QStringLiteral("H001"));
    EXPECT_EQ(editor.stores, 1);
    EXPECT_EQ(summaries, 1);

    // The designed diameter of a thickness component is stored like the other types'.
    type(1, QStringLiteral("18"));
    EXPECT_EQ(at(0).designDiameter, 18);
    // A point's thickness.
    type(5, QStringLiteral("40"));
    EXPECT_EQ(at(0).points[1].thickness, 40);
    EXPECT_EQ(summaries, 3);

    // A name of 30 characters (60 bytes of GBK) keeps 24 of them: 48 bytes, never half of one.
    const QString longName = QString(30, QChar(0x6881));  // 梁
    type(0, longName);
    EXPECT_EQ(at(0).name.view().size(), 48u);
    EXPECT_EQ(fromGbk(at(0).name.view()), longName.left(24));
    QString shown;
    ASSERT_TRUE(grid->GetItemText(0, shown));
    EXPECT_EQ(shown, longName.left(24));
}

TEST_F(ComponentPanel, AddingAndDeletingPoints) {
    show("H", {samples::withPoints("H001", 5)});
    openRow(0);
    addPoint();
    ASSERT_EQ(at(0).pointCount, 6);
    EXPECT_EQ(pointItems().size(), 6u);
    EXPECT_EQ(integer(pointItems().back()), 0);
    EXPECT_EQ(row(0).pointCountCell, "6");

    // Deleting point 3 leaves 1 to 5 with the values after it moved up.
    QTest::mouseClick(grid, Qt::LeftButton, {}, itemPoint(6, 20));
    ASSERT_EQ(grid->GetSelectedItem(), 6);
    deletePoint();
    EXPECT_EQ(at(0).pointCount, 5);
    EXPECT_EQ(at(0).points[2].thickness, 23);
    EXPECT_EQ(integer(6), 23);
    EXPECT_EQ(pointItems().size(), 5u);
    EXPECT_EQ(row(0).pointCountCell, "5");
    QStringList labels;
    for (int id : pointItems()) {
        QString name;
        grid->GetItemName(id, name);
        labels << name;
    }
    EXPECT_EQ(labels.join(','), QStringLiteral("1,2,3,4,5"));

    // Nothing selected, or a value that is no point: nothing deleted.
    grid->ClearSelection();
    deletePoint();
    QTest::mouseClick(grid, Qt::LeftButton, {}, itemPoint(2, 20));
    deletePoint();
    EXPECT_EQ(at(0).pointCount, 5);

    // A closed row takes no points.
    openRow(0);
    addPoint();
    EXPECT_EQ(at(0).pointCount, 5);
}

// A point selected in one component is not deleted from the next one opened.
TEST_F(ComponentPanel, OpeningAnotherRowDropsTheSelection) {
    show("Z", {samples::withPoints("Z001", 3), samples::withPoints("Z002", 3)});
    openRow(0);
    QTest::mouseClick(grid, Qt::LeftButton, {}, itemPoint(6, 20));
    ASSERT_EQ(grid->GetSelectedItem(), 6);
    openRow(1);
    ASSERT_EQ(panel->componentIndex(), 1);
    EXPECT_EQ(grid->GetSelectedItem(), -1);
    EXPECT_FALSE(panel->SelectComponentMessage(2));  // no such component: the panel stays
    EXPECT_EQ(panel->componentIndex(), 1);
    deletePoint();
    EXPECT_EQ(at(1).pointCount, 3);
    EXPECT_EQ(editor.stores, 0);
}

// A grid component adds to the list whose section was clicked last, nothing otherwise; its
// vertical section is there before its first vertical point.
TEST_F(ComponentPanel, GridPointsGoToTheSelectedSectionsList) {
    show("W", {samples::withPoints("W001", 2, 0)});
    openRow(0);
    ASSERT_NE(panel->verticalResultsSection(), -1);
    struct Case {
        const char* what;
        std::function<void()> select;
        int points, vertical;
    };
    const Case cases[] = {
        {"the horizontal section", [&] { clickSection(panel->resultsSection()); }, 3, 0},
        {"the vertical section", [&] { clickSection(panel->verticalResultsSection()); }, 3, 1},
        {"the component's own section", [&] { clickSection(0); }, 3, 1},
        {"a point item", [&] { QTest::mouseClick(grid, Qt::LeftButton, {}, itemPoint(9, 20)); }, 3,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.select();
        addPoint();
        EXPECT_EQ(at(0).pointCount, c.points);
        EXPECT_EQ(at(0).pointCountVert, c.vertical);
    }
    EXPECT_EQ(row(0).pointCountCell, "3,1");
}

// Point items know their own list: with no horizontal points, the vertical ones are edited
// and deleted, the horizontal list untouched.
TEST_F(ComponentPanel, VerticalPointsOfAGridWithoutHorizontalOnes) {
    show("W", {samples::withPoints("W001", 0, 2)});
    openRow(0);
    ASSERT_EQ(pointItems(), (std::vector<int>{9, 10}));
    onNextModal<CDlgEdit>([](CDlgEdit* dialog) {
        dialog->thicknessEdit()->setText(QStringLiteral("33"));
        dialog->positionEdit()->setText(QStringLiteral("1500"));
        dialog->accept();
    });
    const QPoint second = itemPoint(10);
    QTest::mouseClick(grid, Qt::LeftButton, {}, second);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, second, grid->mapToGlobal(second), Qt::LeftButton,
                    Qt::LeftButton, {});
    QApplication::sendEvent(grid, &dbl);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, second);
    EXPECT_EQ(at(0).pointsVert[1].thickness, 33);
    EXPECT_EQ(at(0).pointsVert[1].position, 1500);
    EXPECT_EQ(at(0).pointsVert[0].thickness, 40);

    QTest::mouseClick(grid, Qt::LeftButton, {}, itemPoint(9, 20));
    deletePoint();
    EXPECT_TRUE(at(0).points.empty());
    ASSERT_EQ(at(0).pointsVert.size(), 1u);
    EXPECT_EQ(at(0).pointsVert[0].thickness, 33);
}

// A change made outside the panel (undo) shows in the row and the open panel; a component
// that is gone closes the panel.
TEST_F(ComponentPanel, ChangesFromOutsideShowInTheRowAndThePanel) {
    show("P", {samples::withPoints("P001", 3), samples::withPoints("P002", 3)});
    openRow(1);
    at(1).designSpacing = 321;
    at(1).addPoint();
    at(0).designCover = 10;
    view->componentChanged(1);
    EXPECT_EQ(integer(3), 321);
    EXPECT_EQ(pointItems().size(), 4u);
    EXPECT_EQ(row(1).pointCountCell, "4");
    EXPECT_NE(row(0).coverDesignCell, BuildComponentSummary(at(0)).coverDesignCell);
    view->componentChanged(0);
    EXPECT_EQ(row(0).coverDesignCell, BuildComponentSummary(at(0)).coverDesignCell);
    EXPECT_EQ(panel->componentIndex(), 1);

    project.components().pop_back();
    view->componentChanged(1);
    EXPECT_EQ(panel->componentIndex(), -1);
    EXPECT_EQ(view->pane()->openGroupIndex() >= 0 &&
                  !view->pane()->group(view->pane()->openGroupIndex()).collapsed,
              false);
    EXPECT_TRUE(panel->isHidden());
}

// What the panel paints at 900 × 370 with a 121-pixel strip: the strip, its line, the frame
// one pixel outside the grid, and per chart type a disc or bar where the geometry puts it.
TEST_F(ComponentPanel, PaintsStripFrameAndTheChartOfItsType) {
    auto withPoint = [](const char* code, int thickness, int position, bool vertical = false) {
        Component c = samples::component(code);
        c.addPoint(vertical);
        auto& p = vertical ? c.pointsVert.back() : c.points.back();
        p.thickness = static_cast<std::int16_t>(thickness);
        p.position = position;
        return c;
    };
    show("H", {withPoint("H001", 75, 0), withPoint("Z001", 150, 0), withPoint("P001", 75, 1000),
               withPoint("W001", 0, 1000), withPoint("W002", 0, 1000, true)});
    const struct {
        int index;
        QPoint covered, clear;
    } cases[] = {
        {0, {201, 205}, {300, 205}},  // one point on the left edge, halfway down
        {1, {201, 359}, {250, 200}},  // 150 mm on the bottom edge
        {2, {350, 205}, {300, 205}},  // 1000 mm, 75 mm: the middle
        {3, {350, 300}, {300, 300}},  // a vertical bar only
        {4, {300, 205}, {300, 300}},  // a horizontal bar only
    };
    // The scale follows the screen (here pinned to 1), or what it is told.
    panel->resize(900, 370);
    const int rowHeight = grid->rowHeight();
    EXPECT_EQ(panel->stripWidth(), 121);
    panel->setDisplayScale(1.5f);
    EXPECT_EQ(panel->stripWidth(), 181);
    EXPECT_GT(grid->rowHeight(), rowHeight);
    panel->setDisplayScale(0.75f);
    EXPECT_EQ(panel->stripWidth(), 91);
    panel->setDisplayScale(0);
    EXPECT_EQ(panel->stripWidth(), 121);
    EXPECT_EQ(grid->rowHeight(), rowHeight);
    panel->setDisplayScale(1.0f);
    ASSERT_EQ(panel->stripWidth(), 121);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        ASSERT_TRUE(panel->SelectComponentMessage(c.index));
        const QImage image = panel->grab().toImage();
        const QColor grey = panel->palette().color(QPalette::Disabled, QPalette::WindowText);
        const QColor strip = image.pixelColor(60, 100);
        EXPECT_NE(strip, QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(120, 368), strip);
        EXPECT_EQ(image.pixelColor(121, 0), grey);
        EXPECT_EQ(image.pixelColor(121, 100), grey);
        EXPECT_EQ(image.pixelColor(121, 368), grey);
        EXPECT_EQ(image.pixelColor(122, 100), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(100, 369), grey);
        EXPECT_EQ(image.pixelColor(450, 369), grey);
        EXPECT_EQ(image.pixelColor(899, 369), grey);
        EXPECT_EQ(image.pixelColor(400, 368), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(599, 100), grey);  // cx/2 + 149
        EXPECT_EQ(image.pixelColor(800, 100), grey);  // cx - 100
        EXPECT_EQ(image.pixelColor(700, 29), grey);
        EXPECT_EQ(image.pixelColor(700, 360), grey);  // cy - 10
        EXPECT_EQ(image.pixelColor(801, 100), QColor(Qt::white));
        EXPECT_EQ(grid->geometry(), QRect(600, 30, 200, 330));
        EXPECT_EQ(image.pixelColor(c.covered), QColor(128, 128, 128));
        EXPECT_EQ(image.pixelColor(c.clear), QColor(Qt::white));
    }
    // Too small for a grid: it gets no room rather than a negative size.
    panel->resize(400, 30);
    panel->grab();  // a hidden panel gets its size when it is drawn
    EXPECT_EQ(grid->geometry(), QRect(350, 30, 0, 0));
}

TEST_F(ComponentPanel, ChartsCopyAndSaveAsPictures) {
    show("Z", {samples::withPoints("Z001", 4)});
    openRow(0);
    std::unique_ptr<QMenu> menu = panel->chartMenu(QPoint(300, 100));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("复制图表"));
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("保存图表…"));
    EXPECT_EQ(panel->chartMenu(grid->geometry().center()), nullptr);

    // From the strip's line to 25 pixels past the chart's right edge.
    panel->resize(900, 370);
    menu->actions()[0]->trigger();
    const QImage chart = panel->chartImage();
    EXPECT_EQ(panel->chartRect(), QRect(QPoint(122, 0), QPoint(525, 368)));
    EXPECT_EQ(chart.size(), panel->chartRect().size());
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(chart.format()), chart);

    TempDir dir;
    const QString path = QString::fromStdString((dir / "chart.png").string());
    prompter.expectSave(QStringLiteral("Z001"), path, QStringLiteral("PNG 图片(*.png)|*.png|"));
    menu->actions()[1]->trigger();
    EXPECT_EQ(QImage(path).convertToFormat(chart.format()), chart);

    prompter.expectSave(QStringLiteral("Z001"), std::nullopt);  // cancelled
    EXPECT_FALSE(panel->saveChart());

    // A folder that is not there: the user is told, nothing is written.
    const QString bad = QString::fromStdString((dir / "missing/chart.png").string());
    prompter.expectSave(QStringLiteral("Z001"), bad);
    prompter.expectMessageContaining(
        QStringLiteral("提示信息"),
        QString::fromStdString("无法在文件夹“" + (dir / "missing").string() +
                               "”中创建文件：文件或文件夹不存在。"),
        Prompter::Icon::Error);
    EXPECT_FALSE(panel->saveChart());
    EXPECT_FALSE(QFile::exists(bad));
}

// Deleting, adding or a change from outside refills the grid where the user was: the scroll
// position stays and the selected point is in view, so a second 删除测点 deletes what is seen.
TEST_F(ComponentPanel, TheGridKeepsItsPlaceAcrossARefill) {
    show("H", {samples::withPoints("H001", 200)});
    openRow(0);
    const int first = pointItems().front();
    const int visibleRows = grid->height() / grid->rowHeight();
    grid->scrollBar()->setValue(grid->itemTop(first + 115));
    QTest::mouseClick(grid, Qt::LeftButton, {}, itemPoint(first + 119, 20));  // point 120
    ASSERT_EQ(grid->GetSelectedItem(), first + 119);
    const int position = grid->scrollPosition();
    const auto selectedInView = [this] {
        const int top = grid->itemTop(grid->GetSelectedItem()) - grid->scrollPosition();
        return top >= 0 && top + grid->rowHeight() <= grid->height();
    };

    const std::pair<const char*, std::function<void()>> refills[] = {
        {"delete", [this] { deletePoint(); }},
        {"add", [this] { addPoint(); }},
        {"from outside", [this] { view->componentChanged(0); }},
    };
    for (const auto& [what, refill] : refills) {
        refill();
        EXPECT_EQ(grid->scrollPosition(), position) << what;
        EXPECT_TRUE(selectedInView()) << what;
    }
    EXPECT_EQ(at(0).points[119].thickness, 20 + 120);  // point 121 moved up into 120's place

    // A selection out of sight is brought into view by the next refill.
    grid->scrollBar()->setValue(0);
    ASSERT_GT(grid->itemTop(first + 119), visibleRows * grid->rowHeight());
    deletePoint();
    EXPECT_TRUE(selectedInView());
    EXPECT_EQ(at(0).points[119].thickness, 20 + 121);
    openRow(0);
    openRow(0);  // opened again: from the top
    EXPECT_EQ(grid->scrollPosition(), 0);
}

// Commands that cannot do what was asked say why in the status bar, and so does a name that
// was cut; a name GBK cannot hold is refused and the old one stays.
TEST_F(ComponentPanel, WhatIsRefusedOrCutIsTold) {
    Component full = samples::withPoints("H002", 0);
    full.points.assign(INT16_MAX, MeasurePoint{});
    full.pointCount = INT16_MAX;
    show("", {samples::withPoints("W001", 2, 1), full});
    QStringList tips;
    struct TipCatcher : QObject {
        QStringList& tips;
        explicit TipCatcher(QStringList& t) : tips(t) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::StatusTip) tips << static_cast<QStatusTipEvent*>(e)->tip();
            return false;
        }
    } catcher(tips);
    view->installEventFilter(&catcher);

    view->ModeMessage(QStringLiteral("W"));
    openRow(0);
    addPoint();  // no results section chosen
    view->ModeMessage(QStringLiteral("H"));
    openRow(0);
    addPoint();
    EXPECT_EQ(at(1).pointCount, INT16_MAX);
    const QString longName = QString(30, QChar(u'梁'));  // 60 bytes of GBK
    type(0, longName);
    EXPECT_EQ(fromGbk(at(1).name.view()), QString(24, QChar(u'梁')));
    EXPECT_EQ(tips, (QStringList{"请先单击“测点结果”或“垂直测点结果”，再增加测点。",
                                 "测点数已达上限 32767。", "名称超过 49 字节，已截短。"}));
    EXPECT_EQ(editor.stores, 1);

    MessageBoxes boxes;
    type(0, QStringLiteral("Añ€ß😀Z"));
    EXPECT_EQ(boxes.texts(), QStringList{"“名称”中的字符“ñß😀”无法保存（仅支持 GBK 字符）。"});
    EXPECT_EQ(fromGbk(at(1).name.view()), QString(24, QChar(u'梁')));
    EXPECT_NE(grid->inPlaceEdit(), nullptr);
}
