#include "report/ReportTables.h"

#include <array>

namespace {

constexpr std::array<ReportTable, 4> tables{{
    {ReportKind::Thickness, "thickness", "钢筋混凝土保护层厚度检测记录表", "VexoDepthReport.grf"},
    {ReportKind::Diameter, "diameter", "钢筋公称直径检测记录表", "VexoDiameterReport.grf"},
    {ReportKind::Spacing, "spacing", "钢筋间距检测记录表", "VexoDistanceReport.grf"},
    {ReportKind::Acceptance, "acceptance", "钢筋保护层厚度验收判定表", "VexoAcceptanceReport.grf"},
}};

}  // namespace

std::span<const ReportTable> reportTables() {
    return tables;
}

const ReportTable* reportTable(ReportKind kind) {
    for (const auto& t : tables) {
        if (t.kind == kind) return &t;
    }
    return nullptr;
}

const ReportTable* reportTableNamed(std::string_view name) {
    for (const auto& t : tables) {
        if (t.name == name) return &t;
    }
    return nullptr;
}
