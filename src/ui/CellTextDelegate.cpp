#include "ui/CellTextDelegate.h"

#include <QStyle>

void CellTextDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // Where the column puts the text, fixed on screen before the direction changes to the text's.
    option->displayAlignment = QStyle::visualAlignment(option->direction, option->displayAlignment) | Qt::AlignAbsolute;
    const bool rtl = option->text.isRightToLeft();
    bool strong = false;
    for (const QChar c : std::as_const(option->text)) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirL || d == QChar::DirR || d == QChar::DirAL) {
            strong = true;
            break;
        }
    }
    if (strong)
        option->direction = rtl ? Qt::RightToLeft : Qt::LeftToRight;
}
