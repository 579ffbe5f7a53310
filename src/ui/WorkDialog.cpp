#include "ui/WorkDialog.h"

#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"
#include "ui/VbUnits.h"

#include <QDateEdit>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

WorkDialog::WorkDialog(QWidget* parent, const char* name, const QString& title) : QDialog(parent) {
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

QPushButton* WorkDialog::button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* WorkDialog::label(const char* name, const QString& text, bool wordWrap) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(wordWrap);
    // At the right edge, as the window places it: a label otherwise aligns by its text's first
    // letter, and a text that begins in Latin letters or digits went to the left.
    l->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return l;
}

QDateEdit* WorkDialog::date(const char* name) {
    auto* d = new QDateEdit(this);
    d->setObjectName(QString::fromLatin1(name));
    // Laid out from the right in these windows, the sections read 2026/12/01, as the papers write it.
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setLocale(QLocale::c());
    d->setCalendarPopup(true);
    // Room for the whole date in whatever face the machine draws it with, and the arrow.
    const QFontMetrics metrics(d->font());
    d->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("8888/88/88")) + 3 * metrics.height());
    return d;
}

FlexGridView* WorkDialog::grid(const char* name, const QStringList& headers, const std::vector<int>& widths) {
    auto* g = new FlexGridView(this);
    g->setObjectName(QString::fromLatin1(name));
    g->grid().setCols(int(headers.size()));
    g->grid().setRows(1);
    for (int c = 0; c < headers.size(); ++c) {
        g->grid().setTextMatrix(0, c, headers[c]);
        g->grid().setColWidth(c, widths[size_t(c)]);
    }
    FLXMod::FlexAlignCenter(g->grid());
    fitColumns(g);
    return g;
}

void WorkDialog::fitColumns(FlexGridView* view) {
    FlexGrid& g = view->grid();
    const QFontMetrics metrics(view->font());
    // Headers are drawn bold.
    QFont bold = view->font();
    bold.setBold(true);
    const QFontMetrics header(bold);
    for (int c = 0; c < g.Cols(); ++c) {
        int widest = header.horizontalAdvance(g.TextMatrix(0, c));
        for (int r = 1; r < g.Rows(); ++r)
            widest = std::max(widest, metrics.horizontalAdvance(g.TextMatrix(r, c)));
        const int twips = VbUnits::twips(widest + 2 * metrics.averageCharWidth());
        if (twips > g.ColWidth(c))
            g.setColWidth(c, twips);
    }
}
