#include "buying/OfferImport.h"

#include "buying/BuyingTexts.h"
#include "data/DrugNameKey.h"
#include "sheets/XlsxReader.h"

namespace OfferImport {

namespace {
bool number(const QString& text, double& out) {
    bool ok = false;
    out = text.trimmed().remove(u'%').toDouble(&ok);
    return ok;
}
} // namespace

Result FromRows(const QList<QStringList>& rows, int wholesaler, const QString& date,
                const QHash<QString, PeriodDemand::CatalogueItem>& catalogue) {
    Result r;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        const QString drug = row.value(0).trimmed();
        const QString disc = row.value(1).trimmed();
        if (drug.isEmpty() && disc.isEmpty())
            continue;
        double d = 0;
        if (!number(disc, d)) {
            if (i == 0)
                continue; // the headers
            r.error = BuyingTexts::BadOfferRow.arg(i + 1);
            r.offers.clear();
            return r;
        }
        if (drug.isEmpty() || d < 0 || d > 100) {
            r.error = BuyingTexts::BadOfferRow.arg(i + 1);
            r.offers.clear();
            return r;
        }
        auto c = catalogue.constFind(DrugNameKey(drug));
        if (c == catalogue.constEnd()) {
            r.unmatched << drug;
            continue;
        }
        r.offers.push_back({wholesaler, c->name, d, date});
    }
    if (r.offers.empty() && r.unmatched.isEmpty()) {
        r.error = BuyingTexts::EmptyOfferSheet;
        return r;
    }
    r.ok = true;
    return r;
}

Result FromFile(const QString& path, int wholesaler, const QString& date,
                const QHash<QString, PeriodDemand::CatalogueItem>& catalogue) {
    QList<QStringList> rows;
    QString e;
    if (!XlsxReader::ReadFirstSheet(path, rows, &e)) {
        Result r;
        r.error = BuyingTexts::BadOfferFile + e;
        return r;
    }
    return FromRows(rows, wholesaler, date, catalogue);
}

} // namespace OfferImport
