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
    const QList<QStringView> pieces = QStringView(text).split(u'^');
    for (int i = 1; i <= Slots && i < pieces.size(); ++i) {
        const QList<QStringView> f = pieces.at(i).split(u'|');
        Line& l = lines[i - 1];
        if (f.size() > 0)
            l.drug = f.at(0).toString();
        if (f.size() > 1)
            l.quantity = f.at(1).toString();
        if (f.size() > 2)
            l.price = f.at(2).toString();
        if (f.size() > 3)
            l.discount = f.at(3).toString();
    }
    return lines;
}

void DrugFieldToFlex(FlexGrid& grid, const QVariant& textFromServer, bool withRemovalMarks) {
    const std::vector<Line> lines = Decode(FieldText(textFromServer));
    grid.setRows(1);
    grid.setRows(Slots + 1);
    for (int i = 1; i <= Slots; ++i) {
        const Line& l = lines[i - 1];
        grid.setTextMatrix(i, 0, l.drug);
        grid.setTextMatrix(i, 1, l.quantity);
        grid.setTextMatrix(i, 2, l.price);
        grid.setTextMatrix(i, 3, l.discount);
        if (withRemovalMarks && !l.drug.isEmpty())
            grid.setTextMatrix(i, 4, QStringLiteral("X"));
    }
}

QString Value::cashText() const {
    return ModGFun::ShortestText(cash);
}
QString Value::deferredText() const {
    return ModGFun::ShortestText(deferred);
}

// Out-of-range doubles become infinities explicitly rather than through an undefined conversion.
static float toSingle(double v) {
    if (std::isfinite(v) && std::fabs(v) > double(std::numeric_limits<float>::max()))
        return v < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

static float lineValue(const QString& quantity, const QString& price, const QString& discount) {
    const float q = toSingle(ModGFun::Val(quantity));
    const float p = toSingle(ModGFun::Val(price));
    const float d = toSingle(ModGFun::Val(discount));
    const float factor = toSingle(double(100.0f - d) * 0.01);
    return factor * p * q;
}

static Value finish(float sum) {
    Value v;
    v.cash = ModGFun::RoundHalfEven(sum, 1);
    v.deferred = ModGFun::RoundHalfEven(double(sum) * 1.03, 1);
    return v;
}

Value OrderValue(const std::vector<Line>& lines) {
    float sum = 0.0f;
    for (int i = 0; i < int(lines.size()) && i < Slots; ++i)
        sum += lineValue(lines[i].quantity, lines[i].price, lines[i].discount);
    return finish(sum);
}

Value OrderValue(const FlexGrid& grid) {
    float sum = 0.0f;
    for (int r = 1; r <= Slots && r < grid.Rows(); ++r)
        sum += lineValue(grid.TextMatrix(r, 1), grid.TextMatrix(r, 2), grid.TextMatrix(r, 3));
    return finish(sum);
}

QString StoreStatement(const QString& text, const QString& orderId) {
    return QStringLiteral(" UPDATE bown2  SET ") + QStringLiteral(" drug = '") + ModSQL::SqlEscape(text) +
           QStringLiteral("' ") + QStringLiteral(" WHERE orderid='") + ModSQL::SqlEscape(orderId) +
           QStringLiteral("';");
}

bool IsSent(const QString& submittedText) {
    return ModGFun::Val(submittedText) == 101.0;
}

} // namespace OrderLines
