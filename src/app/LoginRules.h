#pragma once

#include <QString>
#include <QStringList>

// What the login window accepts: the form of the phone number and a chosen district.
namespace LoginRules {

enum class Verdict { Accepted, BadPhone, NoDistrict };

// The ten districts of the governorate, in the order the list shows them.
QStringList districts();

// The phone is taken as typed: eleven characters beginning "01", nothing else is checked.
Verdict check(const QString& tel, const QString& markaz);

// Stores the three login globals when check() accepts; returns the verdict.
Verdict apply(const QString& tel, const QString& markaz);

} // namespace LoginRules
