#include "collection/FormBuyCollect.h"

#include "buying/BuyingStore.h"
#include "collection/BuyCollectCore.h"
#include "collection/FormBuyCollectTexts.h"
#include "preparation/PickListTexts.h"
#include "collection/ModOmla.h"
#include "data/Days.h"
#include "data/Clock.h"
#include "data/Bown2Columns.h"
#include "data/FieldText.h"
#include "data/GroupTables.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"
#include "ordering/OrderLines.h"
#include "ui/Dialogs.h"
#include "ui/FLXMod.h"
#include "ui/FlexGridView.h"
#include "ui/VbUnits.h"
#include "ui/ScreenFit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {
constexpr int ClientWidth = 16800; // twips
constexpr int ClientHeight = 9840;
constexpr int OrderColumnWidths[] = {0, 2000, 1000, 1000, 2000, 2200, 1800, 2200};
constexpr int LineColumnWidths[] = {3000, 1100, 1100, 1100};
const QString Table = QStringLiteral("bown2");

void setWidths(FlexGrid& grid, const int* widths, int count) {
    for (int c = 0; c < count; ++c)
        grid.setColWidth(c, widths[c]);
}

void setAlignments(FlexGrid& grid) {
    FLXMod::FlexAlignCenter(grid);
    FLXMod::FlexAlignLeft(grid, 0);
}
} // namespace

