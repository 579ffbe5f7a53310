#pragma once

#include "buying/OfferBook.h"
#include "demand/GroupDemand.h"

#include <QString>

// The group demand's best-discount column from the group's offer book: per drug the offer a
// purchase plan takes (OfferBook::best, the one rule), the catalogue's figure where no wholesaler
// offers the drug. Draws nothing.
namespace DemandOffers {

// Each drug the book offers gets its best offer ("discount (wholesaler)") in place of the
// catalogue's figure.
void Apply(GroupDemand::Report& report, const OfferBook& book);

// Reads the offer book on ServerConnection and applies it. Without the group's tables, or when
// they cannot be read, the report keeps the catalogue's figures and the text returned tells the
// manager why (which script makes the tables); empty when the book was applied. The group demand
// window gets it as its bestOffers opener (main.cpp), so the demand folder includes no buying header.
QString Read(GroupDemand::Report& report);

} // namespace DemandOffers
