#include <QApplication>
#include <QImage>
#include <QSaveFile>
#include <charconv>
#include <memory>

#include "cli/CliArguments.h"
#include "cli/Commands.h"
#include "cli/DataFile.h"
#include "display/CDlgComponent.h"
#include "display/ReadOnlyComponents.h"
#include "model/GbkCodec.h"
#include "report/ReportFonts.h"

namespace {

// Widgets need an application object; the picture must not depend on a display, so the
// offscreen platform is chosen whatever the environment says.
std::unique_ptr<QApplication> startWidgets() {
    if (QCoreApplication::instance()) return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "corvane-cli";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QApplication>(argc, argv);
    installReportFonts();
    return app;
}

bool parseInt(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// "WxH", each side 100 to 10000 pixels.
bool parseSize(const std::string& text, QSize& size) {
    const auto x = text.find('x');
    int w = 0, h = 0;
    if (x == std::string::npos || !parseInt(std::string_view(text).substr(0, x), w) ||
        !parseInt(std::string_view(text).substr(x + 1), h)) {
        return false;
    }
    if (w < 100 || h < 100 || w > 10000 || h > 10000) return false;
    size = QSize(w, h);
    return true;
}

bool parseScale(const std::string& text, float& scale) {
    try {
        std::size_t used = 0;
        scale = std::stof(text, &used);
        return used == text.size() && scale >= 0.5f && scale <= 4.0f;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

int chartCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    CliArguments a({"--component", "--occurrence", "--size", "--scale", "-o"}, {});
    const Status parsed = a.parse(args);
    QSize size(870, 370);
    float scale = 1.0f;
    int occurrence = 1;
    std::string problem = !parsed ? parsed.message() : std::string();
    if (problem.empty() &&
        (a.positional().size() != 1 || !a.value("--component") || !a.value("-o")))
        problem = "chart 需要一个数据文件、--component CODE 和 -o OUT.png";
    if (problem.empty() && a.value("--size") && !parseSize(*a.value("--size"), size))
        problem = "--size 应为 宽x高，每边 100 到 10000 像素";
    if (problem.empty() && a.value("--scale") && !parseScale(*a.value("--scale"), scale))
        problem = "--scale 应为 0.5 到 4 之间的数";
    if (problem.empty() && a.value("--occurrence") &&
        (!parseInt(*a.value("--occurrence"), occurrence) || occurrence < 1))
        problem = "--occurrence 应为正整数";
    if (!problem.empty()) {
        err << problem << '\n' << usageText();
        return 2;
    }

    const std::string& source = a.positional()[0];
    const std::optional<DataFile> loaded = DataFile::loadWholeFor(source, err);
    if (!loaded) return 1;
    const std::string code = *a.value("--component");
    int index = -1, seen = 0, i = 0;
    for (const Component& c : loaded->components) {
        if (gbk::toUtf8(c.code.view()) == code && ++seen == occurrence) {
            index = i;
            break;
        }
        ++i;
    }
    if (index < 0) {
        err << source << ": 没有第 " << occurrence << " 个编号为 " << code << " 的构件\n";
        return 1;
    }

    const auto app = startWidgets();
    ReadOnlyComponents components(loaded->components);
    CDlgComponent panel(components, nullptr);
    panel.resize(size);
    panel.setDisplayScale(scale);
    panel.SelectComponentMessage(index);
    const QImage picture = panel.grab().toImage();

    const QString out = QString::fromStdString(*a.value("-o"));
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
        err << "无法写入 " << *a.value("-o") << "：" << file.errorString().toStdString() << '\n';
        return 1;
    }
    return 0;
}
