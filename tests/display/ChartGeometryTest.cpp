#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "display/ChartGeometry.h"
#include "display/ChartPainter.h"
#include "support/ModelSamples.h"

namespace {

// The panel at 900 x 370 with a 121-pixel strip: L = 201, R = 500, top 50, B = 360.
const ChartArea area{900, 370, 121};

Component pointsAt(std::string_view code, std::vector<std::pair<int, int>> thicknessPosition,
                   std::vector<int> verticalPositions = {}) {
    Component c = samples::component(code);
    for (auto [t, s] : thicknessPosition) {
        c.addPoint();
        c.points.back().thickness = static_cast<std::int16_t>(t);
        c.points.back().position = s;
    }
    for (int s : verticalPositions) {
        c.addPoint(true);
        c.pointsVert.back().position = s;
    }
    return c;
}

QPoint centre(const QRect& r) {
    return QPoint((r.left() + r.right() + 1) / 2, (r.top() + r.bottom() + 1) / 2);
}

std::vector<QString> textsOf(const ChartPicture& p) {
    std::vector<QString> out;
    for (const ChartText& t : p.texts) out.push_back(t.text);
    return out;
}

}  // namespace

TEST(ChartGeometry, TheChartAreaFollowsTheStripAndThePanel) {
    for (const ChartPicture& p :
         {ChartGeometry::valueChart(area, nullptr), ChartGeometry::profileChart(area, nullptr),
          ChartGeometry::gridChart(area, nullptr)}) {
        EXPECT_EQ(p.frame, QRect(QPoint(201, 50), QPoint(499, 359)));
        EXPECT_TRUE(p.discs.empty() && p.bars.empty());
    }
}

TEST(ChartGeometry, ValueChartAxesAndCaption) {
    const ChartPicture p = ChartGeometry::valueChart(area, nullptr);
    // 14 depth lines every 310/15 pixels, then 9 position lines.
    ASSERT_EQ(p.dotted.size(), 23u);
    EXPECT_EQ(p.dotted[0], QLine(201, 70, 500, 70));
    EXPECT_EQ(p.dotted[13], QLine(201, 339, 500, 339));
    EXPECT_EQ(p.dotted[14], QLine(230, 50, 230, 360));
    EXPECT_EQ(p.dotted[22], QLine(470, 50, 470, 360));
    // 76 depth ticks, major every fifth, then 51 position ticks.
    ASSERT_EQ(p.ticks.size(), 127u);
    EXPECT_EQ(p.ticks[0], QLine(197, 50, 201, 50));
    EXPECT_EQ(p.ticks[1], QLine(199, 54, 201, 54));
    EXPECT_EQ(p.ticks[75], QLine(197, 360, 201, 360));
    EXPECT_EQ(p.ticks[76], QLine(201, 50, 201, 46));
    EXPECT_EQ(p.ticks[77], QLine(206, 50, 206, 48));
    EXPECT_EQ(p.ticks[126], QLine(500, 50, 500, 46));

    const std::vector<QString> texts = textsOf(p);
    const std::vector<QString> expected{"0",
                                        "10",
                                        "20",
                                        "30",
                                        "40",
                                        "50",
                                        "60",
                                        "70",
                                        "80",
                                        "90",
                                        "100",
                                        "110",
                                        "120",
                                        "130",
                                        "140",
                                        "150",
                                        "保",
                                        "护",
                                        "层",
                                        "厚",
                                        "度",
                                        "(mm)",
                                        "X方向钢筋位置(mm)"};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(p.texts[0].topLeft, QPoint(187, 45));
    EXPECT_EQ(p.texts[1].topLeft, QPoint(181, 65));
    EXPECT_EQ(p.texts[10].topLeft, QPoint(176, 251));
    EXPECT_EQ(p.texts[15].topLeft, QPoint(176, 355));
    EXPECT_EQ(p.texts[16].topLeft, QPoint(151, 161));
    EXPECT_EQ(p.texts[20].topLeft, QPoint(151, 209));
    EXPECT_EQ(p.texts[21].topLeft, QPoint(146, 221));
    EXPECT_EQ(p.texts[22].topLeft, QPoint(270, 10));
    EXPECT_TRUE(std::all_of(p.texts.begin(), p.texts.end(),
                            [](const ChartText& t) { return t.tenths == 80; }));
}

