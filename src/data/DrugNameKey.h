#pragma once

#include <QString>
#include <QStringView>

// The key under which two spellings of a drug name are one drug: blanks at the ends dropped and
// runs of blanks made one, case folded, the forms of alef made plain alef, final yeh made yeh, teh
// marbuta made heh, tatweel, Arabic marks and invisible direction marks dropped. Pharmacists type
// the same drug all these ways; the catalogue keeps one spelling.
QString DrugNameKey(QStringView name);
