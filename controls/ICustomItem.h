#pragma once

class CPropertyGrid;
class QPainter;
class QRect;

// A value that draws and edits itself in a property grid. The grid does not own it: the
// caller keeps it alive as long as an item shows it, and frees it after ResetContents.
class ICustomItem {
public:
    // How the value is edited: OwnDialog has a "..." button and opens on double click; None
    // is shown but not edited.
    enum EditMode { None, OwnDialog };

    virtual ~ICustomItem() = default;

    virtual EditMode editMode() const = 0;
    // Draws the value into `rect`; the painter carries the grid's font and value colour.
    virtual void drawValue(QPainter& painter, const QRect& rect, bool selected) = 0;
    // Called once, when the item is added to a grid (grid() is set by then).
    virtual void commit() {}
    // Edits the value in a modal dialog of its own; true when the value changed.
    virtual bool editInOwnDialog() { return false; }

    // The grid showing this value; null until it is added.
    CPropertyGrid* grid() const { return grid_; }

private:
    friend class CPropertyGrid;
    CPropertyGrid* grid_ = nullptr;
};
