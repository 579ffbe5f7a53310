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

QString suffix(Kind kind) {
    switch (kind) {
    case Kind::Pdf:
        return QStringLiteral(".pdf");
    case Kind::Xlsx:
        return QStringLiteral(".xlsx");
    case Kind::Csv:
        return QStringLiteral(".csv");
    }
    return {};
}

QString filter(Kind kind) {
    switch (kind) {
    case Kind::Pdf:
        return QStringLiteral("PDF (*.pdf)");
    case Kind::Xlsx:
        return QStringLiteral("Excel (*.xlsx)");
    case Kind::Csv:
        return QStringLiteral("CSV (*.csv)");
    }
    return {};
}

QString remembered(const QString& path) {
    if (!path.isEmpty())
        lastFolder() = QFileInfo(path).absolutePath();
    return path;
}
} // namespace

QString WithSuffix(const QString& typed, Kind kind) {
    const QString name = typed.trimmed();
    if (name.isEmpty() || name.endsWith(suffix(kind), Qt::CaseInsensitive))
        return name;
    return name + suffix(kind);
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
