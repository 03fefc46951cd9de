#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "model/Result.h"
#include "model/Status.h"
#include "report/ReportContent.h"
#include "report/ReportDetailGrid.h"
#include "report/ReportField.h"
#include "report/ReportParameter.h"
#include "report/ReportTemplate.h"

class QPagedPaintDevice;
class ReportEvents;
class ReportPresenter;

// One record table run: a template, page parameters and detail fields by name, the detail
// grid whose record set the events fill, and the output. Lives on the GUI thread.
//
// A run: loadFromFile, connectEvents, then print or printPreview (through the presenter),
// writePdf, or generate alone. Every generation raises the events again: beforeGeneration,
// then rowsWanted, which fills the record set anew.
//
// Without a template (none loaded, or the load failed) it has no fields or parameters and
// renders nothing; TableTemplate always has one for a record table.
class Report {
public:
    // `presenter` (not owned, may be null when only generate or writePdf is used) must
    // outlive the report's print and printPreview calls.
    explicit Report(ReportPresenter* presenter = nullptr);
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // Replaces the layout, and with it every field and parameter handed out before. On
    // failure there is no layout and the message says why (missing, unreadable, not a
    // template).
    Status loadFromFile(const QString& path);
    // The same with a layout made in code rather than read from a file.
    void setTemplate(ReportTemplate layout);
    bool hasTemplate() const { return template_.has_value(); }
    // The layout loaded; null without one.
    const ReportTemplate* layout() const { return template_ ? &*template_ : nullptr; }
    QString title() const;

    // Fail when the template has no such name. The pointers stay valid until the next load.
    Result<ReportParameter*> parameterByName(const QString& name);
    Result<ReportField*> fieldByName(const QString& name);
    // Fails when the template has no detail table.
    Result<ReportDetailGrid*> detailGrid();

    // `events` (not owned) receives the events of every generation until disconnected.
    Status connectEvents(ReportEvents* events);
    void disconnectEvents() { events_ = nullptr; }

    // Raises the events and keeps the records they posted; no painting.
    Status generate();

    // Hand the report to the presenter; the flags are passed on (show the print dialog;
    // preview modally).
    Status print(bool showPrintDialog = true);
    Status printPreview(bool modal = true);

    // Sets the template's paper, orientation and margins (mm) on a printer or PDF writer.
    void applyPageLayout(QPagedPaintDevice& device) const;
    // Generates and paints every page onto `device` as its page layout stands.
    Status render(QPagedPaintDevice& device);
    // Generates a PDF in the template's page layout.
    Result<QByteArray> pdf();
    // The same, saved by FileIo's careful save: an existing file is replaced only once the new
    // one is complete, a pipe or device is written in place.
    Status writePdf(const std::filesystem::path& path);
    // What the pages of the last generation show besides the template's own texts: header
    // values, cells and notes, the same for the pages and for every other output. It reads the
    // records in place, so it is valid until the next generation. Empty without a template.
    ReportContent content() const;
    // Pages of the last render.
    int pageCount() const { return pageCount_; }

    // What the sink handed over: parameters in the order first set, the fields (a record's
    // value i belongs to fields()[i]) and the posted records.
    std::vector<const ReportParameter*> parametersSet() const;
    const std::vector<std::unique_ptr<ReportField>>& fields() const { return fields_; }
    const std::vector<ReportRecordset::Record>& records() const {
        return grid_.recordset().records();
    }

private:
    ReportParameter* addParameter(const QString& name);
    ReportField* addField(const QString& name);

    ReportPresenter* presenter_;
    ReportEvents* events_ = nullptr;
    std::optional<ReportTemplate> template_;
    std::vector<std::unique_ptr<ReportParameter>> parameters_;
    int parameterClock_ = 0;
    std::vector<std::unique_ptr<ReportField>> fields_;
    ReportDetailGrid grid_;
    int pageCount_ = 0;
};
