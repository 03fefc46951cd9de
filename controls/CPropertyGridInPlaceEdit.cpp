#include "controls/CPropertyGridInPlaceEdit.h"

#include <QKeyEvent>

namespace {

// An edit that ends may move the focus (the grid takes it back, a refusal's message box takes
// it), which would end it again from inside the first end.
bool ending = false;

bool endsEdit(const QKeyEvent* key) {
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return key->modifiers().testFlag(Qt::ControlModifier);
        default:
            return false;
    }
}

}  // namespace

CPropertyGridInPlaceEdit::CPropertyGridInPlaceEdit(QWidget* grid, const QRect& rect,
                                                   const QString& initialText, const QFont& font,
                                                   const QColor& back, const QColor& text)
    : QLineEdit(grid), initialText_(initialText) {
    setObjectName(QStringLiteral("edit1000"));
    setFrame(false);
    setGeometry(rect);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Text, text);
    setPalette(pal);
    setFont(font);
    setText(initialText);
    setCursorPosition(static_cast<int>(initialText.size()));
    deselect();
    show();
    setFocus(Qt::OtherFocusReason);
}

void CPropertyGridInPlaceEdit::endEdit() {
    if (ending) return;
    ending = true;
    emit EditDoneMessage(text());
    ending = false;
}

bool CPropertyGridInPlaceEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys that end the edit, and Alt+key, are the editor's and never reach a shortcut.
        auto* key = static_cast<QKeyEvent*>(event);
        if (endsEdit(key) || key->modifiers().testFlag(Qt::AltModifier)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);  // not the focus chain: Tab ends the edit
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CPropertyGridInPlaceEdit::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers().testFlag(Qt::AltModifier)) {
        event->accept();
        return;
    }
    if (endsEdit(event)) {
        if (event->key() == Qt::Key_Escape) setText(initialText_);
        event->accept();
        endEdit();  // the grid takes the focus back when it closes the editor
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CPropertyGridInPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu is part of editing.
    if (event->reason() == Qt::PopupFocusReason) return;
    deactivating_ = event->reason() == Qt::ActiveWindowFocusReason;
    endEdit();
    deactivating_ = false;
}
