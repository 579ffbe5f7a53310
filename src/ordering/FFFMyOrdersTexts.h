#pragma once

#include <QString>
#include <QStringList>

// Every text the my-orders list shows.
namespace FFFMyOrdersTexts {
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
inline const QString ReadFailed = QStringLiteral("تعذرت قراءة قائمة الاوردرات من الخادم:\n");
inline const QString Reorder = QStringLiteral("اعادة طلب هذا الاوردر");
} // namespace FFFMyOrdersTexts
