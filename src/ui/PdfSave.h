#pragma once

#include <QString>
#include <functional>

class QWidget;

// Where a printed sheet goes when no printer takes it: a PDF file the user names.
namespace PdfSave {

// Asks with askPath (empty: cancelled), adds ".pdf" when the name lacks it and writes the file with
// write; a failed write is told with notSaved followed by the path. True when the file was written.
bool SaveAs(QWidget* parent, const std::function<QString()>& askPath,
            const std::function<bool(const QString& path)>& write, const QString& notSaved);

} // namespace PdfSave
