#pragma once

#include "data/FlexGrid.h"

#include <QDateTime>
#include <QString>
#include <functional>

// The order side of the order editor without a screen: which order is shown, its lines in an order
// grid, and the actions that create, recall, delete, send and change it. Every change goes to the
// server at once and the order is then read back, so the pane shows what the server holds.
namespace OrderText {
inline const QString NoOrder = QStringLiteral("قم باستدعاء اوردر موجود مسبقا  او قم بعمل اوردر جديد");
inline const QString SentNoChange =
    QStringLiteral("لقد قمت بارسال هذا الاوردر للتحضير ولا يمكنك التعديل فيه");
inline const QString AlreadyAdded = QStringLiteral("لقد اضفته فعلا");
inline const QString QuantityPrompt = QStringLiteral("ادخل الكمية المطلوبة");
inline const QString AskRemoveLine = QStringLiteral("هل تود حذف هذا الدواء من الاوردر");
inline const QString AskNewOrder = QStringLiteral("هل تود انشاء اوردر  جديد");
inline const QString NothingToDelete = QStringLiteral("لا يوجد اوردر لحذفه");
inline const QString SentNoDelete =
    QStringLiteral("لقد قمت بارسال هذا الاوردر للتحضير ولا يمكنك التعديل فيه  او حذفه");
inline const QString AskDeleteOrder = QStringLiteral("هل تود حذف هذا الاوردر  فعلا");
inline const QString AlreadySent = QStringLiteral("لقد قمت بارسال هذا الاوردر من قبل");
inline const QString AskSend = QStringLiteral(
    "تنيفذ هذا الامر يعني ارساله الي غرفة التحضير والغاء امكانية التعديل فيه هل تود الاستمرار");
// Messages of this system's own for what the order road otherwise leaves unsaid.
inline const QString NotSaved =
    QStringLiteral("لم يصل هذا التعديل الى الخادم ولم يتم حفظه. المعروض الان هو ما يحفظه الخادم");
inline const QString OrderGone = QStringLiteral("هذا الاوردر لم يعد موجودا على الخادم (ربما تم حذفه)");
inline const QString NotRead =
    QStringLiteral("تعذرت قراءة الاوردر من الخادم. المعروض الان هو اخر ما تمت قراءته منه");
inline const QString OrderFull = QStringLiteral("الاوردر ممتلئ: لا يمكن اضافة اكثر من 100 صنف في اوردر واحد");
inline const QString BadDrugName =
    QStringLiteral("لا يمكن اضافة هذا الدواء لان اسمه يحتوي على احدى العلامتين ^ او |");
} // namespace OrderText

namespace OrderStatements {
QString Show(const QString& orderId);
QString Insert(const QString& orderId, const QString& tel, const QString& markaz, const QString& mohafaza,
               const QString& date, const QString& time);
QString Send(const QString& orderId);
// The condition SQLDelete puts after " WHERE ".
QString DeleteWhere(const QString& orderId);
QString IdTaken(const QString& orderId);
} // namespace OrderStatements

struct OrderLabels {
    QString orderId, date, tel, submitted, cash, deferred;
};

class OrderPane {
public:
    // How the pane talks to the pharmacist; the window wires these to its message and input boxes.
    struct Prompts {
        std::function<void(const QString&)> message;
        std::function<bool(const QString&, bool rightAligned)> confirm; // true unless No
        std::function<QString(const QString&)> input;                   // "" when cancelled
    };

    OrderPane(FlexGrid& lines, Prompts prompts);

    const OrderLabels& labels() const { return m_labels; }
    FlexGrid& lines() { return m_lines; }
    // The clock new orders read; tests set a fixed one.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

    // Reads order orderId from the server and shows it; false when no row was found. When the
    // server cannot be read, the order read last stays shown and the pharmacist is told.
    bool ShowMyList(const QString& orderId);
    // Stores the order grid as the lines of the open order, then shows the order again.
    void SaveTable();

    void NewOrder();
    void DeleteOrder();
    void SendToPrepare();
    void AddDrug(const QString& name, const QString& price, const QString& discount);
    // A click on (row, col) of the order grid.
    void LinesClick(int row, int col);

    bool hasOrder() const { return !m_labels.orderId.isEmpty(); }
    bool isSent() const;

private:
    // Runs a changing statement; tells the pharmacist and shows what the server holds when it
    // failed or found no order. True when it changed a row.
    bool change(const QString& sql);
    // ShowMyList after an action: silent about a failed read when the action already told.
    bool readBack(const QString& orderId);
    bool store();
    // An id no order has yet, from when onwards; empty when the server cannot tell or an hour of
    // seconds is taken.
    QString freeOrderId(QDateTime when);

    FlexGrid& m_lines;
    Prompts m_prompts;
    OrderLabels m_labels;
    // What the server held at the last read, put back when a later read fails.
    QVariant m_readLines;
    OrderLabels m_readLabels;
    bool m_failureTold = false; // one message per action is enough
};
