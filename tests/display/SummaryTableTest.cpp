#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPalette>

#include "display/HeaderBand.h"
#include "display/LightenColor.h"
#include "display/SummaryLayout.h"
#include "display/SystemMetrics.h"

namespace {

// f = 1: a 1450-pixel screen with a 10-pixel thumb.
class PinnedMetrics : public testing::Test {
protected:
    PinnedMetrics() { SystemMetrics::pin({1450, 10, 22, 19}); }
    ~PinnedMetrics() override { SystemMetrics::unpin(); }
};

QPalette plainPalette() {
    QPalette p;
    p.setColor(QPalette::Highlight, QColor(0, 120, 215));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(109, 109, 109));
    return p;
}

}  // namespace

TEST(LightenColor, BlendsTowardWhiteOnlyForScalesInRange) {
    EXPECT_EQ(LightenColor(1.0, QColor(0, 120, 215)), QColor(255, 255, 255));
    EXPECT_EQ(LightenColor(0.75, QColor(0, 120, 215)), QColor(191, 221, 245));
    EXPECT_EQ(LightenColor(0.0, QColor(0, 120, 215)), QColor(0, 120, 215));
    EXPECT_EQ(LightenColor(1.5, QColor(10, 20, 30)), QColor(10, 20, 30));
}

TEST_F(PinnedMetrics, ProfileGridLayoutAtScaleOne) {
    EXPECT_FLOAT_EQ(DisplayScale(), 1.0f);
    const auto cols = SummaryLayout::columns('P', DisplayScale());
    ASSERT_EQ(cols.size(), 13u);
    EXPECT_STREQ(cols[1].caption, "构件名称");
    EXPECT_EQ(cols[1].left, 122);
    EXPECT_EQ(cols[1].right(), 472);
    EXPECT_EQ(cols[4].left, 618);
    EXPECT_TRUE(cols[4].twoLineCaption());
    EXPECT_FALSE(cols[3].twoLineCaption());
    EXPECT_EQ(cols.back().field, 14u);
    EXPECT_EQ(SummaryLayout::columns('W', 1.0f).size(), 13u);

    const auto hz = SummaryLayout::columns('Z', 1.0f);
    ASSERT_EQ(hz.size(), 12u);
    EXPECT_EQ(hz[1].width, 400);
    EXPECT_EQ(hz[5].field, 5u);  // diameter maximum: only in this layout
    EXPECT_EQ(hz.back().right(), 1420 + 2 * 11);
}

TEST(SummaryLayout, WidthsAreScaledAndTruncated) {
    SystemMetrics small{1024, 17, 22, 19};  // f = 1007 / 1440
    const float f = DisplayScale(small);
    const auto cols = SummaryLayout::columns('H', f);
    EXPECT_EQ(cols[0].width, 83);   // 120 × 0.6993… = 83.9
    EXPECT_EQ(cols[1].width, 279);  // 400 × 0.6993… = 279.7
    EXPECT_EQ(cols[1].left, 85);
    EXPECT_EQ(cols[2].left, 85 + 279 + 2);
}

TEST_F(PinnedMetrics, HeaderBandPixels) {
    const QPalette palette = plainPalette();
    QImage image(1450, 35, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        QPainter p(&image);
        HeaderBand::draw(p, image.width(), 'P', DisplayScale(), palette);
    }
    const QRgb grey = QColor(109, 109, 109).rgb();
    const QRgb band = LightenColor(0.75, QColor(0, 120, 215)).rgb();
    const auto cols = SummaryLayout::columns('P', 1.0f);
    // A separator right of every column but the last, from the top down.
    for (std::size_t i = 0; i + 1 < cols.size(); ++i) {
        EXPECT_EQ(image.pixel(cols[i].right() + 1, 2), grey) << i;
        EXPECT_EQ(image.pixel(cols[i].right() + 1, 33), grey) << i;
    }
    EXPECT_EQ(image.pixel(cols.back().right() + 1, 2), band);
    EXPECT_EQ(image.pixel(cols.back().right() + 5, 20), band);
    // The horizontal line at y = 34 across the width; nothing of the magenta left.
    EXPECT_EQ(image.pixel(1449, 34), grey);
    EXPECT_EQ(image.pixel(700, 34), grey);
    for (int x = 0; x < image.width(); x += 7)
        EXPECT_NE(image.pixel(x, 10), QColor(Qt::magenta).rgb());

    // Captions are drawn black on white: the 构件名称 cell holds both near its middle.
    bool black = false, white = false;
    for (int x = 122; x < 472; ++x) {
        for (int y = 5; y < 30; ++y) {
            black |= qGray(image.pixel(x, y)) < 60;
            white |= image.pixel(x, y) == qRgb(255, 255, 255);
        }
    }
    EXPECT_TRUE(black);
    EXPECT_TRUE(white);
}

TEST_F(PinnedMetrics, RowCellsAlignNamesLeftAndElideLongTexts) {
    QString texts[15];
    texts[0] = QStringLiteral("P001");
    texts[1] = QString(200, QChar(0x6881));  // 梁 × 200: far wider than its cell
    texts[14] = QStringLiteral("100%");
    QImage image(1450, 22, QImage::Format_RGB32);
    const QColor bg(200, 220, 240);
    image.fill(bg);
    {
        QPainter p(&image);
        HeaderBand::drawRow(p, QRect(0, 0, 1450, 22), texts, 'P', 1.0f, Qt::black, bg,
                            QColor(109, 109, 109));
    }
    auto inkIn = [&](int from, int to) {
        for (int x = from; x < to; ++x) {
            for (int y = 2; y < 20; ++y) {
                if (qGray(image.pixel(x, y)) < 100) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(inkIn(122, 140));   // the name starts at its cell's left edge
    EXPECT_FALSE(inkIn(472, 554));  // and ends, elided, inside it: the empty date stays empty
    EXPECT_FALSE(inkIn(2, 30));     // a short code is centred in its 120 pixels
    EXPECT_TRUE(inkIn(40, 80));
    EXPECT_EQ(image.pixel(10, 21), QColor(109, 109, 109).rgb());  // line at the bottom
}
