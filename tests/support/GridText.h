#pragma once

#include "data/FlexGrid.h"

#include <QList>
#include <QStringList>

// A grid's cells as text, to compare with what a test expects. Row 0 is the header.
namespace GridText {

// Column col of every row below the header, top to bottom.
QStringList column(const FlexGrid& g, int col);
// Row r, left to right.
QStringList row(const FlexGrid& g, int r);
// Every row below the header.
QList<QStringList> rows(const FlexGrid& g);
// The first row below the header whose column col reads text; -1 when none does.
int rowOf(const FlexGrid& g, int col, const QString& text);

} // namespace GridText
