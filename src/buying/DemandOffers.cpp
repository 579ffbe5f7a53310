#include "buying/DemandOffers.h"

#include "buying/BuyingStore.h"
#include "buying/BuyingTexts.h"
#include "data/GroupTables.h"
#include "data/ModGFun.h"
#include "demand/GroupDemandTexts.h"

namespace DemandOffers {

void Apply(GroupDemand::Report& report, const OfferBook& book) {
    for (GroupDemand::Drug& g : report.drugs) {
        if (g.nameless)
            continue;
        const Offer* o = book.best(g.key);
        if (!o)
            continue;
        QString name = book.wholesalerName(o->wholesaler);
        if (name.isEmpty())
            name = QString::number(o->wholesaler);
        g.best = GroupDemandTexts::BestOffer.arg(ModGFun::ShortestText(o->discount), name);
        g.bestOffered = true;
    }
}

QString Read(GroupDemand::Report& report) {
    QString error;
    switch (GroupTables::Check({QStringLiteral("grp_wholesalers"), QStringLiteral("grp_offers")}, &error)) {
    case GroupTables::Presence::Present:
        break;
    case GroupTables::Presence::ServerFailed:
        return GroupDemandTexts::OffersNotRead + error;
    default:
        return GroupTables::MissingMessage();
    }
    OfferBook book;
    if (!BuyingStore::ReadOfferBook(book, &error))
        return GroupDemandTexts::OffersNotRead + error;
    Apply(report, book);
    return {};
}

} // namespace DemandOffers
