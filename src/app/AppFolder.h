#pragma once

#include <QString>
#include <QStringList>

// The data that ships beside the program (the top level of the program folder).
QStringList ShippedDataEntries();

// Copies the shipped data found in `from` into `to`; false with a reason on failure.
bool CopyShippedData(const QString& from, const QString& to, QString* error);

// The folder the program works in. The program's own folder when it is writable (a copy laid
// out by hand); otherwise userFolder, with the shipped data copied into it on first start, so
// that settings, histories and match files have somewhere to go. On failure the program's
// folder is returned and error says why.
QString ChooseAppFolder(const QString& programFolder, const QString& userFolder, QString* error);
// Creates userFolder and copies into it the shipped entries it does not have yet, so the
// user's own changes stay; false with a reason on failure.
bool SeedUserFolder(const QString& programFolder, const QString& userFolder, QString* error);
