// Printer selection against the printers the platform lists: none at all, then two CUPS queues of
// a private cupsd that this test starts and stops itself.
#include "catalogue/OrderSheet.h"
#include "data/FlexGrid.h"
#include "ui/Dialogs.h"
#include "paper/CurrentPrinter.h"
#include "ui/FormSetPrinter.h"
#include "ui/PrintPreview.h"

#include <QComboBox>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// A cupsd of our own on a private socket; libcups finds it through CUPS_SERVER.
class PrivateCups {
public:
    bool start(QString* why) {
        if (m_proc.state() == QProcess::Running)
            return true;
        if (!m_dir.isValid()) {
            *why = QStringLiteral("no temporary folder");
            return false;
        }
        const QString cupsd =
            QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/usr/bin"});
        const QString lpadmin =
            QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {"/usr/sbin", "/usr/bin"});
        if (cupsd.isEmpty() || lpadmin.isEmpty()) {
            *why = QStringLiteral("cupsd or lpadmin not installed");
            return false;
        }
        const QString d = m_dir.path();
        for (const char* sub : {"etc", "spool", "cache", "state", "log", "tmp"})
            QDir(d).mkpath(QString::fromLatin1(sub));
        QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                     QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        write(d + "/etc/cupsd.conf",
              QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                             "<Location />\n Order allow,deny\n Allow all\n</Location>\n"
                             "<Location /admin>\n Order allow,deny\n Allow all\n</Location>\n"
                             "<Policy default>\n <Limit All>\n  Order deny,allow\n </Limit>\n"
                             "</Policy>\n")
                  .arg(socket()));
        write(d + "/etc/cups-files.conf",
              QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                             "TempDir %1/tmp\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                             "PageLog %1/log/page_log\n")
                  .arg(d));
        m_proc.setProcessChannelMode(QProcess::MergedChannels);
        m_proc.start(cupsd, {"-f", "-c", d + "/etc/cupsd.conf", "-s", d + "/etc/cups-files.conf"});
        if (!m_proc.waitForStarted(5000)) {
            *why = QStringLiteral("cupsd did not start");
            return false;
        }
        QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(socket()) && !deadline.hasExpired() && m_proc.state() == QProcess::Running)
            QTest::qWait(50);
        if (!QFileInfo::exists(socket())) {
            *why = QStringLiteral("cupsd gave no socket: ") + QString::fromLocal8Bit(m_proc.readAll());
            stop();
            return false;
        }
        const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
        for (const QString& name : {QStringLiteral("Alpha"), QStringLiteral("Beta")}) {
            QStringList args{"-p", name, "-E", "-v", "cups-pdf:/"};
            if (QFileInfo::exists(ppd))
                args << "-P" << ppd;
            if (QProcess::execute(lpadmin, args) != 0) {
                *why = QStringLiteral("lpadmin failed for ") + name;
                stop();
                return false;
            }
        }
        return true;
    }
    void stop() {
        if (m_proc.state() != QProcess::NotRunning) {
            m_proc.terminate();
            if (!m_proc.waitForFinished(10000))
                m_proc.kill();
            m_proc.waitForFinished(5000);
        }
    }
    QString socket() const { return m_dir.path() + QStringLiteral("/cups.sock"); }
    static void write(const QString& path, const QString& text) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(text.toUtf8());
    }

private:
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/brentoval-cups-XXXXXX")};
    QProcess m_proc;
};

QStringList listTexts(const QListWidget* list) {
    QStringList r;
    for (int i = 0; i < list->count(); ++i)
        r << list->item(i)->text();
    return r;
}

void clickItem(QListWidget* list, int index) {
    QListWidgetItem* item = list->item(index);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}
} // namespace

class TestFormSetPrinter : public QObject {
    Q_OBJECT
    PrivateCups cups;
    QString cupsWhy;
    bool cupsTried = false;
    bool cupsUp = false;

    bool needCups() {
        if (!cupsTried) {
            cupsTried = true;
            cupsUp = cups.start(&cupsWhy);
        }
        return cupsUp;
    }

private slots:
    void initTestCase() {
        // Until our cupsd runs, the socket does not exist: the platform lists no printer at all.
        qputenv("CUPS_SERVER", cups.socket().toLocal8Bit());
        Dialogs::setTestMode(true);
    }
    void cleanupTestCase() { cups.stop(); }
    void init() {
        Dialogs::clearAnswers();
        Dialogs::clearShown();
        CurrentPrinter::reset();
    }

