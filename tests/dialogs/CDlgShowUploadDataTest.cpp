#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <iterator>

#include "dialogs/CCheckListCtrl.h"
#include "dialogs/CDlgShowUploadData.h"
#include "model/GbkCodec.h"
#include "support/ModalDriver.h"
#include "support/ModelSamples.h"

namespace {

// H, Z, W, P with names that differ from their codes.
ComponentList fourTypes() {
    ComponentList list{samples::withPoints("H001", 3), samples::withPoints("Z001", 2),
                       samples::withPoints("W001", 2, 3), samples::withPoints("P001", 2)};
    int n = 0;
    for (Component& c : list) c.name.assign(gbk::fromUtf8("梁") + std::to_string(++n));
    return list;
}

QStringList rowTexts(const QAbstractItemView* list, int row) {
    QStringList texts;
    const QAbstractItemModel* m = list->model();
    for (int col = 0; col < m->columnCount(); ++col) texts << m->index(row, col).data().toString();
    return texts;
}

QStringList headerTexts(const QAbstractItemView* list) {
    QStringList texts;
    const QAbstractItemModel* m = list->model();
    for (int col = 0; col < m->columnCount(); ++col)
        texts << m->headerData(col, Qt::Horizontal).toString();
    return texts;
}

QVariant cell(const QAbstractItemView* list, int row, int column, int role) {
    return list->model()->index(row, column).data(role);
}

QPushButton* button(QDialog& d, const QString& text) {
    for (auto* b : d.findChildren<QPushButton*>()) {
        if (b->text() == text) return b;
    }
    return nullptr;
}

void clickRow(CCheckListCtrl* list, int row, int column = 2,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QRect cell = list->visualRect(list->model()->index(row, column));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
}

void clickHeader(CCheckListCtrl* list, int section) {
    QHeaderView* h = list->header();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(section) + 40, h->height() / 2));
}

}  // namespace

TEST(CDlgShowUploadData, ColumnsCaptionAndControls) {
    const ComponentList list = fourTypes();
    CDlgShowUploadData d(list, 1, QStringLiteral("/data/site 3.vexo"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("/data/site 3.vexo"));
    EXPECT_EQ(CDlgShowUploadData(list, 0, QString()).windowTitle(), QStringLiteral("新工程"));

    CCheckListCtrl* components = d.componentList();
    CCheckListCtrl* points = d.pointList();
    EXPECT_EQ(headerTexts(components), (QStringList{"序号", "构件编号", "构件名称", "检测类型",
                                                    "日期", "钢筋直径", "测点数"}));
    EXPECT_EQ(headerTexts(points), (QStringList{"序号", "钢筋直径", "保护层厚度", "配筋间距"}));
    // The widths the dialog always had, but a grid's two diameters need more.
    const int componentWidths[] = {80, 80, 100, 80, 80, 80, 80};
    for (int i = 0; i < 7; ++i) {
        if (i != 5) {
            EXPECT_EQ(components->columnWidth(i), componentWidths[i]);
        }
    }
    EXPECT_GT(components->columnWidth(5), 80);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(points->columnWidth(i), i == 0 ? 80 : 100);
    EXPECT_EQ(cell(components, 3, 6, Qt::TextAlignmentRole).toInt(), Qt::AlignCenter);
    EXPECT_EQ(cell(points, 0, 2, Qt::TextAlignmentRole).toInt(), Qt::AlignCenter);

    EXPECT_EQ(components->headerImage(), 1);
    for (int r = 0; r < 4; ++r) {
        EXPECT_TRUE(cell(components, r, 0, Qt::CheckStateRole).isValid());
        EXPECT_FALSE(components->isChecked(r));
    }
    EXPECT_EQ(points->headerImage(), 0);
    EXPECT_FALSE(cell(points, 0, 0, Qt::CheckStateRole).isValid());
    ASSERT_NE(button(d, "确定"), nullptr);
    EXPECT_TRUE(button(d, "确定")->isDefault());
}

TEST(CDlgShowUploadData, RowTextsOfEveryTypeWithNamesOnlyForTheProjectsOwn) {
    const ComponentList list = fourTypes();
    const QStringList expected[] = {
        {"1", "H001", "梁1", "厚度", "11/3/25", "16 mm", "3"},
        {"2", "Z001", "梁2", "直径", "11/3/25", "", "2"},
        {"3", "W001", "梁3", "网格", "11/3/25", "16 mm, 12 mm", "2 , 3"},
        {"4", "P001", "梁4", "剖面", "11/3/25", "16 mm", "2"},
    };
    CDlgShowUploadData own(list, 0, QString());
    CDlgShowUploadData upload(list, 1, QString());
    ASSERT_EQ(own.componentList()->rowCount(), 4);
    ASSERT_EQ(upload.componentList()->rowCount(), 4);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(rowTexts(own.componentList(), r), expected[r]);
        QStringList withoutName = expected[r];
        withoutName[2].clear();
        EXPECT_EQ(rowTexts(upload.componentList(), r), withoutName);
    }
}

