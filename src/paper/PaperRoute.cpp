#include "paper/PaperRoute.h"

namespace PaperRoute {

Decision Decide(const QPrinterInfo& printer) {
    if (!printer.isNull())
        return {Way::Printer, printer, {}};
    return {Way::AskPdf, {}, NoPrinterOfferPdf};
}

QString PdfName(const QString& typed) {
    const QString name = typed.trimmed();
    if (name.isEmpty() || name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return name;
    return name + QStringLiteral(".pdf");
}

} // namespace PaperRoute
