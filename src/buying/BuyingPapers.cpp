#include "buying/BuyingPapers.h"

#include "buying/BuyingTexts.h"
#include "data/Days.h"
#include "data/ModGFun.h"

#include <QDate>

namespace BuyingPapers {

QString Number(double v) {
    return ModGFun::ShortestText(ModGFun::RoundHalfEven(v, 2));
}

namespace {
QString dayText(const QString& yyyymmdd) {
    const QDate d = Days::FromKey(yyyymmdd);
    return d.isValid() ? Days::Text(d) : yyyymmdd;
}
} // namespace

TablePaper::Input PurchaseOrder(const BuyingStore::KeptOrder& order, const Wholesaler& wholesaler,
                                 const QDateTime& printedAt) {
    TablePaper::Input in;
    in.title = BuyingTexts::PurchaseOrderTitle.arg(order.poid);
    in.lines << BuyingTexts::WholesalerLine.arg(wholesaler.name, wholesaler.phone, wholesaler.district)
             << BuyingTexts::OrderDateLine.arg(dayText(order.podate), dayText(order.periodFrom), dayText(order.periodTo));
    in.headers = BuyingTexts::OrderHeaders;
    in.widths = {12, 78, 22, 24, 22, 34};
    in.textColumns = {1};
    int n = 0;
    for (const BuyingStore::KeptLine& l : order.lines)
        in.rows << QStringList{QString::number(++n), l.drug, Number(l.quantity), Number(l.price), Number(l.discount),
                               Number(l.value)};
    in.closing << BuyingTexts::TotalLine.arg(Number(order.total));
    if (order.status != QLatin1String("kept"))
        in.closing << BuyingTexts::ReplacedLine;
    in.printedAt = printedAt;
    return in;
}

XlsxSheet PurchaseOrderSheet(const BuyingStore::KeptOrder& order, const Wholesaler& wholesaler) {
    XlsxSheet sheet;
    // A sheet name holds no "/".
    sheet.name = QString(order.poid).replace(u'/', u'-');
    sheet.headers = BuyingTexts::OrderHeaders;
    int n = 0;
    for (const BuyingStore::KeptLine& l : order.lines)
        sheet.rows << QVariantList{++n, l.drug, l.quantity, l.price, l.discount, ModGFun::RoundHalfEven(l.value, 2)};
    sheet.rows << QVariantList{QVariant(), BuyingTexts::TotalCaption + QStringLiteral(" - ") + wholesaler.name, QVariant(),
                               QVariant(), QVariant(), ModGFun::RoundHalfEven(order.total, 2)};
    sheet.boldRows.insert(int(sheet.rows.size()) - 1);
    return sheet;
}

TablePaper::Input Distribution(const BuyingStore::KeptLine& line, const std::vector<BuyingStore::Allotment>& shares,
                                DeliveryShare::Rule rule, const std::function<QString(const QString&)>& nameOf,
                                const QDateTime& printedAt) {
    TablePaper::Input in;
    in.title = BuyingTexts::DistributionTitle.arg(line.drug);
    long long given = 0;
    double asked = 0;
    for (const auto& s : shares) {
        given += s.allotted;
        asked += s.asked;
    }
    in.lines << BuyingTexts::DistributionLine.arg(line.poid, Number(line.received), QString::number(given));
    in.headers = BuyingTexts::DistributionHeaders;
    in.widths = {12, 62, 30, 32, 18, 18, 20};
    in.textColumns = {1};
    int n = 0;
    for (const auto& s : shares) {
        const QString name = nameOf ? nameOf(s.tel) : QString();
        in.rows << QStringList{QString::number(++n), name.isEmpty() ? s.tel : name, s.tel, s.orderid, Number(s.asked),
                               QString::number(s.allotted), QString()};
    }
    in.rows << QStringList{QString(), BuyingTexts::TotalCaption, QString(), QString(), Number(asked), QString::number(given),
                           QString()};
    in.boldRows.insert(int(in.rows.size()) - 1);
    const double surplus = line.received - double(given);
    in.closing << (rule == DeliveryShare::Rule::Proportional ? BuyingTexts::RuleProportional : BuyingTexts::RuleEarliest);
    if (surplus > 0)
        in.closing << BuyingTexts::SurplusLine.arg(Number(surplus));
    in.printedAt = printedAt;
    return in;
}

} // namespace BuyingPapers
