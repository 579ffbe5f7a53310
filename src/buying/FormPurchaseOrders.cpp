#include "buying/FormPurchaseOrders.h"

#include "buying/BuyingPapers.h"
#include "buying/BuyingTexts.h"
#include "demand/GroupDemandTexts.h"
#include "collection/ModOmla.h"
#include "data/Clock.h"
#include "data/Days.h"
#include "data/DrugNameKey.h"
#include "data/GroupTables.h"
#include "data/ModGFun.h"
#include "data/TextOrder.h"
#include "sheets/XlsxBook.h"
#include "ui/Dialogs.h"
#include "ui/FileQuestion.h"
#include "ui/FlexGridView.h"
#include "ui/PaperOut.h"
#include "ui/PdfSave.h"
#include "ui/ScreenFit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
enum PlanColumn { ColDrug, ColDemand, ColStock, ColQuantity, ColWholesaler, ColDiscount, ColPrice, ColValue, ColStockUsed, PlanCols };
enum KeptColumn { KDrug, KQuantity, KDiscount, KValue, KReceived, KeptCols };
} // namespace

FormPurchaseOrders::FormPurchaseOrders(QWidget* parent)
    : WorkDialog(parent, "FormPurchaseOrders", BuyingTexts::PurchaseOrdersTitle) {
    auto* page = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    page->addLayout(bar);
    dateFrom = date("dateFrom");
    dateTo = date("dateTo");
    buttonMake = button("buttonMake", BuyingTexts::Make);
    bar->addWidget(label("labelFrom", BuyingTexts::From));
    bar->addWidget(dateFrom);
    bar->addWidget(label("labelTo", BuyingTexts::To));
    bar->addWidget(dateTo);
    checkAllOpen = new QCheckBox(BuyingTexts::AllOpen, this);
    checkAllOpen->setObjectName(QStringLiteral("checkAllOpen"));
    bar->addWidget(checkAllOpen);
    bar->addWidget(buttonMake);
    bar->addStretch(1);
    labelBatch = label("labelBatch", QString());
    page->addWidget(labelBatch);

    auto* middle = new QHBoxLayout;
    page->addLayout(middle, 3);
    gridPlan = grid("gridPlan", BuyingTexts::PlanHeaders, {3000, 900, 900, 900, 1800, 800, 900, 1200, 900});
    gridPlan->setMinimumSize(760, 260);
    middle->addWidget(gridPlan, 3);
    auto* side = new QVBoxLayout;
    middle->addLayout(side, 1);
    labelUnoffered = label("labelUnoffered", BuyingTexts::NoOffer);
    side->addWidget(labelUnoffered);
    gridUnoffered = grid("gridUnoffered", {BuyingTexts::DrugHeader, BuyingTexts::QuantityHeader}, {2600, 900});
    gridUnoffered->setMinimumSize(260, 160);
    side->addWidget(gridUnoffered);
    comboWholesaler = new QComboBox(this);
    comboWholesaler->setObjectName(QStringLiteral("comboWholesaler"));
    // A wholesaler is chosen by name: the box is as wide as the longest.
    comboWholesaler->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    side->addWidget(comboWholesaler);
    buttonMove = button("buttonMove", BuyingTexts::Move);
    side->addWidget(buttonMove);
    buttonCancelDrug = button("buttonCancelDrug", BuyingTexts::CancelDrug);
    side->addWidget(buttonCancelDrug);
    buttonKeep = button("buttonKeep", BuyingTexts::Keep);
    side->addWidget(buttonKeep);
    labelTotal = label("labelTotal", QString());
    side->addWidget(labelTotal);

    auto* kept = new QHBoxLayout;
    page->addLayout(kept);
    comboOrders = new QComboBox(this);
    comboOrders->setObjectName(QStringLiteral("comboOrders"));
    comboOrders->setMinimumWidth(320);
    // A kept order is named by its number and its wholesaler, read whole.
    comboOrders->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    kept->addWidget(label("labelKeptOrders", BuyingTexts::KeptOrders));
    kept->addWidget(comboOrders);
    buttonPrint = button("buttonPrint", BuyingTexts::Print);
    buttonPdf = button("buttonPdf", BuyingTexts::SavePdf);
    kept->addWidget(buttonPrint);
    kept->addWidget(buttonPdf);
    buttonXlsx = button("buttonXlsx", BuyingTexts::SaveXlsx);
    kept->addWidget(buttonXlsx);
    kept->addStretch(1);
    auto* bottom = new QHBoxLayout;
    page->addLayout(bottom, 2);
    gridOrderLines = grid("gridOrderLines", BuyingTexts::KeptHeaders, {3000, 900, 900, 1200, 1000});
    gridOrderLines->setMinimumSize(560, 180);
    bottom->addWidget(gridOrderLines, 4);
    auto* receive = new QVBoxLayout;
    bottom->addLayout(receive, 1);
    comboRule = new QComboBox(this);
    comboRule->setObjectName(QStringLiteral("comboRule"));
    comboRule->setMaximumWidth(260);
    comboRule->addItems({BuyingTexts::RuleEarliestName, BuyingTexts::RuleProportionalName});
    receive->addWidget(comboRule);
    labelRule = label("labelRule", BuyingTexts::RuleEarliest);
    labelRule->setMinimumWidth(220);
    // The rule runs over several lines in a narrow panel; the panel's layout does not ask for them.
    labelRule->setMinimumHeight(4 * labelRule->fontMetrics().lineSpacing());
    receive->addWidget(labelRule);
    buttonReceive = button("buttonReceive", BuyingTexts::Receive);
    buttonDistribution = button("buttonDistribution", BuyingTexts::DistributionSheet);
    receive->addWidget(buttonReceive);
    receive->addWidget(buttonDistribution);
    buttonClose = button("buttonClose", BuyingTexts::CloseOrder);
    receive->addWidget(buttonClose);
    receive->addStretch(1);

    // Each drug's figures side by side, and what is still to come from each wholesaler.
    auto* figures = new QHBoxLayout;
    page->addLayout(figures, 2);
    auto* figuresSide = new QVBoxLayout;
    figures->addLayout(figuresSide, 3);
    figuresSide->addWidget(label("labelFigures", BuyingTexts::FiguresCaption));
    gridFigures = grid("gridFigures", BuyingTexts::FigureHeaders, {3000, 800, 800, 800, 800, 800, 800, 800, 800, 800});
    gridFigures->setMinimumSize(560, 140);
    figuresSide->addWidget(gridFigures);
    buttonCount = button("buttonCount", BuyingTexts::Count);
    figuresSide->addWidget(buttonCount);
    auto* pendingSide = new QVBoxLayout;
    figures->addLayout(pendingSide, 2);
    pendingSide->addWidget(label("labelPending", BuyingTexts::PendingCaption));
    gridPending = grid("gridPending", BuyingTexts::PendingHeaders, {1800, 1600, 2400, 800, 800, 800});
    gridPending->setMinimumSize(360, 140);
    pendingSide->addWidget(gridPending);

    connect(buttonMake, &QPushButton::clicked, this, &FormPurchaseOrders::buttonMake_Click);
    connect(gridPlan, &FlexGridView::Click, this, &FormPurchaseOrders::gridPlan_Click);
    connect(gridUnoffered, &FlexGridView::Click, this, &FormPurchaseOrders::gridUnoffered_Click);
    connect(buttonMove, &QPushButton::clicked, this, &FormPurchaseOrders::buttonMove_Click);
    connect(buttonKeep, &QPushButton::clicked, this, &FormPurchaseOrders::buttonKeep_Click);
    connect(comboOrders, &QComboBox::currentIndexChanged, this, &FormPurchaseOrders::comboOrders_Change);
    connect(gridOrderLines, &FlexGridView::Click, this, &FormPurchaseOrders::gridOrderLines_Click);
    connect(buttonReceive, &QPushButton::clicked, this, &FormPurchaseOrders::buttonReceive_Click);
    connect(buttonPrint, &QPushButton::clicked, this, &FormPurchaseOrders::buttonPrint_Click);
    connect(buttonPdf, &QPushButton::clicked, this, &FormPurchaseOrders::buttonPdf_Click);
    connect(buttonXlsx, &QPushButton::clicked, this, &FormPurchaseOrders::buttonXlsx_Click);
    connect(buttonDistribution, &QPushButton::clicked, this, &FormPurchaseOrders::buttonDistribution_Click);
    connect(buttonCancelDrug, &QPushButton::clicked, this, &FormPurchaseOrders::buttonCancelDrug_Click);
    connect(buttonClose, &QPushButton::clicked, this, &FormPurchaseOrders::buttonClose_Click);
    connect(buttonCount, &QPushButton::clicked, this, &FormPurchaseOrders::buttonCount_Click);
    connect(comboRule, &QComboBox::currentIndexChanged, this, [this] {
        labelRule->setText(rule() == DeliveryShare::Rule::Proportional ? BuyingTexts::RuleProportional
                                                                     : BuyingTexts::RuleEarliest);
    });
    const QDate today = Clock::now().date();
    dateFrom->setDate(today.addDays(-6));
    dateTo->setDate(today);
    QString error;
    const auto presence = BuyingStore::CheckTables(&error);
    m_tablesPresent = presence == GroupTables::Presence::Present;
    if (!m_tablesPresent) {
        for (QWidget* w : std::initializer_list<QWidget*>{buttonMake, buttonMove, buttonKeep, buttonReceive, buttonPrint,
                                                          buttonPdf, buttonXlsx, buttonDistribution, buttonCancelDrug,
                                                          buttonClose, buttonCount})
            w->setEnabled(false);
        labelBatch->setText(presence == GroupTables::Presence::ServerFailed ? BuyingTexts::ReadFailed + error
                                                                          : GroupTables::Message(presence));
        m_presence = presence;
        return;
    }
    // What the server holds now: the open purchase orders, the figures, what is still to come.
    if (!BuyingStore::ReadOfferBook(m_offers, &error))
        labelBatch->setText(BuyingTexts::ReadFailed + error);
    readKept();
    ScreenFit::apply(*this);
}

