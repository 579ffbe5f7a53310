#pragma once

#include "buying/OfferBook.h"
#include "buying/PeriodDemand.h"

#include <QString>
#include <vector>

// Purchase orders drafted from the open units of sent order lines: per drug the quantity to buy
// (the open units less the group's stock, which those units take first, in whole units, never
// below 0) at the wholesaler with the best current offer. The manager may change a quantity, move
// a drug to another wholesaler, or give up the drug's open units. Draws nothing.
class PurchasePlan {
public:
    struct Line {
        QString key, drug;
        double demand = 0, stock = 0; // open units; the group's stock
        double stockUsed = 0;         // units of the stock the open units take
        bool cancelled = false;       // the manager gives up the open units
        double quantity = 0;
        double price = 0;
        double discount = 0;
        int wholesaler = 0; // 0: no wholesaler offers the drug
        double value() const;
    };
    struct Order {
        int wholesaler = 0;
        std::vector<int> lines; // into lines(), by drug name; lines to buy only (quantity above 0)
        double total = 0;
    };

    static PurchasePlan Make(const PeriodDemand& demand, const OfferBook& offers);
    static double ToBuy(double demand, double stock);

    const std::vector<Line>& lines() const { return m_lines; }
    // One purchase order per wholesaler, by wholesaler name.
    std::vector<Order> orders(const OfferBook& offers) const;
    // Lines without any offer (still to be placed by hand), by drug name.
    std::vector<int> unoffered() const;
    double total() const;

    // False (nothing changed) for a quantity below 0 or not a number.
    bool setQuantity(int line, double quantity);
    // Gives up the line's open units (nothing bought, no stock used), or takes them up again.
    bool setCancelled(int line, bool cancelled);
    // The line goes to the wholesaler at that wholesaler's current offer (0 % without one).
    bool moveTo(int line, int wholesaler, const OfferBook& offers);

    GroupDemand::Period period;
    QString fingerprint;

private:
    std::vector<Line> m_lines;
};
