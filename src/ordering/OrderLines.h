#pragma once

#include "data/FlexGrid.h"

#include <QString>
#include <QVariant>
#include <vector>

// The lines of an order as stored in bown2.drug: 100 slots, each "^" then drug name, quantity,
// price and discount, every field followed by "|".
namespace OrderLines {

inline constexpr int Slots = 100;

struct Line {
    QString drug;
    QString quantity;
    QString price;
    QString discount;
    bool isEmpty() const { return drug.isEmpty() && quantity.isEmpty() && price.isEmpty() && discount.isEmpty(); }
    bool operator==(const Line&) const = default;
};

// Always exactly 100 slots: missing lines are empty slots, lines after the 100th are not written.
QString Encode(const std::vector<Line>& lines);
// Rows 1 to 100, columns 0 to 3 of an order grid.
QString EncodeGrid(const FlexGrid& grid);
// Always 100 lines; text before the first "^", slots after the 100th and fields after the
// fourth are ignored; whatever is missing stays empty.
std::vector<Line> Decode(const QString& text);

// Fills grid rows 1 to 100 from the text (the grid is first cut to its header row, then given 100
// empty rows). With marks, column 4 of every row with a drug name gets "X".
void DrugFieldToFlex(FlexGrid& grid, const QVariant& textFromServer, bool withRemovalMarks);

struct Value {
    double cash = 0;
    double deferred = 0;
    QString cashText() const;
    QString deferredText() const;
};
// Line value = (100 - discount) * 0.01 * price * quantity in 32-bit floats, summed in a 32-bit
// float; cash is the sum rounded to one decimal (halves to even, in single precision, so a sum that
// reads 0.35 goes to 0.4), deferred the sum * 1.03 in double, rounded likewise.
Value OrderValue(const std::vector<Line>& lines);
Value OrderValue(const FlexGrid& grid);

// The statement that stores text as the lines of order orderId.
QString StoreStatement(const QString& text, const QString& orderId);

// True when the submitted text means "sent to preparation" (its numeric value is 101).
bool IsSent(const QString& submittedText);

} // namespace OrderLines
