#include "collection/PickListPrint.h"

#include "collection/FormBuyCollectTexts.h"

#include "collection/BuyCollectCore.h"
#include "ui/Dialogs.h"
#include "ui/FormSetPrinter.h"

#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace PickListPrint {

void PrintShownOrder(QWidget* parent, const QString& shownOrderId) {
    if (shownOrderId.trimmed().isEmpty()) {
        Dialogs::MsgBox(FormBuyCollectTexts::NoOrderShown, Dialogs::vbOKOnly, parent);
        return;
    }
    const PickList::Read read = PickList::ReadOrder(shownOrderId);
    if (!read.ok) {
        Dialogs::MsgBox(FormBuyCollectTexts::OrderReadFailed + read.error, Dialogs::vbOKOnly, parent);
        return;
    }
    if (read.pages.empty()) {
        Dialogs::MsgBox(FormBuyCollectTexts::OrderGone, Dialogs::vbOKOnly, parent);
        return;
    }
    Preview(parent, read.pages, FormBuyCollectTexts::MenuPickList);
}

void PrintSentOrders(QWidget* parent) {
    const PickList::Read read = PickList::ReadSentOrders();
    if (!read.ok) {
        Dialogs::MsgBox(FormBuyCollectTexts::ListReadFailed + read.error, Dialogs::vbOKOnly, parent);
        return;
    }
    if (read.pages.empty()) {
        Dialogs::MsgBox(FormBuyCollectTexts::NoSentOrders, Dialogs::vbOKOnly, parent);
        return;
    }
    Preview(parent, read.pages, FormBuyCollectTexts::MenuPickListsAll);
}

void Preview(QWidget* parent, const std::vector<PickList::Page>& pages, const QString& title) {
    const QPrinterInfo info = CurrentPrinter::info();
    QPrinter printer =
        info.isNull() ? QPrinter(QPrinter::HighResolution) : QPrinter(info, QPrinter::HighResolution);
    if (info.isNull()) {
        // The preview's print button then saves the pages as a PDF file.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::home().filePath(QStringLiteral("pick-lists.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
    printer.setFullPage(true);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(title);
    const QDateTime printedAt = BuyCollect::now();
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("preview"));
    preview.setWindowTitle(title);
    preview.setLayoutDirection(Qt::RightToLeft);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* p) {
        p->setFullPage(true);
        QPageLayout layout = p->pageLayout();
        layout.setUnits(QPageLayout::Millimeter);
        const QPointF origin(layout.minimumMargins().left(), layout.minimumMargins().top());
        if (!PickList::printOnDevice(*p, origin, pages, printedAt))
            Dialogs::MsgBox(FormBuyCollectTexts::PickListsNotPrinted, Dialogs::vbOKOnly, parent);
    });
    preview.exec();
}

} // namespace PickListPrint
