#include "app/LockKeyPanes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

LockKeyPanes::LockKeyPanes(QStatusBar* bar) : QObject(bar) {
    const std::pair<int, const char*> locks[] = {
        {Qt::Key_CapsLock, "CAP"}, {Qt::Key_NumLock, "NUM"}, {Qt::Key_ScrollLock, "SCRL"}};
    for (const auto& [key, text] : locks) {
        auto* label = new QLabel(QString::fromLatin1(text), bar);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        label->setEnabled(false);
        bar->addPermanentWidget(label);
        panes_[key] = label;
    }
    qApp->installEventFilter(this);
}

LockKeyPanes::~LockKeyPanes() {
    qApp->removeEventFilter(this);
}

bool LockKeyPanes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto it = panes_.find(key->key());
        if (it != panes_.end() && !key->isAutoRepeat())
            it->second->setEnabled(!it->second->isEnabled());
    }
    return QObject::eventFilter(watched, event);
}
