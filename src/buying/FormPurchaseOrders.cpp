#include "buying/FormPurchaseOrders.h"

#include "buying/BuyingPapers.h"
#include "buying/BuyingTexts.h"
#include "collection/FormGroupDemandTexts.h"
#include "collection/ModOmla.h"
#include "data/DrugNameKey.h"
#include "data/GroupTables.h"
#include "data/ModGFun.h"
#include "sheets/XlsxBook.h"
#include "ui/Dialogs.h"
#include "ui/FlexGridView.h"
#include "ui/FormSetPrinter.h"
#include "ui/PdfSave.h"
#include "ui/PrintPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
enum PlanColumn { ColDrug, ColDemand, ColStock, ColQuantity, ColWholesaler, ColDiscount, ColPrice, ColValue, PlanCols };
enum KeptColumn { KDrug, KQuantity, KDiscount, KValue, KReceived, KeptCols };

QString dayText(const QDate& d) {
    return d.toString(QStringLiteral("yyyy/MM/dd"));
}
} // namespace

FormPurchaseOrders::FormPurchaseOrders(QWidget* parent)
    : WorkDialog(parent, "FormPurchaseOrders", BuyingTexts::PurchaseOrdersTitle) {
    auto* page = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    page->addLayout(bar);
    DateFrom = date("DateFrom");
    DateTo = date("DateTo");
    CommandMake = button("CommandMake", BuyingTexts::Make);
    bar->addWidget(label("Label1", BuyingTexts::From));
    bar->addWidget(DateFrom);
    bar->addWidget(label("Label2", BuyingTexts::To));
    bar->addWidget(DateTo);
    bar->addWidget(CommandMake);
    bar->addStretch(1);
    LLLBatch = label("LLLBatch", QString());
    page->addWidget(LLLBatch);

    auto* middle = new QHBoxLayout;
    page->addLayout(middle, 3);
    Xxx1 = grid("Xxx1", BuyingTexts::PlanHeaders, {3000, 900, 900, 900, 1800, 800, 900, 1200});
    Xxx1->setMinimumSize(760, 260);
    middle->addWidget(Xxx1, 3);
    auto* side = new QVBoxLayout;
    middle->addLayout(side, 1);
    LLLUnoffered = label("LLLUnoffered", BuyingTexts::NoOffer);
    side->addWidget(LLLUnoffered);
    Xxx2 = grid("Xxx2", {BuyingTexts::DrugHeader, BuyingTexts::QuantityHeader}, {2600, 900});
    Xxx2->setMinimumSize(260, 160);
    side->addWidget(Xxx2);
    CboWholesaler = new QComboBox(this);
    CboWholesaler->setObjectName(QStringLiteral("CboWholesaler"));
    // A wholesaler is chosen by name: the box is as wide as the longest.
    CboWholesaler->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    side->addWidget(CboWholesaler);
    CommandMove = button("CommandMove", BuyingTexts::Move);
    side->addWidget(CommandMove);
    CommandKeep = button("CommandKeep", BuyingTexts::Keep);
    side->addWidget(CommandKeep);
    LLLTotal = label("LLLTotal", QString());
    side->addWidget(LLLTotal);

    auto* kept = new QHBoxLayout;
    page->addLayout(kept);
    CboOrders = new QComboBox(this);
    CboOrders->setObjectName(QStringLiteral("CboOrders"));
    CboOrders->setMinimumWidth(320);
    // A kept order is named by its number and its wholesaler, read whole.
    CboOrders->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    kept->addWidget(label("Label3", BuyingTexts::KeptOrders));
    kept->addWidget(CboOrders);
    CommandPrint = button("CommandPrint", BuyingTexts::Print);
    CommandPdf = button("CommandPdf", BuyingTexts::SavePdf);
    kept->addWidget(CommandPrint);
    kept->addWidget(CommandPdf);
    CommandXlsx = button("CommandXlsx", BuyingTexts::SaveXlsx);
    kept->addWidget(CommandXlsx);
    kept->addStretch(1);
    auto* bottom = new QHBoxLayout;
    page->addLayout(bottom, 2);
    Xxx3 = grid("Xxx3", BuyingTexts::KeptHeaders, {3000, 900, 900, 1200, 1000});
    Xxx3->setMinimumSize(560, 180);
    bottom->addWidget(Xxx3, 4);
    auto* receive = new QVBoxLayout;
    bottom->addLayout(receive, 1);
    CboRule = new QComboBox(this);
    CboRule->setObjectName(QStringLiteral("CboRule"));
    CboRule->setMaximumWidth(260);
    CboRule->addItems({BuyingTexts::RuleEarliestName, BuyingTexts::RuleProportionalName});
    receive->addWidget(CboRule);
    LLLRule = label("LLLRule", BuyingTexts::RuleEarliest);
    LLLRule->setMinimumWidth(220);
    // The rule runs over several lines in a narrow panel; the panel's layout does not ask for them.
    LLLRule->setMinimumHeight(4 * LLLRule->fontMetrics().lineSpacing());
    receive->addWidget(LLLRule);
    CommandReceive = button("CommandReceive", BuyingTexts::Receive);
    CommandDistribution = button("CommandDistribution", BuyingTexts::DistributionSheet);
    receive->addWidget(CommandReceive);
    receive->addWidget(CommandDistribution);
    receive->addStretch(1);

    connect(CommandMake, &QPushButton::clicked, this, &FormPurchaseOrders::CommandMake_Click);
    connect(Xxx1, &FlexGridView::Click, this, &FormPurchaseOrders::Xxx1_Click);
    connect(Xxx2, &FlexGridView::Click, this, &FormPurchaseOrders::Xxx2_Click);
    connect(CommandMove, &QPushButton::clicked, this, &FormPurchaseOrders::CommandMove_Click);
    connect(CommandKeep, &QPushButton::clicked, this, &FormPurchaseOrders::CommandKeep_Click);
    connect(CboOrders, &QComboBox::currentIndexChanged, this, &FormPurchaseOrders::CboOrders_Change);
    connect(Xxx3, &FlexGridView::Click, this, &FormPurchaseOrders::Xxx3_Click);
    connect(CommandReceive, &QPushButton::clicked, this, &FormPurchaseOrders::CommandReceive_Click);
    connect(CommandPrint, &QPushButton::clicked, this, &FormPurchaseOrders::CommandPrint_Click);
    connect(CommandPdf, &QPushButton::clicked, this, &FormPurchaseOrders::CommandPdf_Click);
    connect(CommandXlsx, &QPushButton::clicked, this, &FormPurchaseOrders::CommandXlsx_Click);
    connect(CommandDistribution, &QPushButton::clicked, this, &FormPurchaseOrders::CommandDistribution_Click);
    connect(CboRule, &QComboBox::currentIndexChanged, this, [this] {
        LLLRule->setText(rule() == DeliveryShare::Rule::Proportional ? BuyingTexts::RuleProportional
                                                                     : BuyingTexts::RuleEarliest);
    });
    askPdfPath = [this] {
        return QFileDialog::getSaveFileName(this, BuyingTexts::SavePdf, QDir::home().filePath(QStringLiteral("purchase-order.pdf")),
                                            QStringLiteral("PDF (*.pdf)"));
    };

    askXlsxPath = [this] {
        return QFileDialog::getSaveFileName(this, BuyingTexts::SaveXlsx,
                                            QDir::home().filePath(QStringLiteral("purchase-order.xlsx")),
                                            QStringLiteral("Excel (*.xlsx)"));
    };

    const QDate today = clock().date();
    DateFrom->setDate(today.addDays(-6));
    DateTo->setDate(today);
    QString error;
    const auto presence = BuyingStore::CheckTables(&error);
    m_tablesPresent = presence == GroupTables::Presence::Present;
    if (!m_tablesPresent) {
        for (QWidget* w : std::initializer_list<QWidget*>{CommandMake, CommandMove, CommandKeep, CommandReceive, CommandPrint,
                                                          CommandPdf, CommandXlsx, CommandDistribution})
            w->setEnabled(false);
        LLLBatch->setText(presence == GroupTables::Presence::Missing ? GroupTables::MissingMessage()
                                                                     : BuyingTexts::ReadFailed + error);
    }
}

