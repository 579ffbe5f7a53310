#include "buying/OfferBook.h"

#include "data/DrugNameKey.h"

#include <QStringList>

#include <algorithm>

OfferBook::OfferBook(std::vector<Wholesaler> wholesalers, const std::vector<Offer>& offers)
    : m_wholesalers(std::move(wholesalers)) {
    // Per drug key, the wholesalers' offers in m_current: a later offer of the same wholesaler
    // takes the place of an older one. The engines hand rows over in no set order, so two of one
    // day (left by copies that added offers without replacing) are settled by what they hold.
    m_current.reserve(offers.size());
    const auto stands = [](const Offer& o, const Offer& than) {
        if (o.date != than.date)
            return o.date > than.date;
        if (o.discount != than.discount)
            return o.discount > than.discount;
        return o.drug < than.drug;
    };
    for (const Offer& o : offers) {
        std::vector<int>& list = m_byKey[DrugNameKey(o.drug)];
        auto same = std::find_if(list.begin(), list.end(),
                                 [&](int i) { return m_current[size_t(i)].wholesaler == o.wholesaler; });
        if (same == list.end()) {
            list.push_back(int(m_current.size()));
            m_current.push_back(o);
        } else if (stands(o, m_current[size_t(*same)])) {
            m_current[size_t(*same)] = o;
        }
    }
    for (auto& list : m_byKey)
        std::stable_sort(list.begin(), list.end(), [this](int a, int b) {
            const Offer& x = m_current[size_t(a)];
            const Offer& y = m_current[size_t(b)];
            if (x.discount != y.discount)
                return x.discount > y.discount;
            if (x.date != y.date)
                return x.date > y.date;
            return x.wholesaler < y.wholesaler;
        });
}

QString OfferBook::Slot(const Offer& o) {
    return QString::number(o.wholesaler) + u'|' + o.date + u'|' + DrugNameKey(o.drug);
}

std::vector<Offer> OfferBook::LastOfEach(const std::vector<Offer>& offers) {
    QStringList places;
    QHash<QString, size_t> last; // slot -> its last row
    for (size_t i = 0; i < offers.size(); ++i) {
        places << Slot(offers[i]);
        last.insert(places.back(), i);
    }
    std::vector<Offer> out;
    for (size_t i = 0; i < offers.size(); ++i)
        if (last.value(places[qsizetype(i)]) == i)
            out.push_back(offers[i]);
    return out;
}

const Offer* OfferBook::best(const QString& key) const {
    auto it = m_byKey.constFind(key);
    return it == m_byKey.constEnd() || it->empty() ? nullptr : &m_current[size_t(it->front())];
}

const Offer* OfferBook::offerOf(int wholesaler, const QString& key) const {
    for (const Offer* o : offersFor(key))
        if (o->wholesaler == wholesaler)
            return o;
    return nullptr;
}

std::vector<const Offer*> OfferBook::offersFor(const QString& key) const {
    std::vector<const Offer*> out;
    for (int i : m_byKey.value(key))
        out.push_back(&m_current[size_t(i)]);
    return out;
}

QString OfferBook::wholesalerName(int id) const {
    for (const Wholesaler& w : m_wholesalers)
        if (w.id == id)
            return w.name;
    return {};
}
