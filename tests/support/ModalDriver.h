#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
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

// While it lives, every message box that comes up is read and closed with OK from inside its
// own exec(): for a step that may or may not tell the user something.
class MessageBoxes {
public:
    MessageBoxes() {
        QObject::connect(&watch_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts_ << box->text();
                box->accept();
            }
        });
        watch_.start(5);
    }
    // What each box said, in order.
    const QStringList& texts() const { return texts_; }

private:
    QTimer watch_;
    QStringList texts_;
};

// Clicks the button of `window` that reads `text`, as the user would; a missing one fails the
// test, which would otherwise go on as if it had been clicked.
inline void clickButton(QWidget* window, const QString& text) {
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (b->text() == text) return QTest::mouseClick(b, Qt::LeftButton);
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " in "
                  << window->windowTitle().toStdString();
}
