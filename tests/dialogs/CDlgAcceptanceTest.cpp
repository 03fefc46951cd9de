#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <stdexcept>

#include "dialogs/CDlgAcceptance.h"
#include "support/ModelSamples.h"

namespace {

// A thickness component of ten points at the design cover of 50 mm but `failing` at 44 mm:
// 6 mm under, outside the slab's −5 mm and within 1.5 times it.
Component slabCandidate(std::string_view code, int failing) {
    std::vector<std::int16_t> covers(10, 50);
    std::fill_n(covers.begin(), failing, std::int16_t{44});
    return samples::withCovers(code, covers);
}

const Component& byCode(const ComponentList& list, std::string_view code) {
    for (const Component& c : list) {
        if (c.code.view() == code) return c;
    }
    throw std::logic_error("no such component");
}

QStringList column(const QTableView* view, int col) {
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        texts << view->model()->index(row, col).data().toString();
    }
    return texts;
}

QString text(const QDialog& d, const QString& name) {
    if (auto* label = d.findChild<QLabel*>(name)) return label->text();
    if (auto* notes = d.findChild<QPlainTextEdit*>(name)) return notes->toPlainText();
    return QStringLiteral("<no %1>").arg(name);
}

// Picks `choice` in the drop-down list of one cell, as a double-click and a click would.
void pick(QTableView* view, int row, int col, const QString& choice) {
    view->edit(view->model()->index(row, col));
    auto* combo = view->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    combo->setCurrentText(choice);
    emit combo->activated(combo->currentIndex());
}

QPushButton* button(const QDialog& d, const QString& text) {
    for (auto* b : d.findChildren<QPushButton*>()) {
        if (b->text() == text) return b;
    }
    return nullptr;
}

}  // namespace

