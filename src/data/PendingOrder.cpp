#include "data/PendingOrder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace PendingOrder {

namespace {
QString& setDir() {
    static QString d;
    return d;
}

const QString Prefix = QStringLiteral("brentoval-neworder-");

QString fileOf(const Record& r) {
    const QByteArray key = QCryptographicHash::hash((r.tel + u'\t' + r.orderId).toUtf8(), QCryptographicHash::Sha1);
    return QDir(folder()).filePath(Prefix + QString::fromLatin1(key.toHex().left(16)) + QStringLiteral(".txt"));
}
} // namespace

QString folder() {
    return setDir().isEmpty() ? QCoreApplication::applicationDirPath() : setDir();
}

void setFolder(const QString& dir) {
    setDir() = dir;
}

std::optional<Record> Find(const QString& tel) {
    const QDir dir(folder());
    for (const QString& name : dir.entryList({Prefix + u'*'}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        // Phone, id, date and time, one a line.
        const QStringList p = QString::fromUtf8(f.readAll()).split(u'\n');
        if (p.size() >= 4 && p.at(0) == tel && !p.at(1).isEmpty())
            return Record{p.at(0), p.at(1), p.at(2), p.at(3)};
    }
    return std::nullopt;
}

bool Keep(const Record& r) {
    QSaveFile f(fileOf(r));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(QStringList{r.tel, r.orderId, r.date, r.time, QString()}.join(u'\n').toUtf8());
    return f.commit();
}

void Forget(const Record& r) {
    QFile::remove(fileOf(r));
}

} // namespace PendingOrder
