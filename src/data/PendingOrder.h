#pragma once

#include <QString>
#include <optional>

// A new order whose making had no reply, kept in a small file beside the program until a lookup
// settles it, so that neither closing the editor nor ending the program makes a retry a second order.
namespace PendingOrder {

struct Record {
    QString tel, orderId, date, time;
    bool operator==(const Record&) const = default;
};

// The file; beside the program unless set (tests give each case its own).
QString path();
void setPath(const QString& file);

// The record kept for phone tel, if any.
std::optional<Record> Find(const QString& tel);
// Keeps r in place of the phone's earlier record; false when the file cannot be written.
bool Keep(const Record& r);
// Forgets the phone's record.
bool Forget(const QString& tel);

} // namespace PendingOrder
