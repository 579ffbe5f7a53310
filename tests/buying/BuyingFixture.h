#pragma once

#include "OrderRows.h"
#include "TestDb.h"
#include "buying/BuyingStore.h"
#include "data/ModSQL.h"
#include "ordering/OrderLines.h"

// Orders to buy for, wholesalers and offers, on the test database (TestDb makes the tables).
namespace BuyingFixture {

inline bool sentOrder(const QString& id, const QString& date, const QString& tel,
                      const std::vector<OrderLines::Line>& lines, bool sent = true) {
    return OrderRows::insert({id, date, tel, QStringLiteral("دسوق"), sent ? QStringLiteral("101") : QString(),
                              OrderLines::Encode(lines)});
}

inline bool wholesaler(int id, const QString& name) {
    return TestDb::exec(QStringLiteral("INSERT INTO grp_wholesalers (wholesaler,name,phone,district) VALUES ('%1',%2,'0400','طنطا')")
                            .arg(id)
                            .arg(ModSQL::SqlQuote(name)));
}

inline bool offer(int w, const QString& drug, const QString& discount, const QString& date) {
    return TestDb::exec(QStringLiteral("INSERT INTO grp_offers (wholesaler,drug,discount,offerdate) VALUES ('%1',%2,'%3','%4')")
                            .arg(w)
                            .arg(ModSQL::SqlQuote(drug), discount, date));
}

} // namespace BuyingFixture
