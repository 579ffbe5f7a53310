#pragma once

#include "data/FlexGrid.h"

#include <QString>

// The order editor's catalogue grid: loading it from bowndrugs and marking the search hit.
namespace Catalogue {

inline constexpr quint32 TextColor = 11749679; // the grid's own blue
inline constexpr quint32 MarkColor = 255;      // red
inline const QString AddMark = QStringLiteral("=>");

// The whole bowndrugs table, cut to four columns with the add arrow in column 3, sorted by name. error receives
// the server's answer when the query failed (a failed connect has told the user already).
void LoadCatalogue(FlexGrid& grid, QString* error = nullptr);

// Search as you type: marks the last row whose name begins with the text and scrolls to it.
class Search {
public:
    // Returns the marked row, 0 when nothing matches or the text is blank.
    int TextSearch_Change(FlexGrid& grid, const QString& text);
    int markedRow() const { return m_marked; }
    void forget() { m_marked = 0; }

private:
    int m_marked = 0; // only this row can carry the mark, so only it needs recolouring
};

} // namespace Catalogue
