#include "buying/FormWholesalers.h"

#include "buying/BuyingPapers.h"
#include "buying/BuyingStore.h"
#include "buying/BuyingTexts.h"
#include "buying/OfferImport.h"
#include "data/Days.h"
#include "data/Clock.h"
#include "data/DrugNameKey.h"
#include "data/GroupTables.h"
#include "data/TextOrder.h"
#include "ui/Dialogs.h"
#include "ui/FileQuestion.h"
#include "ui/FlexGridView.h"
#include "ui/ScreenFit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FormWholesalers::FormWholesalers(QWidget* parent)
    : WorkDialog(parent, "FormWholesalers", BuyingTexts::WholesalersTitle) {
    auto* page = new QVBoxLayout(this);
    labelNote = label("labelNote");
    page->addWidget(labelNote);
    auto* grids = new QHBoxLayout;
    page->addLayout(grids, 1);
    gridWholesalers = grid("gridWholesalers", BuyingTexts::WholesalerHeaders, {600, 2400, 1500, 1500});
    gridWholesalers->setMinimumSize(420, 320);
    gridOffers = grid("gridOffers", BuyingTexts::OfferHeaders, {3000, 900, 1400});
    gridOffers->setMinimumSize(380, 320);
    grids->addWidget(gridWholesalers);
    grids->addWidget(gridOffers);
    auto* bar = new QHBoxLayout;
    page->addLayout(bar);
    buttonAddWholesaler = button("buttonAddWholesaler", BuyingTexts::AddWholesaler);
    buttonAddOffer = button("buttonAddOffer", BuyingTexts::AddOffer);
    buttonImport = button("buttonImport", BuyingTexts::ImportOffers);
    bar->addWidget(buttonAddWholesaler);
    bar->addWidget(buttonAddOffer);
    bar->addWidget(buttonImport);
    bar->addStretch(1);

    connect(gridWholesalers, &FlexGridView::Click, this, &FormWholesalers::gridWholesalers_Click);
    connect(buttonAddWholesaler, &QPushButton::clicked, this, &FormWholesalers::buttonAddWholesaler_Click);
    connect(buttonAddOffer, &QPushButton::clicked, this, &FormWholesalers::buttonAddOffer_Click);
    connect(buttonImport, &QPushButton::clicked, this, &FormWholesalers::buttonImport_Click);

    QString error;
    const auto presence = BuyingStore::CheckTables(&error);
    m_tablesPresent = presence == GroupTables::Presence::Present;
    if (!m_tablesPresent) {
        for (QPushButton* b : {buttonAddWholesaler, buttonAddOffer, buttonImport})
            b->setEnabled(false);
        labelNote->setText(presence == GroupTables::Presence::Missing ? GroupTables::MissingMessage()
                                                                    : BuyingTexts::ReadFailed + error);
        return;
    }
    labelNote->setText(BuyingTexts::ImportNote);
    ShowPage();
    ScreenFit::apply(*this);
}

void FormWholesalers::ShowPage() {
    QString error;
    OfferBook book;
    if (!BuyingStore::ReadOfferBook(book, &error)) {
        Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
        return;
    }
    m_offers = std::move(book);
    FlexGrid& g = gridWholesalers->grid();
    const auto& ws = m_offers.wholesalers();
    g.setRows(1 + int(ws.size()));
    for (int r = 0; r < int(ws.size()); ++r) {
        const Wholesaler& w = ws[size_t(r)];
        const QStringList cells{QString::number(w.id), w.name, w.phone, w.district};
        for (int c = 0; c < 4; ++c)
            g.setTextMatrix(r + 1, c, cells[c]);
    }
    fitColumns(gridWholesalers);
    showOffers();
}

void FormWholesalers::showOffers() {
    std::vector<const Offer*> mine;
    for (const Offer& o : m_offers.current())
        if (o.wholesaler == m_wholesaler)
            mine.push_back(&o);
    TextOrder::sortBy(mine, [](const Offer* o) { return o->drug; });
    FlexGrid& g = gridOffers->grid();
    g.setRows(1 + int(mine.size()));
    for (int r = 0; r < int(mine.size()); ++r) {
        g.setTextMatrix(r + 1, 0, mine[size_t(r)]->drug);
        g.setTextMatrix(r + 1, 1, BuyingPapers::Number(mine[size_t(r)]->discount));
        g.setTextMatrix(r + 1, 2, mine[size_t(r)]->date);
    }
    fitColumns(gridOffers);
}

void FormWholesalers::gridWholesalers_Click() {
    const FlexGrid& g = gridWholesalers->grid();
    if (g.Row() < 1)
        return;
    m_wholesaler = g.TextMatrix(g.Row(), 0).toInt();
    showOffers();
}