    // Runs before cupsd is started.
    void noPrinterInstalled() {
        QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty());
        FormSetPrinter w;
        QCOMPARE(listTexts(w.ListPrinter), QStringList{QStringLiteral("(No Printer Installed)")});
        QComboBox combo;
        combo.addItem(QStringLiteral("old"));
        QVERIFY(PopulateListControlWithPrinters(&combo));
        QCOMPARE(combo.count(), 1);
        QCOMPARE(combo.itemText(0), QStringLiteral("(No Printer Installed)"));
        QVERIFY(!PopulateListControlWithPrinters(static_cast<QListWidget*>(nullptr)));

        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        clickItem(w.ListPrinter, 0);
        QCOMPARE(Dialogs::shownTexts(), QStringList{QStringLiteral("False")});
        QCOMPARE(Dialogs::shown().front().style, int(Dialogs::vbOKOnly));
        QVERIFY(!w.isVisible());
        QVERIFY(CurrentPrinter::info().isNull());
        QVERIFY(CurrentPrinter::chosenName().isEmpty());
    }

    void windowGeometryAndCaption() {
        FormSetPrinter w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Set Active printer"));
        QCOMPARE(w.size(), QSize(594, 338));
        QCOMPARE(w.ListPrinter->objectName(), QStringLiteral("ListPrinter"));
        QCOMPARE(w.ListPrinter->geometry(), QRect(8, 6, 577, 312));
        QVERIFY(w.ListPrinter->font().bold());
        QCOMPARE(w.ListPrinter->font().pointSize(), 14);
    }

    // A queue whose paper is Letter still gets A4 pages from every sheet's preview.
    void previewPrinterIsA4WhateverThePrinterDefaults() {
        if (!needCups())
            QSKIP(qPrintable(QStringLiteral("no private cupsd: ") + cupsWhy));
        const QString lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {"/usr/sbin", "/usr/bin"});
        QCOMPARE(QProcess::execute(lpadmin, {"-p", "Beta", "-o", "PageSize=Letter", "-o", "media-default=letter"}), 0);
        const QPrinterInfo beta = QPrinterInfo::printerInfo(QStringLiteral("Beta"));
        QVERIFY(!beta.isNull());
        // Qt on Linux starts a QPrinter on the locale's paper; on Windows it takes the queue's own.
        if (beta.defaultPageSize().id() != QPageSize::Letter)
            QSKIP("the queue did not take Letter as its paper");
        for (const QPrinterInfo& info : {beta, QPrinterInfo()}) {
            const std::unique_ptr<QPrinter> printer = PrintPreview::A4Printer(info);
            QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::A4);
            QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Portrait);
            QVERIFY(printer->fullPage());
        }
    }

    void twoPrintersInPlatformOrder() {
        if (!needCups())
            QSKIP(qPrintable(QStringLiteral("no private cupsd: ") + cupsWhy));
        const QStringList names = QPrinterInfo::availablePrinterNames();
        QVERIFY2(names.contains("Alpha") && names.contains("Beta"), qPrintable(names.join(',')));
        FormSetPrinter w;
        QCOMPARE(listTexts(w.ListPrinter), names);
        const int beta = int(names.indexOf(QStringLiteral("Beta")));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        clickItem(w.ListPrinter, beta);
        QCOMPARE(Dialogs::shownTexts(), QStringList{QStringLiteral("True")});
        QVERIFY(!w.isVisible());
        QCOMPARE(CurrentPrinter::info().printerName(), QStringLiteral("Beta"));
    }

    void setActiveMatchesTrimmedExactName() {
        if (!needCups())
            QSKIP(qPrintable(QStringLiteral("no private cupsd: ") + cupsWhy));
        QVERIFY(PrinterSetActive(QStringLiteral("  Alpha \t")));
        QCOMPARE(CurrentPrinter::info().printerName(), QStringLiteral("Alpha"));
        // Misses leave the earlier choice in place.
        QVERIFY(!PrinterSetActive(QStringLiteral("alpha")));
        QVERIFY(!PrinterSetActive(QStringLiteral("Alph")));
        QVERIFY(!PrinterSetActive(QStringLiteral("Beta2")));
        QVERIFY(!PrinterSetActive(QString()));
        QCOMPARE(CurrentPrinter::info().printerName(), QStringLiteral("Alpha"));
        QVERIFY(PrinterSetActive(QStringLiteral("Beta")));
        QCOMPARE(CurrentPrinter::info().printerName(), QStringLiteral("Beta"));
    }

    void closingWithoutChoiceKeepsPrinter() {
        if (!needCups())
            QSKIP(qPrintable(QStringLiteral("no private cupsd: ") + cupsWhy));
        QVERIFY(PrinterSetActive(QStringLiteral("Beta")));
        FormSetPrinter w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.close();
        QVERIFY(Dialogs::shown().empty());
        QCOMPARE(CurrentPrinter::info().printerName(), QStringLiteral("Beta"));
    }

    void sheetIsPrintedOnTheChosenQueue() {
        if (!needCups())
            QSKIP(qPrintable(QStringLiteral("no private cupsd: ") + cupsWhy));
        QVERIFY(PrinterSetActive(QStringLiteral("Beta")));
        FlexGrid grid(2, 10);
        grid.setTextMatrix(1, 0, QStringLiteral("Drug A"));
        OrderSheet::Input in;
        in.grid = &grid;
        in.printedAt = QDateTime(QDate(2026, 12, 7), QTime(9, 13));
        QString error;
        QVERIFY2(OrderSheet::printToPrinter(CurrentPrinter::info(), in, &error), qPrintable(error));
        auto jobs = [](const QString& queue) {
            QProcess p;
            p.start(QStringLiteral("lpstat"), {"-W", "all", "-o", queue});
            p.waitForFinished(10000);
            return QString::fromLocal8Bit(p.readAllStandardOutput());
        };
        QTRY_VERIFY_WITH_TIMEOUT(jobs(QStringLiteral("Beta")).contains(QStringLiteral("Beta-")), 10000);
        QVERIFY(!jobs(QStringLiteral("Alpha")).contains(QStringLiteral("Alpha-")));
        // An unknown printer is refused rather than silently turned into a PDF printer.
        QVERIFY(!OrderSheet::printToPrinter(QPrinterInfo(), in, &error));
    }
};

QTEST_MAIN(TestFormSetPrinter)
#include "test_formsetprinter.moc"
