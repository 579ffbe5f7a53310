#include "data/Clock.h"

namespace Clock {

namespace {
std::function<QDateTime()>& hook() {
    static std::function<QDateTime()> c;
    return c;
}
const QString StampForm = QStringLiteral("yyyyMMddHHmmss");
const QString OlderForm = QStringLiteral("yyyy-MM-dd HH:mm:ss");
} // namespace

QDateTime now() {
    return hook() ? hook()() : QDateTime::currentDateTime();
}

void set(std::function<QDateTime()> clock) {
    hook() = std::move(clock);
}

QString Stamp(const QDateTime& when) {
    return when.toString(StampForm);
}

QDateTime FromStamp(const QString& stored) {
    const QString t = stored.trimmed();
    return QDateTime::fromString(t, t.size() == StampLength ? StampForm : OlderForm);
}

} // namespace Clock