void FormPurchaseOrders::OpenOnPeriod(QWidget* parent, QDate from, QDate to) {
    FormPurchaseOrders w(parent);
    w.dateFrom->setDate(from);
    w.dateTo->setDate(to);
    if (w.tablesPresent())
        w.buttonMake_Click();
    w.exec();
}

void FormPurchaseOrders::buttonMake_Click() {
    if (!m_tablesPresent) {
        Dialogs::MsgBox(GroupTables::Message(m_presence), Dialogs::vbOKOnly, this);
        return;
    }
    if (dateFrom->date() > dateTo->date()) {
        Dialogs::MsgBox(GroupDemandTexts::FromAfterTo, Dialogs::vbOKOnly, this);
        return;
    }
    // All open lines: every day up to To.
    const GroupDemand::Period period{checkAllOpen->isChecked() ? QDate(2000, 1, 1) : dateFrom->date(), dateTo->date(), true};
    // A period of many orders takes a moment to read and add up.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    OfferBook offers;
    PeriodDemand demand = BuyingStore::ReadOpenDemand(period, &offers);
    QApplication::restoreOverrideCursor();
    if (!demand.ok) {
        Dialogs::MsgBox(demand.error, Dialogs::vbOKOnly, this);
        return;
    }
    m_period = period;
    m_demand = std::move(demand);
    m_offers = std::move(offers);
    m_plan = PurchasePlan::Make(m_demand, m_offers);
    m_line = -1;
    comboWholesaler->clear();
    for (const Wholesaler& w : m_offers.wholesalers())
        comboWholesaler->addItem(w.name, w.id);
    readKept();
    double open = 0;
    for (const PeriodDemand::Drug& d : m_demand.drugs)
        open += d.demand;
    labelBatch->setText(BuyingTexts::PeriodLine.arg(Days::Text(period.from), Days::Text(period.to))
                          .arg(m_demand.orders.size())
                          .arg(BuyingPapers::Number(open)));
    showPlan();
}

