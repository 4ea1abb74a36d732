#pragma once

#include <QString>
#include <QStringList>

// The data that ships beside the program (the top level of the program folder).
QStringList ShippedDataEntries();

// Copies the shipped data found in `from` into `to`; false with a reason on failure.
bool CopyShippedData(const QString& from, const QString& to, QString* error);
