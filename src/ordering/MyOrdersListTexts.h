#pragma once

#include <QString>
#include <QStringList>

// The headers of the pharmacist's list of own orders.
namespace MyOrdersListTexts {
// By the table's binding column order: the lines text, orderid, date, timee, tel, markaz,
// mohafaza, submitted; the lines text and the columns after these have none.
inline const QStringList Headers = {QString(),
                                    QStringLiteral("رقم الاوردر"),
                                    QStringLiteral("التاريخ"),
                                    QStringLiteral("الساعة"),
                                    QStringLiteral("التلفون"),
                                    QStringLiteral("مركز"),
                                    QStringLiteral("محافظة"),
                                    QStringLiteral("الحالة")};
} // namespace MyOrdersListTexts