void FormPurchaseOrders::showPlan() {
    FlexGrid& g = gridPlan->grid();
    const auto& lines = m_plan.lines();
    m_rowLine.clear();
    for (int i = 0; i < int(lines.size()); ++i)
        if (lines[size_t(i)].wholesaler != 0 || lines[size_t(i)].stockUsed > 0)
            m_rowLine.push_back(i);
    // By wholesaler, then drug: the second key sorted first, the sorts keep equal places.
    TextOrder::sortBy(m_rowLine, [&](int i) { return lines[size_t(i)].drug; });
    TextOrder::sortBy(m_rowLine, [&](int i) { return m_offers.wholesalerName(lines[size_t(i)].wholesaler); });
    {
        FlexGrid::Batch batch(g);
        g.setRows(1 + int(m_rowLine.size()));
        for (int r = 0; r < int(m_rowLine.size()); ++r) {
            const PurchasePlan::Line& l = lines[size_t(m_rowLine[size_t(r)])];
            const QStringList cells{l.drug,
                                    BuyingPapers::Number(l.demand),
                                    BuyingPapers::Number(l.stock),
                                    l.cancelled ? BuyingTexts::Cancelled : BuyingPapers::Number(l.quantity),
                                    m_offers.wholesalerName(l.wholesaler),
                                    BuyingPapers::Number(l.discount),
                                    BuyingPapers::Number(l.price),
                                    BuyingPapers::Number(l.value()),
                                    BuyingPapers::Number(l.stockUsed)};
            for (int c = 0; c < PlanCols; ++c)
                g.setTextMatrix(r + 1, c, cells[c]);
        }
    }
    fitColumns(gridPlan);
    m_unofferedLine = m_plan.unoffered();
    FlexGrid& u = gridUnoffered->grid();
    u.setRows(1 + int(m_unofferedLine.size()));
    for (int r = 0; r < int(m_unofferedLine.size()); ++r) {
        const PurchasePlan::Line& l = lines[size_t(m_unofferedLine[size_t(r)])];
        u.setTextMatrix(r + 1, 0, l.drug);
        u.setTextMatrix(r + 1, 1, l.cancelled ? BuyingTexts::Cancelled : BuyingPapers::Number(l.quantity));
    }
    fitColumns(gridUnoffered);
    labelTotal->setText(BuyingTexts::PlanTotal.arg(m_plan.orders(m_offers).size()).arg(BuyingPapers::Number(m_plan.total())));
}