void FormPurchaseOrders::CommandMake_Click() {
    if (!m_tablesPresent) {
        Dialogs::MsgBox(GroupTables::MissingMessage(), Dialogs::vbOKOnly, this);
        return;
    }
    if (DateFrom->date() > DateTo->date()) {
        Dialogs::MsgBox(FormGroupDemandTexts::FromAfterTo, Dialogs::vbOKOnly, this);
        return;
    }
    const GroupDemand::Period period{DateFrom->date(), DateTo->date(), true};
    // A period of many orders takes a moment to read and add up.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PeriodDemand demand = PeriodDemand::Read(period);
    QApplication::restoreOverrideCursor();
    if (!demand.ok) {
        Dialogs::MsgBox(demand.error, Dialogs::vbOKOnly, this);
        return;
    }
    OfferBook offers;
    BuyingStore::Batch batch;
    QString error;
    if (!BuyingStore::ReadOfferBook(offers, &error) || !BuyingStore::ReadBatch(period, batch, &error)) {
        Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
        return;
    }
    m_period = period;
    m_demand = std::move(demand);
    m_offers = std::move(offers);
    m_batch = batch;
    m_plan = PurchasePlan::Make(m_demand, m_offers);
    m_line = -1;
    CboWholesaler->clear();
    for (const Wholesaler& w : m_offers.wholesalers())
        CboWholesaler->addItem(w.name, w.id);
    readKept();
    if (m_batch.exists())
        LLLBatch->setText((m_batch.demand == m_plan.fingerprint ? BuyingTexts::MadeBeforeSame : BuyingTexts::MadeBeforeChanged)
                              .arg(m_batch.madeat.left(8)));
    else
        LLLBatch->setText(BuyingTexts::PeriodLine.arg(dayText(period.from), dayText(period.to))
                              .arg(m_demand.orders.size()));
    showPlan();
}

