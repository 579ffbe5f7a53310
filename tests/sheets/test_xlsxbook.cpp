// Workbooks read back with xlsx2csv (values) and their sheet XML (direction, bold, widths).
#include "sheets/XlsxBook.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

// The host's reader; a Windows program under wine cannot start it.
static QString runHost(const QString& program, const QStringList& args, bool* started) {
    QProcess p;
    p.start(program, args);
    *started = p.waitForStarted(10000) && p.waitForFinished(30000) && p.exitCode() == 0;
    return QString::fromUtf8(p.readAllStandardOutput());
}

class TestXlsxBook : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void valuesComeBackAsWrittenWithNumbersAsNumbers() {
        XlsxSheet sheet;
        sheet.name = QStringLiteral("الطلب: [اسبوع] 1/2");
        sheet.headers = {QStringLiteral("الصنف"), QStringLiteral("الكمية"), QStringLiteral("القيمة")};
        sheet.rows = {{QStringLiteral("=SUM(A1)"), 3, 12003.5},
                      {QStringLiteral("بنادول اكسترا \"أقراص\", 24"), -2, 0.1},
                      {QStringLiteral("Brufen"), QVariant(), std::nan("")},
                      {QStringLiteral("الاجمالي"), 1, 12003.6}};
        sheet.boldRows = {3};
        const QString path = m_dir.filePath(QStringLiteral("مجموع الطلب.xlsx"));
        QString error;
        QVERIFY2(XlsxBook::Write(path, {sheet}, &error), qPrintable(error));
        QVERIFY2(XlsxBook::Write(path, {sheet}, &error), "an existing file is replaced");

        bool started = false;
        const QString csv = runHost(QStringLiteral("xlsx2csv"), {path}, &started);
        if (!started)
            QSKIP("xlsx2csv cannot be started here (a Windows program under wine cannot start host programs)");
        const QStringList lines = csv.trimmed().split(QRegularExpression(QStringLiteral("\r?\n")));
        QCOMPARE(lines, QStringList({QStringLiteral("الصنف,الكمية,القيمة"), QStringLiteral("=SUM(A1),3,12003.5"),
                                     QStringLiteral("\"بنادول اكسترا \"\"أقراص\"\", 24\",-2,0.1"),
                                     QStringLiteral("Brufen,,"), QStringLiteral("الاجمالي,1,12003.6")}));

        const QString xml = runHost(QStringLiteral("unzip"), {QStringLiteral("-p"), path,
                                                               QStringLiteral("xl/worksheets/sheet1.xml")}, &started);
        QVERIFY(started);
        QVERIFY(xml.contains(QStringLiteral("rightToLeft=\"1\"")));
        const auto cell = [&](const char* ref) {
            const auto m = QRegularExpression(QStringLiteral("<c r=\"%1\"[^>]*>").arg(QLatin1String(ref))).match(xml);
            return m.captured();
        };
        QVERIFY2(!cell("B2").contains(QStringLiteral("t=\"s\"")) && !cell("B2").isEmpty(), "a number, not a text");
        QVERIFY2(cell("A1").contains(QStringLiteral("s=\"1\"")), "the header is bold");
        QVERIFY2(cell("A5").contains(QStringLiteral("s=\"1\"")), "the totals row is bold");
        QVERIFY2(!cell("A3").isEmpty() && !cell("A3").contains(QStringLiteral("s=\"1\"")), "other rows are not");
        const QString book = runHost(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("xl/workbook.xml")},
                                     &started);
        QVERIFY2(book.contains(QStringLiteral("name=\"الطلب   اسبوع  1 2\"")), qPrintable(book));
    }

    void aFolderThatCannotBeWrittenIsAnError() {
        QString error;
        QVERIFY(!XlsxBook::Write(m_dir.filePath(QStringLiteral("no/such/folder/x.xlsx")), {XlsxSheet{}}, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestXlsxBook)
#include "test_xlsxbook.moc"
