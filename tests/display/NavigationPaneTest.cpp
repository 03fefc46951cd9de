#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <memory>

#include "display/CWndLikeMsdn.h"
#include "display/LightenColor.h"
#include "display/ReadableInk.h"
#include "display/SystemMetrics.h"
#include "display/TableGeometry.h"
#include "support/ModelSamples.h"

namespace {

// Collects the regions painted in a widget.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* w) { w->installEventFilter(this); }
    QRegion painted;

    // What `act` has the widget paint.
    template <typename Act>
    QRegion after(Act act) {
        painted = {};
        act();
        static_cast<void>(QTest::qWaitFor([this] { return !painted.isEmpty(); }, 1000));
        QCoreApplication::processEvents();
        return painted;
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

class NavigationPane : public testing::Test {
protected:
    explicit NavigationPane(int groups = 4) {
        SystemMetrics::pin({1450, 10, 22, 19});
        pane.setPalette(fusion);
        pane.resize(800, 300);
        panel = new QWidget(pane.viewport());
        panel->resize(800, 120);
        panel->hide();
        pane.setHostedWindow(panel);
        for (int i = 1; i <= groups; ++i) {
            pane.AddGroup(BuildComponentSummary(
                samples::withPoints(QString::asprintf("P%03d", i).toStdString(), 2)));
        }
        pane.show();
        pane.ensureLayout();
        row = pane.rowHeight();
    }
    ~NavigationPane() override { SystemMetrics::unpin(); }

    // The middle of a row as the viewport shows it now.
    QPoint rowPoint(int index, int x = 300) {
        return {x, pane.groupTop(index) - pane.verticalScrollBar()->value() + row / 2};
    }
    void clickRow(int index) {
        QTest::mouseMove(pane.viewport(), rowPoint(index));
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, rowPoint(index));
        pane.ensureLayout();
    }
    void wheel(QPoint pixels, QPoint angle) {
        QWheelEvent e(QPointF(300, 10), QPointF(300, 10), pixels, angle, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(pane.viewport(), &e);
    }
    QRect shownRow(int index) {
        return {0, pane.groupTop(index) - pane.verticalScrollBar()->value(),
                pane.viewport()->width(), row};
    }

    const QPalette fusion =
        std::unique_ptr<QStyle>(QStyleFactory::create(QStringLiteral("Fusion")))->standardPalette();
    CWndLikeMsdn pane;
    QWidget* panel;
    int row = 0;
};

class LongNavigationPane : public NavigationPane {
protected:
    LongNavigationPane() : NavigationPane(40) {}
};

}  // namespace

TEST_F(NavigationPane, OpeningARowHostsThePanelAndMovesTheRowsBelow) {
    QSignalSpy selected(&pane, &CWndLikeMsdn::SelectComponentMessage);
    EXPECT_EQ(pane.openGroupIndex(), -1);
    EXPECT_GE(row, 22);
    EXPECT_EQ(pane.groupTop(3), 3 * row);

    clickRow(0);
    EXPECT_EQ(pane.openGroupIndex(), 0);
    EXPECT_FALSE(pane.group(0).collapsed);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry(), QRect(0, row, pane.viewport()->width(), 120));
    EXPECT_EQ(pane.groupTop(1), row + 120);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).toInt(), 0);

    clickRow(2);  // the first closes, the panel moves under the third
    EXPECT_TRUE(pane.group(0).collapsed);
    EXPECT_FALSE(pane.group(2).collapsed);
    EXPECT_EQ(pane.groupTop(1), row);
    EXPECT_EQ(pane.groupTop(3), 3 * row + 120);
    EXPECT_EQ(panel->y(), 3 * row);
    ASSERT_EQ(selected.count(), 2);
    EXPECT_EQ(selected.at(1).at(0).toInt(), 2);

    clickRow(2);  // the open row again closes it
    EXPECT_TRUE(pane.group(2).collapsed);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(pane.contentHeight(), 4 * row);
    EXPECT_EQ(selected.count(), 2);

    QTest::mouseMove(pane.viewport(), QPoint(300, 4 * row + 30));  // below every row
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, QPoint(300, 4 * row + 30));
    EXPECT_EQ(pane.openGroupIndex(), 2);
    EXPECT_TRUE(pane.group(2).collapsed);

    pane.setHostedWindow(nullptr);  // nothing to host: the row opens without moving the rest
    clickRow(0);
    EXPECT_FALSE(pane.group(0).collapsed);
    EXPECT_EQ(pane.groupTop(1), row);
}

