#include "catalogue/FormDrugsEditor.h"

#include "buying/BuyingStore.h"
#include "buying/BuyingTexts.h"
#include "data/Clock.h"
#include "data/DrugNameKey.h"
#include "data/ModGFun.h"

#include "catalogue/DrugsCatalogue.h"
#include "catalogue/FormDrugsEditorTexts.h"
#include "data/ServerConnection.h"
#include "data/WriteRoad.h"
#include "ui/DesignFonts.h"
#include "ui/Dialogs.h"
#include "ui/FileQuestion.h"
#include "ui/FlexGridView.h"
#include "paper/CurrentPrinter.h"
#include "paper/PaperRoute.h"
#include "ui/FormSetPrinter.h"
#include "ui/PdfSave.h"
#include "ui/PrintPreview.h"
#include "ui/VbUnits.h"
#include "ui/ScreenFit.h"

#include <QLabel>
#include <QMenuBar>
#include <QPixmapCache>
#include <QFontMetrics>
#include <QHash>
#include <QPushButton>

static void initCatalogueResources() {
    Q_INIT_RESOURCE(catalogue);
}

namespace {
constexpr int ClientWidth = 12300;
constexpr int ClientHeight = 8700;

QFont arabicBold12() {
    QFont f(QStringLiteral("Arabic Transparent"));
    f.setPointSize(12);
    f.setBold(true);
    return f;
}
// The sheet's pictures decoded once a run: they are wide, and every opening of the window would
// otherwise decode them again for a label that is only printed.
QPixmap printedPicture(const QString& path) {
    QPixmap picture;
    if (!QPixmapCache::find(path, &picture)) {
        picture = QPixmap(path);
        QPixmapCache::insert(path, picture);
    }
    return picture;
}
} // namespace

