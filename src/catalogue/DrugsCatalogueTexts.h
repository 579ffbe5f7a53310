#pragma once

#include <QString>

// The catalogue rules' texts: the grid's headers and the rename's refusals.
namespace DrugsCatalogueTexts {
// Headers of the catalogue grid's first six columns, then the highest discount and the ratio.
inline const QString Headers[] = {QStringLiteral("الدواء"), QStringLiteral("السعر"),  QStringLiteral("الخصم"),
                                  QStringLiteral("تحديث"),  QStringLiteral("الرصيد"), QStringLiteral("المطلوب")};
inline const QString HeaderHighest = QStringLiteral("اعلي خصم");
inline const QString HeaderRatio = QStringLiteral("نسبةالكفاية");
inline const QString NameWithSeparators = QStringLiteral("لا يمكن ان يحتوي اسم الدواء على ^ او |");
inline const QString NameTaken = QStringLiteral("يوجد دواء آخر بهذا الاسم");
} // namespace DrugsCatalogueTexts
