#include <QScreen>
#include <QScrollBar>

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
    EXPECT_EQ(grid->AddStringItem(7, QStringLiteral("x"), QStringLiteral("y")), -1);
    EXPECT_EQ(grid->AddStringItem(info, QStringLiteral("名称"), QStringLiteral("again")), -1);
    EXPECT_EQ(grid->AddCustomItem(info, QStringLiteral("none"), nullptr), -1);
    EXPECT_EQ(grid->AddStringItem(points, QStringLiteral("名称"), QStringLiteral("ok")), 5);
    EXPECT_EQ(fake.commits, 1);
    EXPECT_EQ(fake.grid(), grid);

    QString text;
    std::int32_t value = 0;
    EXPECT_TRUE(grid->GetItemText(name, text));
    EXPECT_EQ(text, QStringLiteral("梁1"));
    EXPECT_TRUE(grid->GetItemInteger(cover, value));
    EXPECT_EQ(value, 30);
    EXPECT_FALSE(grid->GetItemText(cover, text));
    EXPECT_FALSE(grid->GetItemInteger(point, value));
    EXPECT_FALSE(grid->GetItemInteger(6, value));

    const int first = grid->AddSection(QStringLiteral("首"), false, info);
    const int last = grid->AddSection(QStringLiteral("末"), true, 42);
    EXPECT_EQ(grid->sectionTop(first), 0);
    EXPECT_EQ(grid->sectionTop(info), h);
    EXPECT_EQ(grid->sectionTop(last), 9 * h);

    click(at(cover, 50));
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
    auto px = [&img](int x, int y) { return img.pixel(x, y); };

    // Expanded caption at y 0: box (2, 4)-(10, 12), minus stroke (4..8, 8), no upright.
    EXPECT_EQ(px(15, 2), shade);
    for (QPoint p : {QPoint(2, 4), QPoint(10, 12), QPoint(4, 8), QPoint(8, 8)})
        EXPECT_EQ(px(p.x(), p.y()), ink) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(11, 8), QPoint(3, 5), QPoint(9, 8), QPoint(6, 6), QPoint(1, 8)})
        EXPECT_EQ(px(p.x(), p.y()), shade) << p.x() << "," << p.y();
    // Collapsed caption: the upright stroke runs from y + 6 to y + 10.
    const int y = grid->sectionTop(folded);
    EXPECT_EQ(px(6, y + 6), ink);
    EXPECT_EQ(px(6, y + 10), ink);
    EXPECT_EQ(px(6, y + 11), shade);
    EXPECT_EQ(px(6, y + 5), shade);
    // Item row below the first caption: shaded strip, the caption's line on top, the divider.
    EXPECT_EQ(px(13, h + 2), shade);
    EXPECT_EQ(px(14, h + 2), white);
    EXPECT_EQ(px(100, h), shade);
    EXPECT_EQ(px(200, h + 2), shade);
    EXPECT_EQ(px(201, h + 2), white);
    // The selected name is marked from the strip to the divider.
    const int p = grid->itemTop(point);
    EXPECT_EQ(px(13, p + 2), shade);
    EXPECT_EQ(px(14, p + 2), mark);
    EXPECT_EQ(px(199, p + 2), mark);
    EXPECT_EQ(px(200, p + 2), shade);
    // Below the last row the grid stays white.
    EXPECT_EQ(px(100, 8 * h + 1), white);
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
    const QImage selected = grid->grab().toImage();
    const int y = grid->itemTop(lockedPoint);
    EXPECT_EQ(darkest(selected, QRect(400 - h, y + 1, h, h - 2)), 255);  // no "..." button
    EXPECT_EQ(fakeLocked.dialogs, 0);
    EXPECT_TRUE(changes().isEmpty());
}

TEST_F(GridTest, TextOpensOnReleaseWhilePointsOpenByButtonOrDoubleClick) {
    QTest::mousePress(grid, Qt::LeftButton, {}, at(name, 300));
    EXPECT_EQ(grid->GetSelectedItem(), name);
    EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, at(name, 300));
    ASSERT_NE(grid->inPlaceEdit(), nullptr);
    const int y = grid->itemTop(name);
    EXPECT_EQ(grid->inPlaceEdit()->geometry(), QRect(QPoint(201, y + 2), QPoint(399, y + h - 1)));

    click(at(point, 300));  // selects, the editor closes, no dialog
    EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    EXPECT_EQ(grid->GetSelectedItem(), point);
    EXPECT_EQ(fake.dialogs, 0);
    const QImage img = grid->grab().toImage();
    EXPECT_LT(darkest(img, QRect(400 - h, grid->itemTop(point) + 1, h, h - 2)), 80);  // "..."

    click(at(point, 400 - h / 2));
    EXPECT_EQ(fake.dialogs, 1);
    doubleClick(at(point, 300));
    EXPECT_EQ(fake.dialogs, 2);
    EXPECT_EQ(changes(), (QList<int>{name, point, point}));  // the text edit ended unchanged
}