TEST(CDlgShowUploadData, PointListFollowsTheClickedComponentWithTextsByType) {
    const ComponentList list = fourTypes();
    CDlgShowUploadData d(list, 1, QString());
    d.show();
    CCheckListCtrl* points = d.pointList();
    EXPECT_EQ(points->shownItem(), 0);
    ASSERT_EQ(points->rowCount(), 3);
    EXPECT_EQ(rowTexts(points, 2), (QStringList{"3", "", "22 mm", ""}));

    clickRow(d.componentList(), 1);
    EXPECT_EQ(points->shownItem(), 1);
    ASSERT_EQ(points->rowCount(), 2);
    EXPECT_EQ(rowTexts(points, 1), (QStringList{"2", "9 mm", "21 mm", ""}));

    clickRow(d.componentList(), 2);
    EXPECT_EQ(points->shownItem(), 2);
    const QStringList grid[] = {
        {"1", "", "20 mm", "7 mm"},     {"2", "", "21 mm", "107 mm"},
        {"1", "", "40 mm", "65535 mm"}, {"2", "", "41 mm", "65532 mm"},
        {"3", "", "42 mm", "65529 mm"},
    };
    ASSERT_EQ(points->rowCount(), 5);
    for (int r = 0; r < 5; ++r) EXPECT_EQ(rowTexts(points, r), grid[r]) << "row " << r;

    // The keyboard moves the selection, and the points follow it too.
    QTest::keyClick(d.componentList(), Qt::Key_Down);
    EXPECT_EQ(points->shownItem(), 3);
    ASSERT_EQ(points->rowCount(), 2);
    EXPECT_EQ(rowTexts(points, 1), (QStringList{"2", "", "21 mm", "107 mm"}));
}

TEST(CDlgShowUploadData, ClickingTheRowAlreadyShownDoesNotRefill) {
    const ComponentList list = fourTypes();
    CDlgShowUploadData d(list, 0, QString());
    d.show();
    CCheckListCtrl* points = d.pointList();
    QSignalSpy refills(points->model(), &QAbstractItemModel::modelReset);

    clickRow(d.componentList(), 0);
    EXPECT_EQ(refills.count(), 0);
    clickRow(d.componentList(), 3);
    EXPECT_EQ(refills.count(), 1);
    EXPECT_EQ(cell(points, 0, 3, Qt::DisplayRole).toString(), "7 mm");

    // Deselect and click again: the selection changes but the shown component does not.
    clickRow(d.componentList(), 3, 2, Qt::ControlModifier);
    ASSERT_TRUE(d.componentList()->selectionModel()->selectedRows().isEmpty());
    clickRow(d.componentList(), 3, 4);
    EXPECT_EQ(points->shownItem(), 3);
    EXPECT_EQ(refills.count(), 1);
}

