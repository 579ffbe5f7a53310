#include "app/ModalWindow.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>

namespace ModalWindow {

namespace {
class CloseWatcher : public QObject {
public:
    explicit CloseWatcher(QEventLoop& loop) : m_loop(loop) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The window system hides a minimised window spontaneously; only the program's own hide,
        // which follows an accepted close, ends the window.
        if (event->type() == QEvent::Hide && !event->spontaneous())
            m_loop.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& m_loop;
};
} // namespace

void run(QWidget& window) {
    window.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    CloseWatcher watcher(loop);
    QPointer<QWidget> alive(&window);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.installEventFilter(&watcher);
    window.show();
    loop.exec();
    if (alive)
        window.removeEventFilter(&watcher);
}

} // namespace ModalWindow
