#pragma once

#include <QDialog>

class FlexGridView;

// The pick list of the logged-in pharmacist's orders; a click on an order makes it current.
class FFFMyOrders : public QDialog {
    Q_OBJECT
public:
    explicit FFFMyOrders(QWidget* parent = nullptr);

    FlexGridView* XXX = nullptr;
    void XXX_Click();

private:
    void Form_Load();
};
