#pragma once

#include "buying/OfferBook.h"
#include "buying/PeriodDemand.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <vector>

// A wholesaler's sheet of offers (columns drug, discount; a first row of headers is skipped) read
// against the catalogue: names matched by DrugNameKey and stored in the catalogue's spelling.
namespace OfferImport {

struct Result {
    bool ok = false;
    QString error;           // Arabic; a bad sheet imports nothing
    std::vector<Offer> offers;
    QStringList unmatched;   // names the catalogue does not hold, as written
};

Result FromRows(const QList<QStringList>& rows, int wholesaler, const QString& date,
                const QHash<QString, PeriodDemand::CatalogueItem>& catalogue);
// What writing the offers would change in the wholesaler's current offers, one entry per drug of
// the sheet in its order: the offer that stands after the import (a later row of the same drug
// wins, and an offer of a later day stays) beside the one that stands now.
struct Change {
    enum class Kind { Changed, New, Same };
    Kind kind = Kind::New;
    QString drug;
    double before = 0; // Changed and Same only
    double after = 0;
};
std::vector<Change> Changes(const OfferBook& book, const std::vector<Offer>& offers);
// The question put to the manager: counts, then at most `shown` changed or new offers, old -> new.
QString ChangesText(const std::vector<Change>& changes, int shown);

// The whole file: read, then matched. A file that is no spreadsheet is an Arabic error.
Result FromFile(const QString& path, int wholesaler, const QString& date,
                const QHash<QString, PeriodDemand::CatalogueItem>& catalogue);

} // namespace OfferImport
