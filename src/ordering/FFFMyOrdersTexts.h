#pragma once

#include <QString>
#include <QStringList>

// The my-orders window's own texts; its list's headers are in MyOrdersListTexts.
namespace FFFMyOrdersTexts {
inline const QString ReadFailed = QStringLiteral("تعذرت قراءة قائمة الاوردرات من الخادم:\n");
inline const QString Reorder = QStringLiteral("اعادة طلب هذا الاوردر");
} // namespace FFFMyOrdersTexts
