#include "data/FieldText.h"

#include "data/ModGFun.h"

#include <QByteArray>
#include <cmath>

QString FieldText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QString:
        // Most fields are text: taken as they are, without the variant's conversion.
        return *static_cast<const QString*>(value.constData());
    case QMetaType::Double: {
        const double d = *static_cast<const double*>(value.constData());
        // Drivers widen a 32-bit real column to double; show it as the float it was stored as.
        const float f = static_cast<float>(d);
        if (std::isfinite(d) && static_cast<double>(f) == d)
            return ModGFun::ShortestText(f);
        return ModGFun::ShortestText(d);
    }
    case QMetaType::Float:
        return ModGFun::ShortestText(value.toFloat());
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    case QMetaType::Bool:
        // A bit column reads as the words the server's own clients show for it.
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}
