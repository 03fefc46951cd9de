#include "report/Report.h"

#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>

#include "report/ReportEvents.h"
#include "report/ReportPainter.h"
#include "report/ReportPresenter.h"

namespace {

constexpr double plainColumnWidth = 20;
constexpr std::size_t plainBoxesPerRow = 2;

std::string quoted(const QString& name) {
    return "“" + name.toStdString() + "”";
}

}  // namespace

Report::Report(ReportPresenter* presenter) : presenter_(presenter) {}

Report::~Report() = default;

Status Report::loadFromFile(const QString& path) {
    Result<ReportTemplate> loaded = ReportTemplate::load(path);
    if (!loaded) {
        parameters_.clear();
        fields_.clear();
        grid_.recordset().clear();
        template_.reset();
        return Status::failure(loaded.message());
    }
    setTemplate(std::move(loaded).value());
    return {};
}

void Report::setTemplate(ReportTemplate layout) {
    parameters_.clear();
    fields_.clear();
    grid_.recordset().clear();
    template_ = std::move(layout);
    for (const auto& row : template_->headerRows) {
        for (const auto& box : row) {
            if (!parameterByName(box.parameter)) addParameter(box.parameter);
        }
    }
    for (const auto& column : template_->columns) {
        if (!fieldByName(column.field)) addField(column.field);
    }
}

QString Report::title() const {
    return template_ ? template_->title : QString();
}

ReportParameter* Report::addParameter(const QString& name) {
    return parameters_.emplace_back(std::make_unique<ReportParameter>(name, parameterClock_)).get();
}

ReportField* Report::addField(const QString& name) {
    return fields_
        .emplace_back(std::make_unique<ReportField>(name, fields_.size(), grid_.recordset()))
        .get();
}

Result<ReportParameter*> Report::parameterByName(const QString& name) {
    for (const auto& p : parameters_) {
        if (p->name() == name) return p.get();
    }
    if (!template_) return addParameter(name);
    return Error{"报表模板中没有参数" + quoted(name)};
}

Result<ReportField*> Report::fieldByName(const QString& name) {
    for (const auto& f : fields_) {
        if (f->name() == name) return f.get();
    }
    if (!template_) return addField(name);
    return Error{"报表模板中没有字段" + quoted(name)};
}

Result<ReportDetailGrid*> Report::detailGrid() {
    if (template_ && !template_->hasDetail) return Error{"报表模板中没有明细表"};
    return &grid_;
}

Status Report::connectEvents(ReportEvents* events) {
    if (!events) return Status::failure("没有可连接的报表事件接收者");
    events_ = events;
    return {};
}

Status Report::generate() {
    grid_.recordset().clear();
    if (!events_) return {};
    if (Status s = events_->beforeGeneration(); !s) return s;
    bool askAgain = false;
    do {
        askAgain = false;
        if (Status s = events_->rowsWanted(askAgain); !s) return s;
    } while (askAgain);
    return {};
}

Status Report::print(bool showPrintDialog) {
    if (!presenter_) return Status::failure("报表没有打印输出");
    return presenter_->print(*this, showPrintDialog);
}

Status Report::printPreview(bool modal) {
    if (!presenter_) return Status::failure("报表没有预览输出");
    return presenter_->preview(*this, modal);
}

void Report::applyPageLayout(QPagedPaintDevice& device) const {
    const ReportTemplate& t = template_ ? *template_ : ReportTemplate{};
    device.setPageLayout(
        QPageLayout(t.pageSize, t.orientation, t.margins, QPageLayout::Millimeter));
}

ReportTemplate Report::effectiveTemplate() const {
    if (template_) return *template_;
    ReportTemplate plain;
    for (const auto& p : parameters_) {
        if (plain.headerRows.empty() || plain.headerRows.back().size() == plainBoxesPerRow) {
            plain.headerRows.emplace_back();
        }
        plain.headerRows.back().push_back({p->name(), p->name(), 1});
    }
    for (const auto& f : fields_)
        plain.columns.push_back({f->name(), f->name(), {}, plainColumnWidth});
    return plain;
}

Status Report::render(QPagedPaintDevice& device) {
    if (Status s = generate(); !s) return s;
    const ReportTemplate layout = effectiveTemplate();

    ReportContent content;
    for (const auto& row : layout.headerRows) {
        for (const auto& box : row) {
            Result<ReportParameter*> p = parameterByName(box.parameter);
            content.headerValues.push_back(p && p.value()->value() ? *p.value()->value()
                                                                   : QString());
        }
    }
    std::vector<std::size_t> fieldOfColumn;
    for (const auto& column : layout.columns) {
        Result<ReportField*> f = fieldByName(column.field);
        fieldOfColumn.push_back(f.value()->index());
    }
    const auto& records = grid_.recordset().records();
    content.rowCount = static_cast<int>(records.size());
    content.cell = [&](int row, int column) {
        const auto& record = records[static_cast<std::size_t>(row)];
        const std::size_t field = fieldOfColumn[static_cast<std::size_t>(column)];
        return field < record.size() ? reportValueText(record[field]) : QString();
    };

    ReportPainter painter(layout, content);
    Status painted = painter.paint(device);
    pageCount_ = painter.pageCount();
    return painted;
}

Status Report::writePdf(const QString& path) {
    QSaveFile file(path);
    const auto failed = [&](const QString& why) {
        return Status::failure(QStringLiteral("无法写入文件 %1：%2")
                                   .arg(QDir::toNativeSeparators(path), why)
                                   .toStdString());
    };
    if (!file.open(QIODevice::WriteOnly)) return failed(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Corvane"));
        writer.setTitle(title());
        applyPageLayout(writer);
        if (Status s = render(writer); !s) {
            file.cancelWriting();
            return s;
        }
    }
    if (!file.commit()) return failed(file.errorString());
    return {};
}

std::vector<const ReportParameter*> Report::parametersSet() const {
    std::vector<const ReportParameter*> set;
    for (const auto& p : parameters_) {
        if (p->value()) set.push_back(p.get());
    }
    std::sort(set.begin(), set.end(), [](const ReportParameter* a, const ReportParameter* b) {
        return a->firstSet() < b->firstSet();
    });
    return set;
}
