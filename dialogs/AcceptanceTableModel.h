#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <optional>
#include <vector>

#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"

// The components that can take part in the acceptance judgement, in project order, with the
// class and sample the user gives them. Edits go to a working copy of the marks; marks of
// components not listed here (diameter ones) are carried through untouched. The list is only
// read and must outlive the model. GUI thread only.
class AcceptanceTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, Code, Name, Type, PointCount, Class, Sample, ColumnCount };
    // The texts an editable cell may take, as a QStringList.
    static constexpr int ChoicesRole = Qt::UserRole + 1;

    AcceptanceTableModel(const ComponentList& components, const AcceptanceMarks& marks,
                         QObject* parent = nullptr);

    const AcceptanceMarks& marks() const { return marks_; }
    const Component* componentAt(int row) const;
    // The row's mark; none when it takes no part.
    std::optional<AcceptanceMark> markAt(int row) const;

    // nullopt makes the rows take no part. A row that had a class keeps its sample; a new one
    // starts in the first sample.
    void setClass(const QList<int>& rows, std::optional<AcceptanceClass> cls);
    // Rows without a class are left alone: a sample means nothing without one.
    void setSample(const QList<int>& rows, AcceptanceSample sample);

    static QString classText(std::optional<AcceptanceClass> cls);
    static QString sampleText(AcceptanceSample sample);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // After every change of the working marks, once per call however many rows it touched.
    void marksChanged();

private:
    void rowsChanged(const QList<int>& rows, bool changed);

    std::vector<const Component*> rows_;
    AcceptanceMarks marks_;
};
