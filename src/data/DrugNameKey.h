#pragma once

#include <QString>
#include <QStringView>

// The key under which two spellings of a drug name are one drug: blanks at the ends dropped and
// runs of blanks made one, case folded, the forms of alef made plain alef, final yeh and Persian
// yeh made yeh, Persian kaf made kaf, teh marbuta made heh, Arabic-Indic and Persian digits made
// ASCII digits, a blank put where a letter meets a digit (نيكسيوم40 is نيكسيوم 40, Nexium40 is
// nexium 40), tatweel, Arabic marks and invisible direction marks dropped. Pharmacists type the
// same drug all these ways; the catalogue keeps one spelling.
QString DrugNameKey(QStringView name);
