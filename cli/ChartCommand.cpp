#include <QApplication>
#include <QImage>
#include <charconv>
#include <memory>

#include "cli/CliGui.h"
#include "cli/Commands.h"
#include "cli/DataFile.h"
#include "cli/OutputFile.h"
#include "display/PanelPicture.h"
#include "display/PngFile.h"
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

struct ChartOptions {
    QSize size{870, 370};
    float scale = 1.0f;
    int occurrence = 1;
};

// The options, or the problem with them.
ChartOptions chartOptions(const CliArguments& a, std::string& problem) {
    ChartOptions o;
    if (a.positional().size() != 1 || !a.value("--component") || !a.value("-o")) {
        problem = "chart 需要一个数据文件、--component CODE 和 -o OUT.png";
    } else if (a.value("--size") && !parseSize(*a.value("--size"), o.size)) {
        problem = "--size 应为 宽x高，每边 100 到 10000 像素";
    } else if (a.value("--scale") && !parseScale(*a.value("--scale"), o.scale)) {
        problem = "--scale 应为 0.5 到 4 之间的数";
    } else if (a.value("--occurrence") &&
               (!parseInt(*a.value("--occurrence"), o.occurrence) || o.occurrence < 1)) {
        problem = "--occurrence 应为正整数";
    } else if (const int smallest = ChartArea::smallestWidth(PanelPicture::stripWidthAt(o.scale),
                                                             PanelPicture::factorAt(o.scale));
               o.size.width() < smallest) {
        problem = "面板宽 " + std::to_string(o.size.width()) + " 像素时图表区域为空：--scale " +
                  *a.value("--scale") + " 至少需要 --size " + std::to_string(smallest) + "x" +
                  std::to_string(o.size.height());
    }
    return o;
}

}  // namespace

std::string chartCheck(const CliArguments& a) {
    std::string problem;
    chartOptions(a, problem);
    return problem;
}

int chartCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    const CliArguments& a = input.args;
    const std::string& source = input.source;
    std::string problem;
    const ChartOptions o = chartOptions(a, problem);  // checked
    const std::string code = *a.value("--component");
    const Component* chosen = nullptr;
    int seen = 0;
    for (const Component& c : input.file.components) {
        if (gbk::toUtf8(c.code.view()) == code && ++seen == o.occurrence) {
            chosen = &c;
            break;
        }
    }
    if (!chosen) {
        err << source << ": 没有第 " << o.occurrence << " 个编号为 " << code << " 的构件\n";
        return 1;
    }

    const auto app = CliGui::start(true);
    if (app) installReportFonts();
    const QImage picture = PanelPicture::render(*chosen, o.size, o.scale);

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
