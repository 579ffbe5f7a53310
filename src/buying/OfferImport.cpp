#include "buying/OfferImport.h"

#include "buying/BuyingPapers.h"
#include "buying/BuyingTexts.h"
#include "data/DrugNameKey.h"
#include "sheets/XlsxReader.h"

#include <QSet>

namespace OfferImport {

namespace {
// A discount as the sheet shows it: "14", "14%" (typed, or a percent cell as the reader gives it),
// also typed on an Arabic keyboard ("١٤٫٥٪").
bool number(const QString& text, double& out) {
    QString ascii = text;
    for (QChar& c : ascii) {
        const char16_t u = c.unicode();
        if (u >= 0x0660 && u <= 0x0669)
            c = QChar(u'0' + (u - 0x0660));
        else if (u >= 0x06F0 && u <= 0x06F9)
            c = QChar(u'0' + (u - 0x06F0));
        else if (u == 0x066B)
            c = u'.';
        else if (u == 0x066A)
            c = u'%';
    }
    QStringView t = QStringView(ascii).trimmed();
    if (t.endsWith(u'%'))
        t.chop(1);
    bool ok = false;
    out = t.trimmed().toDouble(&ok);
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
        if (drug.isEmpty() || !(d >= 0 && d <= 100)) { // "nan" is a number to toDouble
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

std::vector<Change> Changes(const OfferBook& book, const std::vector<Offer>& offers) {
    // As the write does: the sheet's offers take the place of the wholesaler's offers of the same
    // day and drug.
    const std::vector<Offer> written = OfferBook::LastOfEach(offers);
    QSet<QString> replaced;
    for (const Offer& o : written)
        replaced.insert(OfferBook::Slot(o));
    std::vector<Offer> all;
    for (const Offer& o : book.current())
        if (!replaced.contains(OfferBook::Slot(o)))
            all.push_back(o);
    all.insert(all.end(), written.begin(), written.end());
    const OfferBook after(book.wholesalers(), all);
    std::vector<Change> out;
    QSet<QString> seen;
    for (const Offer& o : offers) {
        const QString key = DrugNameKey(o.drug);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        Change c;
        c.drug = o.drug;
        const Offer* now = after.offerOf(o.wholesaler, key);
        c.after = now ? now->discount : o.discount;
        if (const Offer* old = book.offerOf(o.wholesaler, key)) {
            c.before = old->discount;
            c.kind = old->discount == c.after ? Change::Kind::Same : Change::Kind::Changed;
        } else {
            c.kind = Change::Kind::New;
        }
        out.push_back(c);
    }
    return out;
}

QString ChangesText(const std::vector<Change>& changes, int shown) {
    int counts[3] = {0, 0, 0};
    QStringList lines;
    for (const Change& c : changes) {
        ++counts[int(c.kind)];
        if (c.kind == Change::Kind::Same || lines.size() >= shown)
            continue;
        lines << (c.kind == Change::Kind::New
                      ? BuyingTexts::OfferNew.arg(c.drug, BuyingPapers::Number(c.after))
                      : BuyingTexts::OfferChanged.arg(c.drug, BuyingPapers::Number(c.before), BuyingPapers::Number(c.after)));
    }
    if (counts[0] + counts[1] > lines.size())
        lines << QStringLiteral("…");
    return BuyingTexts::OfferChangesHead.arg(counts[int(Change::Kind::Changed)])
               .arg(counts[int(Change::Kind::New)])
               .arg(counts[int(Change::Kind::Same)]) +
           u'\n' + lines.join(u'\n');
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