void FormPurchaseOrders::gridPlan_Click() {
    const FlexGrid& g = gridPlan->grid();
    if (g.Row() < 1 || g.Row() > int(m_rowLine.size()))
        return;
    m_line = m_rowLine[size_t(g.Row() - 1)];
    if (g.Col() != ColQuantity)
        return;
    const QString answer = Dialogs::InputBox(BuyingTexts::NewQuantity.arg(m_plan.lines()[size_t(m_line)].drug),
                                             g.TextMatrix(g.Row(), ColQuantity), this);
    if (answer.isEmpty())
        return;
    bool ok = false;
    const double q = answer.trimmed().toDouble(&ok);
    if (!ok || q != std::floor(q) || !m_plan.setQuantity(m_line, q)) {
        Dialogs::MsgBox(BuyingTexts::BadQuantity, Dialogs::vbOKOnly, this);
        return;
    }
    showPlan();
}

void FormPurchaseOrders::gridUnoffered_Click() {
    const FlexGrid& g = gridUnoffered->grid();
    if (g.Row() >= 1 && g.Row() <= int(m_unofferedLine.size()))
        m_line = m_unofferedLine[size_t(g.Row() - 1)];
}

void FormPurchaseOrders::buttonMove_Click() {
    if (m_line < 0 || comboWholesaler->currentIndex() < 0) {
        Dialogs::MsgBox(BuyingTexts::ChooseDrug, Dialogs::vbOKOnly, this);
        return;
    }
    m_plan.moveTo(m_line, comboWholesaler->currentData().toInt(), m_offers);
    showPlan();
}

void FormPurchaseOrders::buttonKeep_Click() {
    const auto& lines = m_plan.lines();
    if (m_plan.orders(m_offers).empty() &&
        std::none_of(lines.begin(), lines.end(), [](const PurchasePlan::Line& l) { return l.cancelled || l.stockUsed > 0; })) {
        Dialogs::MsgBox(BuyingTexts::NothingToKeep, Dialogs::vbOKOnly, this);
        return;
    }
    const QDateTime now = Clock::now();
    QString batch;
    const WriteRoad::Result r = BuyingStore::KeepPlan(m_plan, m_demand, m_offers, rule(), now, &batch);
    tell(r);
    // The plan was made from lines as they were: unless nothing reached the server, what is open
    // now is read again.
    if (r.outcome != WriteRoad::Outcome::NotWritten && r.outcome != WriteRoad::Outcome::Refused)
        m_plan = {};
    showPlan();
    readKept();
    if (r.saved()) {
        int n = 0;
        for (const auto& o : m_kept)
            n += o.batch == batch;
        labelBatch->setText(BuyingTexts::KeptLine.arg(batch).arg(n));
    }
}