TEST_F(GridTest, KeyboardWalksVisibleRowsWrapsAndFolds) {
    auto selected = [this] {
        return std::pair(grid->GetSelectedSection(), grid->GetSelectedItem());
    };
    key(Qt::Key_Down);
    EXPECT_EQ(selected(), std::pair(info, -1));
    key(Qt::Key_Up);
    EXPECT_EQ(selected(), std::pair(-1, lockedPoint));
    key(Qt::Key_Down);
    EXPECT_EQ(selected(), std::pair(info, -1));
    key(Qt::Key_Left);  // folds the open section, stays
    EXPECT_EQ(selected(), std::pair(info, -1));
    EXPECT_EQ(grid->itemTop(name), -1);
    key(Qt::Key_Right);  // unfolds
    EXPECT_EQ(grid->itemTop(name), h);
    key(Qt::Key_Right);  // open: moves down
    EXPECT_EQ(selected(), std::pair(-1, name));
    key(Qt::Key_Left);  // an item: moves up
    EXPECT_EQ(selected(), std::pair(info, -1));
    key(Qt::Key_Minus, QStringLiteral("-"));
    EXPECT_EQ(grid->sectionTop(points), h);
    key(Qt::Key_Plus, QStringLiteral("+"));
    EXPECT_EQ(grid->sectionTop(points), 4 * h);
    key(Qt::Key_Slash, QStringLiteral("/"));
    EXPECT_EQ(grid->itemTop(point), -1);
    EXPECT_EQ(grid->itemTop(name), -1);
    key(Qt::Key_Asterisk, QStringLiteral("*"));
    EXPECT_EQ(grid->itemTop(lockedPoint), 6 * h);
}

TEST_F(GridTest, TheScreenFollowsTheKeyboardWalk) {
    auto screen = [this] {
        QApplication::processEvents();
        return host.screen()
            ->grabWindow(host.winId(), 0, 0, 400, 300)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage before = screen();
    for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up}) {
        key(k);
        EXPECT_EQ(screen(), grid->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_NE(screen(), before);
}

TEST_F(GridTest, DividerDragsBetweenAFifthAndFourFifths) {
    EXPECT_EQ(grid->dividerX(), 200);
    for (auto [to, expected] : {std::pair(5, 80), std::pair(399, 320), std::pair(150, 150)}) {
        const int from = grid->dividerX() + 2;
        QTest::mousePress(grid, Qt::LeftButton, {}, {from, 10});
        QTest::mouseMove(grid, {to, 10});
        QTest::mouseRelease(grid, Qt::LeftButton, {}, {to, 10});
        EXPECT_EQ(grid->dividerX(), expected) << to;
    }
    EXPECT_EQ(grid->GetSelectedSection(), -1);  // a drag selects nothing
    const QImage img = grid->grab().toImage();
    EXPECT_EQ(img.pixel(150, h + 2), grid->palette().color(QPalette::Button).rgb());
    EXPECT_EQ(img.pixel(200, h + 2), qRgb(255, 255, 255));
    click({147, h + 2});  // just beyond the grip: the name is hit
    EXPECT_EQ(grid->GetSelectedItem(), name);
}

TEST_F(GridTest, ScrollBarWheelAndKeysKeepTheSelectionInView) {
    EXPECT_EQ(grid->scrollBar(), nullptr);
    for (int i = 0; i < 30; ++i) grid->AddIntegerItem(points, QString::number(i + 10), i);
    const int total = 37 * h;
    ASSERT_NE(grid->scrollBar(), nullptr);
    EXPECT_TRUE(grid->scrollBarShown());
    EXPECT_EQ(grid->scrollBar()->maximum(), total - 300);
    EXPECT_EQ(grid->scrollBar()->pageStep(), 300);

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
    wheel({}, {0, -7});
    EXPECT_EQ(grid->scrollPosition(), 7);

    key(Qt::Key_Up);  // wraps to the last row, which becomes the top row within the range
    EXPECT_EQ(grid->scrollPosition(), total - 300);
    key(Qt::Key_Down);
    EXPECT_EQ(grid->GetSelectedSection(), info);
    EXPECT_EQ(grid->scrollPosition(), 0);
    key(Qt::Key_Down);  // already in view: no scrolling
    EXPECT_EQ(grid->scrollPosition(), 0);

    click(at(cover, 300));  // an editor rides along with its row
    ASSERT_NE(grid->inPlaceEdit(), nullptr);
    grid->scrollBar()->setValue(5);
    EXPECT_EQ(grid->inPlaceEdit()->y(), grid->itemTop(cover) - 5 + 2);

    grid->ResetContents();
    EXPECT_FALSE(grid->scrollBarShown());
    EXPECT_EQ(grid->scrollPosition(), 0);
    EXPECT_EQ(grid->inPlaceEdit(), nullptr);
    EXPECT_TRUE(changes().isEmpty());  // the open edit was dropped with its item
}
