#pragma once

#include "model/Status.h"
#include "report/ReportContent.h"
#include "report/ReportTemplate.h"

class QPagedPaintDevice;

// Paints a whole record table page by page onto a device whose page layout is set: the
// title, the header boxes, the ruled table (empty ruled rows fill the last page, as on a paper
// form), the signature line and the page numbers.
class ReportPainter {
public:
    ReportPainter(const ReportTemplate& layout, const ReportContent& content)
        : template_(layout), content_(content) {}

    Status paint(QPagedPaintDevice& device);
    int pageCount() const { return pageCount_; }

private:
    const ReportTemplate& template_;
    const ReportContent& content_;
    int pageCount_ = 0;
};
