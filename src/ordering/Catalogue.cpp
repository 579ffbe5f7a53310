#include "ordering/Catalogue.h"

#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ui/FLXMod.h"
#include "ui/WildcardMatch.h"

#include <algorithm>

namespace Catalogue {

void LoadCatalogue(FlexGrid& grid, QString* error) {
    // Extract, cut to four columns and put the arrows in one pass over the records: the grid is
    // then filled once instead of being rewritten cell by cell for the arrow column.
    bool loaded = false;
    if (ModSQL::ConnectServer()) {
        long affected = 0;
        Recordset rs = ServerConnection::instance().Execute(QStringLiteral("SELECT * FROM bowndrugs ;"),
                                                            affected, error);
        if (affected != 0) {
            const int fields = std::min(rs.FieldCount(), 3);
            std::vector<QStringList> rows;
            rows.reserve(rs.RecordCount());
            for (; !rs.isEOF(); rs.MoveNext()) {
                QStringList row;
                row.reserve(4);
                for (int i = 0; i < 3; ++i)
                    row.append(i < fields ? FieldText(rs.Fields(i)) : QString());
                row.append(AddMark);
                rows.push_back(std::move(row));
            }
            grid.setRows(1);
            grid.loadReversed(4, std::move(rows));
            loaded = true;
        }
    }
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
    // The last matching row, found from the bottom up: the same row FlexFindLike gives, without
    // reading the rows below it twice.
    const WildcardPattern pattern(s + u'*');
    int row = 0;
    for (int r = grid.Rows() - 1; r >= grid.FixedRows() && row == 0; --r)
        if (pattern.matches(grid.TextMatrix(r, 0)))
            row = r;
    if (row > 0) {
        grid.setTopRow(row);
        FLXMod::FlexColorRow(grid, row, MarkColor);
        m_marked = row;
    }
    return row;
}

} // namespace Catalogue
