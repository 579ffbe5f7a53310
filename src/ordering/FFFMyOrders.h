#pragma once

#include <QDialog>
#include <optional>

class FlexGridView;
class QMenu;
class QAction;

// The list of the logged-in pharmacist's orders; a click on an order makes it current.
class FFFMyOrders : public QDialog {
    Q_OBJECT
public:
    explicit FFFMyOrders(QWidget* parent = nullptr);

    FlexGridView* XXX = nullptr;
    QMenu* mnuOrderMenu = nullptr;
    QAction* mnuReorder = nullptr;
    void XXX_Click();
    // The order a right-click asked to order again; the editor makes the new order.
    std::optional<QString> reorderId() const { return m_reorderId; }
    // What the right-click on grid row row offers; false on a row with no order.
    bool XXX_RightClick(int row);
    void mnuReorder_Click();

private:
    void Form_Load();
    int m_menuRow = 0;
    std::optional<QString> m_reorderId;
};