TEST_F(NavigationPane, ScrollBarFollowsTheContentWithThePageAsTheVisibleHeight) {
    QScrollBar* bar = pane.verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 0);
    QTest::qWait(1);
    EXPECT_FALSE(bar->isVisible());

    clickRow(1);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(pane.AddGroup(BuildComponentSummary(samples::withPoints("P100", 1))), 4 + i);
    }
    pane.ensureLayout();
    const int visible = pane.viewport()->height();
    EXPECT_EQ(pane.contentHeight(), 24 * row + 120);
    EXPECT_EQ(bar->pageStep(), visible);
    EXPECT_EQ(bar->maximum(), 24 * row + 120 - visible);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }));

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 1 + 19 * 9 / 8);
    EXPECT_EQ(panel->y(), 2 * row - bar->value());  // the panel scrolls with its row
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), 0);

    pane.RemoveAllGroups();
    pane.ensureLayout();
    EXPECT_EQ(pane.groupCount(), 0);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible(); }));
}

TEST_F(NavigationPane, SummaryUpdateRewritesTheOpenRow) {
    std::vector<std::string> texts(15, "x");
    EXPECT_EQ(pane.SummaryUpdateMessage(texts), 0);  // nothing open yet: nothing changes
    for (int i = 0; i < 4; ++i) EXPECT_NE(pane.group(i).texts.passRateCell, "x");

    clickRow(1);
    texts.assign(15, "");
    texts[0] = "P002";
    texts[14] = "75%";
    EXPECT_EQ(pane.SummaryUpdateMessage(texts), 0);
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(pane.group(1).texts.passRateCell, "75%");
    EXPECT_EQ(pane.group(1).shownTexts()[14], QStringLiteral("75%"));
    EXPECT_EQ(pane.group(0).texts.passRateCell,
              BuildComponentSummary(samples::withPoints("P001", 2)).passRateCell);

    std::vector<std::string> few(14, "y");
    EXPECT_EQ(pane.SummaryUpdateMessage(few), -1);
    EXPECT_EQ(few.size(), 14u);
    EXPECT_EQ(pane.group(1).texts.passRateCell, "75%");
}

// The hover follows the mouse, repaints only the rows it leaves and enters, and ends when
// the mouse leaves the pane.
TEST_F(NavigationPane, HoverRepaintsItsRowsAndEndsWhenTheMouseLeaves) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    QCoreApplication::processEvents();
    PaintSpy spy(pane.viewport());
    EXPECT_EQ(spy.after([&] { QTest::mouseMove(pane.viewport(), rowPoint(1, 50)); }),
              QRegion(shownRow(1)));
    EXPECT_EQ(pane.hoverGroupIndex(), 1);
    EXPECT_EQ(pane.viewport()->cursor().shape(), Qt::PointingHandCursor);

    EXPECT_EQ(spy.after([&] { QTest::mouseMove(pane.viewport(), rowPoint(2, 50)); }),
              QRegion(shownRow(1)) + shownRow(2));
    EXPECT_EQ(pane.group(1).flags & 1, 0);
    EXPECT_EQ(pane.group(2).flags & 1, 1);

    EXPECT_EQ(spy.after([&] {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(pane.viewport(), &leave);
    }),
              QRegion(shownRow(2)));
    EXPECT_EQ(pane.hoverGroupIndex(), -1);
    EXPECT_EQ(pane.group(2).flags & 1, 0);

    QTest::mouseMove(pane.viewport(), QPoint(50, 250));  // below the rows
    EXPECT_EQ(pane.hoverGroupIndex(), -1);
    EXPECT_EQ(pane.viewport()->cursor().shape(), Qt::ArrowCursor);
}

