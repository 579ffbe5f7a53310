#pragma once

#include "ui/WorkDialog.h"
#include "buying/OfferBook.h"

#include <QDateTime>
#include <functional>

class FlexGridView;
class QLabel;
class QPushButton;

// The wholesalers and each one's current offers: added by hand, or imported from the sheet a
// wholesaler sends (.xlsx, columns drug and discount).
class FormWholesalers : public WorkDialog {
    Q_OBJECT
public:
    explicit FormWholesalers(QWidget* parent = nullptr);

    void ShowPage();
    void gridWholesalers_Click();
    void buttonAddWholesaler_Click();
    void buttonAddOffer_Click();
    void buttonImport_Click();

    const OfferBook& offers() const { return m_offers; }
    int chosenWholesaler() const { return m_wholesaler; }

    QLabel* labelNote;
    FlexGridView* gridWholesalers;
    FlexGridView* gridOffers; // the chosen wholesaler's offers
    QPushButton* buttonAddWholesaler;
    QPushButton* buttonAddOffer;
    QPushButton* buttonImport;

private:
    void showOffers();
    bool m_tablesPresent = false;
    OfferBook m_offers;
    int m_wholesaler = 0;
};
