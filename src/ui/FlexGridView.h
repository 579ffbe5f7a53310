#pragma once

#include "data/FlexGrid.h"

#include <QTableView>

class QIdentityProxyModel;

// The grid control on screen: a table view over a FlexGrid. Row 0 of the grid is the header.
// A mouse click on a cell makes it the grid's current cell and raises Click.
class FlexGridView : public QTableView {
    Q_OBJECT
public:
    explicit FlexGridView(QWidget* parent = nullptr);

    FlexGrid& grid() { return *m_grid; }
    const FlexGrid& grid() const { return *m_grid; }

    void setBackColor(quint32 colorRef);
    void setForeColor(quint32 colorRef);
    void setBackColorBkg(quint32 colorRef);
    void setGridColor(quint32 colorRef);

    // Makes (row, col) of the grid current and raises Click, as a mouse click on it does.
    void clickCell(int row, int col);
    // The rectangle of a grid cell in viewport coordinates (row 0 is not in the viewport).
    QRect cellRect(int row, int col) const;

signals:
    void Click();

private:
    void applyColumnFormat();
    void scrollToTopRow(int row);

    FlexGrid* m_grid;
    QIdentityProxyModel* m_proxy;
};
