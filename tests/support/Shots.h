#pragma once

#include "PdfReadBack.h"

#include <QFile>
#include <QString>

// What a test draws or prints, kept for a person to look at: with BRENTOVAL_SCREENSHOTS naming a
// folder, each picture or paper is written there under its name; without it nothing is kept.
namespace Shots {
inline QString folder() {
    return qEnvironmentVariable("BRENTOVAL_SCREENSHOTS");
}
inline bool wanted() {
    return !folder().isEmpty();
}
// The widget as drawn now, as name.png; false only when it was wanted and could not be written.
template <class Widget> bool widget(Widget& w, const QString& name) {
    return !wanted() || w.grab().save(folder() + u'/' + name + QStringLiteral(".png"));
}
// A file the test wrote (a PDF paper), copied as name.
inline void file(const QString& path, const QString& name) {
    if (wanted())
        QFile::copy(path, folder() + u'/' + name);
}
// A PDF's pages drawn as name-1.png, name-2.png, …, beside a copy of the PDF itself.
inline void pages(const QString& pdf, const QString& name) {
    if (!wanted())
        return;
    PdfReadBack::run("pdftoppm", {"-r", "110", "-png", pdf, folder() + u'/' + name});
    file(pdf, name + QStringLiteral(".pdf"));
}
} // namespace Shots
