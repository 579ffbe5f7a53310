#include "catalogue/DrugsCatalogue.h"

#include "catalogue/DrugsCatalogueTexts.h"
#include "data/Days.h"
#include "data/DrugNameKey.h"
#include "data/FlexGrid.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "ui/FLXMod.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

namespace DrugsCatalogue {

namespace {
// Table positions before the column moves.
constexpr int TName = 0;
constexpr int TLastDate = 3;
constexpr int TStock = 4;
constexpr int TDemanded = 5;
constexpr int THighest = 8;
constexpr int TRatio = 9;
} // namespace

QString SufficiencyRatio(const QString& stock, const QString& demanded) {
    const double s = ModGFun::Val(stock);
    double d = ModGFun::Val(demanded);
    if (d == 0)
        d = 10;
    const double r = ModGFun::RoundHalfEven(s / d * 100, 0) + 0.0; // + 0.0 turns -0 into 0
    if (!std::isfinite(r))
        return {};
    return ModGFun::ShortestText(r);
}

namespace {
// A row as read (the nine fields of bowndrugs and an added empty one) made a shown row: the
// default last change, the ratio, and the highest discount and the ratio moved to their places.
// False for another shape.
bool ArrangeRow(std::span<QString> cells) {
    if (cells.size() != size_t(TRatio) + 1)
        return false;
    if (!cells[TName].isEmpty()) {
        if (cells[TLastDate].isEmpty())
            cells[TLastDate] = QStringLiteral("170801");
        cells[TRatio] = SufficiencyRatio(cells[TStock], cells[TDemanded]);
    }
    const auto at = cells.begin();
    std::rotate(at + ColHighest, at + THighest, at + THighest + 1);
    std::rotate(at + ColRatio, at + TRatio, at + TRatio + 1);
    return true;
}

// Widths, headers and alignments at the shown positions, and the name sort.
void LayOut(FlexGrid& grid) {
    grid.setColWidth(ColName, 3700);
    grid.setColWidth(ColPrice, 1000);
    grid.setColWidth(ColDiscount, 1000);
    grid.setColWidth(ColLastChange, 1600);
    grid.setColWidth(ColSpare1, 0);
    grid.setColWidth(ColSpare2, 0);

    const int shown[] = {ColName, ColPrice, ColDiscount, ColLastChange, ColStock, ColDemanded};
    for (int i = 0; i < 6; ++i)
        grid.setTextMatrix(0, shown[i], DrugsCatalogueTexts::Headers[i]);
    grid.setTextMatrix(0, ColHighest, DrugsCatalogueTexts::HeaderHighest);
    grid.setTextMatrix(0, ColRatio, DrugsCatalogueTexts::HeaderRatio);
    // The hidden spare fields have no header, also when the page is shown again.
    grid.setTextMatrix(0, ColSpare1, QString());
    grid.setTextMatrix(0, ColSpare2, QString());

    FLXMod::FlexAlignCenter(grid);
    FLXMod::FlexAlignLeft(grid, ColName);
    FLXMod::FlexSort(grid, ColName, QStringLiteral("AZ"));
}
} // namespace

bool ShowPage(FlexGrid& grid, QString* error) {
    // The views see the finished page only, not every step of the rebuild.
    const FlexGrid::Batch batch(grid);
    // Each row is arranged while the read has it at hand: one pass over a long catalogue
    // instead of one for the ratio and one for each column move.
    bool arranged = false;
    ModSQL::FlexLayout layout;
    layout.added = 1; // the ratio's place
    layout.eachRow = [&arranged](std::span<QString> cells) { arranged = ArrangeRow(cells); };
    // A failed read leaves the grid as it was: an empty page would hide the catalogue the manager
    // is working on just because the line dropped for a moment.
    if (!ModSQL::ConnectServer() || !ModSQL::SQLSelectToFlex(grid, QStringLiteral("bowndrugs"), error, layout)) {
        if (grid.Cols() < ColCount) { // never laid out: the empty page still gets its headers
            grid.setCols(0);
            Arrange(grid);
        }
        return false;
    }
    // As on an emptied grid: the last layout's widths and alignments do not carry over.
    grid.resetColumnFormats();
    if (arranged) {
        LayOut(grid);
    } else {
        grid.setCols(grid.Cols() - 1); // the ratio's place again added by the general arrangement
        Arrange(grid);
    }
    return true;
}

void Arrange(FlexGrid& grid) {
    grid.setCols(grid.Cols() + 1);
    const int rows = grid.Rows();
    const int last = grid.Cols() - 1;
    // The default last change and the ratio in one pass over the rows: a catalogue is long, and
    // both concern only rows with a name.
    for (int r = 1; r < rows; ++r) {
        if (grid.TextMatrix(r, TName).isEmpty())
            continue;
        if (grid.TextMatrix(r, TLastDate).isEmpty())
            grid.setTextMatrix(r, TLastDate, QStringLiteral("170801"));
        grid.setTextMatrix(r, last,
                           SufficiencyRatio(grid.TextMatrix(r, TStock), grid.TextMatrix(r, TDemanded)));
    }

    grid.setColPosition(THighest, ColHighest);
    grid.setColPosition(TRatio, ColRatio);
    LayOut(grid);
}

void SortBy(FlexGrid& grid, Sort sort) {
    switch (sort) {
    case Sort::Name:
        FLXMod::FlexSort(grid, ColName, QStringLiteral("AZ"));
        break;
    case Sort::Price:
        FLXMod::FlexSort(grid, ColPrice, QStringLiteral("321"));
        break;
    case Sort::Discount:
        FLXMod::FlexSort(grid, ColDiscount, QStringLiteral("321"));
        break;
    case Sort::LastChange:
        FLXMod::FlexSort(grid, ColLastChange, QStringLiteral("321"));
        break;
    case Sort::Shortage:
        FLXMod::FlexSort(grid, ColRatio, QStringLiteral("123"));
        break;
    }
}

std::optional<QString> DiscountStatement(const QString& answer, const QString& drug, const QDate& today) {
    const double v = ModGFun::Val(answer);
    if (!(v > 1) || v > 95)
        return std::nullopt;
    if (drug.isEmpty())
        return std::nullopt;
    return QStringLiteral(" UPDATE bowndrugs SET ") + QStringLiteral(" highistdiskout = '") +
           ModSQL::SqlEscape(answer) + QStringLiteral("' ,") + QStringLiteral(" lastdate = '") +
           Days::DrugsDate(today) + QStringLiteral("' ") + QStringLiteral(" WHERE drug='") +
           ModSQL::SqlEscape(drug) + QStringLiteral("';");
}

Rename RenameStatement(const QString& answer, const QString& oldName, const QDate& today,
                       const FlexGrid& grid) {
    Rename r;
    if (oldName.isEmpty() || answer.trimmed().isEmpty())
        return r;
    if (answer.contains(u'^') || answer.contains(u'|')) {
        r.refusal = DrugsCatalogueTexts::NameWithSeparators;
        return r;
    }
    if (answer != oldName) {
        // Another spelling of another row's name would make two rows of one drug.
        const QString key = DrugNameKey(answer);
        for (int row = 1; row < grid.Rows(); ++row) {
            const QString name = grid.TextMatrix(row, ColName);
            if (name != oldName && DrugNameKey(name) == key) {
                r.refusal = DrugsCatalogueTexts::NameTaken;
                return r;
            }
        }
    }
    r.statement = QStringLiteral(" UPDATE bowndrugs SET ") + QStringLiteral(" drug = '") +
                  ModSQL::SqlEscape(answer) + QStringLiteral("', ") + QStringLiteral(" lastdate = '") +
                  Days::DrugsDate(today) + QStringLiteral("' ") + QStringLiteral(" WHERE drug='") +
                  ModSQL::SqlEscape(oldName) + QStringLiteral("';");
    return r;
}

} // namespace DrugsCatalogue
