#pragma once

#include <QString>

class QWidget;

// The one question for a file's name, whichever window asks: the system's dialog (answered by
// tests through Dialogs::setNextPath), opening in the folder used last in this run (the user's
// home at first), with the filter of the file's kind.
namespace FileQuestion {

enum class Kind { Pdf, Xlsx, Csv };

// Where to save a file of kind, offered as defaultName; the path with the kind's suffix added when
// the typed name lacks it, empty when cancelled.
QString SavePath(QWidget* parent, const QString& title, Kind kind, const QString& defaultName);
// Which file of kind to open; empty when cancelled.
QString OpenPath(QWidget* parent, const QString& title, Kind kind);

// The typed name, trimmed, with the kind's suffix when it lacks it (any case); empty stays empty.
QString WithSuffix(const QString& typed, Kind kind);
// The folder the next question starts in.
QString StartFolder();

} // namespace FileQuestion
