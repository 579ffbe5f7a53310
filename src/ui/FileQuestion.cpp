#include "ui/FileQuestion.h"

#include "ui/Dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace FileQuestion {

namespace {
QString& lastFolder() {
    static QString folder;
    return folder;
}

struct KindName {
    QString name;   // what the dialog's filter calls the kind
    QString suffix;
};

KindName nameOf(Kind kind) {
    switch (kind) {
    case Kind::Pdf:
        break;
    case Kind::Xlsx:
        return {QStringLiteral("Excel"), QStringLiteral(".xlsx")};
    case Kind::Csv:
        return {QStringLiteral("CSV"), QStringLiteral(".csv")};
    }
    return {QStringLiteral("PDF"), QStringLiteral(".pdf")};
}

QString filter(Kind kind) {
    const KindName k = nameOf(kind);
    return k.name + QStringLiteral(" (*") + k.suffix + u')';
}

QString remembered(const QString& path) {
    if (!path.isEmpty())
        lastFolder() = QFileInfo(path).absolutePath();
    return path;
}
} // namespace

QString WithSuffix(const QString& typed, Kind kind) {
    const QString name = typed.trimmed();
    const QString suffix = nameOf(kind).suffix;
    if (name.isEmpty() || name.endsWith(suffix, Qt::CaseInsensitive))
        return name;
    return name + suffix;
}

QString StartFolder() {
    // A folder removed since it was used is no place to start.
    if (!lastFolder().isEmpty() && QDir(lastFolder()).exists())
        return lastFolder();
    return QDir::homePath();
}

QString SavePath(QWidget* parent, const QString& title, Kind kind, const QString& defaultName) {
    const QString typed =
        Dialogs::FileDialog(true, title, QDir(StartFolder()).filePath(defaultName), filter(kind), parent);
    return remembered(WithSuffix(typed, kind));
}

QString OpenPath(QWidget* parent, const QString& title, Kind kind) {
    return remembered(Dialogs::FileDialog(false, title, StartFolder(), filter(kind), parent));
}

} // namespace FileQuestion
