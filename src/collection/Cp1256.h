#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Windows-1256, the code page the client-book file stores its texts in.
namespace Cp1256 {
QString decode(QByteArrayView bytes);
// Nothing when a character has no byte in the code page.
std::optional<QByteArray> encode(QStringView text);
} // namespace Cp1256
