#include "WindowOpeners.h"

#include "buying/DemandOffers.h"
#include "buying/FormPurchaseOrders.h"
#include "buying/FormWholesalers.h"
#include "preparation/PickListPrint.h"

namespace WindowOpeners {

FormDrugsEditorOpeners drugsEditor() {
    return {[](QWidget* parent) { FormWholesalers(parent).exec(); }};
}

FormGroupDemandOpeners groupDemand() {
    return {&FormPurchaseOrders::OpenOnPeriod, &DemandOffers::Read};
}

FormBuyCollectOpeners buyCollect() {
    return {[](QWidget* parent) { FormGroupDemand(parent, groupDemand()).exec(); }, &PickListPrint::PrintShownOrder,
            &PickListPrint::PrintSentOrders};
}

} // namespace WindowOpeners