void FormPurchaseOrders::showPlan() {
    FlexGrid& g = Xxx1->grid();
    const auto& lines = m_plan.lines();
    m_rowLine.clear();
    for (int i = 0; i < int(lines.size()); ++i)
        if (lines[size_t(i)].wholesaler != 0)
            m_rowLine.push_back(i);
    std::stable_sort(m_rowLine.begin(), m_rowLine.end(), [&](int a, int b) {
        const QString x = m_offers.wholesalerName(lines[size_t(a)].wholesaler),
                      y = m_offers.wholesalerName(lines[size_t(b)].wholesaler);
        return x != y ? x < y : lines[size_t(a)].drug < lines[size_t(b)].drug;
    });
    {
        FlexGrid::Batch batch(g);
        g.setRows(1 + int(m_rowLine.size()));
        for (int r = 0; r < int(m_rowLine.size()); ++r) {
            const PurchasePlan::Line& l = lines[size_t(m_rowLine[size_t(r)])];
            const QStringList cells{l.drug,
                                    BuyingPapers::Number(l.demand),
                                    BuyingPapers::Number(l.stock),
                                    BuyingPapers::Number(l.quantity),
                                    m_offers.wholesalerName(l.wholesaler),
                                    BuyingPapers::Number(l.discount),
                                    BuyingPapers::Number(l.price),
                                    BuyingPapers::Number(l.value())};
            for (int c = 0; c < PlanCols; ++c)
                g.setTextMatrix(r + 1, c, cells[c]);
        }
    }
    fitColumns(Xxx1);
    m_unofferedLine = m_plan.unoffered();
    FlexGrid& u = Xxx2->grid();
    u.setRows(1 + int(m_unofferedLine.size()));
    for (int r = 0; r < int(m_unofferedLine.size()); ++r) {
        const PurchasePlan::Line& l = lines[size_t(m_unofferedLine[size_t(r)])];
        u.setTextMatrix(r + 1, 0, l.drug);
        u.setTextMatrix(r + 1, 1, BuyingPapers::Number(l.quantity));
    }
    fitColumns(Xxx2);
    LLLTotal->setText(BuyingTexts::PlanTotal.arg(m_plan.orders(m_offers).size()).arg(BuyingPapers::Number(m_plan.total())));
}

