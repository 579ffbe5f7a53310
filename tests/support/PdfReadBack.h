#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocumentFragment>
#include <QtTest>

// pdftotext and pdftoppm are the build machine's programs, which a Windows build run under wine
// cannot start: there a printed page is checked for size only.
#define READ_BACK_OR_SKIP(pdf)                                                                         \
    do {                                                                                               \
        QVERIFY(QFileInfo(pdf).size() > 1000);                                                         \
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())                     \
            QSKIP("pdftotext cannot be started from here (Windows build under wine)");                 \
    } while (false)

// A word of a printed page as poppler reads it back, its box in millimetres from the page's top left.
struct PdfWord {
    QString text;
    double x0, y0, x1, y1;
    double cx() const { return (x0 + x1) / 2; }
    double cy() const { return (y0 + y1) / 2; }
};

// The words of each page of pdf, in poppler's reading order (pdftotext -bbox).
inline QList<QList<PdfWord>> pdfWordsByPage(const QString& pdf) {
    constexpr double PtToMm = 25.4 / 72.0;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<QList<PdfWord>> pages;
    for (const QString& chunk : html.split(QStringLiteral("<page ")).mid(1)) {
        QList<PdfWord> words;
        for (auto it = re.globalMatch(chunk); it.hasNext();) {
            const auto m = it.next();
            words.push_back({QTextDocumentFragment::fromHtml(m.captured(5)).toPlainText(),
                             m.captured(1).toDouble() * PtToMm, m.captured(2).toDouble() * PtToMm,
                             m.captured(3).toDouble() * PtToMm, m.captured(4).toDouble() * PtToMm});
        }
        pages.push_back(words);
    }
    return pages;
}

// Each page's text as pdftotext lays it out, NFKC-normalised (the Arabic presentation forms this
// face's glyphs carry read back as plain letters) and without direction marks.
inline QStringList pdfTextByPage(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return {};
    QString text = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    // poppler wraps right-to-left runs in direction marks.
    static const QRegularExpression marks(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]"));
    text.remove(marks);
    QStringList pages = text.split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Whether one line of a page's text holds every word of t. poppler gives a line that mixes Arabic
// and digits in logical or in visual order, and moves blanks about in it: the words are looked for,
// not their order.
inline bool pageHasText(const QString& page, const QString& t) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = t.split(blanks, Qt::SkipEmptyParts);
    for (const QString& line : page.split(u'\n')) {
        QString squeezed = line;
        squeezed.remove(blanks);
        if (std::all_of(words.begin(), words.end(), [&](const QString& w) { return squeezed.contains(w); }))
            return true;
    }
    return false;
}

// The words of a page whose box is not wholly inside one of the cells (x0, y0, x1, y1 in mm).
inline QStringList wordsOutsideCells(const QList<PdfWord>& words, const QList<QRectF>& cells, double slack = 0.3) {
    QStringList out;
    for (const PdfWord& w : words) {
        bool inside = false;
        for (const QRectF& c : cells)
            inside = inside || (w.x0 >= c.left() - slack && w.x1 <= c.right() + slack && w.y0 >= c.top() - slack &&
                                w.y1 <= c.bottom() + slack);
        if (!inside)
            out << QStringLiteral("%1 [%2,%3 %4,%5]").arg(w.text).arg(w.x0, 0, 'f', 1).arg(w.y0, 0, 'f', 1)
                       .arg(w.x1, 0, 'f', 1).arg(w.y1, 0, 'f', 1);
    }
    return out;
}
