#pragma once

#include <QLineEdit>

// The one-line editor a property grid lays over a text or integer value. Owned by the grid,
// which it tells through EditDoneMessage when the edit is to end (Enter, Tab, Escape, Ctrl with
// an arrow or page key, losing the keyboard focus). The grid closes it when it takes the text
// and leaves it open, text and all, when it refuses it.
class CPropertyGridInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    // Shows over `rect` of `grid` in the given font and colours, with `initialText`, the caret
    // at the end and nothing selected, and takes the keyboard focus.
    CPropertyGridInPlaceEdit(QWidget* grid, const QRect& rect, const QString& initialText,
                             const QFont& font, const QColor& back, const QColor& text);

    // Asks the grid to end the edit: EditDoneMessage with the text.
    void endEdit();
    // While the window losing its activation ends the edit: a refusal then waits for the
    // user's next command rather than popping up over another program.
    bool endedByDeactivation() const { return deactivating_; }

signals:
    void EditDoneMessage(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString initialText_;
    bool deactivating_ = false;
};
