#include "data/PendingOrder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace PendingOrder {

namespace {
QString& setFile() {
    static QString f;
    return f;
}

// One record a line: phone, id, date, time, tab-separated.
QList<Record> readAll() {
    QList<Record> out;
    QFile f(path());
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QStringList p = QString::fromUtf8(line).trimmed().split(u'\t');
        if (p.size() == 4 && !p.at(0).isEmpty() && !p.at(1).isEmpty())
            out.append({p.at(0), p.at(1), p.at(2), p.at(3)});
    }
    return out;
}

bool writeAll(const QList<Record>& records) {
    if (records.isEmpty())
        return !QFile::exists(path()) || QFile::remove(path());
    QSaveFile f(path());
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const Record& r : records)
        f.write((QStringList{r.tel, r.orderId, r.date, r.time}.join(u'\t') + u'\n').toUtf8());
    return f.commit();
}
} // namespace

QString path() {
    if (!setFile().isEmpty())
        return setFile();
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("brentoval-neworder.txt"));
}

void setPath(const QString& file) {
    setFile() = file;
}

std::optional<Record> Find(const QString& tel) {
    for (const Record& r : readAll())
        if (r.tel == tel)
            return r;
    return std::nullopt;
}

bool Keep(const Record& r) {
    QList<Record> all = readAll();
    all.removeIf([&](const Record& o) { return o.tel == r.tel; });
    all.append(r);
    return writeAll(all);
}

bool Forget(const QString& tel) {
    QList<Record> all = readAll();
    if (all.removeIf([&](const Record& o) { return o.tel == tel; }) == 0)
        return true;
    return writeAll(all);
}

} // namespace PendingOrder
