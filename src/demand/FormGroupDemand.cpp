#include "demand/FormGroupDemand.h"

#include "buying/DemandOffers.h"
#include "buying/FormPurchaseOrders.h"

#include "collection/BuyCollectCore.h"
#include "demand/FormGroupDemandTexts.h"
#include "collection/ModOmla.h"
#include "sheets/XlsxBook.h"
#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"
#include "ui/FormSetPrinter.h"
#include "ui/PdfSave.h"
#include "ui/PrintPreview.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {
const QString DateFormat = QStringLiteral("yyyy/MM/dd");
constexpr int DemandWidths[] = {3300, 900, 1650, 1650, 1300, 900, 800, 2500};
constexpr int PlaceWidths[] = {3000, 1700, 1700, 2000, 1500, 1000};

void layOutGrid(FlexGrid& grid, const int* widths, int count) {
    for (int c = 0; c < count; ++c)
        grid.setColWidth(c, widths[c]);
    FLXMod::FlexAlignCenter(grid);
}
} // namespace

FormGroupDemand::FormGroupDemand(QWidget* parent)
    : WorkDialog(parent, "FormGroupDemand", FormGroupDemandTexts::Title) {
    auto* page = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    page->addLayout(bar);
    DateFrom = date("DateFrom");
    DateTo = date("DateTo");
    CheckSentOnly = new QCheckBox(FormGroupDemandTexts::SentOnly, this);
    CheckSentOnly->setObjectName(QStringLiteral("CheckSentOnly"));
    CommandShow = button("CommandShow", FormGroupDemandTexts::Show);
    CommandCsv = button("CommandCsv", FormGroupDemandTexts::SaveCsv);
    CommandXlsx = button("CommandXlsx", FormGroupDemandTexts::SaveXlsx);
    CommandPrint = button("CommandPrint", FormGroupDemandTexts::Print);
    CommandPurchaseOrders = button("CommandPurchaseOrders", FormGroupDemandTexts::PurchaseOrders);
    bar->addWidget(label("Label1", FormGroupDemandTexts::From, false));
    bar->addWidget(DateFrom);
    bar->addWidget(label("Label2", FormGroupDemandTexts::To, false));
    bar->addWidget(DateTo);
    bar->addWidget(CheckSentOnly);
    bar->addWidget(CommandShow);
    bar->addStretch(1);
    bar->addWidget(CommandXlsx);
    bar->addWidget(CommandCsv);
    bar->addWidget(CommandPrint);
    bar->addWidget(CommandPurchaseOrders);

    LLLCounts = label("LLLCounts", QString(), false);
    page->addWidget(LLLCounts);
    LLLOffers = label("LLLOffers");
    page->addWidget(LLLOffers);
    Xxx1 = new FlexGridView(this);
    Xxx1->setObjectName(QStringLiteral("Xxx1"));
    Xxx1->setMinimumSize(900, 330);
    page->addWidget(Xxx1, 3);
    LLLCashNote = label("LLLCashNote", FormGroupDemandTexts::CashNote);
    page->addWidget(LLLCashNote);
    LLLDrug = label("LLLDrug", QString(), false);
    page->addWidget(LLLDrug);
    Xxx2 = new FlexGridView(this);
    Xxx2->setObjectName(QStringLiteral("Xxx2"));
    Xxx2->setMinimumSize(900, 200);
    page->addWidget(Xxx2, 2);
    Xxx1->grid().setCols(GroupDemand::DemandCols);
    Xxx2->grid().setCols(GroupDemand::PlaceCols);

    connect(CommandShow, &QPushButton::clicked, this, &FormGroupDemand::CommandShow_Click);
    connect(CommandCsv, &QPushButton::clicked, this, &FormGroupDemand::CommandCsv_Click);
    connect(CommandXlsx, &QPushButton::clicked, this, &FormGroupDemand::CommandXlsx_Click);
    connect(CommandPrint, &QPushButton::clicked, this, &FormGroupDemand::CommandPrint_Click);
    connect(CommandPurchaseOrders, &QPushButton::clicked, this, &FormGroupDemand::CommandPurchaseOrders_Click);
    connect(Xxx1, &FlexGridView::Click, this, &FormGroupDemand::Xxx1_Click);
    connect(Xxx2, &FlexGridView::Click, this, &FormGroupDemand::Xxx2_Click);

    askCsvPath = [this] {
        return QFileDialog::getSaveFileName(this, CommandCsv->text(),
                                            QDir::home().filePath(QStringLiteral("group-demand.csv")),
                                            QStringLiteral("CSV (*.csv)"));
    };
    askXlsxPath = [this] {
        return QFileDialog::getSaveFileName(this, CommandXlsx->text(),
                                            QDir::home().filePath(QStringLiteral("group-demand.xlsx")),
                                            QStringLiteral("Excel (*.xlsx)"));
    };
    askPdfPath = [this] {
        return QFileDialog::getSaveFileName(this, FormGroupDemandTexts::Title,
                                            QDir::home().filePath(QStringLiteral("group-demand.pdf")),
                                            QStringLiteral("PDF (*.pdf)"));
    };

    const GroupDemand::Period period = GroupDemand::DefaultPeriod(BuyCollect::now().date());
    DateFrom->setDate(period.from);
    DateTo->setDate(period.to);
    CheckSentOnly->setChecked(period.sentOnly);
    CommandShow_Click();
}