TEST(CDlgAcceptance, MarksSetOnSeveralRowsAtOnceAreJudgedLiveAndReturnedOnOkOnly) {
    const ComponentList list{slabCandidate("H001", 2), slabCandidate("H002", 1),
                             samples::withPoints("Z001", 3), samples::withPoints("W001", 2, 3),
                             samples::withPoints("P001", 2)};
    // A diameter component's mark is not the dialog's to show, but it must survive.
    const AcceptanceMarks given{{&byCode(list, "Z001"), {AcceptanceClass::Beam}},
                                {&byCode(list, "W001"), {AcceptanceClass::Beam}}};

    CDlgAcceptance d(list, given);
    d.show();
    QTableView* view = d.componentList();
    EXPECT_EQ(d.windowTitle(), "验收判定");
    EXPECT_EQ(column(view, 0), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(column(view, 1), (QStringList{"H001", "H002", "W001", "P001"}));
    EXPECT_EQ(column(view, 5), (QStringList{"不参与", "不参与", "梁类", "不参与"}));
    EXPECT_EQ(text(d, "verdict_beam"), "不合格");
    EXPECT_EQ(text(d, "reason_slab"), "没有标为板类的构件。");

    // The first row starts selected; Shift+Down takes the second one too.
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyRelease(view, Qt::Key_Shift);  // else Qt holds Shift down for the later selections
    button(d, "板类(&S)")->click();
    EXPECT_EQ(column(view, 5), (QStringList{"板类", "板类", "梁类", "不参与"}));
    EXPECT_EQ(column(view, 6), (QStringList{"第一次抽样", "第一次抽样", "第一次抽样", ""}));
    EXPECT_EQ(text(d, "verdict_slab"), "复检");
    EXPECT_EQ(text(d, "reason_slab"),
              "合格 17 点 / 共 20 点，低于 90%、不低于 80%：可再抽取 2 个构件作第二次抽样");

    // H001 goes to the second sample, which leaves H002 alone in the first one at 90 %.
    view->selectRow(0);
    button(d, "第二次抽样(&2)")->click();
    EXPECT_EQ(column(view, 6), (QStringList{"第二次抽样", "第一次抽样", "第一次抽样", ""}));
    EXPECT_EQ(text(d, "figure0_slab"), "2（第一次抽样 1）");
    EXPECT_EQ(text(d, "verdict_slab"), "合格");
    EXPECT_EQ(text(d, "reason_slab"), "第一次抽样合格 9 点 / 共 10 点，不低于 90%：合格");
    EXPECT_EQ(text(d, "notices_slab"), "板类第一次抽样构件少于 5 个（1 个）。");

    // A sample needs a class: with only P001 selected the sample buttons are off.
    view->selectRow(3);
    EXPECT_TRUE(button(d, "梁类(&B)")->isEnabled());
    EXPECT_FALSE(button(d, "第一次抽样(&1)")->isEnabled());

    // One row's class through its cell's drop-down list.
    pick(view, 2, 5, "不参与");
    EXPECT_EQ(column(view, 5), (QStringList{"板类", "板类", "不参与", "不参与"}));
    EXPECT_EQ(text(d, "verdict_beam"), "—");

    EXPECT_EQ(d.marks(), given);
    d.accept();
    const AcceptanceMarks expected{
        {&byCode(list, "Z001"), {AcceptanceClass::Beam}},
        {&byCode(list, "H001"), {AcceptanceClass::Slab, AcceptanceSample::Second}},
        {&byCode(list, "H002"), {AcceptanceClass::Slab, AcceptanceSample::First}}};
    EXPECT_EQ(d.marks(), expected);

    // All rows through each class button in turn: a classed row changing class keeps its
    // sample, 不参与 forgets it.
    CDlgAcceptance cancelled(list, given);
    QTableView* all = cancelled.componentList();
    pick(all, 2, 6, "第二次抽样");
    all->selectAll();
    const struct {
        const char* button;
        QStringList classes;
        QStringList samples;
    } steps[] = {
        {"梁类(&B)",
         {"梁类", "梁类", "梁类", "梁类"},
         {"第一次抽样", "第一次抽样", "第二次抽样", "第一次抽样"}},
        {"不参与(&N)", {"不参与", "不参与", "不参与", "不参与"}, {"", "", "", ""}},
        {"板类(&S)",
         {"板类", "板类", "板类", "板类"},
         {"第一次抽样", "第一次抽样", "第一次抽样", "第一次抽样"}},
    };
    for (const auto& step : steps) {
        button(cancelled, step.button)->click();
        EXPECT_EQ(column(all, 5), step.classes) << step.button;
        EXPECT_EQ(column(all, 6), step.samples) << step.button;
    }
    cancelled.reject();
    EXPECT_EQ(cancelled.marks(), given);
}

// "0 mm" would read as a point on design, so a side without a judged point shows "—".
TEST(CDlgAcceptance, EachSideOfDesignWithoutAJudgedPointShowsADash) {
    const std::pair<std::int16_t, QStringList> cases[] = {// one cover; the design is 50 mm
                                                          {53, {"+3 mm", "—"}},
                                                          {47, {"—", "-3 mm"}},
                                                          {50, {"0 mm", "0 mm"}},
                                                          {0, {"—", "—"}}};
    for (const auto& [cover, texts] : cases) {
        ComponentList list{samples::withPoints("H001", 1)};
        list.front().points[0].thickness = cover;
        CDlgAcceptance d(list, {{&list.front(), {AcceptanceClass::Beam}}});
        EXPECT_EQ(QStringList({text(d, "figure5_beam"), text(d, "figure6_beam")}), texts) << cover;
    }
}

// The window, its frame counted, fits the screen less its task bar with the buttons in it, and
// the list scrolls instead; where the roomy size fits it is kept. A shown parent's frame (2
// pixels here) stands for the dialog's own; without one, a title bar of 32 and borders of 8.
TEST(CDlgAcceptance, FitsTheScreenWithItsButtonsAndTheListScrolls) {
    ComponentList list;
    for (int i = 0; i < 60; ++i) list.push_back(slabCandidate("H" + std::to_string(100 + i), 0));
    QWidget framed;
    framed.move(100, 50);
    framed.show();
    QWidget frameless(nullptr, Qt::FramelessWindowHint);
    frameless.show();
    const struct {
        QSize available;
        QWidget* parent;
        QSize size;
    } cases[] = {
        {{1920, 1040}, nullptr, {940, 720}},
        {{1366, 728}, nullptr, {940, 652}},  // 95 %: 1298 × 692
        {{900, 728}, &framed, {851, 688}},
        {{900, 728}, &frameless, {839, 652}},
    };
    for (const auto& c : cases) {
        CDlgAcceptance d(list, {}, c.parent);
        d.fitTo(c.available);
        d.show();
        EXPECT_EQ(d.size(), c.size) << c.available.width() << " " << c.parent;
        const QPushButton* ok = button(d, "确定");
        EXPECT_TRUE(d.rect().contains(QRect(ok->mapTo(&d, QPoint()), ok->size())));
        EXPECT_GT(d.componentList()->verticalScrollBar()->maximum(), 0);
    }
}
