#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

// 修改记录: the project's history as a list, in the order given (newest first), under the state
// of its chain, narrowed to one component by a choice above it. Only shows; closed by 关闭,
// Enter or Escape. GUI thread only.
class CDlgHistory : public QDialog {
    Q_OBJECT
public:
    // One row per entry: time, user, component, point, what changed, old, new (UTF-8).
    using Row = std::array<std::string, 7>;

    CDlgHistory(const std::vector<Row>& rows, const QString& state, QWidget* parent = nullptr);

    QLabel* stateLabel() const { return state_; }
    QComboBox* componentChoice() const { return components_; }
    QTableView* list() const { return list_; }
    // The rows shown, after the choice of component.
    int shownRows() const;

    // Sizes the dialog, window frame included, for a screen whose available area is
    // `available`; the constructor does so for the screen it opens on.
    void fitTo(const QSize& available);

private:
    QLabel* state_;
    QComboBox* components_;
    QTableView* list_;
    QSortFilterProxyModel* filter_;
};
