#pragma once

#include <QString>
#include <QVariant>

// A field value as the text a user expects: NULL or unreadable gives the empty text, a real column
// reads "10.3" whatever the driver hands over, whole numbers carry no decimal part.
QString FieldText(const QVariant& value);
