#include <string>

#include "cli/CliArguments.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/DataFile.h"
#include "cli/TextTable.h"
#include "model/ComponentFields.h"
#include "model/ComponentSummary.h"
#include "model/GbkCodec.h"
#include "model/JsonText.h"

namespace {

template <std::size_t N>
std::string jsonText(const FixedText<N>& text) {
    return jsonString(gbk::toUtf8(text.view()));
}

void printPointsJson(std::ostream& out, const std::vector<MeasurePoint>& points) {
    out << '[';
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& p = points[i];
        out << (i ? "," : "") << "{\"diameter\":" << p.diameter << ",\"thickness\":" << p.thickness
            << ",\"position\":" << p.position << '}';
    }
    out << ']';
}

// All fifteen texts, empty ones included, so a reader can index them by their fixed order.
void printSummaryJson(std::ostream& out, const Component& c) {
    const ComponentSummary summary = BuildComponentSummary(c);
    out << '[';
    for (std::size_t i = 0; i < ComponentSummary::count; ++i) {
        out << (i ? "," : "") << jsonString(gbk::toUtf8(summary[i]));
    }
    out << ']';
}

void printJson(std::ostream& out, const DataFile& file) {
    out << "{\"kind\":";
    switch (file.kind) {
        case DataFile::Kind::Project:
            out << "\"project\"";
            break;
        case DataFile::Kind::Upload:
            out << "\"upload\"";
            break;
        case DataFile::Kind::None:
            out << "null";
            break;
    }
    if (file.kind == DataFile::Kind::Project && file.info) {
        const ProjectInfo& info = *file.info;
        out << ",\"project\":{\"projectName\":" << jsonText(info.projectName)
            << ",\"testBasis\":" << jsonText(info.testBasis)
            << ",\"testUnit\":" << jsonText(info.testUnit)
            << ",\"instrument\":" << jsonText(info.instrument) << '}';
    }
    out << ",\"components\":[";
    bool first = true;
    for (const auto& c : file.components) {
        out << (first ? "" : ",") << "\n{\"code\":" << jsonText(c.code)
            << ",\"name\":" << jsonText(c.name) << ",\"date\":" << jsonText(c.date);
        first = false;
        for (const auto& f : componentFields) out << ",\"" << f.name << "\":" << c.*f.member;
        out << ",\"points\":";
        printPointsJson(out, c.points);
        out << ",\"pointsVert\":";
        printPointsJson(out, c.pointsVert);
        out << ",\"summary\":";
        printSummaryJson(out, c);
        out << '}';
    }
    out << "],\"complete\":" << (file.complete() ? "true" : "false")
        << ",\"error\":" << (file.damage.empty() ? "null" : jsonString(file.damage)) << "}\n";
}

std::string pair(const Component& c, std::int16_t horizontal, std::int16_t vertical) {
    if (c.hasVerticalList()) {
        return std::to_string(horizontal) + "," + std::to_string(vertical);
    }
    return std::to_string(horizontal);
}

void printPointTable(std::ostream& out, const std::vector<MeasurePoint>& points) {
    TextTable table({"序号", "钢筋直径", "保护层厚度", "间距"});
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& p = points[i];
        table.addRow({std::to_string(i + 1), std::to_string(p.diameter),
                      std::to_string(p.thickness), std::to_string(p.position)});
    }
    table.print(out, "  ");
}

void printText(std::ostream& out, const DataFile& file) {
    if (file.kind == DataFile::Kind::Project) {
        out << "文件类型: 钢筋位置工程文件\n";
        if (file.info) {
            out << "工程名称: " << gbk::toUtf8(file.info->projectName.view()) << '\n'
                << "检测依据: " << gbk::toUtf8(file.info->testBasis.view()) << '\n'
                << "检测单位: " << gbk::toUtf8(file.info->testUnit.view()) << '\n'
                << "仪器型号: " << gbk::toUtf8(file.info->instrument.view()) << '\n';
        }
    } else {
        out << "文件类型: 钢筋位置上传数据文件\n";
    }
    out << "构件数: " << file.components.size() << "\n\n";
    if (file.components.empty()) return;

    TextTable table({"序号", "构件编号", "构件名称", "检测类型", "日期", "钢筋直径", "保护层厚度",
                     "配筋间距", "直径偏差", "厚度偏差", "间距偏差", "测点数"});
    int row = 0;
    for (const auto& c : file.components) {
        table.addRow({std::to_string(++row), gbk::toUtf8(c.code.view()), gbk::toUtf8(c.name.view()),
                      std::string(displayText(c.type())), gbk::toUtf8(c.date.view()),
                      pair(c, c.designDiameter, c.designDiameterVert),
                      pair(c, c.designCover, c.designCoverVert),
                      pair(c, c.designSpacing, c.designSpacingVert),
                      std::to_string(c.diameterTolerance), std::to_string(c.thicknessTolerance),
                      std::to_string(c.spacingTolerance), pair(c, c.pointCount, c.pointCountVert)});
    }
    table.print(out);

    row = 0;
    for (const auto& c : file.components) {
        ++row;
        if (c.points.empty() && c.pointsVert.empty()) continue;
        const bool grid = c.hasVerticalList();
        out << '\n'
            << row << ". " << gbk::toUtf8(c.code.view()) << (grid ? " 水平测点:\n" : " 测点:\n");
        printPointTable(out, c.points);
        if (!c.pointsVert.empty()) {
            out << row << ". " << gbk::toUtf8(c.code.view()) << " 垂直测点:\n";
            printPointTable(out, c.pointsVert);
        }
    }
}

}  // namespace

std::string showCheck(const CliArguments& a) {
    return a.positional().size() == 1 ? "" : "show 需要一个文件";
}

int showCommand(CliInput& input, std::ostream& out, std::ostream& err) {
    const DataFile& file = input.file;
    if (input.args.has("--json")) {
        printJson(out, file);
    } else if (file.kind != DataFile::Kind::None) {
        printText(out, file);
    }
    if (!file.complete()) {
        err << input.source << ": " << file.damage << '\n';
        return 1;
    }
    return 0;
}
