#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

// One worksheet to write: a header row, then rows whose int and double values are stored as
// numbers and everything else as text. boldRows counts data rows from 0 (a totals row, say).
struct XlsxSheet {
    QString name;
    QStringList headers;
    QList<QVariantList> rows;
    QSet<int> boldRows;
};
