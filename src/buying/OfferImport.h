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
// The whole file: read, then matched. A file that is no spreadsheet is an Arabic error.
Result FromFile(const QString& path, int wholesaler, const QString& date,
                const QHash<QString, PeriodDemand::CatalogueItem>& catalogue);

} // namespace OfferImport
