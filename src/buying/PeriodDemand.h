#pragma once

#include "buying/DeliveryShare.h"
#include "collection/GroupDemand.h"

#include <QHash>
#include <QString>
#include <vector>

// What the sent orders of a period asked for, drug by drug (drugs matched by DrugNameKey), with
// the catalogue's price and stock on hand, and for each drug the orders that asked for it,
// earliest sent first. Draws nothing.
struct PeriodDemand {
    struct Drug {
        QString key;
        QString name;    // the catalogue's spelling when it has the drug
        double demand = 0;
        double stock = 0; // bowndrugs position 4
        double price = 0;
        bool inCatalogue = false;
    };
    struct CatalogueItem {
        QString name;
        double price = 0;
        double stock = 0;
    };

    bool ok = false;
    QString error; // Arabic, with the server's text
    GroupDemand::Period period;
    std::vector<Drug> drugs;                 // by name
    std::vector<GroupDemand::Order> orders;  // earliest sent first (date, then order id)
    QString fingerprint;                     // what the demand was: orders, drugs and quantities

    int drugOfKey(const QString& key) const { return m_byKey.value(key, -1); }
    // The orders that asked for the drug: order index and quantity asked, earliest first.
    struct Ask {
        int order = 0;
        double asked = 0;
    };
    const Ask* asksBegin(int drug) const { return m_asks.data() + m_askStart[size_t(drug)]; }
    const Ask* asksEnd(int drug) const { return m_asks.data() + m_askStart[size_t(drug) + 1]; }

    // The received units of the drug shared among the orders that asked for it.
    // The order is one of orders: valid while this demand is.
    struct Share {
        const GroupDemand::Order* order = nullptr;
        double asked = 0;
        int allotted = 0;
    };
    std::vector<Share> shares(const QString& key, double received, DeliveryShare::Rule rule) const;

    // From the group demand's report and the catalogue by key.
    static PeriodDemand FromReport(GroupDemand::Report&& report, const QHash<QString, CatalogueItem>& catalogue);
    // The catalogue's rows by key (first row of a key wins): "SELECT * FROM bowndrugs" by position.
    static bool ReadCatalogue(QHash<QString, CatalogueItem>& out, QString* error);
    // Both reads and the adding up on ServerConnection.
    static PeriodDemand Read(const GroupDemand::Period& period);

private:
    QHash<QString, int> m_byKey;
    std::vector<Ask> m_asks;
    std::vector<int> m_askStart;
};
