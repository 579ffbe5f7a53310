#pragma once

#include "buying/DeliveryShare.h"
#include "demand/GroupDemand.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

// What the sent orders of a period asked for, drug by drug (drugs matched by DrugNameKey), with
// the catalogue's price, and for each drug the orders that asked for it, earliest sent first.
// Each ask counts in whole units (DeliveryShare::AskedUnits); with what the server holds of the
// lines (HeldReader), only their open units count, and the stock is the group's. Draws nothing.
struct PeriodDemand {
    struct Drug {
        QString key;
        QString name;    // the catalogue's spelling when it has the drug
        double demand = 0; // open units
        double stock = 0;  // the group's stock: its own row, else bowndrugs position 4
        bool stockRow = false; // the group holds a row for the drug's stock
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
    // What the server holds of an order line the group has taken up.
    struct Held {
        bool exists = false;  // false: no row, every unit open
        bool inOrder = false; // in a purchase order not yet closed
        int asked = 0, onorder = 0, allotted = 0, cancelled = 0;
    };
    // The key of an order line in the server's rows and in maps of them.
    static QString LineKey(const QString& orderid, const QString& drugkey) { return orderid + u'\n' + drugkey; }
    // The orders that asked for the drug: order index, quantity asked, its whole units, the units
    // still open (none while it is in a purchase order not closed: one at a time), and
    // what the server held of the line when read.
    // A period holds an ask for nearly every line: kept at 40 bytes.
    struct Ask {
        double asked = 0;
        int order = 0;
        int units = 0;
        int open = 0;
        Held held;
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
    // Shares the open units.
    std::vector<Share> shares(const QString& key, double received, DeliveryShare::Rule rule) const;

    // From the group demand's report and the catalogue by key.
    static PeriodDemand FromReport(GroupDemand::Report&& report, const QHash<QString, CatalogueItem>& catalogue);
    // The catalogue's rows by key (first row of a key wins): "SELECT * FROM bowndrugs" by position.
    static bool ReadCatalogue(QHash<QString, CatalogueItem>& out, QString* error);
    // Both reads and the adding up on ServerConnection; meanwhile as GroupDemand::Build runs it.
    // alongside, when the reads went well, runs on the calling thread while the demand is put
    // together from them on another (the connection is free then): a caller's other reads.
    static PeriodDemand Read(const GroupDemand::Period& period, const std::function<void()>& meanwhile = {},
                             const std::function<void()>& alongside = {});

private:
    QHash<QString, int> m_byKey;
    std::vector<Ask> m_asks;
    std::vector<int> m_askStart;
    // What the server holds of the lines is taken in by a reader of its own (one read's state).
    friend class HeldReader;
    // Each ask's open units from what it holds, and each drug's demand and the group's stock.
    void openUnits(const QHash<QString, int>& groupStock);
};