void FormPurchaseOrders::buttonCancelDrug_Click() {
    if (m_line < 0 || m_line >= int(m_plan.lines().size())) {
        Dialogs::MsgBox(BuyingTexts::ChooseDrug, Dialogs::vbOKOnly, this);
        return;
    }
    const PurchasePlan::Line& l = m_plan.lines()[size_t(m_line)];
    if (!l.cancelled && !Dialogs::Confirm(BuyingTexts::CancelQuestion.arg(l.drug), this))
        return;
    m_plan.setCancelled(m_line, !l.cancelled);
    showPlan();
}

void FormPurchaseOrders::readKept() {
    m_kept.clear();
    QString error;
    if (!BuyingStore::ReadOrders(m_kept, false, &error))
        Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
    const QSignalBlocker block(comboOrders);
    const int was = comboOrders->currentIndex();
    comboOrders->clear();
    const QStringList states = BuyingTexts::StatusNames.split(u',');
    for (const auto& o : m_kept) {
        const int s = QStringList{"kept", "partly", "received", "closed"}.indexOf(o.status);
        comboOrders->addItem(o.poid + QStringLiteral(" - ") + m_offers.wholesalerName(o.wholesaler) + QStringLiteral(" - ") +
                           states.value(s, o.status));
    }
    comboOrders->setCurrentIndex(was >= 0 && was < comboOrders->count() ? was : (m_kept.empty() ? -1 : 0));
    showOrder();
    showFigures();
}

void FormPurchaseOrders::showFigures() {
    QString error;
    std::vector<BuyingStore::Pending> pending;
    if (!BuyingStore::ReadFigures(m_figures, &error) || !BuyingStore::ReadPending(pending, &error)) {
        Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
        return;
    }
    FlexGrid& g = gridFigures->grid();
    {
        FlexGrid::Batch batch(g);
        g.setRows(1 + int(m_figures.size()));
        for (int r = 0; r < int(m_figures.size()); ++r) {
            const BuyingStore::Figures& f = m_figures[size_t(r)];
            const QStringList cells{f.drug,
                                    QString::number(f.asked),
                                    QString::number(f.allotted),
                                    QString::number(f.onorder),
                                    QString::number(f.open),
                                    QString::number(f.cancelled),
                                    QString::number(f.received),
                                    QString::number(f.stockUsed),
                                    QString::number(f.heldOver),
                                    QString::number(f.stock)};
            for (int c = 0; c < int(cells.size()); ++c)
                g.setTextMatrix(r + 1, c, cells[c]);
        }
    }
    fitColumns(gridFigures);
    if (m_offers.wholesalers().empty())
        BuyingStore::ReadOfferBook(m_offers, &error);
    FlexGrid& p = gridPending->grid();
    {
        FlexGrid::Batch batch(p);
        p.setRows(1 + int(pending.size()));
        for (int r = 0; r < int(pending.size()); ++r) {
            const BuyingStore::Pending& x = pending[size_t(r)];
            const QStringList cells{m_offers.wholesalerName(x.wholesaler), x.poid, x.drug, BuyingPapers::Number(x.quantity),
                                    BuyingPapers::Number(x.received), BuyingPapers::Number(x.quantity - x.received)};
            for (int c = 0; c < int(cells.size()); ++c)
                p.setTextMatrix(r + 1, c, cells[c]);
        }
    }
    fitColumns(gridPending);
}

void FormPurchaseOrders::buttonCount_Click() {
    const int row = gridFigures->grid().Row();
    if (row < 1 || row > int(m_figures.size())) {
        Dialogs::MsgBox(BuyingTexts::ChooseDrug, Dialogs::vbOKOnly, this);
        return;
    }
    const BuyingStore::Figures& f = m_figures[size_t(row - 1)];
    std::vector<BuyingStore::Stock> stock;
    QString error;
    if (!BuyingStore::ReadStock(stock, &error)) {
        Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
        return;
    }
    auto it = std::find_if(stock.begin(), stock.end(), [&](const BuyingStore::Stock& s) { return s.key == f.key; });
    const BuyingStore::Stock assumed = it != stock.end() ? *it : BuyingStore::Stock{f.key, f.drug, 0, false};
    const QString answer = Dialogs::InputBox(BuyingTexts::CountPrompt.arg(f.drug), QString::number(assumed.quantity), this);
    if (answer.isEmpty())
        return;
    bool ok = false;
    const int counted = answer.trimmed().toInt(&ok);
    if (!ok || counted < 0) {
        Dialogs::MsgBox(BuyingTexts::BadQuantity, Dialogs::vbOKOnly, this);
        return;
    }
    tell(BuyingStore::CountStock(assumed, counted, Clock::now()));
    showFigures();
}

