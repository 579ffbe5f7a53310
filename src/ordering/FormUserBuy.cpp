#include "ordering/FormUserBuy.h"

#include "data/AppGlobals.h"
#include "ordering/FFFMyOrders.h"
#include "ordering/FormUserBuyTexts.h"
#include "ordering/OrderLines.h"
#include "ui/ButonWeb.h"
#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"
#include "ui/VbUnits.h"
#include "ui/ScreenFit.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr quint32 CatalogueBack = 0x00C0FFFF; // red 255, green 255, blue 192
constexpr quint32 NoteText = 0x0080FF80;
constexpr quint32 NoteBack = 0x00404040;

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect twipsRect,
              bool valueField = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(VbUnits::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
    if (valueField) {
        // Values stand out as fields so an empty one still shows where it belongs.
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setAutoFillBackground(true);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, Qt::white);
        l->setPalette(p);
    } else {
        // At the right edge, where the form places it: in the program's right-to-left windows a
        // plain AlignRight is mirrored to the left.
        l->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    }
    return l;
}

ButonWeb* button(QWidget* parent, const char* name, const QString& caption, int left, int width) {
    auto* b = new ButonWeb(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setCaption(caption);
    b->setGeometry(VbUnits::rect(left, 90, width, 450));
    return b;
}
} // namespace

FormUserBuy::FormUserBuy(QWidget* parent)
    : QDialog(parent), Xxx1(new FlexGridView(this)), Xxx2(new FlexGridView(this)),
      m_pane(Xxx2->grid(),
             OrderPane::Prompts{
                 [this](const QString& t) { Dialogs::MsgBox(t, Dialogs::vbOKOnly, this); },
                 [this](const QString& t, bool right) { return Dialogs::Confirm(t, this, right); },
                 [this](const QString& p) { return Dialogs::InputBox(p, QString(), this); }}) {
    setObjectName(QStringLiteral("FormUserBuy"));
    Dialogs::KeepOpenOnEscape(*this);
    setWindowTitle(FormUserBuyTexts::Title);
    setFixedSize(VbUnits::px(14025), VbUnits::px(9105));
    QFont f(QStringLiteral("Arabic Transparent"));
    f.setPointSize(10);
    f.setBold(true);
    setFont(f);

    ButonWeb1 = button(this, "ButonWeb1", FormUserBuyTexts::DeleteOrder, 210, 4605);
    ButonWebSendToPrepare =
        button(this, "ButonWebSendToPrepare", FormUserBuyTexts::SendToPrepare, 4845, 2475);
    ButonWebCallOrder =
        button(this, "ButonWebCallOrder", FormUserBuyTexts::CallOrder, 7350, 2895);
    ButonWebNewOrder = button(this, "ButonWebNewOrder", FormUserBuyTexts::NewOrder, 10275, 3645);

    LLLSubmitted = label(this, "LLLSubmitted", {}, {210, 585, 810, 345}, true);
    label(this, "Label8", FormUserBuyTexts::StatusLabel, {1050, 585, 1335, 345});
    LLLDate = label(this, "LLLDate", {}, {2400, 585, 1890, 345}, true);
    label(this, "Label10", FormUserBuyTexts::DateLabel, {4305, 585, 1335, 345});
    LLLOrderID = label(this, "LLLOrderID", {}, {5655, 585, 3030, 345}, true);
    label(this, "Label9", FormUserBuyTexts::OrderIdLabel, {8715, 585, 1335, 345});
    LLLOrderTel = label(this, "LLLOrderTel", {}, {10080, 585, 2475, 345}, true);
    label(this, "Label7", FormUserBuyTexts::TelLabel, {12570, 585, 1350, 345});

    TextSearch = new QLineEdit(this);
    TextSearch->setObjectName(QStringLiteral("TextSearch"));
    TextSearch->setGeometry(VbUnits::rect(225, 975, 990, 435));
    label(this, "Label6", FormUserBuyTexts::SearchLabel, {1245, 975, 1125, 435});
    label(this, "Label3", FormUserBuyTexts::CatalogueLabel,
          {2400, 975, 4545, 435});
    label(this, "Label5", FormUserBuyTexts::OrderLabel, {6990, 975, 6930, 435});

    Xxx1->setObjectName(QStringLiteral("Xxx1"));
    Xxx1->setGeometry(VbUnits::rect(225, 1395, 6720, 6495));
    Xxx1->setBackColor(CatalogueBack);
    Xxx1->setForeColor(Catalogue::TextColor);
    Xxx2->setObjectName(QStringLiteral("Xxx2"));
    Xxx2->setGeometry(VbUnits::rect(6990, 1395, 6930, 6495));
    Xxx2->grid().setCols(5);
    Xxx2->grid().setRows(OrderLines::Slots + 1);

    LLLNaqdyValue = label(this, "LLLNaqdyValue", {}, {225, 8070, 3135, 435}, true);
    label(this, "Label2", FormUserBuyTexts::CashLabel, {3435, 8070, 3075, 435});
    LLLLAgelValue = label(this, "LLLLAgelValue", {}, {6555, 8070, 3075, 435}, true);
    label(this, "Label4", FormUserBuyTexts::DeferredLabel, {9660, 8070, 4275, 435});

    QLabel* note =
        label(this, "Label1",
              FormUserBuyTexts::PaymentNote,
              {240, 8625, 13695, 420});
    note->setAutoFillBackground(true);
    QPalette np = note->palette();
    np.setColor(QPalette::Window, VbUnits::color(NoteBack));
    np.setColor(QPalette::WindowText, VbUnits::color(NoteText));
    note->setPalette(np);

    connect(ButonWebNewOrder, &ButonWeb::Click, this, &FormUserBuy::ButonWebNewOrder_Click);
    connect(ButonWebCallOrder, &ButonWeb::Click, this, &FormUserBuy::ButonWebCallOrder_Click);
    connect(ButonWeb1, &ButonWeb::Click, this, &FormUserBuy::ButonWeb1_Click);
    connect(ButonWebSendToPrepare, &ButonWeb::Click, this, &FormUserBuy::ButonWebSendToPrepare_Click);
    connect(Xxx1, &FlexGridView::Click, this, &FormUserBuy::Xxx1_Click);
    connect(Xxx2, &FlexGridView::Click, this, &FormUserBuy::Xxx2_Click);
    connect(TextSearch, &QLineEdit::textChanged, this, &FormUserBuy::TextSearch_Change);

    Form_Load();
    ScreenFit::apply(*this);
}

