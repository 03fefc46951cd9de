#pragma once

#include <QDialog>
#include <cstdint>

#include "model/DetectionType.h"

class QLineEdit;

// The point results dialog (检测结果): edits a measuring point's diameter, thickness and
// position within their limits. The value that the point's type does not use (position for
// diameter points, diameter for the others) is shown read-only and kept as passed.
class CDlgEdit : public QDialog {
    Q_OBJECT
public:
    CDlgEdit(DetectionType pointType, std::int32_t diameter, std::int32_t thickness,
             std::int32_t position, QWidget* parent = nullptr);

    // The values passed in, and after OK the values entered.
    std::int32_t diameter() const { return diameter_; }
    std::int32_t thickness() const { return thickness_; }
    std::int32_t position() const { return position_; }

    QLineEdit* diameterEdit() const { return diameterEdit_; }
    QLineEdit* thicknessEdit() const { return thicknessEdit_; }
    QLineEdit* positionEdit() const { return positionEdit_; }

    // Checks every editable entry the user changed, in order; the first bad one is reported,
    // gets the focus and the dialog stays open. An entry still showing the value it opened with
    // keeps that value unchecked, so a stored value beyond the limits never blocks the others.
    void accept() override;

private:
    std::int32_t diameter_;
    std::int32_t thickness_;
    std::int32_t position_;
    QLineEdit* diameterEdit_;
    QLineEdit* thicknessEdit_;
    QLineEdit* positionEdit_;
};
