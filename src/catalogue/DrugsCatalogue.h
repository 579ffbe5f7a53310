#pragma once

#include <QDate>
#include <QString>
#include <optional>

class FlexGrid;

// The catalogue editor's rules, free of widgets: rebuilding the grid from bowndrugs, the
// sufficiency ratio, the five sorts and the two edit statements.
namespace DrugsCatalogue {

// Display positions after the rebuild.
enum Column {
    ColName = 0,
    ColPrice = 1,
    ColDiscount = 2,
    ColHighest = 3,
    ColLastChange = 4,
    ColStock = 5,
    ColDemanded = 6,
    ColRatio = 7,
    ColSpare1 = 8, // hidden
    ColSpare2 = 9, // hidden
    ColCount = 10
};

// Stock as a whole percentage of the demanded quantity (0 or empty demanded counts as 10),
// halves to even.
QString SufficiencyRatio(const QString& stock, const QString& demanded);

// Empties the grid, fills it with "SELECT * FROM bowndrugs" and lays it out (see Arrange). When
// the server cannot be read the grid keeps the catalogue it showed; error receives the query's
// failure (a failed connect has told the user already).
bool ShowPage(FlexGrid& grid, QString* error = nullptr);
// Everything after the fill: widths, headers, the "170801" fill, the ratio column, the column
// moves, alignment and the name sort.
void Arrange(FlexGrid& grid);

enum class Sort { Name, Price, Discount, LastChange, Shortage };
void SortBy(FlexGrid& grid, Sort sort);

// The best-wholesaler-discount statement, or nothing when the answer is not above 1 and at most
// 95 or no drug is selected.
std::optional<QString> DiscountStatement(const QString& answer, const QString& drug, const QDate& today);

struct Rename {
    std::optional<QString> statement;
    QString refusal; // set when the name is refused with a message; both empty: nothing to do
};
// The rename statement for the selected drug. Empty answers do nothing; names holding "^" or "|"
// (they would break every order that lists the drug) and names another row already has are
// refused.
Rename RenameStatement(const QString& answer, const QString& oldName, const QDate& today,
                       const FlexGrid& grid);

} // namespace DrugsCatalogue
