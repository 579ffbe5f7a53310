#pragma once

#include "data/FlexGrid.h"
#include "data/ServerConnection.h"
#include "sheets/XlsxSheet.h"

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QSqlQuery>
#include <functional>
#include <memory>
#include <vector>

// The group's demand over a period: every drug the orders of the period hold, with its total
// quantity, pharmacies, orders and cash value, the catalogue's figures beside it, and for each drug
// the orders that hold it. Draws nothing.
namespace GroupDemand {


// Columns of the demand grid.
enum DemandColumn { ColDrug, ColQuantity, ColPharmacies, ColOrders, ColCash, ColPrice, ColDisc, ColBest, DemandCols };
// Columns of the distribution grid.
enum PlaceColumn { ColPharmacy, ColTel, ColMarkaz, ColOrderId, ColDate, ColPlaceQuantity, PlaceCols };

QStringList DemandHeaders();
struct Report;
// The best-discount column's header: where its figures come from, when any is the offer book's.
QString BestHeader(const Report& report);
QStringList PlaceHeaders();

struct Period {
    QDate from;
    QDate to; // inclusive
    bool sentOnly = true;
};
// The period's last seven days up to today.
Period DefaultPeriod(const QDate& today);

// The one statement that reads the period's orders: drug, orderid, date, tel, markaz, submitted.
QString OrdersStatement(const Period& period);
QString CatalogueStatement();

struct Order {
    QString id, date, tel, markaz;
};
// One order holding a drug; lines of the same drug in one order are added together.
struct Placement {
    int order = 0;
    float quantity = 0;
};
struct Drug {
    // The catalogue's spelling when it has the drug, else the least of its spellings. Spellings are
    // one drug when their DrugNameKey is the same.
    QString name;
    QString key; // DrugNameKey of its spellings; empty for the lines without a name
    double quantity = 0;
    int pharmacies = 0;
    int orders = 0;
    double cash = 0; // sum of the line values (each as an order value takes it), rounded when shown
    bool inCatalogue = false;
    bool nameless = false; // the lines that carry no drug name
    QString price, disc, best;
    bool bestOffered = false; // best is the group's offer book's, not the catalogue's figure
};
// A line left out of the demand: its quantity is negative or no number, or its value is none; an
// empty drug names a whole order whose value is none.
struct SkippedLine {
    QString orderId, drug, quantity;
};

struct Report {
    bool ok = false;
    QString error; // Arabic, with the server's text, when not ok
    Period period;
    std::vector<Order> orders;   // every order read, with or without lines
    std::vector<Drug> drugs;     // in no particular order
    // The totals row: its cash is the sum of the orders' own cash values; pharmacies and orders
    // count those with a line.
    Drug total;
    std::vector<SkippedLine> skipped;
    int ordersRead() const { return int(orders.size()); }
    // The orders holding the drug, in the order they were read.
    std::vector<Placement> placementsOf(int drug) const;
    // The drug a demand-grid name stands for, or -1 (the totals row, an empty row).
    int drugNamed(const QString& shownName) const;

    QHash<QString, int> byShownName;
    // Every order's drugs as read, one after the other: a period holds one for nearly every line,
    // kept in one sequence rather than one list per drug. Order k has entries orderStart[k] up to
    // orderStart[k + 1].
    struct Entry {
        int drug = 0;
        float quantity = 0;
    };
    std::vector<Entry> entries;
    std::vector<int> orderStart;
};

// Reads and adds up: the orders statement and the catalogue on ServerConnection. With catalogueRow,
// the catalogue is read whole ("SELECT * FROM bowndrugs") and each of its rows handed over too,
// with the row's DrugNameKey. meanwhile, when the orders were read, runs on the calling thread while
// the last of them are still added up (the connection is free then): a caller's other reads, which
// keep what they read in storage of their own; it is run before Build returns, whatever it returns.
Report Build(const Period& period,
             const std::function<void(const QSqlQuery&, const QString& key)>& catalogueRow = {},
             const std::function<void()>& meanwhile = {});

// The adding up, apart from the server. Each row: drug text, orderid, date, tel, markaz.
class Accumulator {
public:
    Accumulator();
    ~Accumulator();
    Accumulator(const Accumulator&) = delete;
    Accumulator& operator=(const Accumulator&) = delete;
    // The order's own texts are kept: given to it, they are moved in rather than shared.
    void addOrder(QStringView lines, QString id, QString date, QString tel, QString markaz);
    // Catalogue row; the first row of a name (by its DrugNameKey) wins. Returns that key.
    QString addCatalogueRow(const QString& drug, const QString& price, const QString& disc, const QString& best);
    Report finish(const Period& period);

private:
    struct State;
    std::unique_ptr<State> d;
};

// The message that lists the lines left out.
QString SkippedText(const std::vector<SkippedLine>& skipped);

// Numbers as the grids show them: quantities to three places, cash values as order values are.
QString QuantityText(double quantity);
QString CashText(double cash);

// Drug rows sorted by name, then the totals row; row 0 the headers.
void FillDemandGrid(FlexGrid& grid, const Report& report);
// One row per order holding the drug, by district, pharmacy and order id. nameOf gives the client
// book's name for a phone ("" when none).
void FillPlaceGrid(FlexGrid& grid, const Report& report, int drug, const std::function<QString(const QString&)>& nameOf);

// Sorting from a header click: a new column sorts texts "AZ" and numbers "321", the same column
// again the other way. A totals row stays below the sorted rows.
struct SortState {
    int column = -1;
    QString mode;
};
void HeaderSort(FlexGrid& grid, int column, bool textColumn, SortState& state, bool keepTotalsLast);

// The grid as CSV: UTF-8 with a byte-order mark, CRLF line ends, fields quoted when they hold a
// comma, a quote, a line break or blanks at an end.
QByteArray Csv(const FlexGrid& grid);

// The grid as a worksheet: figures as numbers, names and other texts as texts, the totals row
// (the last) bold.
XlsxSheet Sheet(const FlexGrid& grid);

} // namespace GroupDemand