void FormGroupDemand::CommandShow_Click() {
    const GroupDemand::Period period{DateFrom->date(), DateTo->date(), CheckSentOnly->isChecked()};
    if (period.from > period.to) {
        Dialogs::MsgBox(FormGroupDemandTexts::FromAfterTo, Dialogs::vbOKOnly, this);
        return;
    }
    GroupDemand::Report report = GroupDemand::Build(period);
    if (!report.ok) {
        // What was shown stays as it was.
        Dialogs::MsgBox(report.error, Dialogs::vbOKOnly, this);
        return;
    }
    // The demand stands without the offer book; the note says why its discounts are the catalogue's.
    const QString offersNote = DemandOffers::Read(report);
    LLLOffers->setText(offersNote);
    LLLOffers->setVisible(!offersNote.isEmpty());
    m_report = std::move(report);
    GroupDemand::FillDemandGrid(Xxx1->grid(), m_report);
    m_demandSort = {GroupDemand::ColDrug, QStringLiteral("AZ")};
    layOutGrid(Xxx1->grid(), DemandWidths, GroupDemand::DemandCols);
    FLXMod::FlexAlignLeft(Xxx1->grid(), GroupDemand::ColDrug);
    GroupDemand::FillPlaceGrid(Xxx2->grid(), m_report, -1, {});
    m_placeSort = {};
    layOutGrid(Xxx2->grid(), PlaceWidths, GroupDemand::PlaceCols);
    LLLDrug->clear();
    LLLCounts->setText(periodText() + QStringLiteral("   ") + countsText());
    if (!m_report.skipped.empty())
        Dialogs::MsgBox(GroupDemand::SkippedText(m_report.skipped), Dialogs::vbOKOnly, this);
}

QString FormGroupDemand::periodText() const {
    QString t = FormGroupDemandTexts::From + u' ' + m_report.period.from.toString(DateFormat) + u' ' + FormGroupDemandTexts::To + u' ' +
                m_report.period.to.toString(DateFormat);
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

void FormGroupDemand::Xxx1_Click() {
    FlexGrid& g = Xxx1->grid();
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
    GroupDemand::FillPlaceGrid(Xxx2->grid(), m_report, drug,
                               [](const QString& tel) { return ModOmla::ClientNameByTel(tel); });
    m_placeSort = {};
    layOutGrid(Xxx2->grid(), PlaceWidths, GroupDemand::PlaceCols);
    LLLDrug->setText(m_report.drugs[size_t(drug)].name);
}

void FormGroupDemand::Xxx2_Click() {
    FlexGrid& g = Xxx2->grid();
    if (g.Row() != 0)
        return;
    const int c = g.Col();
    const bool text = c == GroupDemand::ColPharmacy || c == GroupDemand::ColTel || c == GroupDemand::ColMarkaz;
    GroupDemand::HeaderSort(g, c, text, m_placeSort, false);
}

void FormGroupDemand::CommandCsv_Click() {
    QString path = askCsvPath ? askCsvPath() : QString();
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(GroupDemand::Csv(Xxx1->grid())) < 0 || !f.commit())
        Dialogs::MsgBox(FormGroupDemandTexts::FileNotSaved + QDir::toNativeSeparators(path), Dialogs::vbOKOnly,
                        this);
}

void FormGroupDemand::CommandXlsx_Click() {
    QString path = askXlsxPath ? askXlsxPath() : QString();
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    QString error;
    if (!XlsxBook::Write(path, {GroupDemand::Sheet(Xxx1->grid())}, &error))
        Dialogs::MsgBox(FormGroupDemandTexts::FileNotSaved + QDir::toNativeSeparators(path) + u'\n' + error,
                        Dialogs::vbOKOnly, this);
}

GroupDemandSheet::Input FormGroupDemand::sheetInput() const {
    GroupDemandSheet::Input in;
    in.grid = &Xxx1->grid();
    in.periodText = periodText();
    in.countsText = countsText();
    in.printedAt = BuyCollect::now();
    in.cashNote = FormGroupDemandTexts::CashNote;
    return in;
}

void FormGroupDemand::CommandPrint_Click() {
    const QPrinterInfo info = CurrentPrinter::info();
    if (!info.isNull()) {
        // The preview's own print button sends the pages to the chosen printer. Full-page
        // coordinates: the sheet keeps its own margins.
        PrintPreview::Show(this, {FormGroupDemandTexts::Title, false, {}, Qt::LeftToRight},
                           [this](QPagedPaintDevice& device, QPointF origin) {
                               return GroupDemandSheet::printOnDevice(device, origin, sheetInput());
                           });
        return;
    }
    if (!Dialogs::Confirm(FormGroupDemandTexts::NoPrinterOfferPdf,
                          this, true))
        return;
    PdfSave::SaveAs(
        this, askPdfPath, [this](const QString& path) { return GroupDemandSheet::printToPdf(path, sheetInput()); },
        FormGroupDemandTexts::FileNotSaved);
}

void FormGroupDemand::CommandPurchaseOrders_Click() {
    // The purchase orders open on the period shown here.
    FormPurchaseOrders w(this);
    w.DateFrom->setDate(DateFrom->date());
    w.DateTo->setDate(DateTo->date());
    if (w.tablesPresent())
        w.CommandMake_Click();
    w.exec();
}
