#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reading back the cells of a spreadsheet file (.xlsx): the first worksheet, row by row, each
// cell as its text (numbers as written in the file, shared and inline texts resolved). A number
// in a percent format comes as Excel shows it, times 100 with a % sign (0.14 is "14%", to 15
// digits). A missing cell is an empty text. Errors come back as text.
namespace XlsxReader {

bool ReadFirstSheet(const QString& path, QList<QStringList>& rows, QString* error);

} // namespace XlsxReader
