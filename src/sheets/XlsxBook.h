#pragma once

#include "sheets/XlsxSheet.h"

#include <QList>
#include <QString>

// Excel workbooks the manager opens by double-click, whatever the system's list separator: each
// sheet right-to-left, a bold header row, numbers as numbers, columns as wide as their texts.
namespace XlsxBook {

// Writes sheets to path (replacing a file there); false with the reason in error.
bool Write(const QString& path, const QList<XlsxSheet>& sheets, QString* error = nullptr);

} // namespace XlsxBook