TEST(CDlgShowUploadData, OkTakesTheTicksAndCancelLeavesThem) {
    const ComponentList list = fourTypes();
    {
        CDlgShowUploadData d(list, 1, QString());
        d.show();
        QTest::mouseClick(button(d, "确定"), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.selection(), std::vector<bool>(4, false));
    }
    {
        CDlgShowUploadData d(list, 1, QString());
        d.show();
        clickHeader(d.componentList(), 0);
        d.componentList()->setChecked(2, false);
        QTest::mouseClick(button(d, "确定"), Qt::LeftButton);
        EXPECT_EQ(d.selection(), (std::vector<bool>{true, true, false, true}));
    }
    {
        CDlgShowUploadData d(list, 0, QString());
        d.show();
        clickHeader(d.componentList(), 0);
        QTest::mouseClick(button(d, "取消"), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_TRUE(d.selection().empty());
    }
    const ComponentList none;
    CDlgShowUploadData empty(none, 0, QString());
    EXPECT_EQ(empty.pointList()->rowCount(), 0);
    empty.accept();
    EXPECT_TRUE(empty.selection().empty());
}

TEST(CDlgShowUploadData, RunsModallyWithTheKeyboardAlone) {
    const ComponentList list = fourTypes();
    CDlgShowUploadData d(list, 1, QString());
    onNextModal<CDlgShowUploadData>([](CDlgShowUploadData* shown) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus, Qt::Key_Space);  // ticks the first row
        QTest::keyClick(focus, Qt::Key_Down);
        QTest::keyClick(focus, Qt::Key_Down);
        QTest::keyClick(focus, Qt::Key_Space);
        EXPECT_EQ(shown->pointList()->shownItem(), 2);
        QTest::keyClick(focus, Qt::Key_Return);
    });
    ASSERT_EQ(d.exec(), QDialog::Accepted);
    EXPECT_EQ(d.selection(), (std::vector<bool>{true, false, true, false}));
}

// Where the screen has room every text shows whole and no list scrolls sideways; each list is
// a whole number of rows (12 and 10, fewer on a small screen), the window with its frame
// within 95 % of the screen's free area. Where it has none, the rows stay whole above the
// sideways scroll bar.
TEST(CDlgShowUploadData, ColumnsFitTheirTextsAndEachListWholeRows) {
    ComponentList list = fourTypes();
    Component& grid = *std::next(list.begin(), 2);  // W001
    grid.designDiameter = 100;                      // "100 mm, 100 mm"
    grid.designDiameterVert = 100;
    list.front().name.assign(gbk::fromUtf8("第十二层东区剪力墙边缘构件暗柱"));
    for (int i = 0; i < 30; ++i) list.push_back(samples::withPoints("H1" + std::to_string(i), 12));
    list.push_front(samples::withPoints("H000", 0));  // the point list starts empty
    const struct {
        QSize available;
        int componentRows, pointRows;
        bool sideways;
    } cases[] = {
        {{1366, 728}, 12, 10, false},
        {{1366, 420}, 5, 10, false},  // the components give up rows first
        {{500, 728}, 12, 10, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.available.width() * 10000 + c.available.height());
        CDlgShowUploadData d(list, 0, QString());
        d.fitTo({500, 420});  // then fitted again
        d.fitTo(c.available);
        d.show();
        clickRow(d.componentList(), 3);  // the grid: its points must fit as well
        EXPECT_LE(d.width() + 16, c.available.width() * 0.95 + 1);
        EXPECT_LE(d.height() + 40, c.available.height() * 0.95 + 1);
        const int rows[] = {c.componentRows, c.pointRows};
        CCheckListCtrl* lists[] = {d.componentList(), d.pointList()};
        for (int i = 0; i < 2; ++i) {
            const QAbstractItemModel* m = lists[i]->model();
            const int rowHeight = lists[i]->visualRect(m->index(0, 0)).height();
            EXPECT_EQ(lists[i]->viewport()->height(), rows[i] * rowHeight) << i;
            EXPECT_EQ(lists[i]->horizontalScrollBar()->isVisible(), c.sideways) << i;
            for (int row = 0; row < m->rowCount(); ++row) {
                for (int col = 0; col < m->columnCount(); ++col) {
                    const QModelIndex cell = m->index(row, col);
                    EXPECT_LE(lists[i]->sizeHintForIndex(cell).width(), lists[i]->columnWidth(col))
                        << cell.data().toString().toStdString();
                }
            }
        }
    }
}
