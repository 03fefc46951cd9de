#include "report/Report.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <algorithm>

#include "model/FileIo.h"
#include "report/ReportEvents.h"
#include "report/ReportPainter.h"
#include "report/ReportPresenter.h"

namespace {

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
    if (!template_->noteField.isEmpty()) addField(template_->noteField);
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
    return Error{"报表模板中没有参数" + quoted(name)};
}

Result<ReportField*> Report::fieldByName(const QString& name) {
    for (const auto& f : fields_) {
        if (f->name() == name) return f.get();
    }
    return Error{"报表模板中没有字段" + quoted(name)};
}

Result<ReportDetailGrid*> Report::detailGrid() {
    if (!template_ || !template_->hasDetail) return Error{"报表模板中没有明细表"};
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

Status Report::render(QPagedPaintDevice& device) {
    if (!template_) return Status::failure("报表没有模板");
    if (Status s = generate(); !s) return s;
    const ReportTemplate& layout = *template_;

    const ReportContent content = this->content();
    ReportPainter painter(layout, content);
    Status painted = painter.paint(device);
    pageCount_ = painter.pageCount();
    return painted;
}

ReportContent Report::content() const {
    ReportContent content;
    if (!template_) return content;
    const ReportTemplate& layout = *template_;
    const auto indexOf = [this](const QString& field) {
        for (const auto& f : fields_) {
            if (f->name() == field) return f->index();
        }
        return fields_.size();  // never: the template's fields are all added
    };
    for (const auto& row : layout.headerRows) {
        for (const auto& box : row) {
            const ReportParameter* found = nullptr;
            for (const auto& p : parameters_) {
                if (p->name() == box.parameter) found = p.get();
            }
            content.headerValues.push_back(found && found->value() ? *found->value() : QString());
        }
    }
    std::vector<std::size_t> fieldOfColumn;
    for (const auto& column : layout.columns) fieldOfColumn.push_back(indexOf(column.field));
    const auto* records = &grid_.recordset().records();
    content.rowCount = static_cast<int>(records->size());
    content.cell = [records, fieldOfColumn](int row, int column) {
        const auto& record = (*records)[static_cast<std::size_t>(row)];
        const std::size_t field = fieldOfColumn[static_cast<std::size_t>(column)];
        return field < record.size() ? record[field] : ReportValue();
    };
    if (!layout.noteField.isEmpty()) {
        const std::size_t noteIndex = indexOf(layout.noteField);
        content.note = [records, noteIndex](int row) {
            const auto& record = (*records)[static_cast<std::size_t>(row)];
            return noteIndex < record.size() ? reportValueText(record[noteIndex]) : QString();
        };
    }
    return content;
}

Result<QByteArray> Report::pdf() {
    // In memory, then saved whole: the largest tables are tens of MB, and a PDF cut short by
    // a full disk must never replace a good one.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Corvane"));
        writer.setTitle(title());
        applyPageLayout(writer);
        if (Status s = render(writer); !s) return Error{s.message()};
    }
    return bytes;
}

Status Report::writePdf(const std::filesystem::path& path) {
    Result<QByteArray> bytes = pdf();
    if (!bytes) return Error{bytes.message()};
    return FileIo::writeAtomically(path, std::string_view(bytes->constData(), bytes->size()));
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