TEST(ChartGeometry, ValueChartPointsAtEvenIntervalsByThickness) {
    struct Case {
        const char* what;
        Component component;
        std::vector<QPoint> centres;
    };
    const Case cases[] = {
        {"one point on the left edge, cover 0 on the top edge",
         pointsAt("H001", {{0, 0}}),
         {{201, 50}}},
        {"five points from L to R",
         pointsAt("Z001", {{10, 0}, {20, 0}, {30, 0}, {40, 0}, {150, 0}}),
         {{201, 70}, {275, 91}, {350, 112}, {425, 132}, {500, 360}}},
        {"deeper than the chart: drawn below it", pointsAt("H002", {{200, 0}}), {{201, 463}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ChartPicture p = ChartGeometry::chartFor(area, c.component);
        ASSERT_EQ(p.discs.size(), c.centres.size());
        for (std::size_t i = 0; i < p.discs.size(); ++i) {
            EXPECT_EQ(centre(p.discs[i]), c.centres[i]) << i;
            EXPECT_EQ(p.discs[i].size(), QSize(10, 10));
        }
        EXPECT_TRUE(p.greyDiscOutline);
    }
}

TEST(ChartGeometry, ProfileChartPlacesPointsByPositionAndThickness) {
    const ChartPicture p = ChartGeometry::chartFor(
        area, pointsAt("P001", {{75, 1000}, {0, 0}, {150, 2000}, {30, 2500}}));
    ASSERT_EQ(p.discs.size(), 4u);
    EXPECT_EQ(centre(p.discs[0]), QPoint(350, 205));  // the middle of the chart
    EXPECT_EQ(centre(p.discs[1]), QPoint(201, 50));
    EXPECT_EQ(centre(p.discs[2]), QPoint(500, 360));
    EXPECT_GT(centre(p.discs[3]).x(), 500);  // beyond 2000 mm: outside the frame
    EXPECT_FALSE(p.greyDiscOutline);

    // Depth numbers in the small font, position numbers 0, 200, ... 2000 centred over the
    // major ticks, each after six spaces that clear its place.
    EXPECT_EQ(p.texts[0].tenths, 70);
    std::vector<QString> numbers;
    for (const ChartText& t : p.texts) {
        if (t.centredIn.isValid()) {
            numbers.push_back(t.text);
            EXPECT_EQ(t.centredIn.height(), 10);
            EXPECT_EQ(t.centredIn.width(), 35);
        }
    }
    EXPECT_EQ(numbers, (std::vector<QString>{"0", "200", "400", "600", "800", "1000", "1200",
                                             "1400", "1600", "1800", "2000"}));
    const auto first =
        std::find_if(p.texts.begin(), p.texts.end(), [](const ChartText& t) { return t.opaque; });
    ASSERT_NE(first, p.texts.end());
    EXPECT_EQ(first->text, QStringLiteral("      "));
    EXPECT_EQ(first->topLeft, QPoint(186, 34));
    EXPECT_EQ(std::next(first)->centredIn, QRect(QPoint(186, 34), QPoint(220, 43)));
}

TEST(ChartGeometry, GridChartBarsCrossTheWholeChart) {
    const ChartPicture onlyHorizontal =
        ChartGeometry::chartFor(area, pointsAt("W001", {{30, 0}, {30, 1000}, {30, 2600}}));
    ASSERT_EQ(onlyHorizontal.bars.size(), 3u);
    for (const QRect& bar : onlyHorizontal.bars) {
        EXPECT_EQ(bar.top(), 50);
        EXPECT_EQ(bar.bottom(), 359);
        EXPECT_EQ(bar.width(), 8);
    }
    EXPECT_EQ(onlyHorizontal.bars[0].left(), 197);
    EXPECT_EQ(onlyHorizontal.bars[1].left(), 346);
    EXPECT_GT(onlyHorizontal.bars[2].left(), 500);

    const ChartPicture both =
        ChartGeometry::chartFor(area, pointsAt("W002", {{30, 500}}, {0, 1000, 2000}));
    ASSERT_EQ(both.bars.size(), 4u);
    EXPECT_EQ(both.bars[1], QRect(QPoint(201, 46), QPoint(499, 53)));
    EXPECT_EQ(both.bars[2], QRect(QPoint(201, 201), QPoint(499, 208)));
    EXPECT_EQ(both.bars[3], QRect(QPoint(201, 356), QPoint(499, 363)));

    // The mesh: 9 lines each way; the Y axis numbers 0 ... 2000 with their places.
    const ChartPicture p = ChartGeometry::gridChart(area, nullptr);
    EXPECT_EQ(p.dotted.size(), 18u);
    EXPECT_EQ(p.ticks.size(), 102u);
    EXPECT_TRUE(p.buttonTextColour);
    EXPECT_EQ(p.texts[0].text, "0");
    EXPECT_EQ(p.texts[0].topLeft, QPoint(189, 45));
    EXPECT_EQ(p.texts[1].text, "200");
    EXPECT_EQ(p.texts[1].topLeft, QPoint(178, 76));
    EXPECT_EQ(p.texts[5].text, "1000");
    EXPECT_EQ(p.texts[5].topLeft, QPoint(176, 200));
    EXPECT_EQ(p.texts[10].text, "2000");
    EXPECT_EQ(p.texts[11].text, "Y");
    EXPECT_EQ(p.texts[11].topLeft, QPoint(154, 155));
    EXPECT_EQ(p.texts[12].text, "方");
    EXPECT_EQ(p.texts[12].topLeft, QPoint(151, 167));
    EXPECT_EQ(p.texts[18].text, "(mm)");
    EXPECT_EQ(p.texts[18].topLeft, QPoint(146, 240));
}

// Axis numbers, and the blanks that clear their places, in the 7-point font; captions and
// the title in the 8-point one.
TEST(ChartGeometry, ProfileAndGridNumbersUseTheSmallFont) {
    for (const ChartPicture& p :
         {ChartGeometry::profileChart(area, nullptr), ChartGeometry::gridChart(area, nullptr)}) {
        int small = 0;
        for (const ChartText& t : p.texts) {
            bool number = false;
            t.text.trimmed().toInt(&number);
            const bool blank = t.text.trimmed().isEmpty();
            EXPECT_EQ(t.tenths, number || blank ? 70 : 80) << t.text.toStdString();
            small += number || blank;
        }
        EXPECT_GE(small, 27);  // 11 numbers and 11 blanks on top, at least 5 down the side
    }
}

TEST(ChartGeometry, PaintedChartsShowFramePointsAndBars) {
    struct Case {
        Component component;
        QPoint filled;  // a pixel of a disc or bar
        QPoint empty;   // a pixel inside the frame that nothing covers
    };
    const Case cases[] = {
        {pointsAt("H001", {{75, 0}}), {201, 205}, {300, 120}},
        {pointsAt("P001", {{75, 1000}}), {350, 205}, {300, 120}},
        {pointsAt("W001", {{0, 1000}}, {1000}), {450, 205}, {300, 120}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.component.code.str());
        QImage image(900, 370, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        ChartPainter::paint(painter, ChartGeometry::chartFor(area, c.component), QPalette());
        painter.end();
        EXPECT_EQ(image.pixelColor(c.filled), QColor(128, 128, 128));
        EXPECT_EQ(image.pixelColor(c.empty), QColor(Qt::white));
        const QColor frame = image.pixelColor(201, 150);
        EXPECT_NE(frame, QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(499, 150), frame);  // the right edge, R - 1
        EXPECT_EQ(image.pixelColor(500, 150), QColor(Qt::white));
    }
}

// Both scales on a taller panel: L = 201, R = 500, top 50, B = 460.
TEST(ChartGeometry, VerticalAxisSpacesLinesTicksAndNumbersOverTheFrame) {
    struct Number {
        std::size_t index;
        QPoint topLeft;
        const char* text;
    };
    struct Case {
        VerticalAxis axis;
        std::size_t lines, ticks, numbers;
        QLine firstLine, lastLine, secondTick;
        int tenths;
        Number second, firstWide, last;  // firstWide: the first one further left
    };
    const Case cases[] = {
        {ChartGeometry::coverAxis,
         14,
         76,
         16,
         QLine(201, 77, 500, 77),
         QLine(201, 432, 500, 432),
         QLine(199, 55, 201, 55),
         80,
         {1, {181, 72}, "10"},
         {10, {176, 318}, "100"},
         {15, {176, 455}, "150"}},
        {ChartGeometry::gridYAxis,
         9,
         51,
         11,
         QLine(201, 91, 500, 91),
         QLine(201, 419, 500, 419),
         QLine(199, 58, 201, 58),
         70,
         {1, {178, 86}, "200"},
         {5, {176, 250}, "1000"},
         {10, {176, 455}, "2000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last.text);
        ChartPicture p;
        ChartGeometry::addVerticalAxis(p, ChartArea{900, 470, 121}, c.axis);
        ASSERT_EQ(p.dotted.size(), c.lines);
        EXPECT_EQ(p.dotted.front(), c.firstLine);
        EXPECT_EQ(p.dotted.back(), c.lastLine);
        ASSERT_EQ(p.ticks.size(), c.ticks);
        EXPECT_EQ(p.ticks[0], QLine(197, 50, 201, 50));
        EXPECT_EQ(p.ticks[1], c.secondTick);
        EXPECT_EQ(p.ticks.back(), QLine(197, 460, 201, 460));
        ASSERT_EQ(p.texts.size(), c.numbers);
        for (const Number& n : {c.second, c.firstWide, c.last}) {
            EXPECT_EQ(p.texts[n.index].topLeft, n.topLeft);
            EXPECT_EQ(p.texts[n.index].text, QString::fromUtf8(n.text));
            EXPECT_EQ(p.texts[n.index].tenths, c.tenths);
        }
    }
}
