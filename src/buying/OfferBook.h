#pragma once

#include <QHash>
#include <QString>
#include <vector>

struct Wholesaler {
    int id = 0;
    QString name, phone, district;
};

// A wholesaler's discount in percent on a drug, given on a day ("yyyyMMdd").
struct Offer {
    int wholesaler = 0;
    QString drug;
    double discount = 0;
    QString date;
};

// The wholesalers and their current offers: per wholesaler and drug the most recent offer. Drugs
// are matched by DrugNameKey.
class OfferBook {
public:
    OfferBook() = default;
    // Whatever the order of the rows: a written offer takes the place of its wholesaler's offers of
    // the same day and drug key (Slot), so two of one day are rows older copies added, which says
    // nothing of which came last. Of those the higher discount stands, as the book ranks offers
    // anyway (importing the day's sheet again settles it), then the spelling first in code order.
    OfferBook(std::vector<Wholesaler> wholesalers, const std::vector<Offer>& offers);

    // Where an offer stands: its wholesaler, day and drug key. A written offer takes the place of
    // the stored ones of its slot.
    static QString Slot(const Offer& o);
    // The offers a sheet leaves when written: per wholesaler, day and drug key its last row, in
    // the sheet's order of those rows.
    static std::vector<Offer> LastOfEach(const std::vector<Offer>& offers);

    // The best current offer for the drug key: highest discount, then the most recent, then the
    // first wholesaler; nullptr when no wholesaler offers it.
    const Offer* best(const QString& key) const;
    // The wholesaler's current offer for the drug key, or nullptr.
    const Offer* offerOf(int wholesaler, const QString& key) const;
    // Every current offer for the drug key, best first.
    std::vector<const Offer*> offersFor(const QString& key) const;

    const std::vector<Wholesaler>& wholesalers() const { return m_wholesalers; }
    QString wholesalerName(int id) const;
    const std::vector<Offer>& current() const { return m_current; }

private:
    std::vector<Wholesaler> m_wholesalers;
    std::vector<Offer> m_current;
    QHash<QString, std::vector<int>> m_byKey; // into m_current, best first
};
