#include "demand/FormGroupDemand.h"
#include "data/Clock.h"
#include "data/Days.h"

#include "collection/BuyCollectCore.h"
#include "demand/FormGroupDemandTexts.h"
#include "demand/GroupDemandTexts.h"
#include "collection/ModOmla.h"
#include "sheets/XlsxBook.h"
#include "ui/Dialogs.h"
#include "ui/FileQuestion.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"
#include "ui/PaperOut.h"
#include "ui/PdfSave.h"
#include "ui/ScreenFit.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {
constexpr int DemandWidths[] = {3300, 900, 1650, 1650, 1300, 900, 800, 2500};
constexpr int PlaceWidths[] = {3000, 1700, 1700, 2000, 1500, 1000};

void layOutGrid(FlexGrid& grid, const int* widths, int count) {
    for (int c = 0; c < count; ++c)
        grid.setColWidth(c, widths[c]);
    FLXMod::FlexAlignCenter(grid);
}
} // namespace

FormGroupDemand::FormGroupDemand(QWidget* parent, FormGroupDemandOpeners openers)
    : WorkDialog(parent, "FormGroupDemand", GroupDemandTexts::Title), m_openers(std::move(openers)) {
    auto* page = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    page->addLayout(bar);
    dateFrom = date("dateFrom");
    dateTo = date("dateTo");
    checkSentOnly = new QCheckBox(FormGroupDemandTexts::SentOnly, this);
    checkSentOnly->setObjectName(QStringLiteral("checkSentOnly"));
    buttonShow = button("buttonShow", FormGroupDemandTexts::Show);
    buttonCsv = button("buttonCsv", FormGroupDemandTexts::SaveCsv);
    buttonXlsx = button("buttonXlsx", FormGroupDemandTexts::SaveXlsx);
    buttonPrint = button("buttonPrint", FormGroupDemandTexts::Print);
    buttonPurchaseOrders = button("buttonPurchaseOrders", FormGroupDemandTexts::PurchaseOrders);
    bar->addWidget(label("labelFrom", FormGroupDemandTexts::From, false));
    bar->addWidget(dateFrom);
    bar->addWidget(label("labelTo", FormGroupDemandTexts::To, false));
    bar->addWidget(dateTo);
    bar->addWidget(checkSentOnly);
    bar->addWidget(buttonShow);
    bar->addStretch(1);
    bar->addWidget(buttonXlsx);
    bar->addWidget(buttonCsv);
    bar->addWidget(buttonPrint);
    bar->addWidget(buttonPurchaseOrders);

    labelCounts = label("labelCounts", QString(), false);
    page->addWidget(labelCounts);
    labelOffers = label("labelOffers");
    page->addWidget(labelOffers);
    gridDemand = new FlexGridView(this);
    gridDemand->setObjectName(QStringLiteral("gridDemand"));
    gridDemand->setMinimumSize(900, 330);
    page->addWidget(gridDemand, 3);
    labelCashNote = label("labelCashNote", FormGroupDemandTexts::CashNote);
    page->addWidget(labelCashNote);
    labelDrug = label("labelDrug", QString(), false);
    page->addWidget(labelDrug);
    gridOrders = new FlexGridView(this);
    gridOrders->setObjectName(QStringLiteral("gridOrders"));
    gridOrders->setMinimumSize(900, 200);
    page->addWidget(gridOrders, 2);
    gridDemand->grid().setCols(GroupDemand::DemandCols);
    gridOrders->grid().setCols(GroupDemand::PlaceCols);

    connect(buttonShow, &QPushButton::clicked, this, &FormGroupDemand::buttonShow_Click);
    connect(buttonCsv, &QPushButton::clicked, this, &FormGroupDemand::buttonCsv_Click);
    connect(buttonXlsx, &QPushButton::clicked, this, &FormGroupDemand::buttonXlsx_Click);
    connect(buttonPrint, &QPushButton::clicked, this, &FormGroupDemand::buttonPrint_Click);
    connect(buttonPurchaseOrders, &QPushButton::clicked, this, &FormGroupDemand::buttonPurchaseOrders_Click);
    connect(gridDemand, &FlexGridView::Click, this, &FormGroupDemand::gridDemand_Click);
    connect(gridOrders, &FlexGridView::Click, this, &FormGroupDemand::gridOrders_Click);

    const GroupDemand::Period period = GroupDemand::DefaultPeriod(Clock::now().date());
    dateFrom->setDate(period.from);
    dateTo->setDate(period.to);
    checkSentOnly->setChecked(period.sentOnly);
    buttonShow_Click();
    ScreenFit::apply(*this);
}