void FormPurchaseOrders::Xxx1_Click() {
    const FlexGrid& g = Xxx1->grid();
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

void FormPurchaseOrders::Xxx2_Click() {
    const FlexGrid& g = Xxx2->grid();
    if (g.Row() >= 1 && g.Row() <= int(m_unofferedLine.size()))
        m_line = m_unofferedLine[size_t(g.Row() - 1)];
}

void FormPurchaseOrders::CommandMove_Click() {
    if (m_line < 0 || CboWholesaler->currentIndex() < 0) {
        Dialogs::MsgBox(BuyingTexts::ChooseDrug, Dialogs::vbOKOnly, this);
        return;
    }
    m_plan.moveTo(m_line, CboWholesaler->currentData().toInt(), m_offers);
    showPlan();
}

void FormPurchaseOrders::CommandKeep_Click() {
    if (m_plan.orders(m_offers).empty()) {
        Dialogs::MsgBox(BuyingTexts::NothingToKeep, Dialogs::vbOKOnly, this);
        return;
    }
    if (m_batch.exists() && !Dialogs::Confirm(BuyingTexts::ReplaceQuestion, this))
        return;
    const QDateTime now = clock();
    const QString batch = now.toString(QStringLiteral("yyMMddhhmmss"));
    QString error;
    switch (BuyingStore::KeepOrders(m_plan, m_offers, m_batch, m_keptCount, batch, now, &error)) {
    case BuyingStore::Outcome::Saved:
        m_batch = {batch, m_plan.fingerprint, now.toString(QStringLiteral("yyyyMMddhhmmss"))};
        readKept();
        LLLBatch->setText(BuyingTexts::KeptLine.arg(m_kept.size()));
        return;
    case BuyingStore::Outcome::Taken:
        Dialogs::MsgBox(BuyingTexts::AlreadyMade, Dialogs::vbOKOnly, this);
        return;
    case BuyingStore::Outcome::HasReceipts:
        Dialogs::MsgBox(BuyingTexts::HasReceipts, Dialogs::vbOKOnly, this);
        return;
    case BuyingStore::Outcome::Unknown:
        Dialogs::MsgBox(BuyingTexts::MaybeSaved, Dialogs::vbOKOnly, this);
        return;
    case BuyingStore::Outcome::Failed:
        Dialogs::MsgBox(BuyingTexts::WriteFailed + error, Dialogs::vbOKOnly, this);
        return;
    }
}

void FormPurchaseOrders::readKept() {
    m_kept.clear();
    m_keptCount = 0;
    QString error;
    if (m_batch.exists() && !BuyingStore::ReadOrders(m_batch.batch, m_kept, &error))
        Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
    for (const auto& o : m_kept)
        m_keptCount += o.status == QLatin1String("kept");
    const QSignalBlocker block(CboOrders);
    const int was = CboOrders->currentIndex();
    CboOrders->clear();
    for (const auto& o : m_kept)
        CboOrders->addItem(o.poid + QStringLiteral(" - ") + m_offers.wholesalerName(o.wholesaler));
    CboOrders->setCurrentIndex(was >= 0 && was < CboOrders->count() ? was : (m_kept.empty() ? -1 : 0));
    showOrder();
}

void FormPurchaseOrders::CboOrders_Change() {
    m_keptLine = -1;
    showOrder();
}

void FormPurchaseOrders::showOrder() {
    FlexGrid& g = Xxx3->grid();
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
    fitColumns(Xxx3);
}

const BuyingStore::KeptOrder* FormPurchaseOrders::chosenOrder() const {
    const int i = CboOrders->currentIndex();
    return i >= 0 && i < int(m_kept.size()) ? &m_kept[size_t(i)] : nullptr;
}

const BuyingStore::KeptLine* FormPurchaseOrders::chosenLine() const {
    const BuyingStore::KeptOrder* o = chosenOrder();
    return o && m_keptLine >= 0 && m_keptLine < int(o->lines.size()) ? &o->lines[size_t(m_keptLine)] : nullptr;
}

DeliveryShare::Rule FormPurchaseOrders::rule() const {
    return CboRule->currentIndex() == 1 ? DeliveryShare::Rule::Proportional : DeliveryShare::Rule::EarliestFirst;
}

Wholesaler FormPurchaseOrders::wholesaler(int id) const {
    for (const Wholesaler& w : m_offers.wholesalers())
        if (w.id == id)
            return w;
    return {};
}

void FormPurchaseOrders::Xxx3_Click() {
    const int row = Xxx3->grid().Row();
    const BuyingStore::KeptOrder* o = chosenOrder();
    m_keptLine = o && row >= 1 && row <= int(o->lines.size()) ? row - 1 : -1;
}

void FormPurchaseOrders::CommandReceive_Click() {
    const BuyingStore::KeptOrder* o = chosenOrder();
    const BuyingStore::KeptLine* line = chosenLine();
    if (!line) {
        Dialogs::MsgBox(BuyingTexts::ChooseLine, Dialogs::vbOKOnly, this);
        return;
    }
    if (o->status != QLatin1String("kept")) {
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
    // The orders of the order's own period, as they stand now.
    const GroupDemand::Period period{QDate::fromString(o->periodFrom, QStringLiteral("yyyyMMdd")),
                                     QDate::fromString(o->periodTo, QStringLiteral("yyyyMMdd")), true};
    if (!(m_demand.ok && m_demand.period.from == period.from && m_demand.period.to == period.to)) {
        PeriodDemand demand = PeriodDemand::Read(period);
        if (!demand.ok) {
            Dialogs::MsgBox(demand.error, Dialogs::vbOKOnly, this);
            return;
        }
        m_demand = std::move(demand);
    }
    const auto shares = m_demand.shares(DrugNameKey(line->drug), received, rule());
    QString error;
    const BuyingStore::Outcome outcome = BuyingStore::Receive(*line, received, shares, rule(), clock(), &error);
    const int keep = m_keptLine;
    switch (outcome) {
    case BuyingStore::Outcome::Saved:
        break;
    case BuyingStore::Outcome::Taken:
        Dialogs::MsgBox(BuyingTexts::ReceivedTaken, Dialogs::vbOKOnly, this);
        break;
    case BuyingStore::Outcome::Unknown:
        Dialogs::MsgBox(BuyingTexts::MaybeSaved, Dialogs::vbOKOnly, this);
        break;
    default:
        Dialogs::MsgBox(BuyingTexts::WriteFailed + error, Dialogs::vbOKOnly, this);
        break;
    }
    // What the server now holds, whatever happened.
    readKept();
    m_keptLine = keep;
}

BuyingSheet::Input FormPurchaseOrders::orderPaper() const {
    const BuyingStore::KeptOrder* o = chosenOrder();
    return o ? BuyingPapers::PurchaseOrder(*o, wholesaler(o->wholesaler), clock()) : BuyingSheet::Input{};
}

BuyingSheet::Input FormPurchaseOrders::distributionPaper() const {
    const BuyingStore::KeptLine* line = chosenLine();
    if (!line)
        return {};
    std::vector<BuyingStore::Allotment> shares;
    QString error;
    if (!BuyingStore::ReadShares(line->poid, line->lineseq, shares, &error))
        return {};
    return BuyingPapers::Distribution(*line, shares, rule(),
                                      [](const QString& tel) { return ModOmla::ClientNameByTel(tel); }, clock());
}

void FormPurchaseOrders::printPaper(const BuyingSheet::Input& paper) {
    if (paper.title.isEmpty()) {
        Dialogs::MsgBox(BuyingTexts::ChooseLine, Dialogs::vbOKOnly, this);
        return;
    }
    if (!CurrentPrinter::info().isNull()) {
        // The papers keep their own margins: drawn from the paper's corner.
        PrintPreview::Show(this, {paper.title, false, {}, Qt::RightToLeft},
                           [&paper](QPagedPaintDevice& device, QPointF) { return BuyingSheet::printOnDevice(device, paper); });
        return;
    }
    savePdf(paper);
}

void FormPurchaseOrders::savePdf(const BuyingSheet::Input& paper) {
    PdfSave::SaveAs(this, askPdfPath, [&paper](const QString& path) { return BuyingSheet::printToPdf(path, paper); },
                    BuyingTexts::FileNotSaved);
}

void FormPurchaseOrders::CommandPrint_Click() {
    printPaper(orderPaper());
}

void FormPurchaseOrders::CommandPdf_Click() {
    const BuyingSheet::Input paper = orderPaper();
    if (paper.title.isEmpty()) {
        Dialogs::MsgBox(BuyingTexts::ChooseOrder, Dialogs::vbOKOnly, this);
        return;
    }
    savePdf(paper);
}

void FormPurchaseOrders::CommandDistribution_Click() {
    printPaper(distributionPaper());
}

void FormPurchaseOrders::CommandXlsx_Click() {
    const BuyingStore::KeptOrder* o = chosenOrder();
    if (!o) {
        Dialogs::MsgBox(BuyingTexts::ChooseOrder, Dialogs::vbOKOnly, this);
        return;
    }
    QString path = askXlsxPath ? askXlsxPath() : QString();
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    QString error;
    if (!XlsxBook::Write(path, {BuyingPapers::PurchaseOrderSheet(*o, wholesaler(o->wholesaler))}, &error))
        Dialogs::MsgBox(BuyingTexts::FileNotSaved + path + u'\n' + error, Dialogs::vbOKOnly, this);
}
