#pragma once

#include <QColor>
#include <QFont>
#include <QSet>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "controls/GridGeometry.h"
#include "controls/GridPainter.h"
#include "model/IntegerEntry.h"
#include "controls/WheelAccumulator.h"

class CPropertyGridInPlaceEdit;
class ICustomItem;
class QScrollBar;

// A list of named values in collapsible sections: the name left of a movable divider, the
// value right of it. Text and integer values are edited in place, custom values (points) edit
// themselves. Every change the user makes is reported through ItemChangedNotification.
// GUI thread only.
class CPropertyGrid : public QWidget {
    Q_OBJECT
public:
    // `screenWidth` sizes the font (0: the primary screen's width); see setScreenWidth.
    explicit CPropertyGrid(QWidget* parent = nullptr, int screenWidth = 0);
    ~CPropertyGrid() override;

    // The font is 宋体 at screenWidth ÷ 1440 × 10 pt when the grid has a parent, else Tahoma
    // 8.5 pt; the row height follows the font (see GridPainter).
    void setScreenWidth(int screenWidth);

    // A check of a text typed into a text item: the message that refuses it, or empty to take it.
    using TextCheck = std::function<QString(const QString& text)>;

    // Placed before the section with id `insertBefore`, or last when there is none.
    int AddSection(const QString& title, bool collapsed = false, int insertBefore = -1);
    // Each returns the new item's id, or -1 (nothing added) when `section` does not exist or
    // already holds an item called `name`.
    int AddStringItem(int section, const QString& name, const QString& text, bool editable = true,
                      TextCheck check = {});
    // `format` shows the value ("%d mm"); empty means "%d". A typed text without a number, or a
    // number outside `range`, is refused with a message.
    int AddIntegerItem(int section, const QString& name, std::int32_t value,
                       const QString& format = {}, bool editable = true, IntegerRange range = {});
    // `custom` is not owned; it learns its grid and gets commit() here.
    int AddCustomItem(int section, const QString& name, ICustomItem* custom, bool editable = true);
    // Removes everything and numbers sections and items from 0 again. The selected ids stay as
    // they are (an owner refilling the grid keeps its selection), and so does the scroll
    // position, as far as the new content reaches; an open edit is dropped.
    void ResetContents();

    // Ends an open in-place edit as Enter would: the value is stored and reported, and true.
    // A value the item refuses is told at once and the editor stays open with its text: false,
    // and the caller's command must not go on. True when no edit is open.
    bool EndEdit();

    // Scrolls the selected row into view (after a refill); the position stays when it is shown.
    void ScrollSelectionIntoView();
    // Sets the scroll position the grid keeps (0 for the top of another content).
    void setScrollPosition(int position);

    bool GetItemText(int id, QString& text) const;
    // The item's name (its label left of the divider); false for a missing id.
    bool GetItemName(int id, QString& name) const;
    bool GetItemInteger(int id, std::int32_t& value) const;
    // What the owner keeps with an item (what it stands for), as QTreeWidgetItem::setData does;
    // it goes with the item at ResetContents. False, and an invalid value, for a missing id.
    bool setItemData(int id, const QVariant& value);
    QVariant itemData(int id) const;
    // Marks an item's value with a small corner sign and gives it the tooltip `tip` (why it
    // is marked); an empty tip takes the mark away. It goes with the item at ResetContents.
    bool setItemMark(int id, const QString& tip);
    QString itemMark(int id) const;
    // -1 when none; at most one of the two is set.
    int GetSelectedSection() const { return selectedSection_; }
    int GetSelectedItem() const { return selectedItem_; }
    // Neither a section nor an item selected; for an owner that shows other content.
    void ClearSelection();

    int rowHeight() const { return rowHeight_; }
    // The font's factor, screen width ÷ 1440 in whole hundredths (1 outside a window).
    float factor() const { return look_.factor(); }
    int dividerX() const { return divider_; }
    const QFont& normalFont() const { return look_.font(); }
    // Content y of a visible section's caption or item row; -1 when it is not shown.
    int sectionTop(int sectionId) const;
    int itemTop(int itemId) const;
    // The scroll position; 0 while the bar is hidden.
    int scrollPosition() const;
    // Null until the content first outgrows the window.
    QScrollBar* scrollBar() const { return scrollBar_; }
    bool scrollBarShown() const;
    CPropertyGridInPlaceEdit* inPlaceEdit() const { return editor_; }

signals:
    void ItemChangedNotification(int itemId);

public slots:
    // EditDoneMessage of the in-place editor: its edit ends with `text`.
    void onEditDone(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Kind { Text, Integer, Custom };
    struct Section;
    struct Item {
        int id;
        Kind kind;
        bool editable;
        QString name;
        QString text;
        std::int32_t integer = 0;
        QString format;
        IntegerRange range;
        TextCheck check;
        ICustomItem* custom = nullptr;
        QVariant data;
        QString mark;  // the marked value's tooltip
        Section* section;
        int index;  // in its section
    };
    struct Section {
        int id;
        QString title;
        bool collapsed;
        std::vector<std::unique_ptr<Item>> items;
        QSet<QString> names;
    };

    Item* addItem(int section, const QString& name, Kind kind, bool editable);
    Item* findItem(int id) const;
    Section* findSection(int id) const;
    int sectionIndex(const Section* section) const;
    std::vector<GridGeometry::SectionShape> shapes() const;
    std::optional<GridGeometry::Row> selectedRow() const;
    void select(std::optional<GridGeometry::Row> row);
    GridGeometry::Button buttonOf(const Item& item) const;
    QRect selectedButtonRect() const;
    int paintWidth() const;
    void recalcLayout();
    void moveSelection(int step);
    void editSelected();
    void openEditor(Item& item);
    QString refusalOf(const Item& item, const QString& text) const;
    bool storeEdit(const QString& text, bool quiet);
    void dropEditor();
    void scrollToRow(const GridGeometry::Row& row);
    void editInOwnDialog(Item& item);
    void scrollBy(int pixels);
    void paintItem(QPainter& painter, const Item& item, int y, int w) const;

    std::vector<std::unique_ptr<Section>> sections_;
    std::vector<Item*> itemsById_;  // ids run from 0 without gaps
    int nextSectionId_ = 0;
    int selectedSection_ = -1;
    int selectedItem_ = -1;

    GridPainter look_;
    int rowHeight_ = 0;
    int divider_ = -1;  // set by the first size the window gets, then only by dragging

    QScrollBar* scrollBar_ = nullptr;
    // Where the user left the content; a refill that is short for a moment does not lose it.
    int keptPosition_ = 0;
    bool laying_ = false;  // the layout, not the user, moves the scroll bar
    WheelAccumulator wheel_;

    bool buttonTracking_ = false;  // a press in the button rectangle, until release
    bool buttonDown_ = false;      // the button's pressed look
    bool valueClicked_ = false;
    bool draggingDivider_ = false;

    CPropertyGridInPlaceEdit* editor_ = nullptr;  // the open editor, a child
    int editedItem_ = -1;                         // while the editor is open
    // A refusal was just told: the rest of the same user action does not tell it again.
    bool refusalTold_ = false;
};
