#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Acts on the next modal dialog of type T as soon as it is shown and active, from inside its
// exec().
template <typename T>
void onNextModal(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        // Keys go to the focus widget, which exists only once the window is active.
        if (dialog && dialog->isActiveWindow()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        } else if (++*tries > 2000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}
