#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "GridFixture.h"
#include "controls/CPropertyGridInPlaceEdit.h"

namespace {

// The darkest grey level inside `r`: near 0 for black text, higher for grey text.
int darkest(const QImage& image, const QRect& r) {
    int level = 255;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            level = std::min(level, qGray(image.pixel(x, y)));
    return level;
}

}  // namespace

TEST_F(GridTest, IdsCountOnlyWhatWasAddedAndRestartAfterAReset) {
    EXPECT_EQ(grid->AddStringItem(7, QStringLiteral("x"), {}), -1);
    EXPECT_EQ(grid->AddStringItem(info, QStringLiteral("名称"), {}), -1);
    EXPECT_EQ(grid->AddCustomItem(info, QStringLiteral("none"), nullptr), -1);
    EXPECT_EQ(grid->AddCustomItem(points, QStringLiteral("1"), &fake), -1);
    EXPECT_EQ(grid->AddIntegerItem(7, QStringLiteral("x"), 1), -1);
    EXPECT_EQ(grid->AddStringItem(points, QStringLiteral("名称"), {}), 5);
    EXPECT_EQ(std::pair(fake.commits, fake.grid()), std::pair(1, grid));

    QString text;
    std::int32_t value = 0;
    EXPECT_TRUE(grid->GetItemText(name, text) && text == QStringLiteral("梁1"));
    EXPECT_TRUE(grid->GetItemInteger(cover, value) && value == 30);
    EXPECT_FALSE(grid->GetItemText(cover, text) || grid->GetItemInteger(point, value) ||
                 grid->GetItemInteger(6, value));

    const int first = grid->AddSection(QStringLiteral("首"), false, info);
    const int last = grid->AddSection(QStringLiteral("末"), true, 42);
    EXPECT_EQ(grid->sectionTop(first), 0);
    EXPECT_EQ(grid->sectionTop(info), h);
    EXPECT_EQ(grid->sectionTop(last), 9 * h);
    EXPECT_EQ(grid->sectionTop(42), -1);

    click(at(cover, 50));
    click(at(cover, 300));  // an edit open when the items go is dropped with them
    ASSERT_NE(grid->inPlaceEdit(), nullptr);
    grid->ResetContents();
    EXPECT_EQ(grid->GetSelectedItem(), cover);
    EXPECT_FALSE(grid->GetItemText(name, text));
    EXPECT_EQ(grid->AddSection(QStringLiteral("新")), 0);
    EXPECT_EQ(grid->AddIntegerItem(0, QStringLiteral("a"), 1), 0);
}

TEST_F(GridTest, PaintsCaptionsExpandersStripsAndTheSelectedName) {
    const int folded = grid->AddSection(QStringLiteral("收起"), true);
    click(at(point, 50));
    const QImage img = grid->grab().toImage();
    const QRgb shade = grid->palette().color(QPalette::Button).rgb();
    const QRgb ink = grid->palette().color(QPalette::WindowText).rgb();
    const QRgb mark = grid->palette().color(QPalette::Highlight).rgb();
    const QRgb white = qRgb(255, 255, 255);
    const int f = grid->sectionTop(folded), p = grid->itemTop(point);
    // clang-format off
    const std::tuple<int, int, QRgb> pixels[] = {
        // expanded caption: box (2, 4)-(10, 12) with the stroke (4..8, 8), no upright
        {15, 2, shade}, {2, 4, ink}, {10, 12, ink}, {4, 8, ink}, {8, 8, ink}, {11, 8, shade},
        {3, 5, shade}, {9, 8, shade}, {6, 6, shade}, {1, 8, shade},
        // collapsed caption: the upright from y + 6 to y + 10
        {6, f + 6, ink}, {6, f + 10, ink}, {6, f + 11, shade}, {6, f + 5, shade},
        // an item row: strip, the caption's line on top, the divider
        {13, h + 2, shade}, {14, h + 2, white}, {100, h, shade}, {200, h + 2, shade},
        {201, h + 2, white},
        // the selected name is marked from the strip to the divider; white below the rows
        {13, p + 2, shade}, {14, p + 2, mark}, {199, p + 2, mark}, {200, p + 2, shade},
        {100, 8 * h + 1, white},
    };
    // clang-format on
    for (const auto& [x, y, colour] : pixels) EXPECT_EQ(img.pixel(x, y), colour) << x << "," << y;

    // A selected caption is framed, dotted, from the strip's edge; the others are not.
    const QRect frameLeft(14, f + 2, 1, h - 4);
    EXPECT_EQ(darkest(img, frameLeft), qGray(shade));
    click({60, f + h / 2});
    ASSERT_EQ(grid->GetSelectedSection(), folded);
    EXPECT_EQ(darkest(grid->grab().toImage(), frameLeft), qGray(ink));
}

