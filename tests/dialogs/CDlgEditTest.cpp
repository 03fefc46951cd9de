#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dialogs/CDlgEdit.h"
#include "dialogs/WholeInteger.h"

namespace {

// Presses OK and returns the message it showed (and closed), empty when there was none.
QString pressOk(CDlgEdit& dialog) {
    QString shown;
    QTimer watch;  // the box is modal: it is answered from inside its own loop
    QObject::connect(&watch, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    watch.start(5);
    dialog.accept();
    return shown;
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
        {1, "1.5", whole}, {2, "", whole},    {0, "9x", whole},
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

TEST(CDlgEdit, TheUnusedValueIsReadOnlyAndKeptWhileCancelChangesNothing) {
    CDlgEdit diameterPoint(DetectionType::Diameter, 12, 30, 4000);
    EXPECT_TRUE(diameterPoint.positionEdit()->isReadOnly());
    EXPECT_FALSE(diameterPoint.diameterEdit()->isReadOnly());
    diameterPoint.thicknessEdit()->setText(QStringLiteral("31"));
    EXPECT_EQ(pressOk(diameterPoint), QString());  // 4000 is out of range but not entered here
    EXPECT_EQ(diameterPoint.position(), 4000);
    EXPECT_EQ(diameterPoint.thickness(), 31);

    CDlgEdit profilePoint(DetectionType::Profile, 150, 30, 400);
    EXPECT_TRUE(profilePoint.diameterEdit()->isReadOnly());
    EXPECT_EQ(profilePoint.diameterEdit()->text(), QStringLiteral("150"));
    profilePoint.thicknessEdit()->setText(QStringLiteral("200"));  // twice wrong
    profilePoint.positionEdit()->setText(QStringLiteral("abc"));
    profilePoint.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&profilePoint));
    EXPECT_EQ(pressOk(profilePoint), QStringLiteral("请输入一个介于 0 和 99 之间的整数。"));
    EXPECT_EQ(profilePoint.focusWidget(), profilePoint.thicknessEdit());
    for (QPushButton* b : profilePoint.findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("取消")) b->click();
    }
    EXPECT_EQ(profilePoint.result(), QDialog::Rejected);
    EXPECT_EQ(profilePoint.diameter(), 150);
    EXPECT_EQ(profilePoint.thickness(), 30);
    EXPECT_EQ(profilePoint.position(), 400);
}

TEST(WholeInteger, BlanksAroundAndASignAreAllowedNothingElse) {
    struct Case {
        std::string_view text;  // some are views into longer text: nothing past them is read
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"7 ", true, 7},
        {"-100", true, -100},
        {" -12\t", true, -12},
        {"+3", true, 3},
        {"  ", false, 0},
        {"1 2", false, 0},
        {"- 1", false, 0},
        {std::string_view("   ", 2), false, 0},
        {std::string_view("+", 0), false, 0},
        {std::string_view("5 9", 2), true, 5},
    };
    for (const Case& c : cases) {
        const Result<std::int32_t> r = parseWholeInteger(c.text, {-100, 100});
        ASSERT_EQ(r.ok(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(r.value(), c.value) << c.text;
        } else {
            EXPECT_EQ(r.message(), "请输入一个整数。") << c.text;
        }
    }
    EXPECT_EQ(parseWholeInteger("-99999999999", {-100, 100}).message(),
              "请输入一个介于 -100 和 100 之间的整数。");
}
