#include "sheets/XlsxReader.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <QtGui/private/qzipreader_p.h>
#include <vector>

namespace XlsxReader {

namespace {
bool fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

// "AB12" -> column 27 (0-based); -1 when the reference has no letters.
int columnOf(QStringView ref) {
    int col = 0, letters = 0;
    for (QChar c : ref) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            break;
        col = col * 26 + (u - u'A' + 1);
        if (++letters > 3)
            return -1;
    }
    return letters ? col - 1 : -1;
}

// Text of the element the reader stands on: every <t> inside it joined (rich text has several).
QString textRuns(QXmlStreamReader& x) {
    QString out;
    const QStringView end = x.name();
    const QString endName = end.toString();
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("t"))
            out += x.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (x.isEndElement() && x.name() == endName)
            break;
    }
    return out;
}

// Whether a number format code scales by 100 for the value's sign: a % outside quotes, brackets
// and backslash escapes, in the section that shows the value (positive;negative;zero;text).
bool percentFormat(QStringView code, double value) {
    bool quoted = false, bracket = false, escaped = false;
    std::vector<bool> percent(1, false);
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (escaped)
            escaped = false;
        else if (quoted)
            quoted = c != u'"';
        else if (bracket)
            bracket = c != u']';
        else if (c == u'\\')
            escaped = true;
        else if (c == u'"')
            quoted = true;
        else if (c == u'[')
            bracket = true;
        else if (c == u';')
            percent.push_back(false);
        else if (c == u'%')
            percent.back() = true;
    }
    size_t section = 0;
    if (value < 0 && percent.size() >= 2)
        section = 1;
    else if (value == 0 && percent.size() >= 3)
        section = 2;
    return percent[section];
}

// The number format codes of the cell styles (the s attribute of a cell indexes cellXfs). Of the
// built-in formats only the two percent ones (9 and 10) matter here.
QStringList cellFormats(const QZipReader& zip) {
    QXmlStreamReader x(zip.fileData(QStringLiteral("xl/styles.xml")));
    QHash<QString, QString> custom;
    QStringList out;
    bool inCellXfs = false;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement() && x.name() == QLatin1String("cellXfs"))
            inCellXfs = false;
        if (!x.isStartElement())
            continue;
        const auto attrs = x.attributes();
        if (x.name() == QLatin1String("numFmt"))
            custom.insert(attrs.value(QLatin1String("numFmtId")).toString(), attrs.value(QLatin1String("formatCode")).toString());
        else if (x.name() == QLatin1String("cellXfs"))
            inCellXfs = true;
        else if (inCellXfs && x.name() == QLatin1String("xf")) {
            const QString id = attrs.value(QLatin1String("numFmtId")).toString();
            const QString builtIn = id == QLatin1String("9")    ? QStringLiteral("0%")
                                    : id == QLatin1String("10") ? QStringLiteral("0.00%")
                                                                : QString();
            out << custom.value(id, builtIn);
        }
    }
    return out;
}

QString firstSheetPath(const QZipReader& zip) {
    QXmlStreamReader wb(zip.fileData(QStringLiteral("xl/workbook.xml")));
    QString id;
    while (!wb.atEnd() && id.isEmpty())
        if (wb.readNextStartElement() && wb.name() == QLatin1String("sheet"))
            for (const QXmlStreamAttribute& a : wb.attributes())
                if (a.name() == QLatin1String("id"))
                    id = a.value().toString();
    QXmlStreamReader rels(zip.fileData(QStringLiteral("xl/_rels/workbook.xml.rels")));
    while (!rels.atEnd() && !id.isEmpty())
        if (rels.readNextStartElement() && rels.name() == QLatin1String("Relationship") &&
            rels.attributes().value(QLatin1String("Id")) == id) {
            QString target = rels.attributes().value(QLatin1String("Target")).toString();
            if (target.startsWith(u'/'))
                return target.mid(1);
            return QStringLiteral("xl/") + target;
        }
    return QStringLiteral("xl/worksheets/sheet1.xml");
}
} // namespace

bool ReadFirstSheet(const QString& path, QList<QStringList>& rows, QString* error) {
    rows.clear();
    if (!QFile::exists(path))
        return fail(error, QStringLiteral("no such file"));
    QZipReader zip(path);
    if (!zip.isReadable() || zip.status() != QZipReader::NoError)
        return fail(error, QStringLiteral("not a zip archive"));
    const QByteArray sheet = zip.fileData(firstSheetPath(zip));
    if (sheet.isEmpty())
        return fail(error, QStringLiteral("no worksheet"));

    QStringList shared;
    QXmlStreamReader ss(zip.fileData(QStringLiteral("xl/sharedStrings.xml")));
    while (!ss.atEnd())
        if (ss.readNextStartElement() && ss.name() == QLatin1String("si"))
            shared << textRuns(ss);
    const QStringList formats = cellFormats(zip);

    QXmlStreamReader x(sheet);
    int rowIndex = -1;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == QLatin1String("row")) {
            const int r = x.attributes().value(QLatin1String("r")).toInt();
            rowIndex = r > 0 ? r - 1 : rowIndex + 1;
            if (rowIndex > 1000000)
                return fail(error, QStringLiteral("row number out of range"));
            while (rows.size() <= rowIndex)
                rows.append(QStringList());
        } else if (x.name() == QLatin1String("c") && rowIndex >= 0) {
            const QString type = x.attributes().value(QLatin1String("t")).toString();
            const int style = x.attributes().value(QLatin1String("s")).toInt(); // none: the first
            int col = columnOf(x.attributes().value(QLatin1String("r")));
            if (col < 0)
                col = int(rows[rowIndex].size());
            QString value;
            if (type == QLatin1String("inlineStr")) {
                value = textRuns(x);
            } else {
                while (!x.atEnd()) {
                    x.readNext();
                    if (x.isStartElement() && x.name() == QLatin1String("v"))
                        value = x.readElementText();
                    else if (x.isEndElement() && x.name() == QLatin1String("c"))
                        break;
                }
                if (type.isEmpty() || type == QLatin1String("n")) {
                    // A number shown as a percent is read as Excel shows it: 0.14 is "14%".
                    bool ok = false;
                    const double v = value.toDouble(&ok);
                    if (ok && style >= 0 && style < formats.size() && percentFormat(formats[style], v))
                        value = QString::number(v * 100, 'g', 15) + u'%';
                } else if (type == QLatin1String("s")) {
                    bool ok = false;
                    const int k = value.toInt(&ok);
                    if (!ok || k < 0 || k >= shared.size())
                        return fail(error, QStringLiteral("shared text out of range"));
                    value = shared[k];
                }
            }
            QStringList& row = rows[rowIndex];
            while (row.size() <= col)
                row.append(QString());
            row[col] = value;
        }
    }
    if (x.hasError())
        return fail(error, x.errorString());
    return true;
}

} // namespace XlsxReader
