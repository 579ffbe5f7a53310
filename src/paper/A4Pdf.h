#pragma once

#include <QString>
#include <functional>

class QPagedPaintDevice;

// Every paper's PDF file: A4 upright, no margins (the papers keep their own), 600 dots per inch, so a
// page drawn on it is the page a printer takes drawn from the paper's corner.
namespace A4Pdf {

// Writes the file with draw; false when the file could not be written or the drawing failed.
bool Write(const QString& path, const QString& title, const std::function<bool(QPagedPaintDevice&)>& draw);

} // namespace A4Pdf
