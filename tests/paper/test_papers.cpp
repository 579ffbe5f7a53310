// Every paper the program prints, drawn into a PDF with random long names and read back: no ink
// within half an inch of the paper's edges, no print under 8 points, the table's header on every
// page, and the printed-at date written year first. Then where a paper goes without a printer.
#include "InkSpan.h"
#include "PdfReadBack.h"
#include "Shots.h"

#include "buying/BuyingPapers.h"
#include "buying/BuyingTexts.h"
#include "catalogue/OrderSheet.h"
#include "data/FlexGrid.h"
#include "demand/GroupDemand.h"
#include "demand/GroupDemandSheet.h"
#include "paper/A4Pdf.h"
#include "paper/PaperForm.h"
#include "paper/PaperRoute.h"
#include "preparation/PickList.h"
#include "ui/Dialogs.h"
#include "ui/PaperOut.h"

#include <QApplication>
#include <QImage>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <random>

namespace {
const QDateTime PrintedAt(QDate(2026, 12, 8), QTime(10, 0));

// Names up to 70 characters of Arabic and Latin words, some one long word.
struct Names {
    std::mt19937 rng;
    QString operator()() {
        static const QStringList words{"اموكسيسيلين", "كلافولانات", "البوتاسيوم", "اقراص", "ممتدة", "المفعول", "Amoxicillin",
                                       "Clavulanate", "Extended", "Release", "1000mg", "x14", "شراب", "للاطفال"};
        if (rng() % 8 == 0)
            return QString(int(20 + rng() % 30), QChar(u'م'));
        QString s;
        const int length = int(10 + rng() % 61);
        while (s.size() < length)
            s += words[int(rng() % words.size())] + u' ';
        return s.left(length).trimmed();
    }
};

struct Paper {
    QString name;
    std::function<bool(const QString& pdf)> write;
    QStringList everyPage; // words every page carries
    bool dated = true;     // the foot carries the printed-at date
};
} // namespace

class TestPapers : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QList<Paper> papers(Names& name, std::mt19937& rng) {
        QList<Paper> out;
        // The order sheet: one page of fixed rows, its print-date cell as it was.
        auto catalogue = std::make_shared<FlexGrid>(100, 5);
        for (int r = 1; r < 100; ++r) {
            catalogue->setTextMatrix(r, 0, name());
            catalogue->setTextMatrix(r, 1, QString::number(rng() % 500));
            catalogue->setTextMatrix(r, 2, QString::number(rng() % 20));
        }
        out << Paper{"order sheet", [catalogue](const QString& pdf) {
                         return OrderSheet::printToPdf(pdf, {catalogue.get(), 33, 6, {}, {}, PrintedAt});
                     }, {"الدواء", "السعر"}, false};

        PickList::Page page{name(), "01011111111", "دسوق", "261208100000", "261208", "101", {}, {}, {}};
        for (int i = int(20 + rng() % 60); i > 0; --i)
            page.lines.push_back({name(), QString::number(1 + rng() % 9), QString::number(rng() % 900), "0"});
        out << Paper{"pick list", [page](const QString& pdf) { return PickList::printToPdf(pdf, {page}, PrintedAt); },
                     {"قائمة تحضير الاوردر", "الدواء"}};

        auto demand = std::make_shared<FlexGrid>(int(2 + rng() % 80), GroupDemand::DemandCols);
        for (int c = 0; c < GroupDemand::DemandCols; ++c)
            demand->setTextMatrix(0, c, GroupDemand::DemandHeaders().at(c));
        for (int r = 1; r < demand->Rows(); ++r) {
            demand->setTextMatrix(r, 0, name());
            for (int c = 1; c < GroupDemand::DemandCols; ++c)
                demand->setTextMatrix(r, c, QString::number(double(rng() % 10000000) / 10));
        }
        out << Paper{"group demand",
                     [demand](const QString& pdf) {
                         return GroupDemandSheet::printToPdf(
                             pdf, {demand.get(), "من 2026/12/01 الي 2026/12/07", "12 صيدلية", PrintedAt, true, "نقدا"});
                     },
                     {GroupDemand::DemandHeaders().at(0)}};

        BuyingStore::KeptOrder order{"261208100000/1", "261208100000", "20261208", 1, "20261201", "20261207", "kept", 0, {}};
        for (int i = int(1 + rng() % 70); i > 0; --i)
            order.lines.push_back({order.poid, i, name(), double(rng() % 90), 12.5, 7, 80, 0, {}});
        const Wholesaler wholesaler{1, name(), "0400", "طنطا"};
        out << Paper{"purchase order", [=](const QString& pdf) {
                         return TablePaper::printToPdf(pdf, BuyingPapers::PurchaseOrder(order, wholesaler, PrintedAt));
                     },
                     {BuyingTexts::OrderHeaders.at(1)}};