TEST_F(GridTest, ReadOnlyItemsAreGreyShowNoButtonAndNeverEdit) {
    const QImage img = grid->grab().toImage();
    const QRect value(204, 0, 150, h);
    EXPECT_LT(darkest(img, value.translated(0, grid->itemTop(cover))), 80);
    EXPECT_GE(darkest(img, value.translated(0, grid->itemTop(locked))), 100);

    for (int id : {locked, lockedPoint}) {
        click(at(id, 300));
        EXPECT_EQ(grid->GetSelectedItem(), id);
        doubleClick(at(id, 392));
        EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    }
    const QRect button(400 - h, grid->itemTop(lockedPoint) + 1, h, h - 2);
    EXPECT_EQ(darkest(grid->grab().toImage(), button), 255);
    EXPECT_EQ(fakeLocked.dialogs, 0);
    EXPECT_TRUE(changes().isEmpty());
}

TEST_F(GridTest, PressesSelectWhatLiesUnderTheirPixel) {
    const std::pair<QPoint, std::pair<int, int>> presses[] = {
        {{14, h / 2}, {info, -1}}, {{13, h / 2}, {-1, -1}}, {{6, 4 * h + 8}, {points, -1}}};
    for (const auto& [p, selection] : presses) {
        click(p);
        EXPECT_EQ(std::pair(grid->GetSelectedSection(), grid->GetSelectedItem()), selection)
            << p.x() << "," << p.y();
    }
    EXPECT_EQ(grid->itemTop(point), -1);  // the expander folded its section
}

TEST_F(GridTest, TextOpensOnReleaseWhilePointsOpenByButtonOrDoubleClick) {
    QTest::mousePress(grid, Qt::LeftButton, {}, at(locked, 300));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, at(cover, 300));  // released elsewhere
    EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    QTest::mousePress(grid, Qt::LeftButton, {}, at(name, 300));
    EXPECT_EQ(grid->GetSelectedItem(), name);
    EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, at(name, 300));
    ASSERT_NE(grid->inPlaceEdit(), nullptr);
    const int y = grid->itemTop(name);
    EXPECT_EQ(grid->inPlaceEdit()->geometry(), QRect(QPoint(201, y + 2), QPoint(399, y + h - 1)));

    click(at(point, 300));  // selects, the editor closes, no dialog
    EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    EXPECT_EQ(fake.dialogs, 0);
    // The "..." button looks pressed while the pointer is on it; released off it, nothing opens.
    auto look = [&] { return grid->grab(QRect(400 - h, grid->itemTop(point), h, h)).toImage(); };
    const QImage raised = look();
    EXPECT_LT(darkest(raised, raised.rect()), 80);
    QTest::mousePress(grid, Qt::LeftButton, {}, at(point, 400 - h / 2));
    const QImage sunken = look();
    EXPECT_NE(sunken, raised);
    QTest::mouseMove(grid, at(point, 300));
    EXPECT_EQ(look(), raised);
    QTest::mouseMove(grid, at(point, 400 - h / 2));
    EXPECT_EQ(look(), sunken);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, at(point, 300));
    EXPECT_EQ(fake.dialogs, 0);

    click(at(point, 400 - h / 2));
    EXPECT_EQ(fake.dialogs, 1);
    doubleClick(at(point, 300));
    EXPECT_EQ(fake.dialogs, 2);
    EXPECT_EQ(changes(), (QList<int>{name, point, point}));  // the text edit ended unchanged
}

