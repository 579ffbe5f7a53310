#include "ordering/FFFMyOrders.h"

#include "data/AppGlobals.h"
#include "ordering/FFFMyOrdersTexts.h"
#include "ordering/MyOrdersList.h"
#include "ui/Dialogs.h"
#include "ui/FlexGridView.h"
#include "ui/VbUnits.h"
#include "ui/ScreenFit.h"

#include <QMenu>

FFFMyOrders::FFFMyOrders(QWidget* parent) : QDialog(parent), XXX(new FlexGridView(this)) {
    setObjectName(QStringLiteral("FFFMyOrders"));
    setWindowTitle(QString());
    setFixedSize(VbUnits::px(10530), VbUnits::px(6960));
    XXX->setObjectName(QStringLiteral("XXX"));
    XXX->setGeometry(VbUnits::rect(180, 495, 10245, 6330));
    XXX->setFont(QFont(QStringLiteral("Arabic Transparent")));
    XXX->setBackColor(0x00C0FFFF);
    XXX->setForeColor(0x00004000);
    connect(XXX, &FlexGridView::Click, this, &FFFMyOrders::XXX_Click);

    mnuOrderMenu = new QMenu(this);
    mnuOrderMenu->setObjectName(QStringLiteral("mnuOrderMenu"));
    mnuReorder = mnuOrderMenu->addAction(FFFMyOrdersTexts::Reorder);
    mnuReorder->setObjectName(QStringLiteral("mnuReorder"));
    connect(mnuReorder, &QAction::triggered, this, &FFFMyOrders::mnuReorder_Click);
    XXX->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(XXX, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = XXX->indexAt(pos);
        if (index.isValid() && XXX_RightClick(index.row() + 1))
            mnuOrderMenu->popup(XXX->viewport()->mapToGlobal(pos));
    });
    Form_Load();
    ScreenFit::apply(*this);
}

void FFFMyOrders::Form_Load() {
    QString error;
    if (!MyOrdersList::Load(XXX->grid(), AppGlobals::LoginTel, &error) && !error.isEmpty())
        Dialogs::MsgBox(FFFMyOrdersTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
}

void FFFMyOrders::XXX_Click() {
    // The header or an empty list holds no order to pick: the list stays open and nothing changes.
    const std::optional<QString> id = MyOrdersList::OrderAt(XXX->grid(), XXX->grid().Row());
    if (!id)
        return;
    AppGlobals::CurrentOrderId = *id;
    accept();
}

bool FFFMyOrders::XXX_RightClick(int row) {
    m_menuRow = MyOrdersList::OrderAt(XXX->grid(), row) ? row : 0;
    return m_menuRow > 0;
}

void FFFMyOrders::mnuReorder_Click() {
    const std::optional<QString> id = MyOrdersList::OrderAt(XXX->grid(), m_menuRow);
    if (!id)
        return;
    m_reorderId = *id;
    accept();
}
