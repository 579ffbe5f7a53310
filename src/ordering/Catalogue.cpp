#include "ordering/Catalogue.h"

#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "ui/FLXMod.h"

namespace Catalogue {

void LoadCatalogue(FlexGrid& grid, QString* error) {
    const FlexGrid::Batch batch(grid);
    // Extract, cut to four columns and put the arrows while the records are read: the grid is
    // filled once instead of being rewritten cell by cell for the arrow column. A failed connect
    // has told the user already; only the query's own failure goes back in error.
    const bool loaded = ModSQL::ConnectServer() &&
                        ModSQL::SQLSelectToFlex(grid, QStringLiteral("bowndrugs ;"), error, {4, 3, AddMark});
    if (!loaded) { // the grid keeps what it held; the arrow column is written all the same
        grid.setCols(4);
        for (int r = 1; r < grid.Rows(); ++r)
            grid.setTextMatrix(r, 3, AddMark);
    }
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
