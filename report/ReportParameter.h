#pragma once

#include <QString>
#include <optional>

// A named page parameter: a text shown in the header boxes of every page. Owned by its
// Report, with the same lifetime as a ReportField.
class ReportParameter {
public:
    // `clock` counts first settings across a report's parameters, to tell their order.
    ReportParameter(QString name, int& clock) : name_(std::move(name)), clock_(clock) {}

    const QString& name() const { return name_; }
    const std::optional<QString>& value() const { return value_; }
    int firstSet() const { return firstSet_; }

    void setText(const QString& text) {
        if (!value_) firstSet_ = ++clock_;
        value_ = text;
    }

private:
    QString name_;
    int& clock_;
    std::optional<QString> value_;
    int firstSet_ = 0;
};
