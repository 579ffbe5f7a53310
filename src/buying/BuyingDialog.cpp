#include "buying/BuyingDialog.h"

#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"
#include "ui/VbUnits.h"

#include <QDateEdit>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

BuyingDialog::BuyingDialog(QWidget* parent, const char* name, const QString& title) : QDialog(parent) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    setModal(true);
    setLayoutDirection(Qt::RightToLeft);
    QFont f(QStringLiteral("Arabic Transparent"));
    f.setPointSize(10);
    f.setBold(true);
    setFont(f);
    Dialogs::KeepOpenOnEscape(*this);
}

QPushButton* BuyingDialog::button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* BuyingDialog::label(const char* name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    return l;
}

QDateEdit* BuyingDialog::date(const char* name) {
    auto* d = new QDateEdit(this);
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setLocale(QLocale::c());
    d->setCalendarPopup(true);
    return d;
}

FlexGridView* BuyingDialog::grid(const char* name, const QStringList& headers, const std::vector<int>& widths) {
    auto* g = new FlexGridView(this);
    g->setObjectName(QString::fromLatin1(name));
    g->grid().setCols(int(headers.size()));
    g->grid().setRows(1);
    for (int c = 0; c < headers.size(); ++c) {
        g->grid().setTextMatrix(0, c, headers[c]);
        g->grid().setColWidth(c, widths[size_t(c)]);
    }
    FLXMod::FlexAlignCenter(g->grid());
    return g;
}

void BuyingDialog::fitColumns(FlexGridView* view, std::initializer_list<int> columns) {
    FlexGrid& g = view->grid();
    const QFontMetrics metrics(view->font());
    for (int c : columns) {
        int widest = 0;
        for (int r = 0; r < g.Rows(); ++r)
            widest = std::max(widest, metrics.horizontalAdvance(g.TextMatrix(r, c)));
        const int twips = VbUnits::twips(widest + 2 * metrics.averageCharWidth());
        if (twips > g.ColWidth(c))
            g.setColWidth(c, twips);
    }
}
