#pragma once

#include "data/FlexGrid.h"

#include <QString>
#include <QStringView>
#include <QVariant>
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The one pass every reader of the text makes: calls visit(slot, drug, quantity, price, discount)
// for slots 0 to 99 as far as the text has them, with views into the text (fields that are missing
// are empty views). Text before the first "^", slots after the 100th and fields after the fourth
// are skipped.
template <typename Visit> void ForEachSlot(QStringView text, Visit&& visit) {
    const char16_t* const begin = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = begin + text.size();
    int slot = -1; // before the first "^"
    int bars = 0;  // of the slot so far
    const char16_t* start = begin;
    // The slot's first four bars; a fifth and later ones are only counted.
    const char16_t* bar[4];
    // The slot that stop (a "^" or the text's end) ends.
    const auto slotEnds = [&](const char16_t* stop) {
        if (bars >= 4) {
            visit(slot, QStringView(start, bar[0]), QStringView(bar[0] + 1, bar[1]), QStringView(bar[1] + 1, bar[2]),
                  QStringView(bar[2] + 1, bar[3]));
            return;
        }
        // A short slot: the text after its last bar is one field more, the others are empty.
        QStringView field[4];
        const char16_t* from = start;
        for (int i = 0; i < bars; ++i) {
            field[i] = QStringView(from, bar[i]);
            from = bar[i] + 1;
        }
        field[bars] = QStringView(from, stop);
        visit(slot, field[0], field[1], field[2], field[3]);
    };
    // Each mark ends a field; a "^" also ends the slot before it. False once the 100th slot is done.
    const auto mark = [&](const char16_t* p) {
        if (*p == u'|') {
            if (bars < 4)
                bar[bars] = p;
            ++bars;
            return true;
        }
        if (slot >= 0)
            slotEnds(p);
        if (++slot == Slots)
            return false;
        bars = 0;
        start = p + 1;
        return true;
    };
    const char16_t* p = begin;
#if defined(__SSE2__)
    // Drug names are most of a stored order's text: where the machine has SSE2 (every x86-64),
    // sixteen characters are looked at in one step and only the marks among them are visited.
    const __m128i caret = _mm_set1_epi16(short(u'^'));
    const __m128i barChar = _mm_set1_epi16(short(u'|'));
    for (; end - p >= 16; p += 16) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        unsigned hits = unsigned(_mm_movemask_epi8(
            _mm_packs_epi16(_mm_or_si128(_mm_cmpeq_epi16(lo, caret), _mm_cmpeq_epi16(lo, barChar)),
                            _mm_or_si128(_mm_cmpeq_epi16(hi, caret), _mm_cmpeq_epi16(hi, barChar)))));
        for (; hits; hits &= hits - 1)
            if (!mark(p + std::countr_zero(hits)))
                return;
    }
#endif
    // "^" (5E) and "|" (7C) are among the four characters that OR 22 turns into 7E.
    for (; p < end; ++p)
        if ((*p | 0x22) == 0x7E && (*p == u'^' || *p == u'|') && !mark(p))
            return;
    if (slot >= 0)
        slotEnds(end);
}

// Fills grid rows 1 to 100 from the text (the grid is first cut to its header row, then given 100
// empty rows). With marks, column 4 of every row with a drug name gets "X".
void DrugFieldToFlex(FlexGrid& grid, const QVariant& textFromServer, bool withRemovalMarks);

struct Value {
    double cash = 0;
    double deferred = 0;
    // Lines left out of the value: their value is not a finite number (a quantity beyond the float
    // range times an empty price is NaN), or adding it would carry the sum beyond the float range.
    int excluded = 0;
    // The cash value; with lines left out, followed by a short note that says how many.
    QString cashText() const;
    QString deferredText() const;
};
// Line value = (100 - discount) * 0.01 * price * quantity in 32-bit floats, summed in a 32-bit
// float; cash is the sum rounded to one decimal, deferred the sum * 1.03 in double rounded likewise.
// Rounding takes the decimal the number reads as (its shortest text: a float sum that reads 0.35
// goes to 0.4, one that reads 104857.66 to 104857.7), halves to even.
Value OrderValue(const std::vector<Line>& lines);
Value OrderValue(const FlexGrid& grid);
// Straight from the stored text, without making texts of the fields.
Value OrderValue(QStringView text);
float LineValue(QStringView quantity, QStringView price, QStringView discount);
// The same with the quantity's number already read.
float LineValue(double quantity, QStringView price, QStringView discount);
// The factor times the price: the part of a line value that does not depend on the quantity, and
// the line value from it (the same float steps, in the same order).
float DiscountedPrice(QStringView price, QStringView discount);
// Out-of-range doubles become infinities explicitly rather than through an undefined conversion.
inline float ToSingle(double v) {
    if (std::isfinite(v) && std::fabs(v) > double(std::numeric_limits<float>::max()))
        return v < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}
// Inline: the group demand takes it for every line of a period.
inline float LineValue(double quantity, float discountedPrice) {
    return discountedPrice * ToSingle(quantity);
}
// Cash and deferred value of a 32-bit sum of line values.
Value ValueOfSum(float sum, int excluded = 0);
// Adds a line value to a 32-bit sum unless the line or the sum would not be a finite number;
// false when it was left out.
inline bool AddLineValue(float& sum, float lineValue) {
    const float s = sum + lineValue;
    if (!std::isfinite(s))
        return false;
    sum = s;
    return true;
}

// Appended to every statement that changes, sends or deletes one order: it acts only while the
// order is open, so a copy that missed the sending (or a reply lost after it) changes nothing.
inline const QString StillOpen = QStringLiteral(" AND (submitted IS NULL OR submitted <> '101')");

// Appended beside StillOpen to every statement about a pharmacist's own order: an id that older
// copies gave two pharmacies never reaches the other pharmacy's row.
QString OfPhone(const QString& tel);

// The statement that stores text as the lines of order orderId of phone tel, while it is open.
QString StoreStatement(const QString& text, const QString& orderId, const QString& tel);

// True when the submitted text means "sent to preparation" (its numeric value is 101).
bool IsSent(const QString& submittedText);

} // namespace OrderLines