// A click after scrolling opens the row under the mouse, and the pane paints the rows where
// the scroll put them: lines, buttons and the hovered row's readable text.
TEST_F(LongNavigationPane, PaintedAndClickedAfterScrolling) {
    clickRow(1);
    pane.verticalScrollBar()->setValue(row + 37);
    pane.ensureLayout();
    QTest::mouseMove(pane.viewport(), rowPoint(5));
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, rowPoint(5));
    EXPECT_EQ(pane.openGroupIndex(), 5);
    pane.ensureLayout();
    EXPECT_EQ(panel->y(), pane.groupTop(5) + row - pane.verticalScrollBar()->value());
    QTest::mouseMove(pane.viewport(), rowPoint(3));
    ASSERT_EQ(pane.hoverGroupIndex(), 3);

    const QImage image = pane.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const TableGeometry g = TableGeometry::of(SummaryLayoutKind::ProfileGrid);
    const QColor background = LightenColor(0.75, fusion.color(QPalette::Highlight));
    const QColor grey = fusion.color(QPalette::Disabled, QPalette::WindowText);
    const QColor hoverInk = ReadableInk(fusion.color(QPalette::Highlight), background);
    const QColor normalInk = fusion.color(QPalette::ButtonText);
    EXPECT_GE(ContrastRatio(hoverInk, background), 4.5);

    auto has = [&](QRect area, const QColor& c) {
        for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1);
             ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixelColor(x, y) == c) return true;
            }
        }
        return false;
    };
    for (int i : {3, 4, 5, 6}) {
        SCOPED_TRACE(i);
        const QRect r = shownRow(i);
        EXPECT_EQ(image.pixelColor(g.columns[1].left + 200, r.bottom()), grey);
        EXPECT_EQ(image.pixelColor(g.columns[1].left + 200, r.bottom() - 1), background);
        EXPECT_EQ(image.pixelColor(g.columns[3].right() + 1, r.center().y()), grey);
        const QRect code(g.columns[0].left + row + 4, r.top(), g.columns[0].width - row - 4,
                         row - 1);
        EXPECT_EQ(has(code, hoverInk), i == 3);
        EXPECT_EQ(has(code, normalInk), i != 3);

        // The button's chevrons point down on a closed row and up on the open one.
        const QRect button(10, r.top() + 4, row - 8, row - 8);
        const int cx = (button.left() + button.right() + 1) / 2;
        const int cy = (button.top() + button.bottom() + 1) / 2;
        const int s = i == 5 ? -1 : 1;  // open: mirrored
        const QColor ink = i == 3 ? hoverInk : normalInk;
        for (QPoint p : {QPoint(cx, cy), QPoint(cx - 4, cy - 4 * s), QPoint(cx + 4, cy - 4 * s),
                         QPoint(cx - 2, cy - 2 * s), QPoint(cx, cy + 3 * s), QPoint(cx - 4, cy - s),
                         QPoint(cx + 4, cy - s)}) {
            EXPECT_EQ(image.pixelColor(p), ink) << p.x() - cx << "," << p.y() - cy;
        }
        for (QPoint p : {QPoint(cx - 2, cy + 2 * s), QPoint(cx, cy - 3 * s)}) {
            EXPECT_EQ(image.pixelColor(p), background) << p.x() - cx << "," << p.y() - cy;
        }
        for (QPoint p : {QPoint(cx - 4, cy - 5 * s), QPoint(cx + 4, cy - 5 * s)}) {
            EXPECT_NE(image.pixelColor(p), ink) << p.x() - cx << "," << p.y() - cy;
        }
        // The circle touches each side of the button's rectangle and stays inside it.
        for (auto [inside, outside] :
             {std::pair{QPoint(button.left(), cy), QPoint(button.left() - 1, cy)},
              std::pair{QPoint(button.right(), cy), QPoint(button.right() + 1, cy)},
              std::pair{QPoint(cx, button.top()), QPoint(cx, button.top() - 1)},
              std::pair{QPoint(cx, button.bottom()), QPoint(cx, button.bottom() + 1)}}) {
            EXPECT_NE(image.pixelColor(inside), background) << inside.x() << "," << inside.y();
            EXPECT_EQ(image.pixelColor(outside), background) << outside.x() << "," << outside.y();
        }
    }
    // A line closes the open group under its panel, from edge to edge.
    for (int x : {0, g.columns[1].left + 200, image.width() - 1}) {
        EXPECT_EQ(image.pixelColor(x, shownRow(6).top() - 1), grey) << x;
    }
}

