#include "paper/CurrentPrinter.h"

namespace CurrentPrinter {
namespace {
QString& chosen() {
    static QString name;
    return name;
}
} // namespace

QPrinterInfo info() {
    if (!chosen().isEmpty()) {
        const QPrinterInfo p = QPrinterInfo::printerInfo(chosen());
        if (!p.isNull())
            return p;
    }
    const QPrinterInfo d = QPrinterInfo::defaultPrinter();
    if (!d.isNull())
        return d;
    const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
    return all.isEmpty() ? QPrinterInfo() : all.first();
}

void set(const QPrinterInfo& printer) {
    chosen() = printer.printerName();
}
QString chosenName() {
    return chosen();
}
void reset() {
    chosen().clear();
}
} // namespace CurrentPrinter
