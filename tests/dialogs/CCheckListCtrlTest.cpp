#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include "dialogs/CCheckListCtrl.h"
#include "dialogs/ComponentTableModel.h"
#include "support/ModelSamples.h"

namespace {

ComponentList components(int n) {
    ComponentList list;
    for (int i = 0; i < n; ++i) list.push_back(samples::withPoints("H00" + std::to_string(i), 1));
    return list;
}

// A shown list of `rows` unticked components with its header box set up.
struct CheckList {
    explicit CheckList(int rows)
        : components(::components(rows)),
          model(components, ComponentTableModel::Columns::Selection) {
        model.setCheckable(true);
        list.setModel(&model);
        list.InitCheckHeader();
        list.resize(300, 200);
        list.show();
    }

    void clickHeader(int section) {
        QHeaderView* h = list.header();
        const QPoint at(h->sectionViewportPosition(section) + h->sectionSize(section) / 2,
                        h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    }

    void clickBox(int row) {
        QStyleOptionViewItem option;
        option.initFrom(&list);
        option.rect = list.visualRect(list.model()->index(row, 0));
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, box.center());
    }

    QString ticks() const {
        QString out;
        for (int r = 0; r < list.rowCount(); ++r) out += list.isChecked(r) ? '1' : '0';
        return out;
    }

    ComponentList components;
    ComponentTableModel model;
    CCheckListCtrl list;
};

}  // namespace

TEST(CCheckListCtrl, SetUpIsIdempotentAndAnEmptyListTogglesOnlyTheImage) {
    const ComponentList one = components(1);
    ComponentTableModel plainModel(one, ComponentTableModel::Columns::Points);
    CCheckListCtrl plain;
    plain.setModel(&plainModel);
    EXPECT_EQ(plain.headerReady(), 0);
    EXPECT_EQ(plain.headerImage(), 0);
    EXPECT_FALSE(plainModel.index(0, 0).data(Qt::CheckStateRole).isValid());

    CheckList c(0);
    EXPECT_EQ(c.list.headerReady(), 1);
    EXPECT_EQ(c.list.headerImage(), 1);
    c.clickHeader(0);
    EXPECT_EQ(c.list.headerImage(), 2);
    EXPECT_EQ(c.list.InitCheckHeader(), 1);  // a second set-up must not reset the box
    EXPECT_EQ(c.list.headerImage(), 2);
    c.clickHeader(0);
    EXPECT_EQ(c.list.headerImage(), 1);
    EXPECT_EQ(c.list.rowCount(), 0);
}

TEST(CCheckListCtrl, HeaderBoxFollowsTheRowsTickedAndClearedByMouseAndKeyboard) {
    CheckList c(3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(c.list.headerImage(), 1) << "before row " << r;
        c.clickBox(r);
        EXPECT_TRUE(c.list.isChecked(r));
    }
    EXPECT_EQ(c.list.headerImage(), 2);

    // Space toggles the row's box even when another cell of the row is current.
    c.list.setCurrentIndex(c.model.index(1, 2));
    QTest::keyClick(&c.list, Qt::Key_Space);
    EXPECT_EQ(c.ticks(), "101");
    EXPECT_EQ(c.list.headerImage(), 1);
    QTest::keyClick(&c.list, Qt::Key_Space);
    EXPECT_EQ(c.list.headerImage(), 2);

    c.clickBox(2);
    EXPECT_EQ(c.ticks(), "110");
    EXPECT_EQ(c.list.headerImage(), 1);
}

TEST(CCheckListCtrl, FirstHeaderSectionTicksOrClearsEveryRowAndTheOthersDoNothing) {
    CheckList c(4);
    c.list.setChecked(1, true);
    c.clickHeader(1);
    c.clickHeader(2);
    EXPECT_EQ(c.ticks(), "0100");
    EXPECT_EQ(c.list.headerImage(), 1);

    c.clickHeader(0);
    EXPECT_EQ(c.ticks(), "1111");
    EXPECT_EQ(c.list.headerImage(), 2);
    c.clickHeader(2);
    EXPECT_EQ(c.ticks(), "1111");
    EXPECT_EQ(c.list.headerImage(), 2);

    c.clickHeader(0);
    EXPECT_EQ(c.ticks(), "0000");
    EXPECT_EQ(c.list.headerImage(), 1);
}

TEST(CCheckListCtrl, HeaderSectionZeroShowsDifferentBoxesForEmptyAndTicked) {
    CheckList c(1);
    QHeaderView* h = c.list.header();
    const QRect iconArea(h->sectionViewportPosition(0), 0, 24, h->height());
    const QImage empty = h->viewport()->grab(iconArea).toImage();
    c.clickHeader(0);
    const QImage ticked = h->viewport()->grab(iconArea).toImage();
    EXPECT_NE(empty, ticked);

    auto darkPixels = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 100;
        }
        return n;
    };
    EXPECT_GE(darkPixels(empty), 40);  // the box's outline
    EXPECT_GT(darkPixels(ticked), darkPixels(empty));
}
