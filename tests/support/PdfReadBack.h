#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocumentFragment>
#include <QtTest>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

// The build machine's poppler programs (pdftotext, pdftoppm) read the printed pages back. A Windows
// test program under wine starts them too: wine runs a Linux program given by its Z: path, with the
// files' host paths as arguments; such a program gets no pipe, so its output goes to a file.
namespace PdfReadBack {
inline const QString HostBin = QStringLiteral("/usr/bin/");

#ifdef Q_OS_WIN
// The host's path of a file under wine (the folder must exist); empty outside wine.
inline QString hostPath(const QString& path) {
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return {};
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    char* unix = toUnix(reinterpret_cast<const wchar_t*>(native.utf16()));
    if (!unix)
        return {};
    const QString result = QString::fromUtf8(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}
#endif

inline bool available() {
#ifdef Q_OS_WIN
    return !hostPath(QStringLiteral("C:/")).isEmpty() && QFileInfo::exists(QStringLiteral("Z:") + HostBin + "pdftotext");
#else
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
#endif
}

// Runs program with args, where every argument that is not an option is a file's path; the exit code,
// or -1 when it could not run.
inline int run(const QString& program, const QStringList& args) {
#ifdef Q_OS_WIN
    // wine does not let a Windows program wait for the Linux process it started: a shell around the
    // program leaves its exit code in a marker file when it is done, and that file is awaited.
    const QString marker = QDir::temp().filePath(
        QStringLiteral("poppler-%1-%2.done").arg(GetCurrentProcessId()).arg(QDateTime::currentMSecsSinceEpoch()));
    const QString hostMarker = hostPath(marker);
    QString line = QStringLiteral("sh -c \"m=$1; shift; \\\"$@\\\"; echo $? > \\\"$m.part\\\" && mv \\\"$m.part\\\" "
                                  "\\\"$m\\\"\" sh \"%1\" \"%2\"")
                       .arg(hostMarker, HostBin + program);
    for (const QString& a : args)
        line += QStringLiteral(" \"") + (a.isEmpty() || a.startsWith(u'-') || a.front().isDigit() ? a : hostPath(a)) + u'"';
    const QString app = QStringLiteral("Z:\\bin\\sh");
    std::wstring cmd = line.toStdWString();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (hostMarker.isEmpty() || !CreateProcessW(reinterpret_cast<const wchar_t*>(app.utf16()), cmd.data(), nullptr,
                                                nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    QFile done(marker);
    for (int waited = 0; !done.exists() && waited < 60000; waited += 50)
        Sleep(50);
    if (!done.open(QIODevice::ReadOnly))
        return -1;
    const int code = done.readAll().trimmed().toInt();
    done.close();
    done.remove();
    return code;
#else
    return QProcess::execute(program, args);
#endif
}
} // namespace PdfReadBack

#define READ_BACK_OR_SKIP(pdf)                                                                         \
    do {                                                                                               \
        QVERIFY(QFileInfo(pdf).size() > 1000);                                                         \
        if (!PdfReadBack::available())                                                                 \
            QSKIP("poppler's pdftotext is not installed on the build machine");                        \
        if (const QString skip = qEnvironmentVariable("BRENTOVAL_READBACK_SKIP");                      \
            skip.startsWith(QLatin1String(QTest::currentTestFunction()) + u' '))                      \
            QSKIP(qPrintable(skip.section(u' ', 1)));                                                   \
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
    const QString out = pdf + QStringLiteral(".bbox.html");
    if (PdfReadBack::run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, out}) != 0)
        return {};
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString html = QString::fromUtf8(file.readAll());
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
    // Through a file, as the words are: under wine the host's pdftotext has no pipe back.
    const QString out = pdf + QStringLiteral(".layout.txt");
    if (PdfReadBack::run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, out}) != 0)
        return {};
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll()).normalized(QString::NormalizationForm_KC);
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
