#include "app/AppStart.h"
#include "app/FormSplash.h"
#include "catalogue/FormDrugsEditor.h"
#include "collection/ClientBookStart.h"
#include "collection/FormBuyCollect.h"
#include "ordering/FormUserBuy.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>

namespace {
// Ends a local event loop when the window it watches is hidden or closed.
class HideWatcher : public QObject {
public:
    explicit HideWatcher(QEventLoop& loop) : m_loop(loop) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close)
            m_loop.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& m_loop;
};

// Every working window is made afresh when opened, modally, and unloaded when closed.
template <typename Window> void openModal(QWidget* parent) {
    Window window(parent);
    if constexpr (requires { window.exec(); }) {
        window.exec();
    } else {
        window.setWindowModality(Qt::ApplicationModal);
        QEventLoop loop;
        HideWatcher watcher(loop);
        window.installEventFilter(&watcher);
        window.show();
        loop.exec();
        window.removeEventFilter(&watcher);
    }
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!AppStart::prepare(app))
        return 1;

    auto* splash = new FormSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->loadClientBook = [splash] { LoadClientBookAtStart(splash); };
    splash->mainOpeners.orderEditor = &openModal<FormUserBuy>;
    splash->mainOpeners.drugsEditor = &openModal<FormDrugsEditor>;
    splash->mainOpeners.collectedOrders = &openModal<FormBuyCollect>;
    splash->show();
    return app.exec();
}
