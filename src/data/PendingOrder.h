#pragma once

#include <QString>
#include <optional>

// A new order whose making had no reply, kept in a small file beside the program until a lookup
// settles it, so that neither closing the editor nor ending the program makes a retry a second order.
// One file per order: copies on one machine never write each other's.
namespace PendingOrder {

struct Record {
    QString tel, orderId, date, time;
    bool operator==(const Record&) const = default;
};

// The folder of the files; the program's own unless set (tests give each case its own).
QString folder();
void setFolder(const QString& dir);

// A record kept for phone tel, if any.
std::optional<Record> Find(const QString& tel);
// Keeps r; false when its file cannot be written.
bool Keep(const Record& r);
// Forgets r.
void Forget(const Record& r);

} // namespace PendingOrder
