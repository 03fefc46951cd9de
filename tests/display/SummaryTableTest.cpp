#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include "display/HeaderBand.h"
#include "display/LightenColor.h"
#include "display/ReadableInk.h"
#include "display/SummaryLayout.h"
#include "display/SystemMetrics.h"
#include "display/TableGeometry.h"

namespace {

// f = 1: a 1450-pixel screen with a 10-pixel thumb.
class PinnedMetrics : public testing::Test {
protected:
    PinnedMetrics() { SystemMetrics::pin({1450, 10, 22, 19}); }
    ~PinnedMetrics() override { SystemMetrics::unpin(); }
};

struct Expected {
    int width;
    const char* caption;
    std::size_t field;
};

const std::vector<Expected> profileGrid{
    {120, "构件编码", 0},
    {350, "构件名称", 1},
    {80, "日期", 2},
    {60, "类型", 3},
    {90, "钢筋直径\n设计值", 4},
    {90, "钢筋保护层\n厚度设计值", 7},
    {90, "厚度检测\n最大值", 8},
    {90, "厚度检测\n最小值", 9},
    {90, "配筋间距\n设计值", 10},
    {90, "间距检测\n最大值", 11},
    {90, "间距检测\n最小值", 12},
    {90, "测点数", 13},
    {90, "合格率", 14},
};
const std::vector<Expected> thicknessDiameter{
    {120, "构件编码", 0},
    {400, "构件名称", 1},
    {100, "日期", 2},
    {80, "类型", 3},
    {100, "钢筋直径\n设计值", 4},
    {100, "直径检测\n最大值", 5},
    {100, "直径检测\n最小值", 6},
    {100, "钢筋保护层\n厚度设计值", 7},
    {100, "厚度检测\n最大值", 8},
    {100, "厚度检测\n最小值", 9},
    {60, "测点数", 13},
    {60, "合格率", 14},
};

}  // namespace

TEST(LightenColor, BlendsTowardWhiteOnlyForScalesInRange) {
    EXPECT_EQ(LightenColor(1.0, QColor(0, 120, 215)), QColor(255, 255, 255));
    EXPECT_EQ(LightenColor(0.75, QColor(0, 120, 215)), QColor(191, 221, 245));
    EXPECT_EQ(LightenColor(0.0, QColor(0, 120, 215)), QColor(0, 120, 215));
    EXPECT_EQ(LightenColor(1.5, QColor(10, 20, 30)), QColor(10, 20, 30));
}

TEST(ReadableInk, ReachesTheContrastAskedForAndNoMore) {
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);
    const QColor pale(203, 226, 240), dark(20, 20, 20);
    EXPECT_EQ(ReadableInk(Qt::black, pale), QColor(Qt::black));   // already readable: kept
    const QColor blue = ReadableInk(QColor(48, 140, 198), pale);  // darkened just enough
    EXPECT_TRUE(ContrastRatio(blue, pale) >= 4.5 && ContrastRatio(blue, pale) < 4.8);
    EXPECT_GT(blue.blue(), blue.red() + 40);
    const QColor light = ReadableInk(QColor(60, 60, 60), dark);  // on dark, toward white
    EXPECT_TRUE(ContrastRatio(light, dark) >= 4.5 && light.red() > 60);
}