// Wheel steps add up until a notch is complete; pixel steps scroll by pixels; the hover
// follows the row that the wheel brought under the still mouse.
TEST_F(LongNavigationPane, WheelScrollsByWholeNotchesOrByPixels) {
    QScrollBar* bar = pane.verticalScrollBar();
    const int notch = QApplication::wheelScrollLines() * row;
    QTest::mouseMove(pane.viewport(), rowPoint(1));
    ASSERT_EQ(pane.hoverGroupIndex(), 1);
    for (int i = 0; i < 7; ++i) wheel({}, {0, -15});
    EXPECT_EQ(bar->value(), 0);
    wheel({}, {0, -15});
    EXPECT_EQ(bar->value(), notch);  // eight of 15 make one notch
    EXPECT_EQ(pane.hoverGroupIndex(), 1 + QApplication::wheelScrollLines());
    wheel({}, {0, -120});
    EXPECT_EQ(bar->value(), 2 * notch);
    wheel({}, {0, 60});
    wheel({}, {0, 60});
    EXPECT_EQ(bar->value(), notch);

    wheel({0, -7}, {0, -15});  // pixels win over the angle
    EXPECT_EQ(bar->value(), notch + 7);
    wheel({0, 5}, {});
    EXPECT_EQ(bar->value(), notch + 2);
    wheel({0, INT_MIN}, {});
    EXPECT_EQ(bar->value(), bar->maximum());
    wheel({}, {0, INT_MAX});
    EXPECT_EQ(bar->value(), 0);
}

// The keys walk the rows the way the mouse cannot miss them: each selected row is scrolled
// into view, and an opened one brings its whole panel with it.
TEST_F(LongNavigationPane, KeysSelectScrollAndOpenRows) {
    pane.setFocus();
    const int page = pane.viewport()->height() / row;
    ASSERT_GT(page, 2);
    const struct {
        Qt::Key key;
        int selected;
    } steps[] = {
        {Qt::Key_Down, 0},  // from none, the first
        {Qt::Key_Down, 1},           {Qt::Key_Up, 0},   {Qt::Key_Up, 0},          {Qt::Key_End, 39},
        {Qt::Key_PageUp, 39 - page}, {Qt::Key_Home, 0}, {Qt::Key_PageDown, page},
    };
    for (const auto& s : steps) {
        QTest::keyClick(&pane, s.key);
        EXPECT_EQ(pane.selectedGroupIndex(), s.selected) << s.key;
        EXPECT_TRUE(pane.viewport()->rect().contains(shownRow(s.selected))) << s.key;
    }

    QTest::keyClick(&pane, Qt::Key_End);
    QTest::keyClick(&pane, Qt::Key_Up);
    QTest::keyClick(&pane, Qt::Key_Return);
    ASSERT_EQ(pane.openGroupIndex(), 38);
    const int scroll = pane.verticalScrollBar()->value();
    EXPECT_LE(pane.groupTop(38) + row + panel->height(), scroll + pane.viewport()->height());
    EXPECT_GE(pane.groupTop(38), scroll);
    QTest::keyClick(&pane, Qt::Key_Space);
    EXPECT_TRUE(pane.group(38).collapsed);
}
