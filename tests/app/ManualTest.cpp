#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/HelpCommand.h"
#include "app/ManualIndex.h"
#include "app/ManualWindow.h"
#include "support/FireCommand.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompter.h"

namespace {

const QString docs = QStringLiteral(CORVANE_SOURCE_DIR "/docs");

QString readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

QStringList targets(const std::vector<const ManualIndex::Section*>& hits) {
    QStringList found;
    for (const ManualIndex::Section* s : hits) found << s->target();
    return found;
}

// A menu text as the manual writes it: without the key after the tab, the access key and the
// dots that announce a dialog.
QString shownName(QString text) {
    text = text.section(QLatin1Char('\t'), 0, 0);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
    text.remove(QStringLiteral("...")).remove(QChar(0x2026));
    return text.trimmed();
}

void collectTitles(const std::vector<MenuEntry>& entries, QStringList& titles) {
    for (const MenuEntry& e : entries) {
        if (e.kind != MenuEntry::Kind::Submenu) continue;
        titles << shownName(QString::fromUtf8(e.title));
        collectTitles(e.children, titles);
    }
}

}  // namespace

TEST(ManualIndex, FindsTheSectionsHoldingEveryWordOfTheirTextOnly) {
    const ManualIndex index({
        {"a.html", R"(<h1 id="a">甲</h1><p>保护层 厚度</p><h2 id="b">乙</h2><p>USB 连接<img
              src="udev.png"></p>)"},
        {"b.html", R"(<h1 id="c">丙</h1><p>厚度 &amp; 间距</p>)"},
    });
    const std::pair<const char*, QStringList> cases[] = {
        {"厚度", {"a.html#a", "b.html#c"}},
        {"usb  连接", {"a.html#b"}},  // case and repeated blanks ignored
        {"保护层 间距", {}},          // the words lie in two sections
        {"udev", {}},                 // inside a tag, not in the text
        {"&", {"b.html#c"}},
        {" ", {}},
    };
    for (const auto& [words, expected] : cases) {
        EXPECT_EQ(targets(index.find(QString::fromUtf8(words))), expected) << words;
    }
    EXPECT_EQ(index.pictures(), QStringList{"udev.png"});
    // The table of contents: each heading's text under its page.
    std::vector<std::pair<QString, int>> contents;
    for (const ManualIndex::Section& s : index.sections()) contents.emplace_back(s.title, s.level);
    EXPECT_EQ(contents, (std::vector<std::pair<QString, int>>{{"甲", 1}, {"乙", 2}, {"丙", 1}}));
    EXPECT_TRUE(index.has("a.html#b"));
    EXPECT_FALSE(index.has("b.html#b"));
}

// The pictures the manual and the README show are those scripts/screenshots makes, and no
// other lies in the folder; every link inside the manual and every section the program opens
// it at exist.
TEST(Manual, PicturesLinksAndSectionsAllExist) {
    const ManualIndex index = ManualIndex::fromFolder(docs);
    ASSERT_FALSE(index.pages().isEmpty());
    const QStringList inFolder = QDir(docs).entryList({QStringLiteral("*.png")}, QDir::Files);
    QStringList shown = index.pictures();
    shown.sort();
    EXPECT_EQ(shown.join(' ').toStdString(), inFolder.join(' ').toStdString());

    static const QRegularExpression readmePicture(QStringLiteral(R"(\]\(docs/([^)]+\.png)\))"));
    const QString readme = readFile(QStringLiteral(CORVANE_SOURCE_DIR "/README.md"));
    for (const QRegularExpressionMatch& m : readmePicture.globalMatch(readme)) {
        EXPECT_TRUE(shown.contains(m.captured(1))) << m.captured(1).toStdString();
    }

    static const QRegularExpression link(QStringLiteral(R"(href="([a-z-]+\.html[^"]*)\")"));
    for (const QString& page : index.pages()) {
        for (const QRegularExpressionMatch& m : link.globalMatch(readFile(docs + '/' + page))) {
            EXPECT_TRUE(index.has(m.captured(1)))
                << page.toStdString() << " → " << m.captured(1).toStdString();
        }
    }
    for (const auto& [window, section] : HelpCommand::sections()) {
        EXPECT_TRUE(ManualIndex::shipped().has(QString::fromLatin1(section))) << window;
    }
}

TEST(Manual, NamesEveryCommandAndMenuAsTheProgramShowsThem) {
    const QString text = ManualIndex::shipped().plainText();
    QStringList names;
    for (const CommandRow& row : commandTable()) {
        for (std::string_view t : {row.text, row.text128}) {
            if (!t.empty()) names << shownName(QString::fromUtf8(t.data(), qsizetype(t.size())));
        }
    }
    for (MenuBar bar : {MenuBar::M128, MenuBar::M129}) {
        for (const MenuPopup& popup : menuLayout(bar)) {
            names << shownName(QString::fromUtf8(popup.title));
            collectTitles(popup.entries, names);
        }
    }
    ASSERT_TRUE(names.contains(QStringLiteral("使用说明")));
    for (const QString& name : names) EXPECT_TRUE(text.contains(name)) << name.toStdString();
}

// F1 reaches the command's action in the frame and in a modal dialog alike; the manual opens
// at the section of the window that had the focus, in a window that one owns.
TEST(Manual, F1OpensTheManualAtTheSectionOfTheWindowWithTheFocus) {
    ScriptedPrompter prompter;
    CMainFrame frame(prompter, nullptr);
    frame.newDocument();
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

    const struct {
        int command;
        const char* dialog;
        QString section;
    } cases[] = {
        {ID_CREATE_PROJECT, "CDlgSetProject", "commands.html#set-project"},
        {ID_APP_ABOUT, "CAboutDlg", "commands.html#about"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        QString shown;
        QWidget* owner = nullptr;
        onNextModal<QDialog>([&](QDialog* dialog) {
            EXPECT_TRUE(dialog->inherits(c.dialog));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            if (auto* manual = dialog->findChild<ManualWindow*>()) {
                EXPECT_TRUE(manual->isVisible());
                EXPECT_EQ(manual->windowTitle(), QStringLiteral("使用说明"));
                shown = manual->shownTarget();
                owner = manual->parentWidget();
                EXPECT_FALSE(manual->browser()->toPlainText().isEmpty());
            }
            dialog->reject();
            if (owner != dialog) owner = nullptr;
        });
        fireCommand(frame, c.command);
        EXPECT_NE(owner, nullptr) << "no manual window owned by the dialog";
        EXPECT_EQ(shown, c.section);
    }

    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_F1);
    auto* manual = frame.findChild<ManualWindow*>();
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->isVisible());
    EXPECT_EQ(manual->shownTarget(), QStringLiteral("first-inspection.html"));
}
