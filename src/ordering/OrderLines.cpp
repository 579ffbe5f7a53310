#include "ordering/OrderLines.h"

#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"

#include <cmath>
#include <limits>

namespace OrderLines {

static void appendLine(QString& out, const Line& l) {
    out += u'^';
    out += l.drug;
    out += u'|';
    out += l.quantity;
    out += u'|';
    out += l.price;
    out += u'|';
    out += l.discount;
    out += u'|';
}

QString Encode(const std::vector<Line>& lines) {
    QString out;
    out.reserve(Slots * 40);
    const Line empty;
    for (int i = 0; i < Slots; ++i)
        appendLine(out, i < int(lines.size()) ? lines[i] : empty);
    return out;
}

QString EncodeGrid(const FlexGrid& grid) {
    std::vector<Line> lines;
    lines.reserve(Slots);
    for (int r = 1; r <= Slots; ++r)
        lines.push_back(
            {grid.TextMatrix(r, 0), grid.TextMatrix(r, 1), grid.TextMatrix(r, 2), grid.TextMatrix(r, 3)});
    return Encode(lines);
}

std::vector<Line> Decode(const QString& text) {
    std::vector<Line> lines(Slots);
    ForEachSlot(text, [&](int slot, QStringView drug, QStringView quantity, QStringView price,
                          QStringView discount) {
        Line& l = lines[size_t(slot)];
        l.drug = drug.toString();
        l.quantity = quantity.toString();
        l.price = price.toString();
        l.discount = discount.toString();
    });
    return lines;
}

void DrugFieldToFlex(FlexGrid& grid, const QVariant& textFromServer, bool withRemovalMarks) {
    const QString text = FieldText(textFromServer);
    grid.setRows(1);
    grid.setRows(Slots + 1);
    static const QString mark = QStringLiteral("X");
    ForEachSlot(text, [&](int slot, QStringView drug, QStringView quantity, QStringView price,
                          QStringView discount) {
        const int row = slot + 1;
        // The rows are new and empty: only fields with text need writing.
        if (!drug.isEmpty())
            grid.setTextMatrix(row, 0, drug.toString());
        if (!quantity.isEmpty())
            grid.setTextMatrix(row, 1, quantity.toString());
        if (!price.isEmpty())
            grid.setTextMatrix(row, 2, price.toString());
        if (!discount.isEmpty())
            grid.setTextMatrix(row, 3, discount.toString());
        if (withRemovalMarks && !drug.isEmpty())
            grid.setTextMatrix(row, 4, mark);
    });
}

QString Value::cashText() const {
    const QString text = ModGFun::ShortestText(cash);
    if (excluded == 0)
        return text;
    return text + (excluded == 1 ? QStringLiteral(" (سطر لم يحسب)") : QStringLiteral(" (%1 سطور لم تحسب)").arg(excluded));
}
QString Value::deferredText() const {
    return ModGFun::ShortestText(deferred);
}

float LineValue(QStringView quantity, QStringView price, QStringView discount) {
    return LineValue(ModGFun::Val(quantity), price, discount);
}

float LineValue(double quantity, QStringView price, QStringView discount) {
    return LineValue(quantity, DiscountedPrice(price, discount));
}

float DiscountedPrice(QStringView price, QStringView discount) {
    const float p = ToSingle(ModGFun::Val(price));
    const float d = ToSingle(ModGFun::Val(discount));
    const float factor = ToSingle(double(100.0f - d) * 0.01);
    return factor * p;
}

Value ValueOfSum(float sum, int excluded) {
    Value v;
    v.excluded = excluded;
    v.cash = ModGFun::RoundHalfEven(sum, 1);
    v.deferred = ModGFun::RoundHalfEven(double(sum) * 1.03, 1);
    return v;
}

Value OrderValue(const std::vector<Line>& lines) {
    float sum = 0.0f;
    int excluded = 0;
    for (int i = 0; i < int(lines.size()) && i < Slots; ++i)
        excluded += !AddLineValue(sum, LineValue(lines[i].quantity, lines[i].price, lines[i].discount));
    return ValueOfSum(sum, excluded);
}

Value OrderValue(const FlexGrid& grid) {
    float sum = 0.0f;
    int excluded = 0;
    for (int r = 1; r <= Slots && r < grid.Rows(); ++r)
        excluded += !AddLineValue(sum, LineValue(grid.TextMatrix(r, 1), grid.TextMatrix(r, 2), grid.TextMatrix(r, 3)));
    return ValueOfSum(sum, excluded);
}

Value OrderValue(QStringView text) {
    float sum = 0.0f;
    int excluded = 0;
    ForEachSlot(text, [&](int, QStringView, QStringView quantity, QStringView price, QStringView discount) {
        excluded += !AddLineValue(sum, LineValue(quantity, price, discount));
    });
    return ValueOfSum(sum, excluded);
}

QString OfPhone(const QString& tel) {
    return QStringLiteral(" AND tel = ") + ModSQL::SqlQuote(tel);
}

QString StoreStatement(const QString& text, const QString& orderId, const QString& tel) {
    return QStringLiteral(" UPDATE bown2  SET ") + QStringLiteral(" drug = '") + ModSQL::SqlEscape(text) +
           QStringLiteral("' ") + QStringLiteral(" WHERE orderid='") + ModSQL::SqlEscape(orderId) +
           u'\'' + OfPhone(tel) + StillOpen + u';';
}

bool IsSent(const QString& submittedText) {
    return ModGFun::Val(submittedText) == 101.0;
}

} // namespace OrderLines
