#pragma once

#include <QLineEdit>

// The one-line editor a property grid lays over a text or integer value. Owned by the grid,
// which it tells through EditDoneMessage when the edit ends (on losing the keyboard focus).
class CPropertyGridInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    // Shows over `rect` of `grid` in the given font and colours, with `initialText`, the caret
    // at the end and nothing selected, and takes the keyboard focus.
    CPropertyGridInPlaceEdit(QWidget* grid, const QRect& rect, const QString& initialText,
                             const QFont& font, const QColor& back, const QColor& text);

    // Ends the edit unless it has ended: EditDoneMessage is sent once per editor.
    void endEdit();

signals:
    void EditDoneMessage(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void giveFocusBack();

    QString initialText_;
    bool ended_ = false;
};
