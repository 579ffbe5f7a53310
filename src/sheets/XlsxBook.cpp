#include "sheets/XlsxBook.h"

#include <QFile>
#include <QMetaType>
#include <algorithm>
#include <cmath>
#include <xlsxwriter.h>

namespace XlsxBook {

// Excel refuses these in sheet names and cuts them at 31 characters.
static QString sheetName(const QString& wanted, int index) {
    QString name = wanted;
    for (QChar c : QStringLiteral("[]:*?/\\"))
        name.replace(c, u' ');
    name = name.trimmed().left(31);
    return name.isEmpty() ? QStringLiteral("Sheet%1").arg(index + 1) : name;
}

static bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// Column width in Excel's character units: the longest text of the column, a little air, capped so
// a stray long note does not push the rest off the screen.
static double fittedWidth(int length) { return std::clamp(length * 1.15 + 2.0, 6.0, 90.0); }

bool Write(const QString& path, const QList<XlsxSheet>& sheets, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (QFile::exists(path) && !QFile::remove(path))
        return fail(QStringLiteral("cannot replace ") + path);
    const QByteArray file = path.toUtf8(); // libxlsxwriter opens UTF-8 names on every platform
    lxw_workbook* book = workbook_new(file.constData());
    if (!book)
        return fail(QStringLiteral("cannot create ") + path);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    for (int s = 0; s < sheets.size(); ++s) {
        const XlsxSheet& sheet = sheets[s];
        lxw_worksheet* ws = workbook_add_worksheet(book, sheetName(sheet.name, s).toUtf8().constData());
        if (!ws) {
            workbook_close(book);
            QFile::remove(path);
            return fail(QStringLiteral("cannot add the sheet ") + sheet.name);
        }
        worksheet_right_to_left(ws);
        std::vector<int> widest(sheet.headers.size(), 0);
        auto note = [&](int col, int length) {
            if (col >= int(widest.size()))
                widest.resize(col + 1, 0);
            widest[col] = std::max(widest[col], length);
        };
        for (int c = 0; c < sheet.headers.size(); ++c) {
            worksheet_write_string(ws, 0, lxw_col_t(c), sheet.headers[c].toUtf8().constData(), bold);
            note(c, int(sheet.headers[c].size()));
        }
        for (int r = 0; r < sheet.rows.size(); ++r) {
            lxw_format* format = sheet.boldRows.contains(r) ? bold : nullptr;
            const QVariantList& row = sheet.rows[r];
            for (int c = 0; c < row.size(); ++c) {
                const QVariant& v = row[c];
                const lxw_row_t at = lxw_row_t(r + 1);
                if (isNumber(v)) {
                    // No cell shows NaN or Inf: a value that is not finite stays empty.
                    const double d = v.toDouble();
                    if (std::isfinite(d)) {
                        worksheet_write_number(ws, at, lxw_col_t(c), d, format);
                        note(c, int(QString::number(d, 'g', 15).size()));
                    }
                } else {
                    const QString text = v.toString();
                    if (text.isEmpty() && !format)
                        continue;
                    worksheet_write_string(ws, at, lxw_col_t(c), text.toUtf8().constData(), format);
                    note(c, int(text.size()));
                }
            }
        }
        for (int c = 0; c < int(widest.size()); ++c)
            worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), fittedWidth(widest[c]), nullptr);
    }
    const lxw_error result = workbook_close(book);
    if (result != LXW_NO_ERROR) {
        QFile::remove(path);
        return fail(QString::fromUtf8(lxw_strerror(result)));
    }
    return true;
}

} // namespace XlsxBook
