#include "ui/PrintPreview.h"

#include "paper/CurrentPrinter.h"

#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace PrintPreview {

namespace {
void setA4(QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
}
} // namespace

std::unique_ptr<QPrinter> A4Printer(const QPrinterInfo& info) {
    auto printer = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                 : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (info.isNull())
        printer->setOutputFormat(QPrinter::PdfFormat);
    setA4(*printer);
    return printer;
}

bool Show(QWidget* parent, const Options& options, const Paint& paint, const std::function<void()>& failed) {
    const std::unique_ptr<QPrinter> printer = A4Printer(CurrentPrinter::info());
    if (printer->outputFormat() == QPrinter::PdfFormat && !options.pdfWithoutPrinter.isEmpty())
        printer->setOutputFileName(options.pdfWithoutPrinter);
    printer->setDocName(options.title);
    QPrintPreviewDialog preview(printer.get(), parent);
    preview.setObjectName(QStringLiteral("preview"));
    preview.setWindowTitle(options.title);
    preview.setLayoutDirection(options.direction);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* p) {
        // The dialog's page setup may have changed the paper: the sheets are laid out for A4.
        setA4(*p);
        if (!paint(*p, {}) && failed)
            failed();
    });
    return preview.exec() == QDialog::Accepted;
}

} // namespace PrintPreview
