#pragma once

#include <QPrinterInfo>
#include <QString>

// The program's current printer for the rest of the run. Qt has no application-wide printer
// object, so the choice is held here; until one is made the system's default printer serves.
namespace CurrentPrinter {
// The chosen printer while it is still installed, else the default one, else the first installed;
// a null QPrinterInfo when none is installed.
QPrinterInfo info();
void set(const QPrinterInfo& printer);
QString chosenName(); // empty until a choice is made
void reset();
} // namespace CurrentPrinter
