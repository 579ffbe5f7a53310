#include "ordering/Catalogue.h"

#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "ui/FLXMod.h"

namespace Catalogue {

void Extract_Drugs_from_Server(FlexGrid& grid) {
    ModSQL::SQLSelectToFlex(grid, QStringLiteral("bowndrugs ;"));
}

void LoadCatalogue(FlexGrid& grid) {
    Extract_Drugs_from_Server(grid);
    grid.setCols(4);
    for (int r = 1; r < grid.Rows(); ++r)
        grid.setTextMatrix(r, 3, AddMark);
    grid.setColWidth(3, 700);
    FLXMod::FlexSort(grid, 0, QStringLiteral("AZ"));
}

int Search::TextSearch_Change(FlexGrid& grid, const QString& text) {
    if (m_marked > 0)
        FLXMod::FlexColorRow(grid, m_marked, TextColor);
    m_marked = 0;
    const QString s = ModGFun::CleanText(text);
    if (s.isEmpty())
        return 0;
    const int row = FLXMod::FlexFindLike(grid, s + u'*', 0);
    if (row > 0) {
        grid.setTopRow(row);
        FLXMod::FlexColorRow(grid, row, MarkColor);
        m_marked = row;
    }
    return row;
}

} // namespace Catalogue