void FormWholesalers::buttonAddWholesaler_Click() {
    Wholesaler w;
    w.name = Dialogs::InputBox(BuyingTexts::WholesalerNamePrompt, QString(), this).trimmed();
    if (w.name.isEmpty())
        return;
    w.phone = Dialogs::InputBox(BuyingTexts::WholesalerPhonePrompt, QString(), this).trimmed();
    w.district = Dialogs::InputBox(BuyingTexts::WholesalerDistrictPrompt, QString(), this).trimmed();
    const WriteRoad::Result r = BuyingStore::AddWholesaler(w);
    if (r.outcome == WriteRoad::Outcome::Taken)
        Dialogs::MsgBox(BuyingTexts::WholesalerThere.arg(w.id), Dialogs::vbOKOnly, this);
    else if (!r.saved())
        Dialogs::MsgBox(WriteRoad::Text(r), Dialogs::vbOKOnly, this);
    ShowPage();
}

namespace {
// The catalogue by name key, or an error told.
bool catalogue(QHash<QString, PeriodDemand::CatalogueItem>& out, QWidget* parent) {
    QString error;
    if (PeriodDemand::ReadCatalogue(out, &error))
        return true;
    Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, parent);
    return false;
}
} // namespace

void FormWholesalers::buttonAddOffer_Click() {
    if (m_wholesaler == 0) {
        Dialogs::MsgBox(BuyingTexts::ChooseWholesaler, Dialogs::vbOKOnly, this);
        return;
    }
    const QString drug = Dialogs::InputBox(BuyingTexts::OfferDrugPrompt, QString(), this);
    if (drug.trimmed().isEmpty())
        return;
    const QString discount = Dialogs::InputBox(BuyingTexts::OfferDiscountPrompt, QString(), this);
    if (discount.trimmed().isEmpty())
        return;
    QHash<QString, PeriodDemand::CatalogueItem> items;
    if (!catalogue(items, this))
        return;
    const OfferImport::Result r = OfferImport::FromRows({{drug, discount}}, m_wholesaler,
                                                        Days::Key(Clock::now().date()), items);
    if (!r.ok || r.offers.empty()) {
        Dialogs::MsgBox(r.ok ? BuyingTexts::NotInCatalogue.arg(drug) : r.error, Dialogs::vbOKOnly, this);
        return;
    }
    const WriteRoad::Result w = BuyingStore::AddOffers(r.offers);
    if (!w.saved())
        Dialogs::MsgBox(WriteRoad::Text(w), Dialogs::vbOKOnly, this);
    ShowPage();
}

void FormWholesalers::buttonImport_Click() {
    if (m_wholesaler == 0) {
        Dialogs::MsgBox(BuyingTexts::ChooseWholesaler, Dialogs::vbOKOnly, this);
        return;
    }
    const QString path = FileQuestion::OpenPath(this, BuyingTexts::ImportOffers, FileQuestion::Kind::Xlsx);
    if (path.isEmpty())
        return;
    QHash<QString, PeriodDemand::CatalogueItem> items;
    if (!catalogue(items, this))
        return;
    const OfferImport::Result r =
        OfferImport::FromFile(path, m_wholesaler, Days::Key(Clock::now().date()), items);
    if (!r.ok) {
        Dialogs::MsgBox(r.error, Dialogs::vbOKOnly, this);
        return;
    }
    const QString list = r.unmatched.mid(0, 30).join(u'\n') + (r.unmatched.size() > 30 ? QStringLiteral("\n…") : QString());
    if (r.offers.empty()) {
        Dialogs::MsgBox(BuyingTexts::NoneMatched + u'\n' + list, Dialogs::vbOKOnly, this);
        return;
    }
    // Nothing is written before the manager has seen each offer that changes, old beside new, the
    // old as the server has it now.
    OfferBook now;
    QString error;
    if (!BuyingStore::ReadOfferBook(now, &error)) {
        Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
        return;
    }
    QString question = OfferImport::ChangesText(OfferImport::Changes(now, r.offers), 30);
    if (!r.unmatched.isEmpty())
        question += u'\n' + BuyingTexts::SomeUnmatched.arg(r.unmatched.size()) + u'\n' + list;
    if (!Dialogs::Confirm(question, this, true))
        return;
    const WriteRoad::Result w = BuyingStore::AddOffers(r.offers);
    if (!w.saved())
        Dialogs::MsgBox(WriteRoad::Text(w), Dialogs::vbOKOnly, this);
    else
        Dialogs::MsgBox(BuyingTexts::Imported.arg(r.offers.size()), Dialogs::vbOKOnly, this);
    ShowPage();
}