// The one message of a write that is not Saved.
void FormPurchaseOrders::tell(const WriteRoad::Result& r) {
    if (!r.saved())
        Dialogs::MsgBox(WriteRoad::Text(r), Dialogs::vbOKOnly, this);
}

void FormPurchaseOrders::buttonClose_Click() {
    const BuyingStore::KeptOrder* o = chosenOrder();
    if (!o) {
        Dialogs::MsgBox(BuyingTexts::ChooseOrder, Dialogs::vbOKOnly, this);
        return;
    }
    if (!Dialogs::Confirm(BuyingTexts::CloseQuestion.arg(o->poid), this))
        return;
    const bool cancel = Dialogs::MsgBox(BuyingTexts::CancelRestQuestion, Dialogs::vbYesNo | Dialogs::vbQuestion, this) ==
                        Dialogs::vbYes;
    tell(BuyingStore::Close(*o, cancel));
    readKept();
}

void FormPurchaseOrders::comboOrders_Change() {
    m_keptLine = -1;
    showOrder();
}

void FormPurchaseOrders::showOrder() {
    FlexGrid& g = gridOrderLines->grid();
    const BuyingStore::KeptOrder* o = chosenOrder();
    g.setRows(1 + (o ? int(o->lines.size()) : 0));
    if (!o)
        return;
    for (int r = 0; r < int(o->lines.size()); ++r) {
        const auto& l = o->lines[size_t(r)];
        const QStringList cells{l.drug, BuyingPapers::Number(l.quantity), BuyingPapers::Number(l.discount),
                                BuyingPapers::Number(l.value), BuyingPapers::Number(l.received)};
        for (int c = 0; c < KeptCols; ++c)
            g.setTextMatrix(r + 1, c, cells[c]);
    }
    fitColumns(gridOrderLines);
}

const BuyingStore::KeptOrder* FormPurchaseOrders::chosenOrder() const {
    const int i = comboOrders->currentIndex();
    return i >= 0 && i < int(m_kept.size()) ? &m_kept[size_t(i)] : nullptr;
}

const BuyingStore::KeptLine* FormPurchaseOrders::chosenLine() const {
    const BuyingStore::KeptOrder* o = chosenOrder();
    return o && m_keptLine >= 0 && m_keptLine < int(o->lines.size()) ? &o->lines[size_t(m_keptLine)] : nullptr;
}

DeliveryShare::Rule FormPurchaseOrders::rule() const {
    return comboRule->currentIndex() == 1 ? DeliveryShare::Rule::Proportional : DeliveryShare::Rule::EarliestFirst;
}

Wholesaler FormPurchaseOrders::wholesaler(int id) const {
    for (const Wholesaler& w : m_offers.wholesalers())
        if (w.id == id)
            return w;
    return {};
}

void FormPurchaseOrders::gridOrderLines_Click() {
    const int row = gridOrderLines->grid().Row();
    const BuyingStore::KeptOrder* o = chosenOrder();
    m_keptLine = o && row >= 1 && row <= int(o->lines.size()) ? row - 1 : -1;
    // The rule box shows the rule the line was shared by.
    if (const BuyingStore::KeptLine* l = chosenLine(); l && !l->rule.isEmpty())
        comboRule->setCurrentIndex(DeliveryShare::RuleNamed(l->rule) == DeliveryShare::Rule::Proportional ? 1 : 0);
}

QString FormPurchaseOrders::ruleTitle(DeliveryShare::Rule r) {
    return r == DeliveryShare::Rule::Proportional ? BuyingTexts::RuleProportionalName : BuyingTexts::RuleEarliestName;
}