FormDrugsEditor::FormDrugsEditor(QWidget* parent, FormDrugsEditorOpeners openers)
    : QMainWindow(parent), m_openers(std::move(openers)) {
    initCatalogueResources();
    setObjectName(QStringLiteral("FormDrugsEditor"));
    setWindowTitle(FormDrugsEditorTexts::Title);
    setLayoutDirection(Qt::RightToLeft);

    EDit = menuBar()->addMenu(FormDrugsEditorTexts::MenuEdit);
    EDit->setObjectName(QStringLiteral("EDit"));
    EditChangeName = EDit->addAction(FormDrugsEditorTexts::MenuChangeName);
    EditChangeName->setObjectName(QStringLiteral("EditChangeName"));
    mnuPrint = menuBar()->addMenu(FormDrugsEditorTexts::MenuPrint);
    mnuPrint->setObjectName(QStringLiteral("mnuPrint"));
    mnuPrintChoose = mnuPrint->addAction(FormDrugsEditorTexts::MenuChoosePrinter);
    mnuPrintChoose->setObjectName(QStringLiteral("mnuPrintChoose"));
    mnuPrintOrder100 = mnuPrint->addAction(FormDrugsEditorTexts::MenuPrintOrder100);
    mnuPrintOrder100->setObjectName(QStringLiteral("mnuPrintOrder100"));
    mnuPrintPreview = mnuPrint->addAction(FormDrugsEditorTexts::MenuPreviewOrder100);
    mnuPrintPreview->setObjectName(QStringLiteral("mnuPrintPreview"));
    mnuWholesalers = menuBar()->addMenu(FormDrugsEditorTexts::MenuWholesalers);
    mnuWholesalers->setObjectName(QStringLiteral("mnuWholesalers"));
    mnuWholesalerOffers = mnuWholesalers->addAction(FormDrugsEditorTexts::MenuWholesalerOffers);
    mnuWholesalerOffers->setObjectName(QStringLiteral("mnuWholesalerOffers"));
    mnuBestOffer = mnuWholesalers->addAction(FormDrugsEditorTexts::MenuBestOffer);
    mnuBestOffer->setObjectName(QStringLiteral("mnuBestOffer"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(VbUnits::px(ClientWidth), VbUnits::px(ClientHeight));
    setCentralWidget(client);

    const QFont font12 = arabicBold12();
    auto button = [&](const char* name, const QString& caption, QRect geometry) {
        auto* b = new QPushButton(caption, client);
        b->setObjectName(QString::fromLatin1(name));
        // The face standing in for the design face may run wider: narrow the caption until it fits.
        // Shaping an Arabic caption costs more than building the rest of the window, so each fit is
        // measured once per face, screen density and width.
        static QHash<QString, int> fittedStretch;
        QFont f = font12;
        const QString key = caption + u'\n' + f.key() + u'\n' + QString::number(QFontMetricsF(f).height()) +
                            u'\n' + QString::number(geometry.width());
        auto known = fittedStretch.constFind(key);
        if (known == fittedStretch.constEnd()) {
            for (int stretch = 95;
                 stretch >= 75 && QFontMetrics(f).horizontalAdvance(caption) >= geometry.width() - 8;
                 stretch -= 5)
                f.setStretch(stretch);
            known = fittedStretch.insert(key, f.stretch());
        }
        if (known.value() != f.stretch())
            f.setStretch(known.value());
        b->setFont(f);
        b->setGeometry(geometry);
        return b;
    };

    // Absolute geometry is not mirrored: the controls are placed to read from the right.
    LLLDrug = new QLabel(client);
    LLLDrug->setObjectName(QStringLiteral("LLLDrug"));
    LLLDrug->setGeometry(VbUnits::rect(7080, 120, 5100, 495));
    QFont labelFont = DesignFonts::font(DesignFonts::MsSansSerif);
    labelFont.setPointSize(12);
    labelFont.setBold(true);
    LLLDrug->setFont(labelFont);
    LLLDrug->setFrameShape(QFrame::Panel);
    LLLDrug->setFrameShadow(QFrame::Sunken);
    LLLDrug->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Command1 = button("Command1", FormDrugsEditorTexts::HighestDiscount, VbUnits::rect(3960, 120, 3000, 495));
    Command5 = button("Command5", FormDrugsEditorTexts::ArrangeColumns, VbUnits::rect(1560, 120, 2280, 495));
    Command9 = button("Command9", FormDrugsEditorTexts::ByName, VbUnits::rect(9840, 720, 2340, 495));
    Command8 = button("Command8", FormDrugsEditorTexts::ByPrice, VbUnits::rect(7410, 720, 2340, 495));
    Command7 = button("Command7", FormDrugsEditorTexts::ByDiscount, VbUnits::rect(4980, 720, 2340, 495));
    Command6 = button("Command6", FormDrugsEditorTexts::ByUpdate, VbUnits::rect(2550, 720, 2340, 495));
    Command10 = button("Command10", FormDrugsEditorTexts::ByShortage, VbUnits::rect(120, 720, 2340, 495));

    Xxx1 = new FlexGridView(client);
    Xxx1->setObjectName(QStringLiteral("Xxx1"));
    Xxx1->setGeometry(VbUnits::rect(120, 1335, 12060, 7245));
    Xxx1->setFont(font12);
    Xxx1->setBackColor(0x00C0FFFF);
    Xxx1->setForeColor(0x00B3492F);
    Xxx1->setBackColorBkg(0x00C0C000);
    Xxx1->setGridColor(0x00C0C0C0);

    // The sheet's header and footer pictures belong to the window but are only printed.
    PH = new QLabel(client);
    PH->setObjectName(QStringLiteral("PH"));
    PH->setPixmap(printedPicture(QStringLiteral(":/catalogue/PH.png")));
    PH->hide();
    PF = new QLabel(client);
    PF->setObjectName(QStringLiteral("PF"));
    PF->setPixmap(printedPicture(QStringLiteral(":/catalogue/PF.png")));
    PF->hide();

    connect(Xxx1, &FlexGridView::Click, this, &FormDrugsEditor::Xxx1_Click);
    connect(Command1, &QPushButton::clicked, this, &FormDrugsEditor::Command1_Click);
    connect(Command9, &QPushButton::clicked, this,
            [this] { DrugsCatalogue::SortBy(Xxx1->grid(), DrugsCatalogue::Sort::Name); });
    connect(Command8, &QPushButton::clicked, this,
            [this] { DrugsCatalogue::SortBy(Xxx1->grid(), DrugsCatalogue::Sort::Price); });
    connect(Command7, &QPushButton::clicked, this,
            [this] { DrugsCatalogue::SortBy(Xxx1->grid(), DrugsCatalogue::Sort::Discount); });
    connect(Command6, &QPushButton::clicked, this,
            [this] { DrugsCatalogue::SortBy(Xxx1->grid(), DrugsCatalogue::Sort::LastChange); });
    connect(Command10, &QPushButton::clicked, this,
            [this] { DrugsCatalogue::SortBy(Xxx1->grid(), DrugsCatalogue::Sort::Shortage); });
    connect(EditChangeName, &QAction::triggered, this, &FormDrugsEditor::EditChangeName_Click);
    connect(mnuPrintChoose, &QAction::triggered, this, &FormDrugsEditor::mnuPrintChoose_Click);
    connect(mnuPrintOrder100, &QAction::triggered, this, &FormDrugsEditor::mnuPrintOrder100_Click);
    connect(mnuPrintPreview, &QAction::triggered, this, &FormDrugsEditor::mnuPrintPreview_Click);
    connect(mnuWholesalerOffers, &QAction::triggered, this, &FormDrugsEditor::mnuWholesalerOffers_Click);
    connect(mnuBestOffer, &QAction::triggered, this, &FormDrugsEditor::mnuBestOffer_Click);

    adjustSize();
    ShowPage();
    ScreenFit::apply(*this);
}

void FormDrugsEditor::ShowPage() {
    QString error;
    if (!DrugsCatalogue::ShowPage(Xxx1->grid(), &error) && !error.isEmpty())
        Dialogs::MsgBox(FormDrugsEditorTexts::NotRead + u'\n' + error, Dialogs::vbOKOnly,
                        this);
}

void FormDrugsEditor::Xxx1_Click() {
    const FlexGrid& g = Xxx1->grid();
    if (g.Row() < 1) // the header row names no drug
        return;
    LLLDrug->setText(g.TextMatrix(g.Row(), DrugsCatalogue::ColName));
}

long FormDrugsEditor::runEdit(const QString& sql) {
    const WriteRoad::Result w = WriteRoad::Run(sql);
    if (!w.saved() && w.outcome != WriteRoad::Outcome::Taken)
        Dialogs::MsgBox(WriteRoad::Text(w), Dialogs::vbOKOnly, this);
    ShowPage();
    return w.rows;
}

void FormDrugsEditor::Command1_Click() {
    const QString answer = Dialogs::InputBox(FormDrugsEditorTexts::NewDiscountPrompt, QString(), this);
    if (auto sql = DrugsCatalogue::DiscountStatement(answer, LLLDrug->text(), Clock::now().date()))
        runEdit(*sql);
}

void FormDrugsEditor::mnuWholesalerOffers_Click() {
    if (m_openers.wholesalers)
        m_openers.wholesalers(this);
}

// The best current offer goes in through the manual entry's own statement.
void FormDrugsEditor::mnuBestOffer_Click() {
    const QString drug = LLLDrug->text();
    if (drug.isEmpty())
        return;
    OfferBook book;
    QString error;
    if (!BuyingStore::ReadOfferBook(book, &error)) {
        Dialogs::MsgBox(BuyingTexts::ReadFailed + error, Dialogs::vbOKOnly, this);
        return;
    }
    const Offer* best = book.best(DrugNameKey(drug));
    const auto sql = best ? DrugsCatalogue::DiscountStatement(ModGFun::ShortestText(best->discount), drug, Clock::now().date())
                          : std::nullopt;
    if (!sql) {
        Dialogs::MsgBox(BuyingTexts::NoBestOffer, Dialogs::vbOKOnly, this);
        return;
    }
    runEdit(*sql);
}

void FormDrugsEditor::EditChangeName_Click() {
    const QString old = LLLDrug->text();
    if (old.isEmpty())
        return;
    const QString answer = Dialogs::InputBox(FormDrugsEditorTexts::NewNamePrompt, old, this);
    const DrugsCatalogue::Rename r =
        DrugsCatalogue::RenameStatement(answer, old, Clock::now().date(), Xxx1->grid());
    if (!r.refusal.isEmpty()) {
        Dialogs::MsgBox(r.refusal, Dialogs::vbOKOnly, this);
        return;
    }
    if (!r.statement)
        return;
    // Later edits act on the label: it follows the drug to its new name.
    if (runEdit(*r.statement) > 0)
        LLLDrug->setText(answer);
}

void FormDrugsEditor::mnuPrintChoose_Click() {
    if (!setPrinter)
        setPrinter = new FormSetPrinter(this);
    else
        PopulateListControlWithPrinters(setPrinter->ListPrinter);
    setPrinter->exec();
}

void FormDrugsEditor::mnuPrintOrder100_Click() {
    PrintOrderSheet(33, 6);
}

OrderSheet::Input FormDrugsEditor::sheetInput(int rowsPerBlock, float rowHeight) const {
    OrderSheet::Input in;
    in.grid = &Xxx1->grid();
    in.rowsPerBlock = rowsPerBlock;
    in.rowHeight = rowHeight;
    in.header = PH->pixmap().toImage();
    in.footer = PF->pixmap().toImage();
    in.printedAt = Clock::now();
    return in;
}

void FormDrugsEditor::PrintOrderSheet(int rowsPerBlock, float rowHeight) {
    const OrderSheet::Input in = sheetInput(rowsPerBlock, rowHeight);
    // Without a printer the one question; a printer that fails the job says so before the same offer.
    const PaperRoute::Decision route = PaperRoute::Decide(CurrentPrinter::info());
    QString question = route.question;
    if (route.way == PaperRoute::Way::Printer) {
        if (OrderSheet::printToPrinter(route.printer, in))
            return;
        question = FormDrugsEditorTexts::PrintFailedOn + route.printer.printerName() + u'.' + FormDrugsEditorTexts::OfferPdf;
    }
    if (!Dialogs::Confirm(question, this, true))
        return;
    PdfSave::SaveAs(
        this,
        [this] {
            return FileQuestion::SavePath(this, FormDrugsEditorTexts::SavePdfTitle, FileQuestion::Kind::Pdf,
                                          QStringLiteral("order100.pdf"));
        },
        [&](const QString& path) { return OrderSheet::printToPdf(path, in); },
        FormDrugsEditorTexts::NotSavedFile);
}

void FormDrugsEditor::mnuPrintPreview_Click() {
    PrintPreview::Show(this, {FormDrugsEditorTexts::PreviewTitle, {}, Qt::LeftToRight},
                       [this](QPagedPaintDevice& device, QPointF origin) {
                           return OrderSheet::printOnDevice(device, origin, sheetInput(33, 6));
                       });
}
