#include "app/AppStart.h"
#include "app/FormSplash.h"
#include "collection/ClientBookStart.h"
#include "collection/FormBuyCollect.h"
#include "ordering/FormUserBuy.h"

#include <QApplication>

// Every working window is made afresh when opened and unloaded when closed.
template <typename Window> static void openModal(QWidget* parent) {
    Window window(parent);
    window.exec();
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!AppStart::prepare(app))
        return 1;

    auto* splash = new FormSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->loadClientBook = [splash] { LoadClientBookAtStart(splash); };
    splash->mainOpeners.orderEditor = &openModal<FormUserBuy>;
    splash->mainOpeners.collectedOrders = &openModal<FormBuyCollect>;
    splash->show();
    return app.exec();
}
