#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/CDlgEdit.h"
#include "support/ModalDriver.h"

namespace {

// Presses OK and returns the messages it showed (and closed), empty when there was none.
QString pressOk(CDlgEdit& dialog) {
    MessageBoxes boxes;
    dialog.accept();
    return boxes.texts().join(u'\n');
}

}  // namespace

TEST(CDlgEdit, AcceptsTheLimitsAndRefusesBeyondThemWithTheStandardMessage) {
    const QString small = QStringLiteral("请输入一个介于 0 和 99 之间的整数。");
    const QString wide = QStringLiteral("请输入一个介于 0 和 2000 之间的整数。");
    const QString whole = QStringLiteral("请输入一个整数。");
    struct Case {
        int field;  // 0 直径, 1 保护层厚度, 2 配筋间距
        const char* typed;
        QString message;
    };
    const Case cases[] = {
        {0, "99", {}},     {1, " 99", {}},    {2, "2000", {}},  {2, "0", {}},     {0, "100", small},
        {1, "100", small}, {2, "2001", wide}, {0, "-1", small}, {1, "-1", small}, {2, "-1", wide},
        {1, "1.5", whole}, {2, "", whole},    {0, "9x", whole}, {1, "7 ", {}},    {2, "+5", {}},
        {0, "  ", whole},  {2, "- 1", whole},
    };
    for (const Case& c : cases) {
        // Position is used by profile points, diameter by diameter points.
        CDlgEdit dialog(c.field == 2 ? DetectionType::Profile : DetectionType::Diameter, 5, 6, 7);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* edits[] = {dialog.diameterEdit(), dialog.thicknessEdit(), dialog.positionEdit()};
        edits[c.field]->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(pressOk(dialog), c.message) << c.field << " " << c.typed;
        if (c.message.isEmpty()) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            const std::int32_t values[] = {dialog.diameter(), dialog.thickness(),
                                           dialog.position()};
            EXPECT_EQ(values[c.field], QString::fromLatin1(c.typed).trimmed().toInt());
        } else {
            EXPECT_TRUE(dialog.isVisible()) << c.typed;
            EXPECT_EQ(dialog.focusWidget(), edits[c.field]) << c.typed;
            EXPECT_EQ(dialog.thickness(), 6);
        }
    }
}

// A stored value beyond the dialog's limits (a cover of 150 on a diameter point) is kept as it
// is while the user changes the others; typed anew, it is checked like any other.
TEST(CDlgEdit, OnlyTheEntriesTheUserChangedAreChecked) {
    const std::tuple<int, const char*, QString, std::int32_t, std::int32_t> cases[] = {
        {0, "14", {}, 14, 150},
        {1, "151", QStringLiteral("请输入一个介于 0 和 99 之间的整数。"), 12, 150},
        {1, "150 ", QStringLiteral("请输入一个介于 0 和 99 之间的整数。"), 12, 150},
    };
    for (const auto& [field, typed, message, diameter, thickness] : cases) {
        CDlgEdit dialog(DetectionType::Diameter, 12, 150, 0);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        (field == 0 ? dialog.diameterEdit() : dialog.thicknessEdit())
            ->setText(QString::fromLatin1(typed));
        EXPECT_EQ(pressOk(dialog), message) << typed;
        EXPECT_EQ(std::pair(dialog.diameter(), dialog.thickness()), std::pair(diameter, thickness));
    }
}

TEST(CDlgEdit, TheUnusedValueIsReadOnlyAndKeptWhileCancelChangesNothing) {
    CDlgEdit diameterPoint(DetectionType::Diameter, 12, 30, 4000);
    EXPECT_TRUE(diameterPoint.positionEdit()->isReadOnly() &&
                !diameterPoint.diameterEdit()->isReadOnly());
    diameterPoint.thicknessEdit()->setText(QStringLiteral("31"));
    EXPECT_EQ(pressOk(diameterPoint), QString());  // 4000 is out of range but not entered here
    EXPECT_EQ(std::pair(diameterPoint.thickness(), diameterPoint.position()), std::pair(31, 4000));

    CDlgEdit profilePoint(DetectionType::Profile, 150, 30, 400);
    EXPECT_TRUE(profilePoint.diameterEdit()->isReadOnly());
    EXPECT_EQ(profilePoint.diameterEdit()->text(), QStringLiteral("150"));
    profilePoint.thicknessEdit()->setText(QStringLiteral("200"));  // twice wrong: the first counts
    profilePoint.positionEdit()->setText(QStringLiteral("abc"));
    EXPECT_EQ(pressOk(profilePoint), QStringLiteral("请输入一个介于 0 和 99 之间的整数。"));
    EXPECT_EQ(profilePoint.focusWidget(), profilePoint.thicknessEdit());
    for (QPushButton* b : profilePoint.findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("取消")) b->click();
    }
    EXPECT_EQ(profilePoint.result(), QDialog::Rejected);
    EXPECT_EQ(
        std::tuple(profilePoint.diameter(), profilePoint.thickness(), profilePoint.position()),
        std::tuple(150, 30, 400));
}
