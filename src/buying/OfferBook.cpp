#include "buying/OfferBook.h"

#include "data/DrugNameKey.h"

#include <algorithm>

OfferBook::OfferBook(std::vector<Wholesaler> wholesalers, const std::vector<Offer>& offers)
    : m_wholesalers(std::move(wholesalers)) {
    QHash<QPair<int, QString>, int> latest;
    for (const Offer& o : offers) {
        const QPair<int, QString> k{o.wholesaler, DrugNameKey(o.drug)};
        auto it = latest.find(k);
        if (it == latest.end()) {
            latest.insert(k, int(m_current.size()));
            m_current.push_back(o);
        } else if (o.date >= m_current[size_t(*it)].date) {
            m_current[size_t(*it)] = o;
        }
    }
    for (int i = 0; i < int(m_current.size()); ++i)
        m_byKey[DrugNameKey(m_current[size_t(i)].drug)].push_back(i);
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
