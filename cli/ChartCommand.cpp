#include <QApplication>
#include <QImage>
#include <charconv>
#include <memory>

#include "cli/CliGui.h"
#include "cli/Commands.h"
#include "cli/DataFile.h"
#include "cli/OutputFile.h"
#include "display/CDlgComponent.h"
#include "display/PngFile.h"
#include "display/ReadOnlyComponents.h"
#include "model/GbkCodec.h"
#include "report/ReportFonts.h"

namespace {

bool parseInt(std::string_view text, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
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

// Plain decimal only: no spaces, signs, hexadecimal or words.
bool parseScale(std::string_view text, float& scale) {
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), scale, std::chars_format::fixed);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() &&
           scale >= 0.5f && scale <= 4.0f;
}

}  // namespace

int chartCommand(const CliArguments& a, std::ostream& out, std::ostream& err) {
    QSize size(870, 370);
    float scale = 1.0f;
    int occurrence = 1;
    std::string problem;
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
    if (const int smallest = ChartArea::smallestWidth(CDlgComponent::stripWidthAt(scale));
        problem.empty() && size.width() < smallest) {
        problem = "面板宽 " + std::to_string(size.width()) + " 像素时图表区域为空：--scale " +
                  *a.value("--scale") + " 至少需要 --size " + std::to_string(smallest) + "x" +
                  std::to_string(size.height());
    }
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

    const auto app = CliGui::start(true);
    if (app) installReportFonts();
    ReadOnlyComponents components(loaded->components);
    CDlgComponent panel(components, nullptr);
    panel.resize(size);
    panel.setDisplayScale(scale);
    panel.SelectComponentMessage(index);
    const QImage picture = panel.grab().toImage();

    Result<QByteArray> png = PngFile::encode(picture);
    const Status saved =
        !png ? Status(Error{png.message()})
             : OutputFile::write(*a.value("-o"), std::string_view(png->constData(), png->size()),
                                 out);
    if (!saved) {
        err << saved.message() << '\n';
        return 1;
    }
    return 0;
}
