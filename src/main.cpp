#include "app/AppStart.h"
#include "app/FormSplash.h"
#include "app/ModalWindow.h"
#include "app/SingleCopy.h"
#include "buying/DemandOffers.h"
#include "buying/FormPurchaseOrders.h"
#include "buying/FormWholesalers.h"
#include "catalogue/FormDrugsEditor.h"
#include "collection/ClientBookStart.h"
#include "collection/FormBuyCollect.h"
#include "collection/ModOmla.h"
#include "demand/FormGroupDemand.h"
#include "data/EmbeddedDatabase.h"
#include "data/PendingOrder.h"
#include "ordering/FormUserBuy.h"
#include "preparation/PickListPrint.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AppStart::announceRunning();
    AppStart::setUp(app);
    if (const int code = AppStart::runCommandLine(app.arguments()); code >= 0)
        return code;
    // One copy per user: a second start brings the first forward.
    SingleCopy single(SingleCopy::nameForUser());
    if (single.forwardToRunning())
        return 0;
    single.listen(&AppStart::bringForward);
    AppStart::beforeRestart = [&single] { single.close(); };
    AppStart::startLog();
    if (!AppStart::prepare())
        return 1;
    ModOmla::setBookFolder(EmbeddedDatabase::dataFolder());
    // An unsettled new order is remembered where this user's data lives (the program folder of an
    // all-users install is not theirs to write).
    PendingOrder::setFolder(EmbeddedDatabase::dataFolder());

    auto* splash = new FormSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->loadClientBook = [splash] { LoadClientBookAtStart(splash); };
    // The windows open each other only through these: no folder includes another's window.
    const FormDrugsEditorOpeners drugsEditorOpeners{&ModalWindow::open<FormWholesalers>};
    const FormGroupDemandOpeners groupDemandOpeners{&FormPurchaseOrders::OpenOnPeriod, &DemandOffers::Read};
    const FormBuyCollectOpeners buyCollectOpeners{
        [groupDemandOpeners](QWidget* parent) { ModalWindow::open<FormGroupDemand>(parent, groupDemandOpeners); },
        &PickListPrint::PrintShownOrder, &PickListPrint::PrintSentOrders};
    splash->mainOpeners.orderEditor = &ModalWindow::open<FormUserBuy>;
    splash->mainOpeners.drugsEditor = [drugsEditorOpeners](QWidget* parent) {
        ModalWindow::open<FormDrugsEditor>(parent, drugsEditorOpeners);
    };
    splash->mainOpeners.collectedOrders = [buyCollectOpeners](QWidget* parent) {
        ModalWindow::open<FormBuyCollect>(parent, buyCollectOpeners);
    };
    splash->mainOpeners.purchaseOrders = &ModalWindow::open<FormPurchaseOrders>;
    splash->show();
    return app.exec();
}
