#include "paper/A4Pdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace A4Pdf {

bool Write(const QString& path, const QString& title, const std::function<bool(QPagedPaintDevice&)>& draw) {
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setTitle(title.isEmpty() ? QStringLiteral("Brentoval") : title);
    pdf.setCreator(QStringLiteral("Brentoval"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return draw && draw(pdf);
}

} // namespace A4Pdf
