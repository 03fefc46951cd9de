#include "app/ViewTableReport.h"

#include "display/SummaryLayout.h"
#include "model/ComponentSummary.h"
#include "model/DetectionType.h"
#include "report/Report.h"
#include "session/GbkQt.h"

namespace {

QString fieldName(std::size_t summaryText) {
    return QStringLiteral("S%1").arg(summaryText);
}

}  // namespace

ReportTemplate ViewTableReport::layout(DetectionType shownType) {
    ReportTemplate t;
    t.title = QString::fromUtf8(displayText(shownType)) + QStringLiteral("构件列表");
    t.headerRows = {{{QStringLiteral("工程名称"), QStringLiteral("ProjectName"), 1}}};
    t.columnHeaderHeight = 10;  // room for the band's two-line captions
    // Widths at scale 1 keep the band's proportions once scaled to the page.
    for (const SummaryColumn& c : SummaryLayout::columns(summaryLayoutOf(shownType), 1.0f)) {
        // The band's rows put the name on the left and every other text in the middle.
        t.columns.push_back({fieldName(c.field),
                             QString::fromUtf8(c.caption),
                             {},
                             static_cast<double>(c.width),
                             c.field == 1 ? Qt::AlignLeft : Qt::AlignHCenter});
    }
    return t;
}

ViewTableReport::ViewTableReport(Report& report, const Project& project, DetectionType shownType)
    : report_(report), project_(project), shownType_(shownType) {}

Status ViewTableReport::beforeGeneration() {
    fields_.clear();
    for (const SummaryColumn& c : SummaryLayout::columns(summaryLayoutOf(shownType_), 1.0f)) {
        Result<ReportField*> f = report_.fieldByName(fieldName(c.field));
        if (!f) return Status::failure(f.message());
        fields_.emplace_back(c.field, f.value());
    }
    Result<ReportParameter*> name = report_.parameterByName(QStringLiteral("ProjectName"));
    if (!name) return Status::failure(name.message());
    const ProjectInfo* info = project_.info();
    name.value()->setText(info ? fromGbk(info->projectName.str()) : QString());
    return {};
}

Status ViewTableReport::rowsWanted(bool&) {
    Result<ReportDetailGrid*> grid = report_.detailGrid();
    if (!grid) return Status::failure(grid.message());
    ReportRecordset& records = grid.value()->recordset();
    for (const Component& component : project_.components()) {
        if (component.type() != shownType_) continue;
        const ComponentSummary summary = BuildComponentSummary(component);
        if (Status s = records.append(); !s) return s;
        for (const auto& [text, field] : fields_) {
            if (Status s = field->setText(fromGbk(summary[text])); !s) return s;
        }
        if (Status s = records.post(); !s) return s;
    }
    return {};
}
