#pragma once

#include <QString>
#include <QStringList>

// Fills the country table from countriescodes.txt: entry 0 is "Neutral Zone" / "NT", then one
// country a line, "<name> <code>", up to the first empty line. A missing file leaves both lists
// empty. Lines past the table's room (241) are ignored.
void LoadCountryTable(const QString& path, QStringList& names, QStringList& codes);

constexpr int CountryTableFileLines = 241;
