#pragma once

#include <QStyledItemDelegate>

// Draws a grid cell's text in its own reading order, whatever the window's direction: a Latin name
// ending in punctuation ("Pan 40-") keeps the mark at its end in a right-to-left window, as the
// printed pages have it. The cell keeps the place on screen its column's alignment gives it.
class CellTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
