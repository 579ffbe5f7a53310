#include "ui/FlexGridView.h"

#include "ui/CellTextDelegate.h"
#include "ui/VbUnits.h"

#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QScrollBar>

namespace {
// Turns the grid's COLORREF text colours into brushes for the view.
class ColorProxy : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::ForegroundRole)
            return VbUnits::color(QIdentityProxyModel::data(index, FlexGrid::ColorRefRole).toUInt());
        return QIdentityProxyModel::data(index, role);
    }
};
} // namespace

FlexGridView::FlexGridView(QWidget* parent) : QTableView(parent), m_grid(new FlexGrid(2, 2, this)) {
    m_proxy = new ColorProxy(this);
    m_proxy->setSourceModel(m_grid);
    setModel(m_proxy);
    setItemDelegate(new CellTextDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    connect(m_grid, &FlexGrid::columnFormatChanged, this, &FlexGridView::applyColumnFormat);
    connect(m_grid, &QAbstractItemModel::modelReset, this, &FlexGridView::applyColumnFormat);
    connect(m_grid, &FlexGrid::topRowChanged, this, &FlexGridView::scrollToTopRow);
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { clickCell(index.row() + 1, index.column()); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) { clickCell(0, section); });
    applyColumnFormat();
}

void FlexGridView::applyColumnFormat() {
    for (int c = 0; c < m_grid->Cols(); ++c) {
        const int w = m_grid->ColWidth(c);
        setColumnHidden(c, w == 0);
        if (w > 0)
            setColumnWidth(c, VbUnits::px(w));
    }
}

void FlexGridView::scrollToTopRow(int row) {
    if (row < 1 || row >= m_grid->Rows())
        return;
    verticalScrollBar()->setValue(row - 1);
}

void FlexGridView::clickCell(int row, int col) {
    m_grid->setRow(row);
    m_grid->setCol(col);
    emit Click();
}

QRect FlexGridView::cellRect(int row, int col) const {
    if (row < 1)
        return {};
    return visualRect(m_proxy->index(row - 1, col));
}

static QString rgb(quint32 ref) { return VbUnits::color(ref).name(); }

void FlexGridView::setBackColor(quint32 colorRef) {
    m_grid->setBackColor(colorRef);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, VbUnits::color(colorRef));
    setPalette(pal);
}

void FlexGridView::setForeColor(quint32 colorRef) {
    m_grid->setForeColor(colorRef);
    QPalette pal = palette();
    pal.setColor(QPalette::Text, VbUnits::color(colorRef));
    setPalette(pal);
}

void FlexGridView::setBackColorBkg(quint32 colorRef) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, VbUnits::color(colorRef));
    setPalette(pal);
    viewport()->setAutoFillBackground(true);
}

void FlexGridView::setGridColor(quint32 colorRef) { setStyleSheet(QStringLiteral("gridline-color: %1;").arg(rgb(colorRef))); }
