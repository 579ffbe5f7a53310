#include "ordering/FFFMyOrders.h"

#include "data/AppGlobals.h"
#include "ordering/MyOrdersList.h"
#include "ui/Dialogs.h"
#include "ui/FlexGridView.h"
#include "ui/VbUnits.h"

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
    Form_Load();
}

void FFFMyOrders::Form_Load() {
    QString error;
    if (!MyOrdersList::Load(XXX->grid(), AppGlobals::LoginTel, &error) && !error.isEmpty())
        Dialogs::MsgBox(QStringLiteral("تعذرت قراءة قائمة الاوردرات من الخادم:\n") + error, Dialogs::vbOKOnly,
                        this);
}

void FFFMyOrders::XXX_Click() {
    // The header or an empty list holds no order to pick: the list stays open and nothing changes.
    const std::optional<QString> id = MyOrdersList::Pick(XXX->grid(), XXX->grid().Row());
    if (!id)
        return;
    AppGlobals::CurrentOrderId = *id;
    accept();
}
