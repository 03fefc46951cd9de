#include <sstream>

#include "cli/CliArguments.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/DataFile.h"
#include "cli/OutputFile.h"
#include "model/ComponentFields.h"
#include "model/GbkCodec.h"

namespace {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

void writeRows(std::ostream& csv, const Component& c, const std::vector<MeasurePoint>& points,
               const char* direction) {
    const std::string head = csvField(gbk::toUtf8(c.code.view())) + ',' +
                             csvField(gbk::toUtf8(c.name.view())) + ',' +
                             csvField(gbk::toUtf8(c.date.view())) + ',' +
                             std::string(displayText(c.type())) + ',' + direction;
    std::ostringstream tail;
    // The six design values and three tolerances: all fields but the two counts.
    for (std::size_t i = 0; i + 2 < componentFields.size(); ++i) {
        tail << ',' << c.*componentFields[i].member;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& p = points[i];
        csv << head << ',' << i + 1 << ',' << p.diameter << ',' << p.thickness << ',' << p.position
            << tail.str() << "\r\n";
    }
}

}  // namespace

std::string exportCsvCheck(const CliArguments& a) {
    return a.positional().size() == 1 ? "" : "export-csv 需要一个文件";
}

int exportCsvCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    const DataFile& file = input.file;

    std::ostringstream csv;
    csv << "\xEF\xBB\xBF"
           "构件编号,构件名称,日期,检测类型,方向,测点序号,钢筋直径,保护层厚度,间距,"
           "钢筋直径设计值,垂直钢筋直径设计值,保护层厚度设计值,垂直保护层厚度设计值,"
           "配筋间距设计值,垂直配筋间距设计值,直径偏差值,厚度偏差值,间距偏差值\r\n";
    for (const auto& c : file.components) {
        writeRows(csv, c, c.points, "X");
        writeRows(csv, c, c.pointsVert, "Y");
    }

    if (Status s = OutputFile::write(input.args.value("-o").value_or("-"), csv.str(), out);
        !s.ok()) {
        err << s.message() << '\n';
        return 1;
    }
    return 0;
}
