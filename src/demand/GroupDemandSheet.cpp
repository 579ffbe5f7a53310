#include "demand/GroupDemandSheet.h"

#include "data/FlexGrid.h"
#include "demand/GroupDemandTexts.h"
#include "demand/GroupDemand.h"

#include <iterator>

namespace GroupDemandSheet {

TablePaper::Input Paper(const Input& in) {
    TablePaper::Input t;
    t.title = GroupDemandTexts::Title;
    t.lines << in.periodText << in.countsText;
    t.lines.removeAll(QString());
    t.note = in.cashNote;
    t.widths.assign(std::begin(ColumnWidths), std::end(ColumnWidths));
    t.textColumns = {GroupDemand::ColDrug};
    t.printedAt = in.printedAt;
    if (!in.grid)
        return t;
    const FlexGrid& g = *in.grid;
    const int columns = int(std::size(ColumnWidths));
    const auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << (c < g.Cols() ? g.TextMatrix(r, c) : QString());
        return cells;
    };
    t.headers = row(0);
    for (int r = 1; r < g.Rows(); ++r)
        t.rows << row(r);
    if (in.totalsRow && g.Rows() > 1)
        t.boldRows.insert(g.Rows() - 2);
    return t;
}

int PageCount(const Input& in) {
    return TablePaper::PageCount(Paper(in));
}

bool printOnDevice(QPagedPaintDevice& device, const Input& in) {
    return in.grid && TablePaper::printOnDevice(device, Paper(in));
}

bool printToPdf(const QString& path, const Input& in) {
    return in.grid && TablePaper::printToPdf(path, Paper(in));
}

} // namespace GroupDemandSheet