void FormGroupDemand::buttonShow_Click() {
    const GroupDemand::Period period{dateFrom->date(), dateTo->date(), checkSentOnly->isChecked()};
    if (period.from > period.to) {
        Dialogs::MsgBox(GroupDemandTexts::FromAfterTo, Dialogs::vbOKOnly, this);
        return;
    }
    GroupDemand::Report report = GroupDemand::Build(period);
    if (!report.ok) {
        // What was shown stays as it was.
        Dialogs::MsgBox(report.error, Dialogs::vbOKOnly, this);
        return;
    }
    // The demand stands without the offer book; the note says why its discounts are the catalogue's.
    const QString offersNote = m_openers.bestOffers ? m_openers.bestOffers(report) : QString();
    labelOffers->setText(offersNote);
    labelOffers->setVisible(!offersNote.isEmpty());
    m_report = std::move(report);
    GroupDemand::FillDemandGrid(gridDemand->grid(), m_report);
    m_demandSort = {GroupDemand::ColDrug, QStringLiteral("AZ")};
    layOutGrid(gridDemand->grid(), DemandWidths, GroupDemand::DemandCols);
    FLXMod::FlexAlignLeft(gridDemand->grid(), GroupDemand::ColDrug);
    GroupDemand::FillPlaceGrid(gridOrders->grid(), m_report, -1, {});
    m_placeSort = {};
    layOutGrid(gridOrders->grid(), PlaceWidths, GroupDemand::PlaceCols);
    labelDrug->clear();
    labelCounts->setText(periodText() + QStringLiteral("   ") + countsText());
    if (!m_report.skipped.empty())
        Dialogs::MsgBox(GroupDemand::SkippedText(m_report.skipped), Dialogs::vbOKOnly, this);
}

QString FormGroupDemand::periodText() const {
    QString t = FormGroupDemandTexts::From + u' ' + Days::Text(m_report.period.from) + u' ' + FormGroupDemandTexts::To + u' ' +
                Days::Text(m_report.period.to);
    if (m_report.period.sentOnly)
        t += FormGroupDemandTexts::PeriodSentOnly;
    return t;
}

QString FormGroupDemand::countsText() const {
    return FormGroupDemandTexts::Counts
        .arg(m_report.drugs.size())
        .arg(m_report.total.orders)
        .arg(m_report.total.pharmacies);
}

void FormGroupDemand::gridDemand_Click() {
    FlexGrid& g = gridDemand->grid();
    if (g.Row() == 0) {
        GroupDemand::HeaderSort(g, g.Col(), g.Col() == GroupDemand::ColDrug, m_demandSort, true);
        return;
    }
    // The totals row, known by its place: every drug, no one distribution.
    if (g.Row() == g.Rows() - 1)
        return;
    const int drug = m_report.drugNamed(g.TextMatrix(g.Row(), GroupDemand::ColDrug));
    if (drug < 0)
        return;
    GroupDemand::FillPlaceGrid(gridOrders->grid(), m_report, drug,
                               [](const QString& tel) { return ModOmla::ClientNameByTel(tel); });
    m_placeSort = {};
    layOutGrid(gridOrders->grid(), PlaceWidths, GroupDemand::PlaceCols);
    labelDrug->setText(m_report.drugs[size_t(drug)].name);
}

void FormGroupDemand::gridOrders_Click() {
    FlexGrid& g = gridOrders->grid();
    if (g.Row() != 0)
        return;
    const int c = g.Col();
    const bool text = c == GroupDemand::ColPharmacy || c == GroupDemand::ColTel || c == GroupDemand::ColMarkaz;
    GroupDemand::HeaderSort(g, c, text, m_placeSort, false);
}

void FormGroupDemand::buttonCsv_Click() {
    const QString path = FileQuestion::SavePath(this, buttonCsv->text(), FileQuestion::Kind::Csv,
                                                QStringLiteral("group-demand.csv"));
    if (path.isEmpty())
        return;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(GroupDemand::Csv(gridDemand->grid())) < 0 || !f.commit())
        Dialogs::MsgBox(FormGroupDemandTexts::FileNotSaved + QDir::toNativeSeparators(path), Dialogs::vbOKOnly,
                        this);
}

void FormGroupDemand::buttonXlsx_Click() {
    const QString path = FileQuestion::SavePath(this, buttonXlsx->text(), FileQuestion::Kind::Xlsx,
                                                QStringLiteral("group-demand.xlsx"));
    if (path.isEmpty())
        return;
    QString error;
    if (!XlsxBook::Write(path, {GroupDemand::Sheet(gridDemand->grid())}, &error))
        Dialogs::MsgBox(FormGroupDemandTexts::FileNotSaved + QDir::toNativeSeparators(path) + u'\n' + error,
                        Dialogs::vbOKOnly, this);
}

GroupDemandSheet::Input FormGroupDemand::sheetInput() const {
    GroupDemandSheet::Input in;
    in.grid = &gridDemand->grid();
    in.periodText = periodText();
    in.countsText = countsText();
    in.printedAt = Clock::now();
    in.cashNote = FormGroupDemandTexts::CashNote;
    return in;
}

void FormGroupDemand::buttonPrint_Click() {
    // The preview's own print button sends the pages to the chosen printer; without a printer the
    // user is told so before a PDF file is offered.
    const GroupDemandSheet::Input in = sheetInput();
    PaperOut::Send(this, {GroupDemandTexts::Title, Qt::LeftToRight,
                          [&in](QPagedPaintDevice& device, QPointF) { return GroupDemandSheet::printOnDevice(device, in); },
                          [&in](const QString& path) { return GroupDemandSheet::printToPdf(path, in); },
                          [this] {
                              return FileQuestion::SavePath(this, GroupDemandTexts::Title, FileQuestion::Kind::Pdf,
                                                            QStringLiteral("group-demand.pdf"));
                          },
                          FormGroupDemandTexts::FileNotSaved, {}});
}

void FormGroupDemand::buttonPurchaseOrders_Click() {
    if (m_openers.purchaseOrders)
        m_openers.purchaseOrders(this, dateFrom->date(), dateTo->date());
}
