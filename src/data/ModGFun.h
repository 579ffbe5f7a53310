#pragma once

#include <QString>
#include <QStringView>

// Text and number helpers every window shares.
namespace ModGFun {

// Removes NUL characters, then blanks (the space character only) at both ends.
QString CleanText(const QString& text);

// The leading-number parse: blanks, tabs and line feeds are ignored wherever they stand, then the
// longest leading "[sign]digits[.digits][(E|D)[sign]digits]" is taken; 0 when no number leads.
// Always "." as the separator. Overflow gives an infinity of the right sign.
double Val(QStringView text);

// Rounds the decimal number the value reads as (its shortest round-trip text) to the given
// decimal places, halves to the even neighbour; the result is the double nearest to that decimal.
// So 0.35f rounds to 0.4 as the half it reads, not to 0.3 as its exact binary value
// 0.3499999940... would, and no scaling in binary rounds a second time.
double RoundHalfEven(double value, int decimals);
double RoundHalfEven(float value, int decimals);
// The same always through the value's text; RoundHalfEven takes this way only near a half.
double RoundHalfEvenByText(double value, int decimals);
double RoundHalfEvenByText(float value, int decimals);

// Shortest plain decimal text that reads back as the same double: 18, 18.5, 0.1, never "1e+20".
QString ShortestText(double value);

// Shortest plain decimal text for a 32-bit float (10.3f prints as "10.3").
QString ShortestText(float value);

} // namespace ModGFun
