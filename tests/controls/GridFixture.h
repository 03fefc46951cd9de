#pragma once

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "controls/CPropertyGrid.h"
#include "controls/ICustomItem.h"

// A point value that counts what the grid asks of it.
struct FakePoint : ICustomItem {
    int commits = 0;
    int dialogs = 0;
    EditMode editMode() const override { return OwnDialog; }
    void drawValue(QPainter&, const QRect&, bool) override {}
    void commit() override { ++commits; }
    bool editInOwnDialog() override { return ++dialogs > 0; }
};

// A 400 × 300 grid: section "构件" with a text, a number and a read-only number, section
// "测点结果" with an editable and a read-only point.
class GridTest : public testing::Test {
protected:
    GridTest() {
        QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("WenQuanYi Micro Hei")});
        host.resize(400, 300);
        grid = new CPropertyGrid(&host, 1440);
        grid->setGeometry(0, 0, 400, 300);
        info = grid->AddSection(QStringLiteral("构件"));
        points = grid->AddSection(QStringLiteral("测点结果"));
        name = grid->AddStringItem(info, QStringLiteral("名称"), QStringLiteral("梁1"));
        cover = grid->AddIntegerItem(info, QStringLiteral("保护层厚度设计值"), 30,
                                     QStringLiteral("%d mm"), true, {-32768, 32767});
        locked = grid->AddIntegerItem(info, QStringLiteral("钢筋直径设计值"), 12,
                                      QStringLiteral("%d mm"), false);
        point = grid->AddCustomItem(points, QStringLiteral("1"), &fake);
        lockedPoint = grid->AddCustomItem(points, QStringLiteral("2"), &fakeLocked, false);
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host));
        h = grid->rowHeight();
        changed = std::make_unique<QSignalSpy>(grid, &CPropertyGrid::ItemChangedNotification);
    }

    // A point in the middle of an item's row, `x` from the left.
    QPoint at(int itemId, int x) const {
        return {x, grid->itemTop(itemId) - grid->scrollPosition() + h / 2};
    }
    void click(QPoint p) { QTest::mouseClick(grid, Qt::LeftButton, {}, p); }
    void doubleClick(QPoint p) {
        click(p);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, p, grid->mapToGlobal(p), Qt::LeftButton,
                        Qt::LeftButton, {});
        QApplication::sendEvent(grid, &dbl);
        QTest::mouseRelease(grid, Qt::LeftButton, {}, p);
    }
    void key(Qt::Key k, const QString& text = {}, Qt::KeyboardModifiers mods = {},
             QWidget* to = nullptr) {
        QKeyEvent press(QEvent::KeyPress, k, mods, text);
        QApplication::sendEvent(to ? to : grid, &press);
    }
    std::int32_t integer(int id) const {
        std::int32_t value = -1;
        return grid->GetItemInteger(id, value) ? value : -1;
    }
    QString text(int id) const {
        QString value;
        return grid->GetItemText(id, value) ? value : QString();
    }
    QList<int> changes() const {
        QList<int> ids;
        for (const QList<QVariant>& args : *changed) ids << args.at(0).toInt();
        return ids;
    }

    FakePoint fake, fakeLocked;  // outlive the grid
    QWidget host;
    CPropertyGrid* grid;
    int info, points, name, cover, locked, point, lockedPoint, h;
    std::unique_ptr<QSignalSpy> changed;
};