TEST_F(GridTest, KeyboardWalksVisibleRowsWrapsAndFolds) {
    auto rows = [this] {
        return grid->sectionTop(points) / h + 1 + (grid->itemTop(point) < 0 ? 0 : 2);
    };
    // clang-format off
    const std::tuple<Qt::Key, const char*, int, int, int> steps[] = {
        {Qt::Key_Down, "", info, -1, 7},  {Qt::Key_Up, "", -1, lockedPoint, 7},
        {Qt::Key_Down, "", info, -1, 7},  {Qt::Key_Left, "", info, -1, 4},  // folds
        {Qt::Key_Left, "", -1, lockedPoint, 4},  // folded: moves up
        {Qt::Key_Right, "", info, -1, 4},  // an item: moves down
        {Qt::Key_Right, "", info, -1, 7},  {Qt::Key_Right, "", -1, name, 7},
        {Qt::Key_Left, "", info, -1, 7},   {Qt::Key_Minus, "-", info, -1, 4},
        {Qt::Key_Plus, "+", info, -1, 7},  {Qt::Key_Slash, "/", info, -1, 2},
        {Qt::Key_Asterisk, "*", info, -1, 7},
    };
    // clang-format on
    int step = 0;
    for (const auto& [k, text, section, item, visible] : steps) {
        key(k, QString::fromLatin1(text));
        EXPECT_EQ(std::tuple(grid->GetSelectedSection(), grid->GetSelectedItem(), rows()),
                  std::tuple(section, item, visible))
            << "step " << step++;
    }
}

