#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "dialogs/CDlgSetProject.h"
#include "model/GbkCodec.h"
#include "support/ModalDriver.h"
#include "support/ModelSamples.h"

namespace {

ProjectInfo filledInfo() {
    ProjectInfo info;
    info.projectName.assign(gbk::fromUtf8("综合楼"));
    info.testBasis.assign("GB 50204");
    info.testUnit.assign(gbk::fromUtf8("检测中心"));
    info.instrument.assign("R-630");
    return info;
}

QPushButton* button(QDialog& d, const QString& text) {
    for (auto* b : d.findChildren<QPushButton*>()) {
        if (b->text() == text) return b;
    }
    return nullptr;
}

}  // namespace

TEST(CDlgSetProject, ShowsTheHeaderAndTheComponentsRows) {
    ProjectInfo info = filledInfo();
    ComponentList components{samples::withPoints("H001", 3), samples::withPoints("W001", 12, 8)};
    components.back().name.assign(gbk::fromUtf8("二层板"));
    CDlgSetProject d(info, &components);

    EXPECT_EQ(d.windowTitle(), QStringLiteral("工程设置窗口"));
    EXPECT_EQ(d.projectNameEdit()->text(), QStringLiteral("综合楼"));
    EXPECT_EQ(d.testBasisEdit()->text(), QStringLiteral("GB 50204"));
    EXPECT_EQ(d.testUnitEdit()->text(), QStringLiteral("检测中心"));
    EXPECT_EQ(d.instrumentEdit()->text(), QStringLiteral("R-630"));

    QTreeView* list = d.componentList();
    const QAbstractItemModel* m = list->model();
    ASSERT_EQ(m->columnCount(), 6);
    const QStringList headers{"序号", "构件编号", "构件名称", "检测类型", "日期", "测点数"};
    const int widths[] = {50, 80, 100, 80, 80, 80};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(m->headerData(i, Qt::Horizontal).toString(), headers[i]);
        EXPECT_EQ(list->columnWidth(i), widths[i]);
    }
    ASSERT_EQ(m->rowCount(), 2);
    const QStringList first{"1", "H001", "H001", "厚度", "11/3/25", "3"};
    const QStringList second{"2", "W001", "二层板", "网格", "11/3/25", "12 , 8"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(m->index(0, i).data().toString(), first[i]);
        EXPECT_EQ(m->index(1, i).data().toString(), second[i]);
        EXPECT_EQ(m->index(1, i).data(Qt::TextAlignmentRole).toInt(), Qt::AlignCenter);
    }
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);

    CDlgSetProject empty(info, nullptr);
    EXPECT_EQ(empty.componentList()->model()->rowCount(), 0);
}

TEST(CDlgSetProject, OkStoresEachTextCutToItsFieldAndCancelStoresNothing) {
    ProjectInfo info = filledInfo();
    {
        CDlgSetProject d(info, nullptr);
        d.projectNameEdit()->setText(QString(60, QLatin1Char('n')));
        d.testBasisEdit()->setText(QString(30, QChar(0x94A2)));  // 钢 × 30 = 60 bytes
        d.testUnitEdit()->clear();
        d.instrumentEdit()->setText(QStringLiteral("仪器") + QString(40, QLatin1Char('i')));
        QTest::mouseClick(button(d, QStringLiteral("确定")), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.cutNotice(),
                  QStringLiteral("工程名称超过 49 字节，已截短。检测依据超过 49 字节，"
                                 "已截短。仪器型号超过 29 字节，已截短。"));
    }
    EXPECT_EQ(info.projectName.view(), std::string(49, 'n'));
    EXPECT_EQ(info.testBasis.view().size(), 48u);  // 24 whole characters
    EXPECT_EQ(info.testUnit.view(), "");
    EXPECT_EQ(info.instrument.view(), gbk::fromUtf8("仪器") + std::string(25, 'i'));

    const ProjectInfo before = info;
    {
        CDlgSetProject d(info, nullptr);
        d.projectNameEdit()->setText(QStringLiteral("changed"));
        d.testUnitEdit()->setText(QStringLiteral("changed"));
        QTest::mouseClick(button(d, QStringLiteral("取消")), Qt::LeftButton);
        EXPECT_EQ(d.result(), QDialog::Rejected);
    }
    EXPECT_EQ(info, before);

    {
        CDlgSetProject d(info, nullptr);  // OK without changes stores the same texts again
        d.accept();
        EXPECT_EQ(d.cutNotice(), QString());
    }
    EXPECT_EQ(info, before);

    {  // A text GBK cannot hold is refused, naming its characters; nothing is stored.
        CDlgSetProject d(info, nullptr);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        d.projectNameEdit()->setText(QStringLiteral("ok"));
        d.testUnitEdit()->setText(QStringLiteral("Añ€ß😀Zñ"));
        MessageBoxes boxes;
        d.accept();
        EXPECT_EQ(boxes.texts(),
                  QStringList{"“检测单位”中的字符“ñß😀”无法保存（仅支持 GBK 字符）。"});
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.focusWidget(), d.testUnitEdit());
    }
    EXPECT_EQ(info, before);
}
