// The printed order sheet, checked on Qt's own PDF output with poppler: text and its place on the
// page through pdftotext -bbox, ruled lines through a pdftoppm rendering.
#include "PdfReadBack.h"
#include "Shots.h"
#include "TestDb.h"
#include "data/Clock.h"
#include "catalogue/DrugsCatalogue.h"
#include "catalogue/FormDrugsEditor.h"
#include "catalogue/OrderSheet.h"
#include "data/FlexGrid.h"
#include "ui/Dialogs.h"
#include "ui/FormSetPrinter.h"

#include <QApplication>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using DrugsCatalogue::ColDiscount;
using DrugsCatalogue::ColLastChange;
using DrugsCatalogue::ColName;
using DrugsCatalogue::ColPrice;

namespace {
// Page x of sheet coordinate 0: the sheet's origin is shifted 3 mm into the page.
constexpr double X0 = 3;
// poppler's word boxes follow the face's own ascent and descent: their middle lies about this far
// below the top a text was printed at.
constexpr double TextMiddle = 1.7;

using Word = PdfWord;

// The sheet is drawn Zoom times smaller from the paper's corner: words and pixels are looked for in
// the millimetres it is laid out in.
double pageX(double x) {
    return PaperForm::Inset + (x - OrderSheet::SheetLeft) * OrderSheet::Zoom;
}
double pageY(double y) {
    return PaperForm::Inset + y * OrderSheet::Zoom;
}

// Every word of the sheet, whatever page poppler puts it on, in the sheet's millimetres.
QList<Word> pdfWords(const QString& pdf) {
    QList<Word> words;
    for (const QList<Word>& page : pdfWordsByPage(pdf))
        for (Word w : page) {
            w.x0 = OrderSheet::SheetLeft + (w.x0 - PaperForm::Inset) / OrderSheet::Zoom;
            w.x1 = OrderSheet::SheetLeft + (w.x1 - PaperForm::Inset) / OrderSheet::Zoom;
            w.y0 = (w.y0 - PaperForm::Inset) / OrderSheet::Zoom;
            w.y1 = (w.y1 - PaperForm::Inset) / OrderSheet::Zoom;
            words << w;
        }
    return words;
}

// Words whose centre lies in the rectangle (page millimetres).
QList<Word> in(const QList<Word>& words, double x0, double y0, double x1, double y1) {
    QList<Word> r;
    for (const Word& w : words)
        if (w.cx() >= x0 && w.cx() < x1 && w.cy() >= y0 && w.cy() < y1)
            r << w;
    return r;
}

QString joined(const QList<Word>& words) {
    QStringList t;
    for (const Word& w : words)
        t << w.text;
    return t.join(u' ');
}

void setRow(FlexGrid& g, int r, const QString& name, const QString& price, const QString& disc,
            const QString& date) {
    g.setTextMatrix(r, ColName, name);
    g.setTextMatrix(r, ColPrice, price);
    g.setTextMatrix(r, ColDiscount, disc);
    g.setTextMatrix(r, ColLastChange, date);
}

OrderSheet::Input sheet(const FlexGrid& g) {
    OrderSheet::Input in;
    in.grid = &g;
    in.printedAt = QDateTime(QDate(2026, 12, 7), QTime(9, 13));
    in.header = QImage(QStringLiteral(":/catalogue/PH.png"));
    in.footer = QImage(QStringLiteral(":/catalogue/PF.png"));
    return in;
}

// A grayscale rendering of the first page at 100 dots per inch.
QImage render(const QString& pdf, const QString& dir) {
    PdfReadBack::run(QStringLiteral("pdftoppm"),
                      {"-r", "100", "-gray", "-png", "-singlefile", pdf, dir + "/page"});
    return QImage(dir + "/page.png").convertToFormat(QImage::Format_Grayscale8);
}
int px(double mm) {
    return int(std::lround(mm / 25.4 * 100));
}
// Share of dark pixels along a horizontal (or vertical) span, looking one pixel either side.
double darkShare(const QImage& img, bool horizontal, double at, double from, double to) {
    int dark = 0, total = 0;
    const int along = px(horizontal ? pageY(at) : pageX(at));
    const int first = px(horizontal ? pageX(from) : pageY(from));
    const int last = px(horizontal ? pageX(to) : pageY(to));
    for (int s = first; s <= last; ++s) {
        bool hit = false;
        for (int d = -1; d <= 1 && !hit; ++d) {
            const int x = horizontal ? s : along + d;
            const int y = horizontal ? along + d : s;
            hit = qGray(img.pixel(x, y)) < 128;
        }
        dark += hit;
        ++total;
    }
    return total ? double(dark) / total : 0;
}
} // namespace