TEST_F(GridTest, TheScreenFollowsTheKeyboardWalk) {
    auto screen = [this] {
        QApplication::processEvents();
        QImage shot = host.screen()->grabWindow(host.winId(), 0, 0, 400, 300).toImage();
        return shot.convertToFormat(QImage::Format_RGB32);
    };
    for (int i = 0; i < 20; ++i) grid->AddIntegerItem(points, QString::number(i + 10), i);
    const QImage before = screen();
    // The second Up wraps and scrolls, the third walks the scrolled rows.
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}) {
        key(k);
        EXPECT_EQ(screen(), grid->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_NE(screen(), before);
}

TEST_F(GridTest, DividerDragsBetweenAFifthAndFourFifths) {
    EXPECT_EQ(grid->dividerX(), 200);
    CPropertyGrid laidOutLate(&host);  // a first size of zero width does not count
    laidOutLate.resize(0, 50);
    laidOutLate.show();
    laidOutLate.resize(300, 50);
    EXPECT_EQ(laidOutLate.dividerX(), 150);
    for (auto [to, expected] : {std::pair(5, 80), std::pair(399, 320), std::pair(150, 150)}) {
        QTest::mousePress(grid, Qt::LeftButton, {}, {grid->dividerX() + 2, 10});
        QTest::mouseMove(grid, {to, 10});
        QTest::mouseRelease(grid, Qt::LeftButton, {}, {to, 10});
        EXPECT_EQ(grid->dividerX(), expected) << to;
    }
    QTest::mouseMove(grid, {300, 10});  // released: the divider stays, also on resizing
    grid->resize(600, 300);
    EXPECT_EQ(grid->dividerX(), 150);
    EXPECT_EQ(grid->GetSelectedSection(), -1);  // a drag selects nothing
    const QImage img = grid->grab().toImage();
    EXPECT_EQ(img.pixel(150, h + 2), grid->palette().color(QPalette::Button).rgb());
    EXPECT_EQ(img.pixel(200, h + 2), qRgb(255, 255, 255));
    click({147, h + 2});  // just beyond the grip: the name is hit
    EXPECT_EQ(grid->GetSelectedItem(), name);
}

TEST_F(GridTest, ScrollBarWheelAndKeysKeepTheSelectionInView) {
    const int page = 14 * h;  // a whole number of rows: the 14th fits exactly
    grid->resize(400, page);
    for (int i = 0; i < 30; ++i) {
        grid->AddIntegerItem(points, QString::number(i + 10), i);
        if (i == 6) {
            EXPECT_EQ(grid->scrollBar(), nullptr);  // 14 rows fit: no bar yet
        }
    }
    const int total = 37 * h;
    ASSERT_TRUE(grid->scrollBar() && grid->scrollBarShown());
    const int barWidth = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(grid->scrollBar()->geometry(), QRect(400 - barWidth, 0, barWidth, page));
    EXPECT_EQ(grid->scrollBar()->maximum(), total - page);
    EXPECT_EQ(grid->scrollBar()->pageStep(), page);

    auto wheel = [this](QPoint angle, QPoint pixels = {}) {
        QWheelEvent e(QPointF(100, 100), grid->mapToGlobal(QPointF(100, 100)), pixels, angle,
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid, &e);
    };
    for (int i = 0; i < 7; ++i) wheel({0, -15});
    EXPECT_EQ(grid->scrollPosition(), 0);
    wheel({0, -15});
    EXPECT_EQ(grid->scrollPosition(), 3 * h);
    wheel({0, 120});
    EXPECT_EQ(grid->scrollPosition(), 0);

    key(Qt::Key_Up);  // wraps to the last row, which becomes the top row within the range
    EXPECT_EQ(grid->scrollPosition(), total - page);
    key(Qt::Key_Down);
    EXPECT_EQ(grid->scrollPosition(), 0);
    for (int row = 1; row < 14; ++row) key(Qt::Key_Down);  // rows wholly in view: no scrolling
    EXPECT_EQ(grid->scrollPosition(), 0);
    key(Qt::Key_Down);  // the 15th row lies below: it becomes the top row
    EXPECT_EQ(grid->scrollPosition(), 14 * h);
    for (int row = 15; row < 29; ++row) key(Qt::Key_Down);  // the 29th: as far as the range goes
    EXPECT_EQ(grid->scrollPosition(), total - page);

    wheel({0, 1200});
    wheel({}, {0, -7});
    EXPECT_EQ(grid->scrollPosition(), 7);
    click(at(cover, 300));  // scrolled: the press and the editor find the row
    ASSERT_NE(grid->inPlaceEdit(), nullptr);
    EXPECT_EQ(grid->GetSelectedItem(), cover);
    EXPECT_EQ(grid->inPlaceEdit()->y(), grid->itemTop(cover) - 7 + 2);
    grid->scrollBar()->setValue(12);  // and it rides along with its row
    EXPECT_EQ(grid->inPlaceEdit()->y(), grid->itemTop(cover) - 12 + 2);
    click(at(point, 50));
    click(at(point, 400 - barWidth - h / 2));  // a scrolled "..." button
    EXPECT_EQ(fake.dialogs, 1);

    key(Qt::Key_Slash, QStringLiteral("/"));  // all folded: no bar, nothing scrolled away
    EXPECT_FALSE(grid->scrollBarShown());
    EXPECT_EQ(grid->scrollPosition(), 0);
    key(Qt::Key_Asterisk, QStringLiteral("*"));  // unfolded: back where the user was
    EXPECT_TRUE(grid->scrollBarShown());
    EXPECT_EQ(grid->scrollPosition(), 12);

    click(at(cover, 300));  // an edit open when the items go is dropped with them
    ASSERT_NE(grid->inPlaceEdit(), nullptr);
    grid->ResetContents();
    EXPECT_FALSE(grid->scrollBarShown());
    EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    EXPECT_EQ(changes(), (QList<int>{cover, point}));
}
