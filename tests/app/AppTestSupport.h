#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace AppTest {

// QTest::keyClicks cannot send Arabic in this Qt; one key event per character can.
inline void typeText(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

// Runs work on the next modal window of type W once it is up, so a test can drive exec().
template <typename W> void whenModal(std::function<void(W*)> work, int triesLeft = 200) {
    QTimer::singleShot(10, [work, triesLeft] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget()); w && w->isVisible())
            work(w);
        else if (triesLeft > 0)
            whenModal<W>(work, triesLeft - 1);
    });
}

} // namespace AppTest