class TestOrderSheet : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    QString path(const char* name) const { return tmp.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        Dialogs::setTestMode(true);
        TestDb::installRecordingHooks();
    }
    void init() {
        Dialogs::clearAnswers();
        Dialogs::clearShown();
    }

    void ninetyNineNamesInThreeBlocks() {
        FlexGrid g(121, DrugsCatalogue::ColCount);
        for (int r = 1; r <= 120; ++r)
            setRow(g, r, QStringLiteral("N%1").arg(r, 3, 10, QLatin1Char('0')), QString::number(r) + ".5",
                   "10", "170801");
        const QString pdf = path("names.pdf");
        QVERIFY(OrderSheet::printToPdf(pdf, sheet(g)));
        READ_BACK_OR_SKIP(pdf);
        const QList<Word> words = pdfWords(pdf);
        QVERIFY(!words.isEmpty());
        int names = 0;
        for (const Word& w : words) {
            if (!w.text.startsWith(u'N') || w.text == QLatin1String("NO"))
                continue;
            ++names;
            const int r = w.text.mid(1).toInt();
            QVERIFY2(r >= 1 && r <= 99, qPrintable(w.text));
            const int b = (r - 1) / 33;
            const int i = (r - 1) % 33 + 1;
            QVERIFY2(qAbs(w.x0 - (X0 + 3 + 64 * b + 1)) < 0.6,
                     qPrintable(w.text + " x " + QString::number(w.x0)));
            QVERIFY2(qAbs(w.cy() - (25 + 6 * i + TextMiddle)) < 1.0,
                     qPrintable(w.text + " y " + QString::number(w.cy())));
            // The price of the same row, centred in its 10 mm cell.
            const QList<Word> price =
                in(words, X0 + 3 + 64 * b + 34, 24 + 6 * i, X0 + 3 + 64 * b + 44, 30 + 6 * i);
            QCOMPARE(joined(price), QString::number(r) + ".5");
            QVERIFY(qAbs(price.front().cx() - (X0 + 3 + 64 * b + 39)) < 0.4);
        }
        QCOMPARE(names, 99);
        QVERIFY(!in(words, 0, 30, 210, 228).isEmpty());
    }

    // Fixed rows: a 70-character name is cut with an ellipsis inside its cell at 8 points; the
    // price beside it stays readable.
    void longNamesStayInsideTheirCells() {
        const QString latin = QStringLiteral("Amoxicillin Clavulanate Potassium Extended Release Tablets 1000mg x 14");
        const QString arabic = QStringLiteral("اموكسيسيلين كلافولانات البوتاسيوم اقراص ممتدة المفعول الف مجم عدد اربعة عشر");
        QCOMPARE(latin.size(), 70);
        FlexGrid g(100, DrugsCatalogue::ColCount);
        for (int r = 1; r <= 99; ++r)
            setRow(g, r, (r % 2 ? latin : arabic.left(70)), QString::number(r), "10", "170801");
        const QString pdf = path("long.pdf");
        QVERIFY(OrderSheet::printToPdf(pdf, sheet(g)));
        READ_BACK_OR_SKIP(pdf);
        Shots::file(pdf, "long-names.pdf");
        const QList<Word> words = pdfWords(pdf);
        QList<QRectF> cells;
        for (int b = 0; b < 3; ++b)
            for (int i = 1; i <= 33; ++i) {
                const double o = X0 + 3 + 64 * b, top = 24 + 6 * i;
                cells << QRectF(o, top, 34, 6) << QRectF(o + 34, top, 10, 6) << QRectF(o + 44, top, 10, 6);
                const QList<Word> name = in(words, o, top, o + 34, top + 6);
                QVERIFY(!name.isEmpty());
                // Cut, not dropped: the printed part is where the name begins, then the ellipsis (NFKC
                // makes it three points).
                const QString printed = joined(name).normalized(QString::NormalizationForm_KC);
                if ((b * 33 + i) % 2)
                    QVERIFY2(printed.startsWith(QLatin1String("Amoxicillin Clav")) && printed.endsWith(QLatin1String("...")),
                             qPrintable(printed));
                QCOMPARE(joined(in(words, o + 34, top, o + 44, top + 6)), QString::number(b * 33 + i));
                for (const Word& w : name) // not below 8 points
                    QVERIFY2(w.y1 - w.y0 > 8 * 25.4 / 72 * 0.9, qPrintable(w.text));
            }
        const QList<Word> table = in(words, 0, 30, 210, 228);
        // poppler's boxes reach the face's whole ascent: they fill the 6 mm rows.
        QVERIFY2(wordsOutsideCells(table, cells, 0.6).isEmpty(), qPrintable(wordsOutsideCells(table, cells, 0.6).join(", ")));
    }

    void blockRules() {
        struct Kind {
            QString name, price, disc, date;
            QString disc0, disc1, disc2; // printed discount per block, empty when none
            bool no0, no1, no2;
        };
        const QList<Kind> kinds{
            {"K0", "5", "12", "170801", "12%", "12%", "12%", false, false, false},
            {"K1", "5", "12", "0", "12%", "12%", "12%", true, true, true},
            {"K2", "", "7", "0", "7%", "", "7%", false, true, true},
            {"K3", "5", "3", "-5", "3%", "3%", "3%", false, true, true},
            {"", "9", "3", "0", "", "3%", "", true, false, false},
            {"", "", "", "", "", "", "", false, false, false},
            {"K6", "5", "", "abc", "%", "%", "%", true, true, true},
            {"K7", "5", "4", "0.5", "4%", "4%", "4%", false, false, false},
        };
        FlexGrid g(100, DrugsCatalogue::ColCount);
        for (int r = 1; r <= 99; ++r) {
            const Kind& k = kinds[(r - 1) % kinds.size()];
            setRow(g, r, k.name.isEmpty() ? QString() : k.name + "R" + QString::number(r), k.price, k.disc,
                   k.date);
        }
        const QString pdf = path("rules.pdf");
        QVERIFY(OrderSheet::printToPdf(pdf, sheet(g)));
        READ_BACK_OR_SKIP(pdf);
        Shots::file(pdf, "rules.pdf");
        const QList<Word> words = pdfWords(pdf);
        for (int b = 0; b < 3; ++b) {
            for (int i = 1; i <= 33; ++i) {
                const int r = b * 33 + i;
                const Kind& k = kinds[(r - 1) % kinds.size()];
                const double o = X0 + 3 + 64 * b;
                const double top = 24 + 6 * i;
                const QString where = QStringLiteral("block %1 row %2").arg(b).arg(i);
                const QString disc = b == 0 ? k.disc0 : b == 1 ? k.disc1 : k.disc2;
                const bool no = b == 0 ? k.no0 : b == 1 ? k.no1 : k.no2;
                QCOMPARE(joined(in(words, o + 44, top, o + 54, top + 6)), disc);
                QVERIFY2(joined(in(words, o + 54, top, o + 64, top + 6)) == (no ? "NO" : ""),
                         qPrintable(where));
                QCOMPARE(joined(in(words, o, top, o + 34, top + 6)),
                         k.name.isEmpty() ? QString() : k.name + "R" + QString::number(r));
            }
        }
    }

    void fewerRowsLeaveTheRestBlank() {
        FlexGrid g(41, DrugsCatalogue::ColCount);
        for (int r = 1; r <= 40; ++r)
            setRow(g, r, QStringLiteral("D%1").arg(r), "1", "2", "0");
        const QString pdf = path("short.pdf");
        QVERIFY(OrderSheet::printToPdf(pdf, sheet(g)));
        READ_BACK_OR_SKIP(pdf);
        const QList<Word> words = pdfWords(pdf);
        // Four words a row (name, price, discount, NO): 33 rows of the first block, 7 of the second.
        QCOMPARE(in(words, X0 + 3, 30, X0 + 3 + 64, 228).size(), 33 * 4);
        QCOMPARE(in(words, X0 + 3 + 64, 30, X0 + 3 + 128, 228).size(), 7 * 4);
        QCOMPARE(in(words, X0 + 3 + 64, 30 + 6 * 7, X0 + 3 + 128, 228).size(), 0);
        QCOMPARE(in(words, X0 + 3 + 128, 30, X0 + 3 + 192, 228).size(), 0);
        // An empty grid still gives the whole form.
        FlexGrid empty(1, DrugsCatalogue::ColCount);
        QVERIFY(OrderSheet::printToPdf(path("empty.pdf"), sheet(empty)));
        QCOMPARE(in(pdfWords(path("empty.pdf")), 0, 30, 210, 228).size(), 0);
    }

    void lowerPartAndDateCell() {
        QCOMPARE(OrderSheet::PrintDateText(QDateTime(QDate(2026, 12, 7), QTime(9, 13))),
                 QStringLiteral("26.12.07 09:13"));
        QCOMPARE(OrderSheet::PrintDateText(QDateTime(QDate(2031, 1, 30), QTime(23, 5))),
                 QStringLiteral("31.01.30 23:05"));
        FlexGrid g(4, DrugsCatalogue::ColCount);
        const QString pdf = path("lower.pdf");
        QVERIFY(OrderSheet::printToPdf(pdf, sheet(g)));
        READ_BACK_OR_SKIP(pdf);
        const QList<Word> words = pdfWords(pdf);
        // Date cell: second footer row, first 30 mm cell, centred.
        const QList<Word> date = in(words, X0 + 3, 256, X0 + 33, 262);
        QCOMPARE(joined(date), QStringLiteral("26.12.07 09:13"));
        QVERIFY(qAbs((date.front().x0 + date.back().x1) / 2 - (X0 + 3 + 15)) < 0.6);
        QVERIFY(qAbs(date.front().cy() - (257 + TextMiddle)) < 1.0);
        // The other cells of that row stay blank.
        QCOMPARE(in(words, X0 + 33, 256, 210, 262).size(), 0);
        // The payment note on its line at 231, centred over 200 mm, numbers in place.
        const QList<Word> note = in(words, 0, 231, 210, 236);
        const QStringList noteWords = joined(note).split(u' ');
        QVERIFY(noteWords.contains(QStringLiteral("30")));
        // "2%" keeps its two characters together; poppler gives them as two words.
        const auto two = std::find_if(note.begin(), note.end(), [](const Word& w) { return w.text == "2"; });
        const auto pct = std::find_if(note.begin(), note.end(), [](const Word& w) { return w.text == "%"; });
        QVERIFY(two != note.end() && pct != note.end());
        QVERIFY(std::min(qAbs(two->x1 - pct->x0), qAbs(pct->x1 - two->x0)) < 0.3);
        double left = 1e9, right = -1e9;
        for (const Word& w : note) {
            left = std::min(left, w.x0);
            right = std::max(right, w.x1);
            QVERIFY(qAbs(w.cy() - (231 + TextMiddle)) < 1.2);
        }
        QVERIFY2(qAbs((left + right) / 2 - (X0 + 3 + 96)) < 1.5,
                 qPrintable(QString::number((left + right) / 2)));
        // Labels of the invoice table and the footer table sit in their cells.
        QVERIFY(!in(words, X0 + 3 + 50, 241, X0 + 3 + 96, 246).isEmpty());
        QVERIFY(!in(words, X0 + 3 + 146, 241, X0 + 3 + 192, 246).isEmpty());
        QCOMPARE(in(words, X0 + 3, 241, X0 + 3 + 50, 246).size(), 0);
        QCOMPARE(in(words, X0 + 3 + 96, 241, X0 + 3 + 146, 246).size(), 0);
        for (double cell : {0.0, 30.0, 60.0, 126.0})
            QVERIFY(!in(words, X0 + 3 + cell, 251, X0 + 3 + cell + 30, 256).isEmpty());
        // Header texts of the item table, centred in their cells; the third block's drug header is
        // centred from its left edge, the others from one millimetre in.
        auto middle = [&](double x0, double x1) {
            const QList<Word> ws = in(words, x0, 24, x1, 30);
            double l = 1e9, r = -1e9;
            for (const Word& w : ws) {
                l = std::min(l, w.x0);
                r = std::max(r, w.x1);
            }
            return ws.isEmpty() ? -1.0 : (l + r) / 2;
        };
        for (int b = 0; b < 3; ++b) {
            const double o = X0 + 3 + 64 * b;
            QVERIFY(qAbs(middle(o, o + 34) - (o + (b == 2 ? 15 : 16))) < 0.3);
            for (double col : {34.0, 44.0, 54.0})
                QVERIFY(qAbs(middle(o + col, o + col + 10) - (o + col + 5)) < 0.3);
        }
    }

    void ruledTablesAndPictures() {
        FlexGrid g(1, DrugsCatalogue::ColCount);
        const QString pdf = path("rules-lines.pdf");
        QVERIFY(OrderSheet::printToPdf(pdf, sheet(g)));
        READ_BACK_OR_SKIP(pdf);
        const QImage img = render(pdf, tmp.path());
        QCOMPARE(img.size(), QSize(827, 1170)); // A4 upright at 100 dpi
        const double left = X0 + 3;
        for (int k = 0; k <= 34; ++k)
            QVERIFY2(darkShare(img, true, 24 + 6 * k, left + 1, left + 191) > 0.95,
                     qPrintable(QString::number(k)));
        double x = left;
        for (double w : {0.0, 34.0, 10.0, 10.0, 10.0, 34.0, 10.0, 10.0, 10.0, 34.0, 10.0, 10.0, 10.0}) {
            x += w;
            QVERIFY2(darkShare(img, false, x, 25, 227) > 0.95, qPrintable(QString::number(x)));
        }
        for (double y : {240.0, 246.0, 250.0, 256.0, 262.0})
            QVERIFY2(darkShare(img, true, y, left + 1, left + 191) > 0.95, qPrintable(QString::number(y)));
        x = left;
        for (double w : {0.0, 10.0, 40.0, 46.0, 10.0, 40.0, 46.0})
            QVERIFY(darkShare(img, false, x += w, 241, 245) > 0.9);
        x = left;
        for (double w : {0.0, 30.0, 30.0, 66.0, 66.0})
            QVERIFY(darkShare(img, false, x += w, 251, 261) > 0.9);
        // Nothing ruled between the tables, nor right of them.
        QVERIFY(darkShare(img, true, 237, left + 1, left + 191) < 0.05);
        QVERIFY(darkShare(img, false, left + 195, 25, 260) < 0.05);
        // The header picture fills 0..19 mm, the footer 265..274 mm; nothing below.
        QVERIFY(darkShare(img, true, 18, left + 2, left + 190) > 0.5);
        QVERIFY(darkShare(img, true, 265.8, left + 2, left + 190) > 0.5);
        QVERIFY(darkShare(img, true, 280, 0, 209) == 0);
        Shots::pages(pdf, "sheet");
    }

    // Through the window: no printer here, so the sheet is offered as a PDF file.
    void menuPrintsCurrentSortIntoPdfWhenNoPrinter() {
        QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty());
        QVERIFY(TestDb::open(QStringLiteral("sqlite")));
        QVERIFY(TestDb::addDrug("Alpha", "10", "5", "261201", "7", "2"));   // 350
        QVERIFY(TestDb::addDrug("Bravo", "20", "6", "261201", "0", "4"));   // 0
        QVERIFY(TestDb::addDrug("Charlie", "30", "7", "261201", "1", "8")); // 12
        QVERIFY(TestDb::addDrug("Delta", "", "8", "", "5", "0"));           // 50, no price
        FormDrugsEditor w;
        Clock::set([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 13)); });
        const QString pdf = path("window.pdf");
        const size_t asked = Dialogs::filesAsked().size();
        Dialogs::setNextAnswer(Dialogs::vbNo);
        w.mnuPrintOrder100->trigger();
        QCOMPARE(Dialogs::filesAsked().size(), asked);
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(Dialogs::shown().back().style & 0x7, int(Dialogs::vbYesNo));
        QVERIFY(
            Dialogs::shownTexts().back().startsWith(QStringLiteral("لا توجد طابعة مثبتة على هذا الجهاز.")));

        QTest::mouseClick(w.Command10, Qt::LeftButton);
        Dialogs::clearAnswers();
        Dialogs::setNextAnswer(Dialogs::vbYes);
        Dialogs::setNextPath(tmp.filePath(QStringLiteral("window"))); // the extension is added
        w.mnuPrintOrder100->trigger();
        QCOMPARE(Dialogs::filesAsked().size(), asked + 1);
        QVERIFY(QFile::exists(pdf));
        READ_BACK_OR_SKIP(pdf);
        const QList<Word> words = pdfWords(pdf);
        QStringList names;
        for (int i = 1; i <= 4; ++i)
            names << joined(in(words, X0 + 3, 24 + 6 * i, X0 + 3 + 34, 30 + 6 * i));
        QCOMPARE(names, (QStringList{"Bravo", "Charlie", "Delta", "Alpha"}));
        // Delta has a name but no price: discount printed, no "NO" in the first block.
        QCOMPARE(joined(in(words, X0 + 3 + 44, 24 + 18, X0 + 3 + 54, 30 + 18)), QStringLiteral("8%"));
        QCOMPARE(joined(in(words, X0 + 3 + 54, 24 + 18, X0 + 3 + 64, 30 + 18)), QString());
        QCOMPARE(joined(in(words, X0 + 3, 256, X0 + 33, 262)), QStringLiteral("26.12.07 09:13"));
    }

    void printMenuOpensPrinterChoice() {
        QVERIFY(TestDb::open(QStringLiteral("sqlite")));
        FormDrugsEditor w;
        QStringList listed;
        QTimer::singleShot(0, &w, [&] {
            auto* choose = qobject_cast<FormSetPrinter*>(QApplication::activeModalWidget());
            if (!choose)
                return;
            for (int i = 0; i < choose->ListPrinter->count(); ++i)
                listed << choose->ListPrinter->item(i)->text();
            choose->ListPrinter_Click(choose->ListPrinter->item(0));
        });
        w.mnuPrintChoose->trigger();
        QCOMPARE(listed, QStringList{QStringLiteral("(No Printer Installed)")});
        QCOMPARE(Dialogs::shownTexts(), QStringList{QStringLiteral("False")});
        QVERIFY(!w.setPrinter->isVisible());
    }

    void previewShowsTheOnePageSheet() {
        QVERIFY(TestDb::open(QStringLiteral("sqlite")));
        QVERIFY(TestDb::addDrug("Alpha", "10", "5", "261201", "7", "2"));
        FormDrugsEditor w;
        int pages = -1;
        QTimer::singleShot(0, &w, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            if (auto* view = preview->findChild<QPrintPreviewWidget*>()) {
                view->updatePreview();
                pages = view->pageCount();
            }
            preview->reject();
        });
        w.mnuPrintPreview->trigger();
        QCOMPARE(pages, 1);
        QVERIFY(Dialogs::shown().empty());
    }
};

int main(int argc, char** argv) {
    // No printer for this program, whatever the machine has: libcups finds no scheduler here.
    qputenv("CUPS_SERVER", QByteArrayLiteral("/nonexistent/brentoval-cups.sock"));
    QApplication app(argc, argv);
    TestOrderSheet t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_ordersheet.moc"
