#pragma once

#include <QPointF>
#include <QPrinterInfo>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

// The print preview of every printed sheet: A4 upright on the current printer, drawn full-page from
// the paper's corner (every paper keeps clear of the printer's margins itself).
// The sheets differ only in what is set here.
namespace PrintPreview {

struct Options {
    QString title;
    // Without a printer the preview prints into a PDF file: this one, or Qt's default when empty.
    QString pdfWithoutPrinter;
    Qt::LayoutDirection direction = Qt::LeftToRight;
};

// Draws every page; false when the job failed.
using Paint = std::function<bool(QPagedPaintDevice& device, QPointF originMm)>;

// A printer for the sheets: the given one (a PDF printer when it is null), always on A4 upright and
// full-page, whatever paper the printer itself defaults to.
std::unique_ptr<QPrinter> A4Printer(const QPrinterInfo& info);

// Opens the preview on the current printer; failed is called when a drawing fails. True when the
// pages were printed from it (the preview's print button), false when it was closed without.
bool Show(QWidget* parent, const Options& options, const Paint& paint, const std::function<void()>& failed = {});

} // namespace PrintPreview
