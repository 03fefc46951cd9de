#pragma once

#include <QString>
#include <cstdint>

#include "controls/ICustomItem.h"
#include "model/DetectionType.h"

// A measuring point in the property grid: "thickness mm ; diameter mm" for diameter
// components, "thickness mm ; position mm" for the others, edited in the 检测结果 dialog.
class CRectItem : public ICustomItem {
public:
    CRectItem(DetectionType type, std::int32_t diameter, std::int32_t thickness,
              std::int32_t position);

    EditMode editMode() const override { return OwnDialog; }
    void drawValue(QPainter& painter, const QRect& rect, bool selected) override;
    // Runs CDlgEdit over the grid; on OK takes all three values and returns true.
    bool editInOwnDialog() override;

    QString text() const;
    DetectionType type() const { return type_; }
    std::int32_t diameter() const { return diameter_; }
    std::int32_t thickness() const { return thickness_; }
    std::int32_t position() const { return position_; }

private:
    DetectionType type_;
    std::int32_t diameter_;
    std::int32_t thickness_;
    std::int32_t position_;
};
