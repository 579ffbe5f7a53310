#pragma once

#include "buying/PeriodDemand.h"

#include <QHash>
#include <QString>
#include <vector>

// One read of what the server holds of a demand's order lines, taken in row by row as the rows
// come (none kept): each of the lines' rows (a later row of a line wins), then finish with the
// group's stock by drug key, which sets every ask's open units and every drug's demand. Made, the
// reader forgets what the demand held before; the demand must outlive it. Draws nothing.
class HeldReader {
public:
    explicit HeldReader(PeriodDemand& demand);
    // The drug by its place in the demand (drugOfKey; below 0: a drug it does not hold).
    void take(const QString& orderid, int drug, const PeriodDemand::Held& held);
    void finish(const QHash<QString, int>& groupStock);

private:
    PeriodDemand& m_demand;
    // The first order of each id, the next order of the same id, per drug where its last row was
    // found, and the last row's order (-1: an id of no order read).
    static constexpr int NoRowYet = -2;
    QHash<QString, int> m_firstOrder;
    std::vector<int> m_nextSameId;
    std::vector<int> m_cursor;
    QString m_lastId;
    int m_lastFirst = NoRowYet;
};