void FormPurchaseOrders::buttonReceive_Click() {
    const BuyingStore::KeptOrder* o = chosenOrder();
    const BuyingStore::KeptLine* line = chosenLine();
    if (!line) {
        Dialogs::MsgBox(BuyingTexts::ChooseLine, Dialogs::vbOKOnly, this);
        return;
    }
    if (o->status == QLatin1String("closed")) {
        Dialogs::MsgBox(BuyingTexts::ReplacedLine, Dialogs::vbOKOnly, this);
        return;
    }
    const QString answer = Dialogs::InputBox(BuyingTexts::ReceivedPrompt.arg(line->drug), BuyingPapers::Number(line->received), this);
    if (answer.isEmpty())
        return;
    bool ok = false;
    const double received = answer.trimmed().toDouble(&ok);
    if (!ok || received < 0 || received != std::floor(received)) {
        Dialogs::MsgBox(BuyingTexts::BadQuantity, Dialogs::vbOKOnly, this);
        return;
    }
    // A correction shares by the rule the line was shared by, unless the manager means another.
    DeliveryShare::Rule by = rule();
    if (!line->rule.isEmpty() && DeliveryShare::RuleNamed(line->rule) != by &&
        !Dialogs::Confirm(BuyingTexts::RuleChanged.arg(ruleTitle(DeliveryShare::RuleNamed(line->rule)), ruleTitle(by)), this))
        by = DeliveryShare::RuleNamed(line->rule);
    const int keep = m_keptLine;
    tell(BuyingStore::Receive(*line, received, by, Clock::now()));
    // What the server now holds, whatever happened.
    readKept();
    m_keptLine = keep;
}

TablePaper::Input FormPurchaseOrders::orderPaper() const {
    const BuyingStore::KeptOrder* o = chosenOrder();
    return o ? BuyingPapers::PurchaseOrder(*o, wholesaler(o->wholesaler), Clock::now()) : TablePaper::Input{};
}

TablePaper::Input FormPurchaseOrders::distributionPaper() const {
    const BuyingStore::KeptLine* line = chosenLine();
    if (!line)
        return {};
    std::vector<BuyingStore::Allotment> shares;
    QString error;
    if (!BuyingStore::ReadShares(line->poid, line->lineseq, shares, &error))
        return {};
    // The rule the shares were made by, as stored with them.
    return BuyingPapers::Distribution(*line, shares, line->rule.isEmpty() ? rule() : DeliveryShare::RuleNamed(line->rule),
                                      [](const QString& tel) { return ModOmla::ClientNameByTel(tel); }, Clock::now());
}

void FormPurchaseOrders::printPaper(const TablePaper::Input& paper) {
    if (paper.title.isEmpty()) {
        Dialogs::MsgBox(BuyingTexts::ChooseLine, Dialogs::vbOKOnly, this);
        return;
    }
    // Without a printer the user is told so before a PDF file is offered.
    PaperOut::Send(this, {paper.title, Qt::RightToLeft,
                          [&paper](QPagedPaintDevice& device, QPointF) { return TablePaper::printOnDevice(device, paper); },
                          [&paper](const QString& path) { return TablePaper::printToPdf(path, paper); },
                          [this] { return askPdfPath(); }, BuyingTexts::FileNotSaved, {}});
}

QString FormPurchaseOrders::askPdfPath() {
    return FileQuestion::SavePath(this, BuyingTexts::SavePdf, FileQuestion::Kind::Pdf,
                                  QStringLiteral("purchase-order.pdf"));
}

void FormPurchaseOrders::savePdf(const TablePaper::Input& paper) {
    PdfSave::SaveAs(this, [this] { return askPdfPath(); }, [&paper](const QString& path) { return TablePaper::printToPdf(path, paper); },
                    BuyingTexts::FileNotSaved);
}

void FormPurchaseOrders::buttonPrint_Click() {
    printPaper(orderPaper());
}

void FormPurchaseOrders::buttonPdf_Click() {
    const TablePaper::Input paper = orderPaper();
    if (paper.title.isEmpty()) {
        Dialogs::MsgBox(BuyingTexts::ChooseOrder, Dialogs::vbOKOnly, this);
        return;
    }
    savePdf(paper);
}

void FormPurchaseOrders::buttonDistribution_Click() {
    printPaper(distributionPaper());
}

void FormPurchaseOrders::buttonXlsx_Click() {
    const BuyingStore::KeptOrder* o = chosenOrder();
    if (!o) {
        Dialogs::MsgBox(BuyingTexts::ChooseOrder, Dialogs::vbOKOnly, this);
        return;
    }
    const QString path = FileQuestion::SavePath(this, BuyingTexts::SaveXlsx, FileQuestion::Kind::Xlsx,
                                                QStringLiteral("purchase-order.xlsx"));
    if (path.isEmpty())
        return;
    QString error;
    if (!XlsxBook::Write(path, {BuyingPapers::PurchaseOrderSheet(*o, wholesaler(o->wholesaler))}, &error))
        Dialogs::MsgBox(BuyingTexts::FileNotSaved + QDir::toNativeSeparators(path) + u'\n' + error,
                        Dialogs::vbOKOnly, this);
}