        std::vector<BuyingStore::Allotment> shares;
        for (int i = int(1 + rng() % 70); i > 0; --i)
            shares.push_back({order.poid, 1, QString::number(261201000000LL + i), order.lines[0].drug,
                              QStringLiteral("010%1").arg(i, 8, 10, QChar('0')), double(rng() % 9), int(rng() % 9)});
        std::vector<QString> pharmacies(shares.size());
        std::generate(pharmacies.begin(), pharmacies.end(), name);
        const auto nameOf = [pharmacies](const QString& tel) { return pharmacies[size_t(tel.right(8).toInt() - 1)]; };
        out << Paper{"distribution sheet", [=](const QString& pdf) {
                         return TablePaper::printToPdf(pdf, BuyingPapers::Distribution(order.lines[0], shares,
                                                                                        DeliveryShare::Rule::EarliestFirst,
                                                                                        nameOf, PrintedAt));
                     },
                     {BuyingTexts::DistributionHeaders.at(1)}};
        return out;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        Dialogs::setTestMode(true);
    }

    void everyPaperFitsAnyPrinterAndReads() {
        const unsigned seed = qEnvironmentVariableIsSet("BRENTOVAL_SEED") ? qEnvironmentVariableIntValue("BRENTOVAL_SEED")
                                                                          : std::random_device{}();
        qInfo("seed %u (BRENTOVAL_SEED repeats it)", seed);
        std::mt19937 rng(seed);
        Names name{std::mt19937(seed + 1)};
        const double edge = PaperForm::PrinterMarginRoom;
        const QRectF room(edge, edge, PaperForm::PageWidth - 2 * edge, PaperForm::PageHeight - 2 * edge);
        const QString date = QStringLiteral("2026/12/08 10:00");
        for (const Paper& paper : papers(name, rng)) {
            const QString pdf = m_dir.filePath(QString(paper.name).replace(u' ', u'-') + ".pdf");
            QVERIFY2(paper.write(pdf), qPrintable(paper.name));
            Shots::file(pdf, QFileInfo(pdf).fileName());
            READ_BACK_OR_SKIP(pdf);
            const QList<QList<PdfWord>> pages = pdfWordsByPage(pdf);
            const QStringList texts = pdfTextByPage(pdf);
            QVERIFY2(!pages.isEmpty() && texts.size() == pages.size(), qPrintable(paper.name));
            for (int n = 0; n < pages.size(); ++n) {
                const QString where = QStringLiteral("%1, page %2: ").arg(paper.name).arg(n + 1);
                for (const QString& t : paper.everyPage)
                    QVERIFY2(pageHasText(texts[n], t), qPrintable(where + t));
                if (paper.dated) // the date year first, and "page n of m" over more than one page
                    QVERIFY2(pageHasText(texts[n], date) && !texts[n].contains(QStringLiteral("26.12.08")) &&
                                 (pages.size() == 1 || pageHasText(texts[n], QStringLiteral("صفحة %1 من %2").arg(n + 1).arg(pages.size()))),
                             qPrintable(where + "foot"));
                for (const PdfWord& w : pages[n])
                    QVERIFY2(w.y1 - w.y0 > PaperForm::SmallestPoints * 25.4 / 72 * 0.9,
                             qPrintable(where + w.text + QStringLiteral(" %1 mm high").arg(w.y1 - w.y0)));
            }
            const QString shot = m_dir.filePath("ink");
            QCOMPARE(PdfReadBack::run("pdftoppm", {"-r", "72", "-gray", "-png", pdf, shot}), 0);
            const QStringList inked = QDir(m_dir.path()).entryList({"ink-*.png"}, QDir::Files, QDir::Name);
            QCOMPARE(inked.size(), pages.size());
            for (const QString& file : inked) {
                const QRectF ink = InkSpan::boxMm(QImage(m_dir.filePath(file)), PaperForm::PageWidth);
                QVERIFY2(room.contains(ink), qPrintable(QStringLiteral("%1 %2: ink %3,%4 to %5,%6 mm").arg(paper.name, file)
                                                            .arg(ink.left()).arg(ink.top()).arg(ink.right()).arg(ink.bottom())));
                QFile::remove(m_dir.filePath(file));
            }
        }
    }

    // No printer here: the one question, then a file only when the user agrees and names one.
    void withoutAPrinterThePdfIsOffered_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("asked"); // times the file's name was asked
        QTest::newRow("declined") << int(Dialogs::vbNo) << "x" << int(PaperOut::Result::Declined) << 0;
        QTest::newRow("saved") << int(Dialogs::vbYes) << "paper" << int(PaperOut::Result::Saved) << 1;
        QTest::newRow("no name") << int(Dialogs::vbYes) << "" << int(PaperOut::Result::NotSaved) << 1;
        QTest::newRow("unwritable") << int(Dialogs::vbYes) << "no/such/paper.pdf" << int(PaperOut::Result::NotSaved) << 1;
    }
    void withoutAPrinterThePdfIsOffered() {
        QFETCH(int, answer);
        QFETCH(QString, typed);
        QFETCH(int, result);
        QFETCH(int, asked);
        QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty());
        FlexGrid g(2, GroupDemand::DemandCols);
        g.setTextMatrix(1, 0, "Zyrtec");
        const GroupDemandSheet::Input in{&g, {}, {}, PrintedAt, true, {}};
        int names = 0;
        QString written;
        const PaperOut::Job job{"demand", Qt::RightToLeft, {},
                                [&](const QString& path) { return GroupDemandSheet::printToPdf(written = path, in); },
                                [&] {
                                    ++names;
                                    return typed.isEmpty() ? typed : m_dir.filePath(typed);
                                },
                                "not saved ", {}};
        Dialogs::clearShown();
        Dialogs::setNextAnswer(answer);
        QCOMPARE(int(PaperOut::Send(nullptr, job)), result);
        QCOMPARE(names, asked);
        QCOMPARE(Dialogs::shownTexts().value(0), PaperRoute::NoPrinterOfferPdf);
        const bool saved = result == int(PaperOut::Result::Saved);
        QCOMPARE(written.endsWith(".pdf") && QFile::exists(written), saved);
        // Only a file that could not be written is told more.
        QCOMPARE(Dialogs::shownTexts().size(), 1 + int(!saved && !written.isEmpty()));
    }
};

int main(int argc, char** argv) {
    // No printer, whatever the machine has.
    qputenv("CUPS_SERVER", QByteArrayLiteral("/nonexistent/brentoval-cups.sock"));
    QApplication app(argc, argv);
    TestPapers t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_papers.moc"
