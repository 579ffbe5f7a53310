#include "sheets/XlsxReader.h"

#include <QFile>
#include <QXmlStreamReader>
#include <QtGui/private/qzipreader_p.h>

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
                if (type == QLatin1String("s")) {
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