// Both layouts against their tables: captions, fields, widths, and each column 2 pixels
// right of the one before; at a smaller screen every width is truncated on its own.
TEST(SummaryLayout, BothLayoutsFollowTheTables) {
    const std::pair<char, const std::vector<Expected>*> modes[] = {
        {'H', &thicknessDiameter}, {'Z', &thicknessDiameter}, {'P', &profileGrid},
        {'W', &profileGrid},       {'X', &profileGrid},       {'\0', &profileGrid},
    };
    for (const float scale : {1.0f, 1007.0f / 1440.0f}) {
        for (const auto& [mode, table] : modes) {
            SCOPED_TRACE(testing::Message() << mode << " at " << scale);
            const auto cols = SummaryLayout::columns(summaryLayoutOf(detectionTypeOf(mode)), scale);
            ASSERT_EQ(cols.size(), table->size());
            int left = 0;
            for (std::size_t i = 0; i < cols.size(); ++i) {
                const Expected& e = (*table)[i];
                EXPECT_STREQ(cols[i].caption, e.caption) << i;
                EXPECT_EQ(cols[i].field, e.field) << i;
                EXPECT_EQ(cols[i].width, static_cast<int>(static_cast<float>(e.width) * scale));
                EXPECT_EQ(cols[i].left, left) << i;
                EXPECT_EQ(cols[i].twoLineCaption(), std::strchr(e.caption, '\n') != nullptr);
                left += cols[i].width + 2;
            }
        }
    }
    const auto pw = SummaryLayout::columns(SummaryLayoutKind::ProfileGrid, 1.0f);
    EXPECT_EQ(pw[1].left, 122);  // 构件名称 from 122 to 472
    EXPECT_EQ(pw[1].right(), 472);
    EXPECT_EQ(pw[4].left, 618);  // the first two-line caption
    EXPECT_EQ(
        SummaryLayout::columns(SummaryLayoutKind::ThicknessDiameter, 1007.0f / 1440.0f)[1].width,
        279);  // 279.7
}

TEST(SummaryLayout, WidenedColumnsTakeTheirPixelsFromTheNameOnly) {
    const auto part = SummaryLayout::columns(SummaryLayoutKind::ProfileGrid, 1.0f);
    auto widths = [](const std::vector<SummaryColumn>& cols) {
        std::vector<int> out;
        for (const auto& c : cols) out.push_back(c.width);
        return out;
    };
    const struct {
        std::vector<int> needed;
        std::vector<int> widths;
    } cases[] = {
        {{}, widths(part)},
        {{120, 9999, 80, 60, 90, 90, 90, 90, 90, 90, 90, 90, 90}, widths(part)},  // all fit
        {{0, 0, 0, 0, 97, 0, 0, 0, 0, 0, 0, 0, 100},
         {120, 333, 80, 60, 97, 90, 90, 90, 90, 90, 90, 90, 100}},
        {{121, 0, 300}, {121, 129, 300, 60, 90, 90, 90, 90, 90, 90, 90, 90, 90}},
        {{0, 0, 500}, {120, 0, 500, 60, 90, 90, 90, 90, 90, 90, 90, 90, 90}},  // no name left
    };
    for (const auto& [needed, expected] : cases) {
        const auto cols = SummaryLayout::widened(part, needed);
        EXPECT_EQ(widths(cols), expected) << testing::PrintToString(needed);
        for (std::size_t i = 1; i < cols.size(); ++i) {
            EXPECT_EQ(cols[i].left, cols[i - 1].right() + 2);
        }
        if (expected[1] > 0) {
            EXPECT_EQ(cols.back().right(), part.back().right());
        }
    }
}

