#pragma once

#include <QString>
#include <QStringView>

// The key under which two spellings of a drug name are the same drug.
QString DrugNameKey(QStringView name);