void FormUserBuy::Form_Load() {
    FlexGrid& cat = Xxx1->grid();
    FlexGrid& lines = Xxx2->grid();
    QString error;
    Catalogue::LoadCatalogue(cat, &error);
    if (!error.isEmpty())
        Dialogs::MsgBox(
            FormUserBuyTexts::CatalogueNotRead + error,
            Dialogs::vbOKOnly, this);
    cat.setCols(4);
    lines.setCols(5);
    cat.setColWidth(0, 3000);
    lines.setColWidth(0, 3000);
    for (int c = 1; c <= 3; ++c)
        lines.setColWidth(c, 1000);
    lines.setColWidth(4, 500);
    FLXMod::FlexAlignCenter(cat);
    FLXMod::FlexAlignCenter(lines);
    FLXMod::FlexAlignLeft(cat, 0);
    FLXMod::FlexAlignLeft(lines, 0);
    const QStringList catHeaders = {FormUserBuyTexts::HeaderDrug, FormUserBuyTexts::HeaderPrice,
                                    FormUserBuyTexts::HeaderDiscount};
    for (int c = 0; c < catHeaders.size(); ++c)
        cat.setTextMatrix(0, c, catHeaders[c]);
    const QStringList lineHeaders = {FormUserBuyTexts::HeaderDrug, FormUserBuyTexts::HeaderQuantity,
                                     FormUserBuyTexts::HeaderPrice, FormUserBuyTexts::HeaderDiscount};
    for (int c = 0; c < lineHeaders.size(); ++c)
        lines.setTextMatrix(0, c, lineHeaders[c]);
}

void FormUserBuy::showLabels() {
    const OrderLabels& l = m_pane.labels();
    LLLOrderID->setText(l.orderId);
    LLLDate->setText(l.date);
    LLLOrderTel->setText(l.tel);
    LLLSubmitted->setText(l.submitted);
    LLLNaqdyValue->setText(l.cash);
    LLLLAgelValue->setText(l.deferred);
}

void FormUserBuy::ShowMyList(const QString& orderId) {
    m_pane.ShowMyList(orderId);
    showLabels();
}

void FormUserBuy::SaveTable() {
    m_pane.SaveTable();
    showLabels();
}

void FormUserBuy::ButonWebNewOrder_Click() {
    m_pane.NewOrder();
    showLabels();
}

void FormUserBuy::ButonWebCallOrder_Click() {
    FFFMyOrders list(this);
    list.exec();
    if (const std::optional<QString> source = list.reorderId()) {
        Reorder(*source);
        return;
    }
    ShowMyList(AppGlobals::CurrentOrderId);
}

void FormUserBuy::Reorder(const QString& sourceId) {
    m_pane.Reorder(sourceId);
    showLabels();
}

void FormUserBuy::ButonWeb1_Click() {
    m_pane.DeleteOrder();
    showLabels();
}

void FormUserBuy::ButonWebSendToPrepare_Click() {
    m_pane.SendToPrepare();
    showLabels();
}

void FormUserBuy::Xxx1_Click() {
    const FlexGrid& cat = Xxx1->grid();
    const int row = cat.Row();
    if (cat.Col() != 3 || row < 1)
        return;
    m_pane.AddDrug(cat.TextMatrix(row, 0), cat.TextMatrix(row, 1), cat.TextMatrix(row, 2));
    showLabels();
}

void FormUserBuy::Xxx2_Click() {
    m_pane.LinesClick(Xxx2->grid().Row(), Xxx2->grid().Col());
    showLabels();
}

void FormUserBuy::TextSearch_Change() {
    m_search.TextSearch_Change(Xxx1->grid(), TextSearch->text());
}