// On the screens inspectors have (and a smaller one), every caption and every value of 4-digit
// numbers in each direction fits whole; only the name column gives width, and the table stays
// as wide.
TEST(TableGeometry, CaptionsAndFourDigitValuesFitAtCommonScreenWidths) {
    const std::pair<char, std::vector<std::vector<const char*>>> samples[] = {
        {'H',
         {{"H999"},
          {},
          {"25/12/31"},
          {"厚度", "直径"},
          {"1344 mm"},
          {"1344 mm"},
          {"1344 mm"},
          {"1344 mm"},
          {"1344 mm"},
          {"1344 mm"},
          {"1344"},
          {"100.0%", "87.5%"}}},
        {'P',
         {{"W999"},
          {},
          {"25/12/31"},
          {"剖面", "网格"},
          {"1344,1170 mm"},
          {"1344,1170 mm"},
          {"1344,1170 mm"},
          {"1344,1170 mm"},
          {"1344,1170 mm"},
          {"1344,1170 mm"},
          {"1344,1170 mm"},
          {"1344,1170"},
          {"100.0%,87.5%"}}},
    };
    for (const int screen : {1024, 1280, 1366, 1440, 1600, 1920, 2560}) {
        const SystemMetrics metrics{screen, 17, 22, 19};
        for (const auto& [mode, texts] : samples) {
            SCOPED_TRACE(testing::Message() << screen << " " << mode);
            const TableGeometry g = TableGeometry::of(detectionTypeOf(mode), metrics);
            const auto part = SummaryLayout::columns(summaryLayoutOf(detectionTypeOf(mode)),
                                                     DisplayScale(metrics));
            const QFontMetrics band(HeaderBand::font(HeaderBand::captionTenths, g.scale));
            const QFontMetrics row(HeaderBand::font(HeaderBand::rowTenths, g.scale));
            EXPECT_GE(g.bandHeight, 35);
            // A pixel or two of air above and below the row text, no more.
            EXPECT_GE(g.rowHeight, std::max(22, row.height() + 2));
            EXPECT_LE(g.rowHeight, std::max(22, row.height() + 4));
            ASSERT_EQ(g.columns.size(), texts.size());
            EXPECT_EQ(g.columns.back().right(), part.back().right());
            for (std::size_t i = 0; i < g.columns.size(); ++i) {
                const SummaryColumn& c = g.columns[i];
                const QRect caption =
                    band.boundingRect(QRect(0, 0, 5000, 5000), Qt::AlignHCenter | Qt::AlignTop,
                                      QString::fromUtf8(c.caption));
                EXPECT_LE(caption.width(), c.width) << c.caption;
                EXPECT_LT(caption.height(), g.bandHeight) << c.caption;  // above the bottom line
                int widest = caption.width();
                for (const char* sample : texts[i]) {
                    // The sample as it stands and with every digit the same, 0 to 9.
                    for (QChar digit = u'/'; digit <= u'9'; digit = QChar(digit.unicode() + 1)) {
                        QString t = QString::fromUtf8(sample);
                        for (QChar& ch : t) {
                            if (ch.isDigit() && digit.isDigit()) ch = digit;
                        }
                        EXPECT_EQ(row.elidedText(t, Qt::ElideRight, c.width), t);
                        widest = std::max(widest, row.horizontalAdvance(t));
                    }
                }
                // Wider than the table says only where a text needs it.
                if (c.field != 0 && c.field != SummaryLayout::nameField) {
                    EXPECT_LE(c.width, std::max(part[i].width, widest + TableGeometry::cellMargin))
                        << c.caption;
                }
            }
            // The round button leaves room for the centred code.
            const int code = row.horizontalAdvance(QString::fromUtf8(texts[0][0]));
            EXPECT_GE((g.columns[0].width - code) / 2, g.rowHeight + 2);
        }
    }
}

TEST_F(PinnedMetrics, RowCellsAlignNamesLeftAndElideLongTexts) {
    QString texts[15];
    texts[0] = QStringLiteral("P001");
    texts[1] = QString(200, QChar(0x6881));  // 梁 × 200: far wider than its cell
    texts[14] = QStringLiteral("100%");
    const TableGeometry g = TableGeometry::of(SummaryLayoutKind::ProfileGrid);
    QImage image(1450, g.rowHeight, QImage::Format_RGB32);
    const QColor bg(200, 220, 240);
    image.fill(bg);
    {
        QPainter p(&image);
        HeaderBand::drawRow(p, QRect(0, 0, 1450, g.rowHeight), texts, g, Qt::black, bg,
                            QColor(109, 109, 109));
    }
    auto inkIn = [&](int from, int to) {
        for (int x = from; x < to; ++x) {
            for (int y = 2; y < g.rowHeight - 2; ++y) {
                if (qGray(image.pixel(x, y)) < 100) return true;
            }
        }
        return false;
    };
    const SummaryColumn& name = g.columns[1];
    EXPECT_TRUE(inkIn(name.left, name.left + 18));  // the name starts at its cell's left edge
    // and ends, elided, inside it: the empty date stays empty
    EXPECT_FALSE(inkIn(name.right(), g.columns[3].left));
    EXPECT_FALSE(inkIn(2, 30));  // a short code is centred in its cell
    EXPECT_TRUE(inkIn(40, 80));
    EXPECT_EQ(image.pixel(10, g.rowHeight - 1), QColor(109, 109, 109).rgb());  // bottom line
}
