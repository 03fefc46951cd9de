#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "display/CWndLikeMsdn.h"
#include "display/SystemMetrics.h"
#include "support/ModelSamples.h"

namespace {

constexpr int caption = 22;

class NavigationPane : public testing::Test {
protected:
    NavigationPane() {
        SystemMetrics::pin({1450, 10, caption, 19});
        pane.resize(800, 300);
        panel = new QWidget(pane.viewport());
        panel->resize(800, 120);
        panel->hide();
        pane.setHostedWindow(panel);
        for (const char* code : {"P001", "P002", "P003", "P004"}) {
            pane.AddGroup(BuildComponentSummary(samples::withPoints(code, 2)));
        }
        pane.show();
        pane.ensureLayout();
    }
    ~NavigationPane() override { SystemMetrics::unpin(); }

    void clickRow(int index) {
        const QPoint at(300,
                        pane.groupTop(index) - pane.verticalScrollBar()->value() + caption / 2);
        QTest::mouseMove(pane.viewport(), at);
        QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, at);
        pane.ensureLayout();
    }

    CWndLikeMsdn pane;
    QWidget* panel;
};

}  // namespace

TEST_F(NavigationPane, OpeningARowHostsThePanelAndMovesTheRowsBelow) {
    QSignalSpy selected(&pane, &CWndLikeMsdn::SelectComponentMessage);
    EXPECT_EQ(pane.groupTop(3), 3 * caption);

    clickRow(0);
    EXPECT_EQ(pane.openGroupIndex(), 0);
    EXPECT_FALSE(pane.group(0).collapsed);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry(), QRect(0, caption, pane.viewport()->width(), 120));
    EXPECT_EQ(pane.groupTop(1), caption + 120);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).value<std::string>(), "P001");

    clickRow(2);  // the first closes, the panel moves under the third
    EXPECT_TRUE(pane.group(0).collapsed);
    EXPECT_FALSE(pane.group(2).collapsed);
    EXPECT_EQ(pane.groupTop(1), caption);
    EXPECT_EQ(pane.groupTop(3), 3 * caption + 120);
    EXPECT_EQ(panel->y(), 3 * caption);
    EXPECT_EQ(selected.count(), 2);

    clickRow(2);  // the open row again closes it
    EXPECT_TRUE(pane.group(2).collapsed);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(pane.contentHeight(), 4 * caption);
    EXPECT_EQ(selected.count(), 2);

    QTest::mouseMove(pane.viewport(), QPoint(300, 4 * caption + 30));  // below every row
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, QPoint(300, 4 * caption + 30));
    EXPECT_EQ(pane.openGroupIndex(), 2);
    EXPECT_TRUE(pane.group(2).collapsed);
}

TEST_F(NavigationPane, ScrollBarFollowsTheContentWithThePageAsTheVisibleHeight) {
    QScrollBar* bar = pane.verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 0);
    QTest::qWait(1);
    EXPECT_FALSE(bar->isVisible());

    clickRow(1);
    for (int i = 0; i < 20; ++i)
        pane.AddGroup(BuildComponentSummary(samples::withPoints("P100", 1)));
    pane.ensureLayout();
    const int visible = pane.viewport()->height();
    EXPECT_EQ(pane.contentHeight(), 24 * caption + 120);
    EXPECT_EQ(bar->pageStep(), visible);
    EXPECT_EQ(bar->maximum(), 24 * caption + 120 - visible);
    QTRY_VERIFY(bar->isVisible());

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 1 + 19 * 9 / 8);
    EXPECT_EQ(panel->y(), 2 * caption - bar->value());  // the panel scrolls with its row
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), 0);

    pane.RemoveAllGroups();
    pane.ensureLayout();
    EXPECT_EQ(pane.groupCount(), 0);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(bar->maximum(), 0);
    QTRY_VERIFY(!bar->isVisible());
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

TEST_F(NavigationPane, HoverMarksTheRowUnderTheMouse) {
    QTest::mouseMove(pane.viewport(), QPoint(50, caption + 5));
    EXPECT_EQ(pane.hoverGroupIndex(), 1);
    EXPECT_EQ(pane.group(1).flags & 1, 1);
    EXPECT_EQ(pane.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(pane.viewport(), QPoint(50, 2 * caption + 5));
    EXPECT_EQ(pane.group(1).flags & 1, 0);
    EXPECT_EQ(pane.hoverGroupIndex(), 2);
    QTest::mouseMove(pane.viewport(), QPoint(50, 250));
    EXPECT_EQ(pane.hoverGroupIndex(), -1);
    EXPECT_EQ(pane.viewport()->cursor().shape(), Qt::ArrowCursor);
}
