// Preparation lists on printers that cannot print near the paper's edge: every page, printed as
// the preview prints it (from the paper's corner, A4), rendered with pdftoppm, has no ink within
// half an inch of an edge, so a printer with margins up to that (office lasers leave a quarter
// inch) cuts nothing off.
#include "PdfReadBack.h"
#include "collection/PickList.h"
#include "ordering/OrderLines.h"

#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

class TestPickListMargins : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void inkStaysInsideThePrintableArea_data() {
        QTest::addColumn<bool>("allotted");
        QTest::newRow("plain") << false;
        QTest::newRow("allotted") << true;
    }
    void inkStaysInsideThePrintableArea() {
        QFETCH(bool, allotted);
        // Long names, a long pharmacy name and enough lines for two pages with their page numbers.
        std::vector<OrderLines::Line> lines;
        for (int i = 0; i < 45; ++i)
            lines.push_back({QStringLiteral("اموكسيسيلين كلافولانات البوتاسيوم اقراص ممتدة المفعول %1").arg(i), "12",
                             "1234.5", "15"});
        PickList::Page page = PickList::MakePage(OrderLines::Encode(lines), "261207101530", "261207", "01011111111",
                                                 "كفر الشيخ", "101");
        page.pharmacy = QStringLiteral("صيدلية الدكتورة فاطمة عبد الرحمن محمود الشناوي بشارع الجيش");
        for (size_t i = 0; allotted && i < page.lines.size(); ++i)
            page.allotted.push_back({12, int(i % 13), 100});

        const QString pdf = m_dir.filePath(allotted ? "allotted.pdf" : "plain.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        // A printer's quarter-inch margins; the sheets are drawn full-page, as the preview sets it.
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(6.35, 6.35, 6.35, 6.35),
                                          QPageLayout::Millimeter));
        printer.setFullPage(true);
        QVERIFY(PickList::printOnDevice(printer, {}, {page}, QDateTime(QDate(2026, 12, 7), QTime(10, 0))));
        READ_BACK_OR_SKIP(pdf);
        const QString png = m_dir.filePath("page");
        QCOMPARE(PdfReadBack::run("pdftoppm", {"-r", "72", "-gray", "-png", pdf, png}), 0);
        if (const QString shots = qEnvironmentVariable("BRENTOVAL_SHOT_DIR"); !shots.isEmpty())
            PdfReadBack::run("pdftoppm", {"-r", "110", "-png", pdf, shots + "/picklist-margins"});

        const QDir dir(m_dir.path());
        const QStringList pages = dir.entryList({"page-*.png"}, QDir::Files, QDir::Name);
        QVERIFY(pages.size() >= 2);
        for (const QString& name : pages) {
            const QImage img(dir.filePath(name));
            QVERIFY(!img.isNull());
            const double mm = img.width() / 210.0; // pixels per millimetre
            const QRectF room(PickList::PrinterMarginRoom, PickList::PrinterMarginRoom, 210 - 2 * PickList::PrinterMarginRoom,
                              297 - 2 * PickList::PrinterMarginRoom);
            QRectF ink;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (qGray(img.pixel(x, y)) < 200)
                        ink |= QRectF(x / mm, y / mm, 1 / mm, 1 / mm);
            QVERIFY2(room.contains(ink) && ink.width() > 150 && ink.height() > 250,
                     qPrintable(QStringLiteral("%1: ink %2,%3 to %4,%5 mm").arg(name).arg(ink.left()).arg(ink.top())
                                    .arg(ink.right()).arg(ink.bottom())));
            QFile::remove(dir.filePath(name));
        }
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestPickListMargins t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_picklistmargins.moc"
