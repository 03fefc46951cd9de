#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "display/CDlgComponent.h"
#include "display/ReadOnlyComponents.h"
#include "model/UploadFile.h"
#include "support/ModelSamples.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

namespace {

// The installed program as a user runs it: no display, no platform chosen, no runtime folder
// (a cron job).
ProgramRun cli(const QStringList& args) {
    std::vector<std::string> words{"chart"};
    for (const QString& a : args) words.push_back(a.toStdString());
    return runCli(words);
}

class ChartCommand : public testing::Test {
protected:
    ChartCommand() {
        list.push_back(samples::withPoints("P001", 3));
        list.push_back(samples::withPoints("W001", 40, 6));
        list.push_back(samples::withPoints("P001", 7));  // the same code again
        list.back().name.assign("second");
        EXPECT_TRUE(UploadFile::save(dir / "in.vexo", list).ok());
    }
    QString path(const char* name) const { return QString::fromStdString((dir / name).string()); }

    // The panel of this process, under its offscreen platform, grabbed as the view shows it.
    QImage grabbed(int index, QSize size, float scale) {
        ReadOnlyComponents components(list);
        CDlgComponent panel(components, nullptr);
        panel.resize(size);
        panel.setDisplayScale(scale);
        EXPECT_TRUE(panel.SelectComponentMessage(index));
        return panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    TempDir dir;
    ComponentList list;
};

}  // namespace

TEST_F(ChartCommand, PicturesArePixelForPixelThePanelsGrab) {
    const struct {
        QStringList args;
        int index;
        QSize size;
        float scale;
    } cases[] = {
        {{"--component", "P001"}, 0, {870, 370}, 1.0f},
        {{"--component", "P001", "--occurrence", "2"}, 2, {870, 370}, 1.0f},
        {{"--component", "W001", "--size", "1200x500", "--scale", "1.5"}, 1, {1200, 500}, 1.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QStringList args{path("in.vexo")};
        args << c.args << QStringLiteral("-o") << path("out.png");
        const ProgramRun run = cli(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");  // not even Qt's warnings
        const QImage picture = QImage(path("out.png")).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(picture.size(), c.size);
        EXPECT_TRUE(picture == grabbed(c.index, c.size, c.scale));
        // The strip is 120 × f + 1 wide, its line right after it.
        const int strip = static_cast<int>(120 * c.scale + 1);
        EXPECT_EQ(picture.pixelColor(strip - 1, 100), picture.pixelColor(0, 100));
        EXPECT_NE(picture.pixelColor(strip, 100), picture.pixelColor(0, 100));
        EXPECT_EQ(picture.pixelColor(strip + 2, 20), QColor(Qt::white));
    }
    // The two P001 differ, so the occurrence did choose.
    EXPECT_FALSE(grabbed(0, {870, 370}, 1) == grabbed(2, {870, 370}, 1));
}

TEST_F(ChartCommand, FailuresExitWithAMessageAndWriteNothing) {
    const struct {
        QStringList args;
        int status;
        const char* message;
    } cases[] = {
        {{path("none.vexo"), "--component", "P001"}, 1, "none.vexo"},
        {{path("in.vexo"), "--component", "H001"}, 1, "没有第 1 个编号为 H001 的构件"},
        {{path("in.vexo"), "--component", "P001", "--occurrence", "3"}, 1, "没有第 3 个"},
        {{path("in.vexo"), "--component", "P001", "--size", "870"}, 2, "--size"},
        {{path("in.vexo"), "--component", "P001", "--scale", "x"}, 2, "--scale"},
        {{path("in.vexo"), "--component", "P001", "--occurrence", "0"}, 2, "--occurrence"},
        {{path("in.vexo"), "--component", "P001", "--scale", " 1"}, 2, "--scale"},
        {{path("in.vexo"), "--component", "P001", "--scale", "0x1p1"}, 2, "--scale"},
        {{path("in.vexo"), "--component", "P001", "--scale", "4"},
         2,
         "面板宽 870 像素时图表区域为空：--scale 4 至少需要 --size 1208x370"},
        {{path("in.vexo"), "--component", "P001", "--scale", "1.5", "--size", "400x300"},
         2,
         "--scale 1.5 至少需要 --size 453x300"},
        {{path("in.vexo"), "--component", "P001", "-o", path("other.png")},
         2,
         "选项 -o 只能给一次"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QStringList args = c.args;
        args << QStringLiteral("-o") << path("bad.png");
        const ProgramRun run = cli(args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(QFile::exists(path("bad.png")));
    }
}