FormBuyCollect::FormBuyCollect(QWidget* parent, FormBuyCollectOpeners openers)
    : QDialog(parent), m_openers(std::move(openers)) {
    setObjectName(QStringLiteral("FormBuyCollect"));
    Dialogs::KeepOpenOnEscape(*this);
    setWindowTitle(FormBuyCollectTexts::Title);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    auto* client = new QWidget(this);
    client->setFixedSize(VbUnits::px(ClientWidth), VbUnits::px(ClientHeight));
    layout->addWidget(client);

    auto addMenu = [this](const QString& name, const QString& title) {
        QMenu* m = menuBar->addMenu(title);
        m->setObjectName(name);
        return m;
    };
    auto addItem = [this](QMenu* menu, const QString& name, const QString& text,
                          void (FormBuyCollect::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    mnuOperations = addMenu(QStringLiteral("mnuOperations"), FormBuyCollectTexts::MenuOperations);
    mnuDeletOlderThan = addItem(mnuOperations, QStringLiteral("mnuDeletOlderThan"),
                                FormBuyCollectTexts::MenuDeleteOlderThan,
                                &FormBuyCollect::mnuDeletOlderThan_Click);
    mnuAmil = addMenu(QStringLiteral("mnuAmil"), FormBuyCollectTexts::MenuClients);
    mnuAddNewAmil = addItem(mnuAmil, QStringLiteral("mnuAddNewAmil"), FormBuyCollectTexts::MenuAddClient,
                            &FormBuyCollect::mnuAddNewAmil_Click);
    MNUSORTMENU = addMenu(QStringLiteral("MNUSORTMENU"), FormBuyCollectTexts::MenuSort);
    MNUSORTNAME = addItem(MNUSORTMENU, QStringLiteral("MNUSORTNAME"), FormBuyCollectTexts::MenuSortName,
                          &FormBuyCollect::MNUSORTNAME_Click);
    MNUSORTDATE = addItem(MNUSORTMENU, QStringLiteral("MNUSORTDATE"), FormBuyCollectTexts::MenuSortDate,
                          &FormBuyCollect::MNUSORTDATE_Click);
    MNUSORTADRESS = addItem(MNUSORTMENU, QStringLiteral("MNUSORTADRESS"), FormBuyCollectTexts::MenuSortAddress,
                            &FormBuyCollect::MNUSORTADRESS_Click);
    mnuReports = addMenu(QStringLiteral("mnuReports"), FormBuyCollectTexts::MenuReports);
    mnuGroupDemand = addItem(mnuReports, QStringLiteral("mnuGroupDemand"), FormBuyCollectTexts::MenuGroupDemand,
                             &FormBuyCollect::mnuGroupDemand_Click);
    mnuPickList = addItem(mnuReports, QStringLiteral("mnuPickList"), PickListTexts::MenuPickList,
                          &FormBuyCollect::mnuPickList_Click);
    mnuPickListsAll = addItem(mnuReports, QStringLiteral("mnuPickListsAll"),
                              PickListTexts::MenuPickListsAll,
                              &FormBuyCollect::mnuPickListsAll_Click);
    mnuPickListsNew = addItem(mnuReports, QStringLiteral("mnuPickListsNew"), FormBuyCollectTexts::MenuPickListsNew,
                              &FormBuyCollect::mnuPickListsNew_Click);
    mnuPickListsPeriod = addItem(mnuReports, QStringLiteral("mnuPickListsPeriod"),
                                 FormBuyCollectTexts::MenuPickListsPeriod, &FormBuyCollect::mnuPickListsPeriod_Click);
    mnuPickListsDistrict = addItem(mnuReports, QStringLiteral("mnuPickListsDistrict"),
                                   FormBuyCollectTexts::MenuPickListsDistrict,
                                   &FormBuyCollect::mnuPickListsDistrict_Click);

    XXX = new FlexGridView(client);
    XXX->setObjectName(QStringLiteral("XXX"));
    XXX->setGeometry(VbUnits::rect(120, 120, 16560, 5160));
    connect(XXX, &FlexGridView::Click, this, &FormBuyCollect::XXX_Click);

    Xxx2 = new FlexGridView(client);
    Xxx2->setObjectName(QStringLiteral("Xxx2"));
    Xxx2->setGeometry(VbUnits::rect(9900, 5400, 6780, 4320));
    Xxx2->grid().setCols(4);

    // Values on the left, their captions to their right, as the text reads.
    struct LabelRow {
        QLabel** value;
        const char* name;
        QString caption;
    };
    const LabelRow rows[] = {
        {&LLLOrderID, "LLLOrderID", FormBuyCollectTexts::OrderIdLabel},
        {&LLLDate, "LLLDate", FormBuyCollectTexts::DateLabel},
        {&LLLOrderTel, "LLLOrderTel", FormBuyCollectTexts::TelLabel},
        {&LLLSubmitted, "LLLSubmitted", FormBuyCollectTexts::StatusLabel},
        {&LLLNaqdyValue, "LLLNaqdyValue", FormBuyCollectTexts::CashLabel},
        {&LLLLAgelValue, "LLLLAgelValue", FormBuyCollectTexts::DeferredLabel},
    };
    int top = 5400;
    int index = 1;
    for (const LabelRow& r : rows) {
        auto* caption = new QLabel(r.caption, client);
        caption->setObjectName(QStringLiteral("Label%1").arg(index++));
        caption->setGeometry(VbUnits::rect(5280, top, 4000, 480));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* value = new QLabel(client);
        value->setObjectName(QString::fromLatin1(r.name));
        value->setGeometry(VbUnits::rect(240, top, 4920, 480));
        value->setAlignment(Qt::AlignCenter);
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        *r.value = value;
        top += 720;
    }

    Form_Load();
    ScreenFit::apply(*this);
}

void FormBuyCollect::Form_Load() {
    FlexGrid& list = XXX->grid();
    fillList();
    ReplaceTelName();
    FLXMod::FlexSort(list, BuyCollect::OrderIdColumn, QStringLiteral("321"));
    setWidths(list, OrderColumnWidths, int(std::size(OrderColumnWidths)));
    setWidths(Xxx2->grid(), LineColumnWidths, int(std::size(LineColumnWidths)));
    setAlignments(list);
    setAlignments(Xxx2->grid());
}

void FormBuyCollect::ReplaceTelName() {
    // Runs for any number of orders: a short list is no reason to show phones instead of names.
    FlexGrid& list = XXX->grid();
    for (int i = 1; i < list.Rows(); ++i) {
        const QString name = ModOmla::ClientNameByTel(list.TextMatrix(i, BuyCollect::NameColumn));
        if (!name.isEmpty())
            list.setTextMatrix(i, BuyCollect::NameColumn, name);
    }
}

void FormBuyCollect::DrugFieldToFlex(FlexGrid& flex, const QVariant& textFromServer) {
    OrderLines::DrugFieldToFlex(flex, textFromServer, false);
}

void FormBuyCollect::XXX_Click() {
    const FlexGrid& list = XXX->grid();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(list.TextMatrix(list.Row(), list.Col()));
    // The header row holds no order: the order shown stays.
    if (list.Row() < 1)
        return;

    const QString id = BuyCollect::OrderIdText(list.TextMatrix(list.Row(), BuyCollect::OrderIdColumn));
    long affected = 0;
    QString error;
    Recordset rs = ServerConnection::instance().Execute(BuyCollect::OrderQuery(id), affected, &error);
    if (affected == 0) {
        Dialogs::MsgBox(PickListTexts::OrderReadFailed + error, Dialogs::vbOKOnly, this);
        return;
    }
    // Fields of no record are invalid and read as empty text.
    DrugFieldToFlex(Xxx2->grid(), rs.Fields(Bown2Columns::Drug));
    const OrderLines::Value value = OrderLines::OrderValue(Xxx2->grid());
    LLLNaqdyValue->setText(value.cashText());
    LLLLAgelValue->setText(value.deferredText());
    LLLOrderID->setText(FieldText(rs.Fields(Bown2Columns::OrderId)));
    LLLDate->setText(FieldText(rs.Fields(Bown2Columns::Date)));
    LLLOrderTel->setText(FieldText(rs.Fields(Bown2Columns::Tel)));
    LLLSubmitted->setText(FieldText(rs.Fields(Bown2Columns::Submitted)));
}

void FormBuyCollect::mnuDeletOlderThan_Click() {
    const BuyCollect::DaysAnswer answer =
        BuyCollect::ParseDays(Dialogs::InputBox(FormBuyCollectTexts::DaysPrompt, QString(), this));
    if (answer.check == BuyCollect::DaysAnswer::TooMany) {
        Dialogs::MsgBox(FormBuyCollectTexts::TooManyDays, Dialogs::vbOKOnly, this);
        return;
    }
    if (answer.check == BuyCollect::DaysAnswer::TooFew) {
        Dialogs::MsgBox(FormBuyCollectTexts::TooFewDays, Dialogs::vbOKOnly, this);
        return;
    }
    const QString cutoff = BuyCollect::DeleteCutoff(Clock::now(), answer.days);
    if (Dialogs::MsgBox(FormBuyCollectTexts::ConfirmDelete, Dialogs::vbYesNo + Dialogs::vbQuestion, this) ==
        Dialogs::vbNo)
        return;
    // Orders whose lines the group still has on order or has not delivered stay, and are counted.
    const QString undelivered = BuyingStore::UndeliveredOrders();
    const BuyCollect::Kept kept = BuyCollect::CountKept(cutoff, undelivered, {QStringLiteral("grp_orderlines")});
    if (!kept.read.saved()) {
        Dialogs::MsgBox(WriteRoad::Text(kept.read), Dialogs::vbOKOnly, this);
        return;
    }
    const WriteRoad::Result w = BuyCollect::Purge(cutoff, kept.orders > 0 ? undelivered : QString());
    if (!w.saved() && w.outcome != WriteRoad::Outcome::Taken) {
        Dialogs::MsgBox(WriteRoad::Text(w), Dialogs::vbOKOnly, this);
        // Not known: the purge may be tried again as it is (it deletes by date alone), and the list is
        // read with the next look.
        return;
    }
    if (kept.orders > 0)
        Dialogs::MsgBox(FormBuyCollectTexts::KeptUndelivered.arg(kept.orders), Dialogs::vbOKOnly, this);
    reloadList();
}

void FormBuyCollect::reloadList() {
    FlexGrid& list = XXX->grid();
    fillList();
    ReplaceTelName();
    FLXMod::FlexSort(list, BuyCollect::AddressColumn, QStringLiteral("AZ"));
}

void FormBuyCollect::fillList() {
    // Connecting first: when that fails the connect hook has told the user, and only the query's
    // own failure is left to report here.
    if (!ModSQL::ConnectServer())
        return;
    QString error;
    if (!ModSQL::SQLSelectToFlex(XXX->grid(), Table, &error) && !error.isEmpty())
        Dialogs::MsgBox(PickListTexts::ListReadFailed + error, Dialogs::vbOKOnly, this);
}

void FormBuyCollect::mnuAddNewAmil_Click() {
    const QString tel = Dialogs::InputBox(QString(), QString(), this);
    if (!ModOmla::ClientNameByTel(tel).isEmpty())
        return;
    const QString name = Dialogs::InputBox(FormBuyCollectTexts::NamePrompt, QString(), this);
    ModOmla::BookStatus status;
    ModOmla::AddClient(tel, name, &status);
    if (!status.ok)
        Dialogs::MsgBox(status.message, Dialogs::vbOKOnly, this);
}

void FormBuyCollect::MNUSORTNAME_Click() {
    FLXMod::FlexSort(XXX->grid(), BuyCollect::NameColumn, QStringLiteral("AZ"));
}

void FormBuyCollect::MNUSORTDATE_Click() {
    FLXMod::FlexSort(XXX->grid(), BuyCollect::OrderIdColumn, QStringLiteral("321"));
}

void FormBuyCollect::MNUSORTADRESS_Click() {
    FLXMod::FlexSort(XXX->grid(), BuyCollect::AddressColumn, QStringLiteral("AZ"));
}

void FormBuyCollect::pickLists(const PickList::Selection& selection) {
    if (m_openers.pickLists)
        m_openers.pickLists(this, selection);
}

void FormBuyCollect::mnuPickList_Click() {
    if (m_openers.pickListOfOrder)
        m_openers.pickListOfOrder(this, LLLOrderID->text());
}

void FormBuyCollect::mnuPickListsAll_Click() {
    pickLists({});
}

void FormBuyCollect::mnuPickListsNew_Click() {
    pickLists({PickList::Selection::NotPrinted, {}, {}, {}});
}

void FormBuyCollect::mnuPickListsPeriod_Click() {
    const QString today = Days::Text(Clock::now().date());
    auto ask = [&](const QString& prompt, QDate& day) {
        const QString answer = Dialogs::InputBox(prompt, today, this).trimmed();
        if (answer.isEmpty())
            return false;
        day = Days::FromText(answer);
        if (!day.isValid())
            Dialogs::MsgBox(FormBuyCollectTexts::BadDate, Dialogs::vbOKOnly, this);
        return day.isValid();
    };
    PickList::Selection s{PickList::Selection::Period, {}, {}, {}};
    if (!ask(FormBuyCollectTexts::PeriodFromPrompt, s.from) || !ask(FormBuyCollectTexts::PeriodToPrompt, s.to))
        return;
    if (s.from > s.to) {
        Dialogs::MsgBox(FormBuyCollectTexts::FromAfterTo, Dialogs::vbOKOnly, this);
        return;
    }
    pickLists(s);
}

void FormBuyCollect::mnuPickListsDistrict_Click() {
    const QString markaz = Dialogs::InputBox(FormBuyCollectTexts::DistrictPrompt, QString(), this).trimmed();
    if (!markaz.isEmpty())
        pickLists({PickList::Selection::District, {}, {}, markaz});
}

void FormBuyCollect::mnuGroupDemand_Click() {
    if (m_openers.groupDemand)
        m_openers.groupDemand(this);
}
