#include <QLineEdit>

#include "GridFixture.h"
#include "controls/CPropertyGridInPlaceEdit.h"
#include "support/ModalDriver.h"

namespace {

class GridEditTest : public GridTest {
protected:
    CPropertyGridInPlaceEdit* open(int itemId) {
        click(at(itemId, 300));
        CPropertyGridInPlaceEdit* editor = grid->inPlaceEdit();
        EXPECT_NE(editor, nullptr);
        EXPECT_TRUE(editor && editor->hasFocus());
        return editor;
    }
    // Replaces the editor's text as typed and ends the edit with `end`.
    void type(int itemId, const QString& text, Qt::Key end = Qt::Key_Return,
              Qt::KeyboardModifiers mods = {}) {
        CPropertyGridInPlaceEdit* editor = open(itemId);
        if (!editor) return;
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        for (QChar c : text) key(Qt::Key_unknown, QString(c), {}, editor);  // any script
        key(end, {}, mods, editor);
        EXPECT_EQ(grid->inPlaceEdit(), nullptr);
        EXPECT_TRUE(grid->hasFocus());
    }
};

}  // namespace

TEST_F(GridEditTest, IntegersOpenBareAndStoreTheLeadingNumberUnlessEmptied) {
    CPropertyGridInPlaceEdit* editor = open(cover);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(std::tuple(editor->text(), editor->cursorPosition(), editor->hasSelectedText()),
              std::tuple(QStringLiteral("30"), 2, false));
    EXPECT_EQ(editor->font(), grid->normalFont());
    QTest::keyClick(editor, Qt::Key_Left);  // plain arrows stay in the editor
    QTest::keyClick(editor, Qt::Key_PageDown);
    EXPECT_EQ(std::pair(grid->inPlaceEdit(), editor->cursorPosition()), std::pair(editor, 1));
    key(Qt::Key_Escape, {}, {}, editor);

    // clang-format off
    const std::tuple<const char*, std::int32_t, Qt::Key, Qt::KeyboardModifiers> cases[] = {
        {"12abc", 12, Qt::Key_Return, {}}, {"45mm", 45, Qt::Key_Tab, {}},
        {"-7", -7, Qt::Key_Enter, {}},     {"41", 41, Qt::Key_Down, Qt::ControlModifier},
        {"", 41, Qt::Key_Return, {}},  // emptied: nothing stored, nothing sent
    };
    // clang-format on
    for (const auto& [typed, stored, end, mods] : cases) {
        changed->clear();
        type(cover, QString::fromLatin1(typed), end, mods);
        EXPECT_EQ(integer(cover), stored) << typed;
        EXPECT_EQ(changes(), *typed ? QList<int>{cover} : QList<int>{}) << typed;
    }
}

TEST_F(GridEditTest, ARefusedValueIsToldAtOnceAndKeepsItsEditorUntilEscape) {
    const int checked = grid->AddStringItem(
        info, QStringLiteral("编号"), QStringLiteral("A1"), true,
        [](const QString& t) { return t.contains(u'!') ? QStringLiteral("不行") : QString(); });
    // clang-format off
    const std::tuple<int, const char*, const char*> cases[] = {
        {cover, "40000", "请输入一个介于 -32768 和 32767 之间的整数。"},
        {cover, "-32769", "请输入一个介于 -32768 和 32767 之间的整数。"},
        {cover, "abc", "请输入一个整数。"},
        {cover, "   ", "请输入一个整数。"},
        {checked, "B!", "不行"},
    };
    // clang-format on
    for (const auto& [id, typed, message] : cases) {
        CPropertyGridInPlaceEdit* editor = open(id);
        ASSERT_NE(editor, nullptr);
        editor->setText(QString::fromUtf8(typed));
        MessageBoxes boxes;
        key(Qt::Key_Return, {}, {}, editor);  // told inside the key press, not later
        EXPECT_EQ(boxes.texts(), QStringList{QString::fromUtf8(message)}) << typed;
        // Asked again by the same action (the click that ended it): refused without a word.
        EXPECT_FALSE(grid->EndEdit()) << typed;
        EXPECT_EQ(boxes.texts().size(), 1) << typed;
        ASSERT_EQ(grid->inPlaceEdit(), editor) << typed;
        EXPECT_EQ(editor->text(), QString::fromUtf8(typed));
        QTest::qWait(1);  // the next command tells again
        EXPECT_FALSE(grid->EndEdit()) << typed;
        EXPECT_EQ(boxes.texts().size(), 2) << typed;

        key(Qt::Key_Escape, {}, {}, editor);
        EXPECT_EQ(grid->inPlaceEdit(), nullptr) << typed;
        host.activateWindow();  // the offscreen platform does not return from the box by itself
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }
    EXPECT_EQ(std::pair(integer(cover), text(checked)), std::pair(30, QStringLiteral("A1")));
    // Escape stores the old value and reports it, as Enter on an unchanged value does.
    EXPECT_EQ(changes(), (QList<int>{cover, cover, cover, cover, checked}));
}

TEST_F(GridEditTest, TextIsStoredAndReportedEvenUnchangedAndEscapeRestores) {
    type(name, QStringLiteral("柱2"));
    EXPECT_EQ(text(name), QStringLiteral("柱2"));
    key(Qt::Key_Return, {}, {}, open(name));
    EXPECT_EQ(text(name), QStringLiteral("柱2"));
    type(name, QStringLiteral("废"), Qt::Key_Escape);
    EXPECT_EQ(text(name), QStringLiteral("柱2"));
    type(cover, QStringLiteral("77"), Qt::Key_Escape);
    EXPECT_EQ(integer(cover), 30);
    EXPECT_EQ(changes(), (QList<int>{name, name, name, cover}));

    CPropertyGridInPlaceEdit* editor = open(name);  // a click elsewhere ends the edit too
    QTest::keyClick(editor, '!');
    click(at(locked, 50));
    EXPECT_EQ(text(name), QStringLiteral("柱2!"));
    EXPECT_EQ(grid->GetSelectedItem(), locked);
    EXPECT_EQ(changed->count(), 5);
}
